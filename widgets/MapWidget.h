#pragma once
// The map control as a QWidget for forms: owns a TChartix and shows it.
// Its wheel keeps the map point under the cursor (wmAnchor).

#include "core/MapObjects.h"
#include "widgets/ControlWidget.h"

class ChartixMapWidget : public ChartixControlWidget {
    Q_OBJECT

public:
    explicit ChartixMapWidget(QWidget* Parent = nullptr);
    ~ChartixMapWidget() override;

    Mapobjects::TChartix& Map() { return FMap; }

private:
    Mapobjects::TChartix FMap{nullptr};
};
