#include "widgets/CompanionWidget.h"

void ChartixCompanionWidget::setMapWidget(ChartixMapWidget* Widget) {
    if (Widget == FMapWidget) return;
    disconnect(FGone);
    FMapWidget = Widget;
    Attach(Widget ? &Widget->Map() : nullptr);
    // By then the map is gone and the data link has forgotten it; the rows
    // of its layers remain to be dropped.
    if (Widget) FGone = connect(Widget, &QObject::destroyed, this, [this] { Attach(nullptr); });
}
