#pragma once
// The layer control (layer list with its switches) as a QWidget for forms.

#include "controls/LayerCtrl.h"
#include "widgets/CompanionWidget.h"

class ChartixLayerControlWidget : public ChartixCompanionWidget {
    Q_OBJECT

public:
    explicit ChartixLayerControlWidget(QWidget* Parent = nullptr);
    ~ChartixLayerControlWidget() override;

    Mapobjects::TLayerControl& LayerControl() { return FControl; }

protected:
    void Attach(Mapobjects::TChartix* Map) override;

private:
    Mapobjects::TLayerControl FControl{nullptr};
};
