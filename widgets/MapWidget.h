#pragma once
// The map control as a QWidget for forms: owns a TChartix and shows it.

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
