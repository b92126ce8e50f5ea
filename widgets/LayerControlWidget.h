#pragma once
// The layer control (layer list with its switches) as a QWidget for forms.

#include "../controls/LayerCtrl.h"
#include "../core/ChartixExport.h"
#include "CompanionWidget.h"

class CHARTIX_EXPORT ChartixLayerControlWidget : public ChartixCompanionWidget {
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
