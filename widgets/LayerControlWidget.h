#pragma once
// The layer control (layer list with its switches) as a QWidget for forms.

#include "../controls/LayerCtrl.h"
#include "../core/ChartixExport.h"
#include "CompanionWidget.h"

/// The layer control (the layer list with its switches) as a QWidget that follows the map
/// of a map widget.
class CHARTIX_EXPORT ChartixLayerControlWidget : public ChartixCompanionWidget {
    Q_OBJECT

public:
    /// Creates the widget with an empty list, 220 x 200 to start with.
    explicit ChartixLayerControlWidget(QWidget* Parent = nullptr);
    /// Lets go of the host before the control goes.
    ~ChartixLayerControlWidget() override;

    /// The layer control the widget shows; owned by the widget.
    Mapobjects::TLayerControl& LayerControl() { return FControl; }

protected:
    /// Empties the list and, with a map, lists a row for each of its layers.
    void Attach(Mapobjects::TChartix* Map) override;

private:
    Mapobjects::TLayerControl FControl{nullptr};
};
