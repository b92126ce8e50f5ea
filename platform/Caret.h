#pragma once
// The caret: one for the whole user interface, as a window system has one per
// thread. A window creates it with its shape, places, shows and hides it, and
// loses it when another window creates one or when it is destroyed. Hiding
// counts: a caret hidden twice needs two shows.
//
// The caret is not drawn into the window surface. The window's host shows it
// over the surface and blinks it, so it can never leave pixels behind.

#include "PlatformExport.h"
#include "Types.h"

#include <cstdint>
#include <string>

namespace Platform {

class TWinControl;

/// Error codes kept by the calls below, as the window system's last error.
///@{
constexpr std::uint32_t ERROR_SUCCESS = 0, ERROR_ACCESS_DENIED = 5,
                        ERROR_INVALID_WINDOW_HANDLE = 1400;
///@}

/// Creates the caret in Window, Width × Height pixels (0 takes the window
/// border's 1 pixel), hidden once, at (0, 0). A caret elsewhere is destroyed
/// first.
CHARTIX_PLATFORM_EXPORT bool CreateCaret(TWinControl* Window, int Width, int Height);
/// Destroys the caret; false when there is none.
CHARTIX_PLATFORM_EXPORT bool DestroyCaret();
/// Moves the caret to client pixel (X, Y) of its window; false when there is none.
CHARTIX_PLATFORM_EXPORT bool SetCaretPos(int X, int Y);
/// Stores the caret's position in client pixels in Pos; false when there is no caret.
CHARTIX_PLATFORM_EXPORT bool GetCaretPos(TPoint& Pos);
/// Counts one hide less; the caret shows when none is left. Window must own
/// the caret (null means whichever window does).
CHARTIX_PLATFORM_EXPORT bool ShowCaret(TWinControl* Window);
/// Counts one hide more; the caret disappears at once.
CHARTIX_PLATFORM_EXPORT bool HideCaret(TWinControl* Window);
/// Half of one on-and-off cycle of the blink, in milliseconds.
CHARTIX_PLATFORM_EXPORT unsigned GetCaretBlinkTime();

/// The caret as a host draws it: its window, its rectangle in client pixels,
/// and whether it is shown (not hidden; blinking is the host's).
struct CHARTIX_PLATFORM_EXPORT TCaretState {
    TWinControl* Window = nullptr; ///< the caret's window; null when there is no caret
    TRect Rect;                    ///< the caret's rectangle in client pixels of Window
    bool Shown = false;            ///< true when no hide is outstanding
};
/// The caret as it stands; a default state when there is no caret.
CHARTIX_PLATFORM_EXPORT TCaretState CaretState();
/// Called by a window being destroyed: its caret goes with it.
CHARTIX_PLATFORM_EXPORT void WindowDestroyed(TWinControl* Window);

/// The error of the last failing call above (ERROR_SUCCESS after a success).
CHARTIX_PLATFORM_EXPORT std::uint32_t GetLastError();
/// Sets the code that GetLastError returns.
CHARTIX_PLATFORM_EXPORT void SetLastError(std::uint32_t Code);
/// The window system's text for an error code.
CHARTIX_PLATFORM_EXPORT std::string SysErrorMessage(std::uint32_t Code);
/// The window with the keyboard focus, if any.
CHARTIX_PLATFORM_EXPORT TWinControl* GetFocus();

} // namespace Platform
