#include "platform/QtHost.h"

#include "platform/Caret.h"
#include "platform/ComboBox.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

namespace Platform {

namespace {

bool ToButton(Qt::MouseButton Button, TMouseButton& Result) {
    switch (Button) {
    case Qt::LeftButton:
        Result = mbLeft;
        return true;
    case Qt::RightButton:
        Result = mbRight;
        return true;
    case Qt::MiddleButton:
        Result = mbMiddle;
        return true;
    default:
        return false;
    }
}

} // namespace

TQtHost::TQtHost(TWinControl* Control, QWidget* Parent) : QWidget(Parent), FControl(Control) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The surface covers every pixel: Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!FControl) return;
    FControl->SetHost(this);
    if (FControl->Width() > 0 && FControl->Height() > 0) {
        FHint = QSize(FControl->Width(), FControl->Height());
        resize(FHint);
    }
    CursorChanged(FControl->Cursor());
}

TQtHost::~TQtHost() {
    if (FControl && FControl->Host() == this) FControl->SetHost(nullptr);
}

void TQtHost::ReportLater(const char* Text) noexcept {
    try {
        // By value: the exception that held the text is gone by then.
        std::string Copy = Text ? Text : "Unknown error";
        // The queuing hook waits for a safe moment by itself.
        if (QtMessageHookInstalled())
            Report(Copy);
        else if (QCoreApplication* App = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                App, [Copy] { Report(Copy); }, Qt::QueuedConnection);
        else
            Report(Copy);
    } catch (...) {
        // No memory for the message: nothing more can be done.
    }
}

void TQtHost::Report(const std::string& Text) noexcept {
    try {
        MessageDlg(Text, mtError, mbOK);
    } catch (...) {
        // A hook that fails has nowhere left to report to.
    }
}

void TQtHost::RequestPaint() {
    update();
    // A combo box repaints as its list opens and closes; the popup follows
    // once the control's call is over.
    if (!FSyncQueued && dynamic_cast<TCustomComboBox*>(FControl)) {
        FSyncQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { SyncDropDown(); }, Qt::QueuedConnection);
    }
}

void TQtHost::ControlDestroyed() {
    FControl = nullptr;
    if (FPopup) FPopup->hide();
}

void TQtHost::SyncDropDown() noexcept {
    FSyncQueued = false;
    auto* Combo = dynamic_cast<TCustomComboBox*>(FControl);
    TCustomListBox* List = Combo && Combo->DroppedDown() ? Combo->DropDownList() : nullptr;
    if (!List) {
        if (FPopup && FPopup->isVisible()) FPopup->hide();
        return;
    }
    try {
        if (!FPopup) {
            FPopup = new QWidget(this, Qt::Popup);
            FPopup->installEventFilter(this);
        }
        if (!FPopupHost || FPopupHost->Control() != List) {
            delete FPopupHost;
            FPopupHost = new TQtHost(List, FPopup);
            // A click in the list must not take the focus from the combo
            // box: losing it closes the list.
            FPopupHost->setFocusPolicy(Qt::NoFocus);
            FPopupHost->installEventFilter(this);
        }
        const QSize Size(std::max(List->Width(), 1), std::max(List->Height(), 1));
        FPopupHost->setGeometry(QRect(QPoint(0, 0), Size));
        // The client area goes right below the combo box, whatever frame the
        // window system gives a popup.
        FPopup->setGeometry(QRect(mapToGlobal(QPoint(0, height())), Size));
        if (!FPopup->isVisible()) FPopup->show();
    } catch (...) {
        Report("The drop-down list cannot be shown");
    }
}

bool TQtHost::eventFilter(QObject* Watched, QEvent* E) {
    if (Watched == FPopupHost || (Watched == FPopup && E->type() != QEvent::Hide)) {
        // The combo box takes the keys while its list is open (the popup
        // holds the keyboard).
        switch (E->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            QCoreApplication::sendEvent(this, E);
            return true;
        default:
            break;
        }
    } else if (Watched == FPopup && E->type() == QEvent::Hide) {
        // Qt closed the popup (a click elsewhere): the list closes unchosen.
        if (auto* Combo = dynamic_cast<TCustomComboBox*>(FControl); Combo && Combo->DroppedDown())
            Guarded([Combo] { Combo->SetDroppedDown(false); });
    }
    return QWidget::eventFilter(Watched, E);
}

