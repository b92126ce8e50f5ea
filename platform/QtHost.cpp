#include "platform/QtHost.h"

#include "platform/Dialogs.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <exception>

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
    if (FControl->Width() > 0 && FControl->Height() > 0)
        resize(FControl->Width(), FControl->Height());
    CursorChanged(FControl->Cursor());
}

TQtHost::~TQtHost() {
    if (FControl && FControl->Host() == this) FControl->SetHost(nullptr);
}

bool TQtHost::Guarded(const std::function<void()>& Call, bool Deferred) noexcept {
    std::string Text;
    try {
        Call();
        return true;
    } catch (const std::exception& E) {
        Text = E.what();
    } catch (...) {
        Text = "Unknown error";
    }
    if (!Deferred) {
        Report(Text);
    } else {
        // A message box inside a paint would run the event loop while the
        // widget is still painting; show it once the paint is over.
        try {
            QMetaObject::invokeMethod(
                this, [this, Text] { Report(Text); }, Qt::QueuedConnection);
        } catch (...) {
        }
    }
    return false;
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
        Guarded([this] { FControl->DeliverPaint(); }, true);
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
}

void TQtHost::resizeEvent(QResizeEvent*) {
    if (FControl) Guarded([this] { FControl->SetBounds(0, 0, width(), height()); });
}

void TQtHost::mousePressEvent(QMouseEvent* E) {
    TMouseButton Button;
    if (!FControl || !ToButton(E->button(), Button)) return;
    const QPoint Pos = E->position().toPoint();
    if (Button == mbLeft) FClickPending = true;
    const TShiftState Shift = ShiftFromQt(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseDown(Button, Shift, Pos.x(), Pos.y()); });
}

void TQtHost::mouseReleaseEvent(QMouseEvent* E) {
    TMouseButton Button;
    if (!FControl || !ToButton(E->button(), Button)) return;
    const QPoint Pos = E->position().toPoint();
    // A left press and release inside the control make a click, which comes
    // before the mouse-up, as the Windows controls report it.
    if (Button == mbLeft && FClickPending) {
        FClickPending = false;
        if (rect().contains(Pos)) Guarded([this] { FControl->Click(); });
        if (!FControl) return;
    }
    const TShiftState Shift = ShiftFromQt(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseUp(Button, Shift, Pos.x(), Pos.y()); });
}

void TQtHost::mouseMoveEvent(QMouseEvent* E) {
    if (!FControl) return;
    const QPoint Pos = E->position().toPoint();
    const TShiftState Shift = ShiftFromQt(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseMove(Shift, Pos.x(), Pos.y()); });
}

void TQtHost::mouseDoubleClickEvent(QMouseEvent* E) {
    TMouseButton Button;
    if (!FControl || !ToButton(E->button(), Button)) return;
    const QPoint Pos = E->position().toPoint();
    // The second press of a double click: DblClick first, then the press
    // flagged ssDouble. It makes no click of its own.
    FClickPending = false;
    if (Button == mbLeft) Guarded([this] { FControl->DblClick(); });
    if (!FControl) return;
    const TShiftState Shift = ShiftFromQt(E->modifiers(), E->buttons()) | ssDouble;
    Guarded([&] { FControl->MouseDown(Button, Shift, Pos.x(), Pos.y()); });
}

void TQtHost::wheelEvent(QWheelEvent* E) {
    const int Delta = E->angleDelta().y();
    if (!FControl || Delta == 0) {
        E->ignore();
        return;
    }
    const QPoint Pos = E->position().toPoint();
    const TShiftState Shift = ShiftFromQt(E->modifiers(), E->buttons());
    Guarded([&] { FControl->MouseWheel(Shift, Delta, Pos.x(), Pos.y()); });
    E->accept();
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

bool TQtHost::focusNextPrevChild(bool Next) {
    // A control that wants Tab gets it as a key instead of losing the focus.
    int Code = 0;
    if (FControl) Guarded([&] { Code = FControl->GetDialogCode(); });
    if (Code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) return false;
    return QWidget::focusNextPrevChild(Next);
}

void TQtHost::focusInEvent(QFocusEvent* E) {
    QWidget::focusInEvent(E);
    if (FControl) Guarded([this] { Application()->SetFocusedControl(FControl); });
}

} // namespace Platform
