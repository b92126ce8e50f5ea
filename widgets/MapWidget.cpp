#include "widgets/MapWidget.h"

ChartixMapWidget::ChartixMapWidget(QWidget* Parent) : ChartixControlWidget(Parent) {
    // The wheel keeps the point under the cursor, as users of desktop GIS
    // programs expect; the bare control keeps its documented default.
    FMap.SetZoomType(Mapobjects::wmAnchor);
    Show(FMap, 400, 300);
}

ChartixMapWidget::~ChartixMapWidget() {
    DropHost();
}