void TQtHost::Present() {
    // A paint delivered by paintEvent is blitted right there.
    if (!FPainting) update();
}

TShiftState TQtHost::ShiftFromQt(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons) {
    TShiftState Shift = 0;
    if (Mods & Qt::ShiftModifier) Shift |= ssShift;
    if (Mods & Qt::AltModifier) Shift |= ssAlt;
    if (Mods & Qt::ControlModifier) Shift |= ssCtrl;
    if (Buttons & Qt::LeftButton) Shift |= ssLeft;
    if (Buttons & Qt::RightButton) Shift |= ssRight;
    if (Buttons & Qt::MiddleButton) Shift |= ssMiddle;
    return Shift;
}

std::uint16_t TQtHost::VirtualKeyFromQt(int QtKey) {
    if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) return static_cast<std::uint16_t>(QtKey);
    if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9) return static_cast<std::uint16_t>(QtKey);
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return static_cast<std::uint16_t>(0x70 + (QtKey - Qt::Key_F1));
    switch (QtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Plus:
        return 0xBB; // the OEM plus key
    case Qt::Key_Minus:
        return 0xBD; // the OEM minus key
    default:
        return 0;
    }
}

Qt::CursorShape TQtHost::CursorShape(TCursor Cursor) {
    switch (Cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor; // crDefault, crArrow and cursors of our own
    }
}

void TQtHost::CursorChanged(TCursor Cursor) {
    setCursor(QCursor(CursorShape(Cursor)));
}

void TQtHost::paintEvent(QPaintEvent*) {
    QPainter P(this);
    if (!FControl) {
        P.fillRect(rect(), palette().window());
        return;
    }
    if (FControl->PaintPending()) {
        FPainting = true;
        TPaintGuard Painting; // nothing may run the event loop in here
        Guarded([this] { FControl->DeliverPaint(); });
        FPainting = false;
        if (!FControl) {
            P.fillRect(rect(), palette().window());
            return;
        }
    }
    const QImage& Surface = FControl->Surface();
    P.drawImage(0, 0, Surface);
    // Parts the surface does not cover yet (a resize on its way).
    if (Surface.width() < width())
        P.fillRect(Surface.width(), 0, width() - Surface.width(), height(), Qt::white);
    if (Surface.height() < height())
        P.fillRect(0, Surface.height(), width(), height() - Surface.height(), Qt::white);
    // The caret inverts what lies beneath it on the screen only.
    if (CaretVisible()) {
        const TRect R = CaretState().Rect;
        P.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        P.fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), Qt::white);
    }
}

void TQtHost::CaretChanged() {
    // Every change shows the caret at once and starts its blink anew.
    const TCaretState S = CaretState();
    FCaretOn = S.Window == FControl && S.Shown && FControl;
    const unsigned Half = GetCaretBlinkTime();
    if (FCaretOn && Half > 0)
        FBlink.start(static_cast<int>(Half), this);
    else
        FBlink.stop();
    update();
}

bool TQtHost::CaretVisible() const {
    const TCaretState S = CaretState();
    return FControl && FCaretOn && S.Window == FControl && S.Shown;
}

void TQtHost::BlinkCaret() {
    FCaretOn = !FCaretOn;
    update();
}

void TQtHost::timerEvent(QTimerEvent* E) {
    if (E->timerId() == FBlink.timerId())
        BlinkCaret();
    else
        QWidget::timerEvent(E);
}

void TQtHost::resizeEvent(QResizeEvent*) {
    if (FControl) Guarded([this] { FControl->SetBounds(0, 0, width(), height()); });
}

