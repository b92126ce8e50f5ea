#pragma once
// The data browser (the attribute grid of one layer) as a QWidget for forms.
// It shows the layer given to it, or follows a layer control widget: the
// layer of the row the user picks there (a click or a key) is shown.

#include "../controls/DataBrowser.h"
#include "../core/ChartixExport.h"
#include "ControlWidget.h"
#include "LayerControlWidget.h"

#include <QPointer>

class CHARTIX_EXPORT ChartixDataBrowserWidget : public ChartixControlWidget {
    Q_OBJECT

public:
    explicit ChartixDataBrowserWidget(QWidget* Parent = nullptr);
    ~ChartixDataBrowserWidget() override;

    Mapobjects::TDataBrowser& DataBrowser() { return FControl; }
    /// The followed layer control widget; null when none, or once it was
    /// destroyed.
    ChartixLayerControlWidget* layerControlWidget() const { return FLayers; }
    /// Shows the layer of Widget's current row now and after each pick there
    /// (null: follows none, and the shown layer stays).
    void setLayerControlWidget(ChartixLayerControlWidget* Widget);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    /// Shows the followed control's current layer, when it has one.
    void FollowCurrentRow();

    Mapobjects::TDataBrowser FControl{nullptr};
    QPointer<ChartixLayerControlWidget> FLayers;
};
