#include "widgets/MapWidget.h"

ChartixMapWidget::ChartixMapWidget(QWidget* Parent) : ChartixControlWidget(Parent) {
    Show(FMap, 400, 300);
}

ChartixMapWidget::~ChartixMapWidget() {
    DropHost();
}