void TQtHost::Press(TMouseButton Button, Qt::MouseButtons Now, QPoint Pos,
                    Qt::KeyboardModifiers Mods, TShiftState Extra) {
    const Qt::MouseButton QtButton = Button == mbLeft    ? Qt::LeftButton
                                     : Button == mbRight ? Qt::RightButton
                                                         : Qt::MiddleButton;
    // Buttons Qt reports up, or this one pressed again, were released where
    // this window did not hear it: those gestures end before a new one.
    EndGestures((FHeld & ~Now) | (FHeld & QtButton));
    if (!FControl) return;
    FHeld |= QtButton;
    FLastPos = Pos;
    const TShiftState Shift = ShiftOf(Mods, Now | QtButton) | Extra;
    Guarded([&] { FControl->MouseDown(Button, Shift, Pos.x(), Pos.y()); });
}

void TQtHost::EndGestures(Qt::MouseButtons Buttons) {
    static constexpr std::pair<Qt::MouseButton, TMouseButton> Order[] = {
        {Qt::LeftButton, mbLeft}, {Qt::RightButton, mbRight}, {Qt::MiddleButton, mbMiddle}};
    for (const auto& Entry : Order) {
        // Plain names: lambdas cannot capture structured bindings in every compiler.
        const Qt::MouseButton QtButton = Entry.first;
        const TMouseButton Button = Entry.second;
        if (!FControl || !(Buttons & FHeld & QtButton)) continue;
        FHeld &= ~QtButton;
        if (Button == mbLeft) FClickPending = false; // cut short: no click
        const TShiftState Shift = ShiftFromQt(QGuiApplication::keyboardModifiers(), FHeld);
        const QPoint Pos = FLastPos;
        Guarded([&] { FControl->MouseUp(Button, Shift, Pos.x(), Pos.y()); });
    }
}

void TQtHost::mousePressEvent(QMouseEvent* E) {
    TMouseButton Button;
    if (!FControl || !ToButton(E->button(), Button)) return;
    if (Button == mbLeft) FClickPending = true;
    Press(Button, E->buttons(), E->position().toPoint(), E->modifiers(), 0);
}

void TQtHost::mouseReleaseEvent(QMouseEvent* E) {
    TMouseButton Button;
    // A release whose gesture was ended already, or began elsewhere, is not
    // the control's.
    if (!FControl || !ToButton(E->button(), Button) || !(FHeld & E->button())) return;
    FHeld &= ~E->button();
    const QPoint Pos = E->position().toPoint();
    FLastPos = Pos;
    // A left press and release inside the control make a click, which comes
    // before the mouse-up, as the Windows controls report it.
    if (Button == mbLeft && FClickPending) {
        FClickPending = false;
        if (rect().contains(Pos)) Guarded([this] { FControl->Click(); });
        if (!FControl) return;
    }
    const TShiftState Shift = ShiftOf(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseUp(Button, Shift, Pos.x(), Pos.y()); });
}

void TQtHost::mouseMoveEvent(QMouseEvent* E) {
    if (!FControl) return;
    EndGestures(FHeld & ~E->buttons());
    if (!FControl) return;
    // Outside the window too while a button is held: Qt keeps sending the
    // pressed widget the pointer, in its own coordinates.
    const QPoint Pos = E->position().toPoint();
    FLastPos = Pos;
    const TShiftState Shift = ShiftOf(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseMove(Shift, Pos.x(), Pos.y()); });
}

void TQtHost::mouseDoubleClickEvent(QMouseEvent* E) {
    TMouseButton Button;
    if (!FControl || !ToButton(E->button(), Button)) return;
    // The second press of a double click: DblClick first, then the press
    // flagged ssDouble. It makes no click of its own.
    FClickPending = false;
    if (Button == mbLeft) Guarded([this] { FControl->DblClick(); });
    if (!FControl) return;
    Press(Button, E->buttons(), E->position().toPoint(), E->modifiers(), ssDouble);
}

void TQtHost::wheelEvent(QWheelEvent* E) {
    // Fine wheels and touchpads turn a notch in steps (15, 40, ...), devices
    // without angles report pixels, taken one to one; the control hears one
    // message per whole notch. A turn the other way drops what was left.
    int Delta = E->angleDelta().y();
    if (Delta == 0 && E->angleDelta().x() == 0) Delta = E->pixelDelta().y();
    if (!FControl || Delta == 0) {
        E->ignore();
        return;
    }
    E->accept();
    if ((Delta > 0) != (FWheelRest > 0)) FWheelRest = 0;
    FWheelRest += Delta;
    const QPoint Pos = E->position().toPoint();
    const TShiftState Shift = ShiftOf(E->modifiers(), E->buttons());
    while (FControl && std::abs(FWheelRest) >= WheelNotch) {
        const int Notch = FWheelRest > 0 ? WheelNotch : -WheelNotch;
        FWheelRest -= Notch;
        Guarded([&] { FControl->MouseWheel(Shift, Notch, Pos.x(), Pos.y()); });
    }
}

