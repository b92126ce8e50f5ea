#pragma once
// The data browser (the attribute grid of one layer) as a QWidget for forms.
// It shows the layer given to it, or follows a layer control widget: the
// layer of the row the user picks there (a click or a key) is shown.

#include "../controls/DataBrowser.h"
#include "../core/ChartixExport.h"
#include "ControlWidget.h"
#include "LayerControlWidget.h"

#include <QPointer>

/// The data browser (the attribute grid of one layer) as a QWidget; it can follow the
/// current row of a layer control widget.
class CHARTIX_EXPORT ChartixDataBrowserWidget : public ChartixControlWidget {
    Q_OBJECT

public:
    /// Creates the widget with an empty grid, 400 x 150 to start with, that scrolls to the
    /// row of an object picked on the map (FollowSelection on).
    explicit ChartixDataBrowserWidget(QWidget* Parent = nullptr);
    /// Stops watching the followed layer control widget.
    ~ChartixDataBrowserWidget() override;

    /// The grid the widget shows; owned by the widget.
    Mapobjects::TDataBrowser& DataBrowser() { return FControl; }
    /// The followed layer control widget; null when none, or once it was
    /// destroyed.
    ChartixLayerControlWidget* layerControlWidget() const { return FLayers; }
    /// Shows the layer of Widget's current row now and after each pick there
    /// (null: follows none, and the shown layer stays).
    void setLayerControlWidget(ChartixLayerControlWidget* Widget);

protected:
    /// Watches the followed layer control's host: after a mouse button or key release
    /// there, shows the layer of its current row. Never filters the event out.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // Shows the followed control's current layer, when it has one.
    void FollowCurrentRow();

    Mapobjects::TDataBrowser FControl{nullptr};
    QPointer<ChartixLayerControlWidget> FLayers;
};
