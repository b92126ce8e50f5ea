#pragma once
// The layers combo box (a layer picker) as a QWidget for forms.

#include "../controls/LayersComboBox.h"
#include "../core/ChartixExport.h"
#include "CompanionWidget.h"

class CHARTIX_EXPORT ChartixLayersComboBoxWidget : public ChartixCompanionWidget {
    Q_OBJECT

public:
    explicit ChartixLayersComboBoxWidget(QWidget* Parent = nullptr);
    ~ChartixLayersComboBoxWidget() override;

    Mapobjects::TLayersComboBox& LayersComboBox() { return FControl; }

protected:
    void Attach(Mapobjects::TChartix* Map) override;

private:
    Mapobjects::TLayersComboBox FControl{nullptr};
};
