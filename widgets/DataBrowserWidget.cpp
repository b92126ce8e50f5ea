#include "widgets/DataBrowserWidget.h"

#include "platform/QtHost.h"

#include <QEvent>
#include <QTimer>

#include <exception>

ChartixDataBrowserWidget::ChartixDataBrowserWidget(QWidget* Parent) : ChartixControlWidget(Parent) {
    // The row of what a click picked on the map comes into view.
    FControl.SetFollowSelection(true);
    Show(FControl, 400, 150);
}

ChartixDataBrowserWidget::~ChartixDataBrowserWidget() {
    if (FLayers) FLayers->Host().removeEventFilter(this);
    DropHost();
}

void ChartixDataBrowserWidget::setLayerControlWidget(ChartixLayerControlWidget* Widget) {
    if (Widget == FLayers) return;
    if (FLayers) FLayers->Host().removeEventFilter(this);
    FLayers = Widget;
    if (!Widget) return;
    // Watching the host's input leaves the control's OnClick and OnKeyUp to
    // the application.
    Widget->Host().installEventFilter(this);
    FollowCurrentRow();
}

bool ChartixDataBrowserWidget::eventFilter(QObject* Watched, QEvent* Event) {
    if (FLayers && Watched == &FLayers->Host() &&
        (Event->type() == QEvent::MouseButtonRelease || Event->type() == QEvent::KeyRelease)) {
        // The filter runs before the control has seen the event; its row is
        // read once the event is over. Reported as the host reports: nothing
        // may throw into Qt's event loop.
        QTimer::singleShot(0, this, [this] {
            try {
                FollowCurrentRow();
            } catch (const std::exception& E) {
                Platform::TQtHost::ReportLater(E.what());
            } catch (...) {
                Platform::TQtHost::ReportLater("Unknown error");
            }
        });
    }
    return false;
}

void ChartixDataBrowserWidget::FollowCurrentRow() {
    if (!FLayers) return;
    if (Mapobjects::TMapLayer* Layer = FLayers->LayerControl().GetCurrentLayer())
        if (Layer != FControl.Layer()) FControl.SetLayer(Layer);
}
