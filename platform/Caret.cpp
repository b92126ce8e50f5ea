#include "platform/Caret.h"

#include "platform/Controls.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <algorithm>

namespace Platform {

namespace {

struct TCaret {
    TWinControl* Window = nullptr;
    int Width = 0, Height = 0;
    TPoint Pos;
    int HideCount = 0;
};

TCaret Caret;
std::uint32_t LastError = ERROR_SUCCESS;

void Changed(TWinControl* Window) {
    if (Window && Window->Host()) Window->Host()->CaretChanged();
}

bool Fail(std::uint32_t Code) {
    LastError = Code;
    return false;
}

bool Succeed() {
    LastError = ERROR_SUCCESS;
    return true;
}

// The caret is there and Window (null: any) owns it.
bool Owns(TWinControl* Window) {
    if (!Caret.Window) return Fail(ERROR_ACCESS_DENIED);
    if (Window && Window != Caret.Window) return Fail(ERROR_ACCESS_DENIED);
    return true;
}

} // namespace

bool CreateCaret(TWinControl* Window, int Width, int Height) {
    if (!Window) return Fail(ERROR_INVALID_WINDOW_HANDLE);
    if (Caret.Window) DestroyCaret();
    Caret = TCaret{Window, Width > 0 ? Width : 1, Height > 0 ? Height : 1, TPoint{0, 0}, 1};
    Changed(Window);
    return Succeed();
}

bool DestroyCaret() {
    if (!Caret.Window) return Fail(ERROR_ACCESS_DENIED);
    TWinControl* Window = Caret.Window;
    Caret = TCaret{};
    Changed(Window);
    return Succeed();
}

bool SetCaretPos(int X, int Y) {
    if (!Owns(nullptr)) return false;
    Caret.Pos = TPoint{X, Y};
    Changed(Caret.Window);
    return Succeed();
}

bool GetCaretPos(TPoint& Pos) {
    if (!Owns(nullptr)) return false;
    Pos = Caret.Pos;
    return Succeed();
}

bool ShowCaret(TWinControl* Window) {
    if (!Owns(Window)) return false;
    if (Caret.HideCount > 0 && --Caret.HideCount == 0) Changed(Caret.Window);
    return Succeed();
}

bool HideCaret(TWinControl* Window) {
    if (!Owns(Window)) return false;
    if (Caret.HideCount++ == 0) Changed(Caret.Window);
    return Succeed();
}

unsigned GetCaretBlinkTime() {
    // Qt gives the whole cycle; 0 or less means no blinking there.
    const int Cycle = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                          ? QGuiApplication::styleHints()->cursorFlashTime()
                          : 1000;
    return Cycle > 0 ? static_cast<unsigned>(Cycle / 2) : 0;
}

TCaretState CaretState() {
    TCaretState S;
    if (!Caret.Window) return S;
    S.Window = Caret.Window;
    S.Rect = TRect{Caret.Pos.X, Caret.Pos.Y, Caret.Pos.X + Caret.Width, Caret.Pos.Y + Caret.Height};
    S.Shown = Caret.HideCount == 0;
    return S;
}

void WindowDestroyed(TWinControl* Window) {
    // Its host is going too: nobody is told.
    if (Caret.Window == Window) Caret = TCaret{};
}

std::uint32_t GetLastError() {
    return LastError;
}

void SetLastError(std::uint32_t Code) {
    LastError = Code;
}

std::string SysErrorMessage(std::uint32_t Code) {
    switch (Code) {
    case ERROR_SUCCESS:
        return "The operation completed successfully.";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_INVALID_WINDOW_HANDLE:
        return "Invalid window handle.";
    default:
        return "System error " + std::to_string(Code) + ".";
    }
}

TWinControl* GetFocus() {
    return Application()->FocusedControl();
}

} // namespace Platform
