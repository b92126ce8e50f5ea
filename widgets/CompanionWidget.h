#pragma once
// A companion control's widget that follows the map of a map widget. A map
// widget may go first: the companion stays, empty (its control's data link
// forgets the map, and the widget drops the rows of the map's layers).

#include "../core/ChartixExport.h"
#include "ControlWidget.h"
#include "MapWidget.h"

#include <QPointer>

/// The base of the widgets whose control follows the map of a map widget (the layer list
/// and the layer picker).
class CHARTIX_EXPORT ChartixCompanionWidget : public ChartixControlWidget {
    Q_OBJECT

public:
    /// The followed map widget; null when none, or once it was destroyed.
    ChartixMapWidget* mapWidget() const { return FMapWidget; }
    /// Follows Widget's map from now on (null: none); the control lists the
    /// layers the map already has.
    void setMapWidget(ChartixMapWidget* Widget);

protected:
    /// Creates the widget as a child of Parent, following no map widget.
    using ChartixControlWidget::ChartixControlWidget;
    /// Lets go of the control's map and attaches it to Map, listing its
    /// layers; Map may be null.
    virtual void Attach(Mapobjects::TChartix* Map) = 0;

private:
    QPointer<ChartixMapWidget> FMapWidget;
    QMetaObject::Connection FGone; // FMapWidget's destroyed()
};
