#include "widgets/LayersComboBoxWidget.h"

ChartixLayersComboBoxWidget::ChartixLayersComboBoxWidget(QWidget* Parent)
    : ChartixCompanionWidget(Parent) {
    Show(FControl, 160, 22);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed); // one line, as a combo box
}

ChartixLayersComboBoxWidget::~ChartixLayersComboBoxWidget() {
    DropHost();
}

void ChartixLayersComboBoxWidget::Attach(Mapobjects::TChartix* Map) {
    // SetMap ignores null, and the items of another map's layers must go.
    FControl.DataLink()->SetMap(nullptr);
    FControl.Items().Clear();
    if (Map) {
        FControl.SetMap(Map);
        FControl.AddItemsForExistingLayers();
    }
    FControl.Invalidate();
}
