#pragma once
// The layers combo box (a layer picker) as a QWidget for forms.

#include "../controls/LayersComboBox.h"
#include "../core/ChartixExport.h"
#include "CompanionWidget.h"

/// The layers combo box (a layer picker) as a QWidget that follows the map of a map
/// widget; one line high.
class CHARTIX_EXPORT ChartixLayersComboBoxWidget : public ChartixCompanionWidget {
    Q_OBJECT

public:
    /// Creates the widget with an empty list, 160 x 22 to start with, of fixed height.
    explicit ChartixLayersComboBoxWidget(QWidget* Parent = nullptr);
    /// Lets go of the host before the combo box goes.
    ~ChartixLayersComboBoxWidget() override;

    /// The combo box the widget shows; owned by the widget.
    Mapobjects::TLayersComboBox& LayersComboBox() { return FControl; }

protected:
    /// Empties the list and, with a map, adds an item for each of its layers.
    void Attach(Mapobjects::TChartix* Map) override;

private:
    Mapobjects::TLayersComboBox FControl{nullptr};
};
