#pragma once
// The common part of the Chartix widgets: a QWidget that owns a platform
// window and shows one control on it through a Qt host filling the widget,
// so that an application (or Qt Designer) can put the control on a form.

#include "../core/ChartixExport.h"
#include "../platform/Controls.h"

#include <QWidget>

namespace Platform {
class TQtHost;
}

/// The base of the Chartix widgets: a QWidget that shows one platform control through a Qt
/// host filling it, so that the control can be put on a form.
class CHARTIX_EXPORT ChartixControlWidget : public QWidget {
    Q_OBJECT

public:
    /// Lets go of the host, if the derived destructor has not already.
    ~ChartixControlWidget() override;
    ChartixControlWidget(const ChartixControlWidget&) = delete;
    ChartixControlWidget& operator=(const ChartixControlWidget&) = delete;

    /// The Qt host that shows the control (a child of this widget).
    Platform::TQtHost& Host() const { return *FHost; }

protected:
    /// Creates the widget as a child of Parent (the derived constructor shows the control);
    /// installs the library's Qt message hook unless the program has set one.
    explicit ChartixControlWidget(QWidget* Parent);
    /// The platform window the control sits on.
    Platform::TWinControl& Form() { return FForm; }
    /// Puts Control on the form at Width x Height (what layouts start from)
    /// and shows it; called once, by the derived constructor.
    void Show(Platform::TWinControl& Control, int Width, int Height);
    /// Lets go of the host; the derived destructor calls it before its
    /// control goes, as hosts go before the controls they show.
    void DropHost();

private:
    Platform::TWinControl FForm{nullptr};
    Platform::TQtHost* FHost = nullptr; // a Qt child of this widget
};
