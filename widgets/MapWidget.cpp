#include "widgets/MapWidget.h"

ChartixMapWidget::ChartixMapWidget(QWidget* Parent) : ChartixControlWidget(Parent) {
    // The wheel keeps the point under the cursor and a click picks what is
    // drawn there, as users of desktop GIS programs expect; the bare control
    // keeps its documented defaults.
    FMap.SetZoomType(Mapobjects::wmAnchor);
    FMap.SetPreciseHitTest(true);
    Show(FMap, 400, 300);
}

ChartixMapWidget::~ChartixMapWidget() {
    DropHost();
}
