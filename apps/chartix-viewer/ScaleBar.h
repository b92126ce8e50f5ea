#pragma once
// The scale bar in the map's lower left corner: a round length (1, 2 or 5
// times a power of ten metres) and its width at the view's centre. On a map
// in longitude and latitude the length is geodesic (WGS 84) along the centre
// row; otherwise map units are taken as metres.

#include "core/MapObjects.h"

#include <QWidget>

namespace Viewer {

// Data that all lies within -180..180 by -90..90 is taken for degrees (a
// pass over every object: ask once per change of the layers).
bool LooksGeographic(const Mapobjects::TChartix& Map);

class TScaleBar : public QWidget {
public:
    // Sits on Parent (the map's window), which must outlive it.
    TScaleBar(const Mapobjects::TChartix& Map, QWidget* Parent);

    // Map units are degrees (else metres); LooksGeographic tells.
    bool Geographic() const { return FGeographic; }
    void SetGeographic(bool V) { FGeographic = V; }
    // Measures the view anew; call after every zoom, pan or new data.
    void Refresh();
    // What the bar shows ("500 km"); empty when the view cannot be measured.
    const QString& Text() const { return FText; }
    int BarWidth() const { return FBarWidth; }

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Place();

    const Mapobjects::TChartix& FMap;
    QString FText;
    bool FGeographic = false;
    int FBarWidth = 0;
};

} // namespace Viewer
