#pragma once
// Shows a platform control in a real Qt window: forwards resizes, paints and
// input (mouse, keys, wheel, double click, focus) to the control's entry
// points and blits its window surface.

#include "platform/Controls.h"

#include <QWidget>

#include <functional>
#include <string>

namespace Platform {

class TQtHost : public QWidget, public TControlHost {
public:
    explicit TQtHost(TWinControl* Control, QWidget* Parent = nullptr);
    ~TQtHost() override;
    TWinControl* Control() const { return FControl; }

    void RequestPaint() override;
    void Present() override;
    void CursorChanged(TCursor Cursor) override;
    void FocusRequested() override { setFocus(Qt::OtherFocusReason); }
    void ControlDestroyed() override { FControl = nullptr; }

    static TShiftState ShiftFromQt(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons);
    static std::uint16_t VirtualKeyFromQt(int QtKey);
    static Qt::CursorShape CursorShape(TCursor Cursor);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    bool focusNextPrevChild(bool) override;
    void focusInEvent(QFocusEvent*) override;

private:
    // Runs a call into the control. Qt's event loop cannot carry exceptions,
    // so whatever it raises stops here: reported (at once, or after the
    // current paint when Deferred), and the window goes on. False when the
    // call raised.
    bool Guarded(const std::function<void()>& Call, bool Deferred = false) noexcept;
    void Report(const std::string& Text) noexcept;

    TWinControl* FControl;
    bool FPainting = false;     // inside paintEvent: presenting needs no new update
    bool FClickPending = false; // a left press here that a release turns into a click
};

} // namespace Platform
