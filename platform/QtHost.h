#pragma once
// Shows a platform control in a real Qt window: forwards resizes, paints and
// input (mouse, keys, wheel, double click, focus) to the control's entry
// points and blits its window surface.
//
// A combo box's drop-down list shows in a popup below it while the list is
// dropped down; the popup's keys go to the combo box, which moves the list's
// row, and a popup that Qt closes (a click elsewhere) closes the list.
//
// The host behaves as the window of a Windows control would toward its
// control: the mouse is captured from a press to its release (moves and the
// release outside the window arrive in client pixels; a gesture cut short by
// a popup, a focus change or a hidden window still ends with its mouse-up),
// the wheel arrives in notches of 120, and the keys the control's dialog code
// asks for reach it instead of moving the focus or firing shortcuts.

#include "Controls.h"
#include "PlatformExport.h"
#include "QtMessageHook.h"

#include <QBasicTimer>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <exception>
#include <functional>
#include <string>

namespace Platform {

/// A Qt widget that shows a platform control: it hands the control Qt's input
/// in Windows terms and shows its surface.
class CHARTIX_PLATFORM_EXPORT TQtHost : public QWidget, public TControlHost {
public:
    /// Hosts Control (null for none) in a new child widget of Parent, sized as
    /// the control is.
    explicit TQtHost(TWinControl* Control, QWidget* Parent = nullptr);
    ~TQtHost() override;
    /// The hosted control; null once it is destroyed.
    TWinControl* Control() const { return FControl; }
    /// The control's size when it was hosted: what layouts and docks start from.
    QSize sizeHint() const override { return FHint; }

    void RequestPaint() override;
    void Present() override;
    void CursorChanged(TCursor Cursor) override;
    void FocusRequested() override { setFocus(Qt::OtherFocusReason); }
    void ControlDestroyed() override;
    void CaretChanged() override;

    /// The caret of the control is drawn now (shown, and in the on half of
    /// its blink).
    bool CaretVisible() const;
    /// One step of the blink, as the blink timer takes it.
    void BlinkCaret();

    /// The shift state of Qt's modifiers and buttons.
    static TShiftState ShiftFromQt(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons);
    /// The virtual-key code of a Qt key; 0 for keys the components do not use.
    static std::uint16_t VirtualKeyFromQt(int QtKey);
    /// The Qt cursor shape that shows a cursor; the arrow for unknown ones.
    static Qt::CursorShape CursorShape(TCursor Cursor);

    /// Reports an error through the message hook once the current event is
    /// over: what Qt handlers (the host's and a program's) catch.
    static void ReportLater(const char* Text) noexcept;
    /// Reports an error through the message hook now.
    static void Report(const std::string& Text) noexcept;

    /// One wheel message per this much of the wheel: a notch of a plain wheel.
    static constexpr int WheelNotch = 120;

protected:
    /// Claims, before shortcuts see them, the keys the control's dialog code asks for.
    bool event(QEvent*) override;
    /// Sends the drop-down popup's keys to the combo box, and closes its list
    /// when Qt hides the popup.
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    /// Delivers a pending paint, then shows the surface and the caret.
    void paintEvent(QPaintEvent*) override;
    /// Sizes the control to the widget.
    void resizeEvent(QResizeEvent*) override;
    /// Qt mouse and wheel events, passed on to the control's mouse entry points.
    ///@{
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    ///@}
    /// Qt key events, passed on as key-downs, characters and key-ups.
    ///@{
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    ///@}
    /// Keeps Tab for a control that wants it instead of moving the focus.
    bool focusNextPrevChild(bool) override;
    /// Give the control the application's focus, and take it away when the
    /// focus moves on within the window; losing it ends a held gesture.
    ///@{
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    ///@}
    /// Ends held gestures and hides the drop-down popup.
    void hideEvent(QHideEvent*) override;
    /// Ends held gestures when the widget is disabled.
    void changeEvent(QEvent*) override;
    /// Blinks the caret.
    void timerEvent(QTimerEvent*) override;

private:
    // Runs a call into the control. Qt's event loop cannot carry exceptions,
    // so whatever it raises stops here and is reported once the event is
    // over (a message box inside a handler or a paint would run the event
    // loop under it); the window goes on. No modal dialog opens during the
    // call (TModalGuard). False when the call raised.
    template <class F> bool Guarded(F&& Call) noexcept {
        try {
            TModalGuard Unsafe;
            Call();
            return true;
        } catch (const std::exception& E) {
            ReportLater(E.what());
        } catch (...) {
            ReportLater("Unknown error");
        }
        return false;
    }
    // Shows or hides the drop-down popup as the combo box's state says.
    void SyncDropDown() noexcept;

    int DialogCode() noexcept;
    // The control asked for this key through its dialog code.
    bool WantsKey(const QKeyEvent& E) noexcept;
    // A press reaching the control while Now says which buttons are down:
    // gestures whose release went elsewhere end first.
    void Press(TMouseButton Button, Qt::MouseButtons Now, QPoint Pos, Qt::KeyboardModifiers Mods,
               TShiftState Extra);
    // Ends the gestures of the Buttons held here with a mouse-up at the last
    // pointer position: their release will never reach this window.
    void EndGestures(Qt::MouseButtons Buttons);
    // The shift state of an event: Qt's buttons that are held here.
    TShiftState ShiftOf(Qt::KeyboardModifiers Mods, Qt::MouseButtons Now) const {
        return ShiftFromQt(Mods, Now & FHeld);
    }

    TWinControl* FControl;
    QSize FHint;
    bool FPainting = false;        // inside paintEvent: presenting needs no new update
    bool FClickPending = false;    // a left press here that a release turns into a click
    Qt::MouseButtons FHeld;        // pressed here, not yet released to the control
    QPoint FLastPos;               // the pointer's last client position seen
    int FWheelRest = 0;            // wheel turned but not yet a whole notch
    QBasicTimer FBlink;            // runs while the control's caret is shown
    bool FCaretOn = false;         // the on half of the blink
    QWidget* FPopup = nullptr;     // a combo box's drop-down, a Qt child of this
    TQtHost* FPopupHost = nullptr; // in FPopup: the drop-down list
    bool FSyncQueued = false;
};

} // namespace Platform
