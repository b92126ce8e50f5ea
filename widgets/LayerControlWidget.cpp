#include "widgets/LayerControlWidget.h"

ChartixLayerControlWidget::ChartixLayerControlWidget(QWidget* Parent)
    : ChartixCompanionWidget(Parent) {
    Show(FControl, 220, 200);
}

ChartixLayerControlWidget::~ChartixLayerControlWidget() {
    DropHost();
}

void ChartixLayerControlWidget::Attach(Mapobjects::TChartix* Map) {
    // SetMap ignores null, and the rows of another map's layers must go.
    FControl.DataLink()->SetMap(nullptr);
    FControl.Items().Clear();
    if (Map) {
        FControl.SetMap(Map);
        FControl.AddRowsForExistingLayers();
    }
    FControl.Invalidate();
}
