#include "platform/QtMessageHook.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QString>
#include <QWidget>

#include <deque>
#include <utility>

namespace Platform {

namespace {

struct TQueued {
    std::string Text;
    TMsgDlgType Type;
};

struct TState {
    std::deque<TQueued> Queue;
    TMessageShow Show;
    bool Installed = false;
    bool Posted = false;  // a flush waits in the event queue
    bool Showing = false; // a queued message is on the screen
    int Unsafe = 0;
    int Painting = 0;
};

TState& State() {
    static TState S;
    return S;
}

// The answer of a question that could not be asked: the one that does nothing.
int Refusal(int Buttons) {
    if (Buttons & 2) return mrCancel;
    if (Buttons & 8) return mrNo;
    return mrOk;
}

bool Headless() {
    const QString Name = QGuiApplication::platformName();
    return Name == QLatin1String("offscreen") || Name == QLatin1String("minimal");
}

int ShowNow(const std::string& Text, TMsgDlgType Type, int Buttons) {
    TState& S = State();
    if (S.Show) return S.Show(Text, Type, Buttons);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || Headless())
        return RecordMessage(Text, Type, Buttons);
    return QtMessageBox(nullptr, Text, Type, Buttons);
}

void Flush() noexcept;

void Post() noexcept {
    TState& S = State();
    if (S.Posted || S.Queue.empty() || S.Unsafe > 0 || !QCoreApplication::instance()) return;
    try {
        S.Posted = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { Flush(); }, Qt::QueuedConnection);
    } catch (...) {
        S.Posted = false;
    }
}

// From the event loop: shows what is queued, oldest first. A flush that
// finds a box open (its own loop called here) leaves the rest to the outer
// one; one that finds an unsafe scope waits for its end.
void Flush() noexcept {
    TState& S = State();
    S.Posted = false;
    if (S.Showing || S.Unsafe > 0) return;
    S.Showing = true;
    while (!S.Queue.empty() && S.Unsafe == 0 && S.Installed) {
        TQueued M = std::move(S.Queue.front());
        S.Queue.pop_front();
        try {
            ShowNow(M.Text, M.Type, mbOK);
        } catch (...) {
            // A display that fails has nowhere left to report to.
        }
    }
    S.Showing = false;
    Post();
}

int QueuingHook(const std::string& Text, TMsgDlgType Type, int Buttons) {
    TState& S = State();
    if (Buttons == mbOK) {
        S.Queue.push_back({Text, Type});
        Post();
        return mrOk;
    }
    if (ModalUnsafe()) return Refusal(Buttons);
    return ShowNow(Text, Type, Buttons);
}

} // namespace

void InstallQtMessageHook(TMessageShow Show) {
    TState& S = State();
    S.Show = std::move(Show);
    S.Installed = true;
    SetMessageHook(QueuingHook);
}

void RemoveQtMessageHook() {
    TState& S = State();
    if (!S.Installed) return;
    S.Installed = false;
    S.Queue.clear();
    S.Show = nullptr;
    SetMessageHook(nullptr);
}

void InstallQtMessageHookUnlessSet() {
    if (!MessageHook()) InstallQtMessageHook();
}

bool QtMessageHookInstalled() {
    return State().Installed;
}

int PendingQtMessages() {
    return static_cast<int>(State().Queue.size());
}

bool ModalUnsafe() {
    return State().Unsafe > 0;
}

bool QtHostPainting() {
    return State().Painting > 0;
}

TModalGuard::TModalGuard() noexcept {
    ++State().Unsafe;
}

TModalGuard::~TModalGuard() {
    if (--State().Unsafe == 0) Post();
}

TPaintGuard::TPaintGuard() noexcept {
    ++State().Painting;
}

TPaintGuard::~TPaintGuard() {
    --State().Painting;
}

int QtMessageBox(QWidget* Parent, const std::string& Text, TMsgDlgType Type, int Buttons) {
    if (!Parent) Parent = QApplication::activeWindow();
    const QMessageBox::Icon Icon = Type == mtError          ? QMessageBox::Critical
                                   : Type == mtWarning      ? QMessageBox::Warning
                                   : Type == mtConfirmation ? QMessageBox::Question
                                                            : QMessageBox::Information;
    QMessageBox::StandardButtons Set;
    if (Buttons & 1) Set |= QMessageBox::Ok;
    if (Buttons & 2) Set |= QMessageBox::Cancel;
    if (Buttons & 4) Set |= QMessageBox::Yes;
    if (Buttons & 8) Set |= QMessageBox::No;
    if (!Set) Set = QMessageBox::Ok;
    QString Title = QGuiApplication::applicationDisplayName();
    QMessageBox Box(Icon, Title, QString::fromStdString(Text), Set, Parent);
    if (Buttons & 2) Box.setEscapeButton(QMessageBox::Cancel);
    switch (Box.exec()) {
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Ok:
        return mrOk;
    default:
        return Refusal(Buttons); // closed by the window's frame
    }
}

} // namespace Platform