void TQtHost::keyPressEvent(QKeyEvent* E) {
    if (!FControl) return;
    const TShiftState Shift = ShiftFromQt(E->modifiers(), Qt::NoButton);
    std::uint16_t Key = VirtualKeyFromQt(E->key());
    if (Key) Guarded([&] { FControl->KeyDown(Key, Shift); });
    if (!FControl) return;
    // The character message: one single-byte character, control characters
    // such as Enter, Escape and Backspace included; Delete makes none.
    const QString Text = E->text();
    if (Text.size() == 1 && Text[0].unicode() < 0x100 && Text[0].unicode() != 0x7F) {
        char Ch = static_cast<char>(Text[0].unicode());
        Guarded([&] { FControl->KeyPress(Ch); });
    }
}

void TQtHost::keyReleaseEvent(QKeyEvent* E) {
    // Auto-repeat brings more key-downs only, as on Windows.
    if (!FControl || E->isAutoRepeat()) return;
    std::uint16_t Key = VirtualKeyFromQt(E->key());
    const TShiftState Shift = ShiftFromQt(E->modifiers(), Qt::NoButton);
    if (Key) Guarded([&] { FControl->KeyUp(Key, Shift); });
}

int TQtHost::DialogCode() noexcept {
    int Code = 0;
    if (FControl) Guarded([&] { Code = FControl->GetDialogCode(); });
    return Code;
}

bool TQtHost::WantsKey(const QKeyEvent& E) noexcept {
    const int Code = DialogCode();
    // Keys with Ctrl, Alt or Meta stay the window's commands.
    if (E.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (Code & DLGC_WANTALLKEYS) return true;
    switch (E.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return Code & DLGC_WANTARROWS;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Code & DLGC_WANTTAB;
    default:
        break;
    }
    const QString Text = E.text();
    return (Code & DLGC_WANTCHARS) && Text.size() == 1 && Text[0].isPrint();
}

bool TQtHost::event(QEvent* E) {
    // Asked before a key becomes a shortcut: keys the control wants are its own.
    if (E->type() == QEvent::ShortcutOverride && WantsKey(*static_cast<QKeyEvent*>(E))) {
        E->accept();
        return true;
    }
    return QWidget::event(E);
}

bool TQtHost::focusNextPrevChild(bool Next) {
    // A control that wants Tab gets it as a key instead of losing the focus.
    if (DialogCode() & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
    return QWidget::focusNextPrevChild(Next);
}

void TQtHost::focusInEvent(QFocusEvent* E) {
    QWidget::focusInEvent(E);
    if (FControl) Guarded([this] { Application()->SetFocusedControl(FControl); });
}

void TQtHost::focusOutEvent(QFocusEvent* E) {
    QWidget::focusOutEvent(E);
    // A popup or another window takes the mouse with the focus: the drag
    // under way is over.
    EndGestures(FHeld);
    // The control stays the focused one of its window while a popup is open
    // or another window is active; it leaves when the focus moves on within.
    if (FControl && E->reason() != Qt::PopupFocusReason &&
        E->reason() != Qt::ActiveWindowFocusReason && Application()->FocusedControl() == FControl)
        Guarded([] { Application()->SetFocusedControl(nullptr); });
}

void TQtHost::hideEvent(QHideEvent* E) {
    QWidget::hideEvent(E);
    EndGestures(FHeld);         // a hidden window hears no release
    if (FPopup) FPopup->hide(); // and shows no drop-down list
}

void TQtHost::changeEvent(QEvent* E) {
    QWidget::changeEvent(E);
    if (E->type() == QEvent::EnabledChange && !isEnabled())
        EndGestures(FHeld); // nor does a disabled one
}

} // namespace Platform
