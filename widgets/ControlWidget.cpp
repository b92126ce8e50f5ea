#include "widgets/ControlWidget.h"

#include "platform/QtHost.h"
#include "platform/QtMessageHook.h"

#include <QVBoxLayout>

ChartixControlWidget::ChartixControlWidget(QWidget* Parent) : QWidget(Parent) {
    // The library's messages then show in message boxes once it is safe
    // (never inside a paint or a handler), unless the program chose a hook.
    Platform::InstallQtMessageHookUnlessSet();
}

ChartixControlWidget::~ChartixControlWidget() {
    DropHost();
}

void ChartixControlWidget::Show(Platform::TWinControl& Control, int Width, int Height) {
    Control.SetParent(&FForm);
    Control.SetBounds(0, 0, Width, Height);
    FHost = new Platform::TQtHost(&Control, this);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(FHost);
    // The keys go to the control when the widget gets the focus.
    setFocusProxy(FHost);
}

void ChartixControlWidget::DropHost() {
    delete FHost;
    FHost = nullptr;
}
