#pragma once
// The message hook for programs on Qt's event loop.
//
// A modal dialog runs an event loop of its own. Opened inside a paint, Qt
// paints again while the outer paint still holds its painter (a crash in the
// backing store); opened inside an input handler or a load, the control or
// the layer list can change under the code that asked. So this hook shows
// nothing there: a message with only an OK button is queued and shown from
// the event loop, one at a time, once no paint, handler or guarded scope is
// running; a question is asked at once where that is safe and answered
// Cancel (No when it offers no Cancel) where it is not, so the code that
// asked does nothing. Code that needs an answer asks from a safe place.

#include "Dialogs.h"
#include "PlatformExport.h"

#include <functional>
#include <string>

class QWidget;

namespace Platform {

/// Shows one message now, modally, and returns the button chosen.
using TMessageShow = std::function<int(const std::string& Text, TMsgDlgType Type, int Buttons)>;

/// Makes the queuing hook the message hook; Show puts a message on the screen.
/// Empty Show: a message box over the active window, or, on a platform
/// without a screen (offscreen, minimal), the default hook's record.
CHARTIX_PLATFORM_EXPORT void InstallQtMessageHook(TMessageShow Show = {});
/// Gives the default hook back and drops what is still queued.
CHARTIX_PLATFORM_EXPORT void RemoveQtMessageHook();
/// Installs the queuing hook unless a program set a hook of its own.
CHARTIX_PLATFORM_EXPORT void InstallQtMessageHookUnlessSet();
/// True while the queuing hook is the message hook.
CHARTIX_PLATFORM_EXPORT bool QtMessageHookInstalled();
/// Messages queued and not shown yet.
CHARTIX_PLATFORM_EXPORT int PendingQtMessages();

/// A modal dialog may not be opened now.
CHARTIX_PLATFORM_EXPORT bool ModalUnsafe();
/// A Qt host is painting: nothing may run Qt's event loop.
CHARTIX_PLATFORM_EXPORT bool QtHostPainting();

/// While one lives, modal dialogs are unsafe: queued messages wait until the
/// last one goes. For input handlers, loads and saves that pump events.
class CHARTIX_PLATFORM_EXPORT TModalGuard {
public:
    /// Marks the start of a scope in which modal dialogs are unsafe.
    TModalGuard() noexcept;
    /// Ends the scope; queued messages may show once no guard is left.
    ~TModalGuard();
    TModalGuard(const TModalGuard&) = delete;
    TModalGuard& operator=(const TModalGuard&) = delete;
};

/// Marks a Qt host's paint (also unsafe for dialogs).
class CHARTIX_PLATFORM_EXPORT TPaintGuard {
public:
    /// Marks the start of a host's paint.
    TPaintGuard() noexcept;
    /// Ends the paint.
    ~TPaintGuard();
    TPaintGuard(const TPaintGuard&) = delete;
    TPaintGuard& operator=(const TPaintGuard&) = delete;

private:
    TModalGuard FModal;
};

/// A QMessageBox over Parent (the active window when null) with the buttons
/// asked for; returns mrOk, mrCancel, mrYes or mrNo.
CHARTIX_PLATFORM_EXPORT int QtMessageBox(QWidget* Parent, const std::string& Text, TMsgDlgType Type,
                                         int Buttons);

} // namespace Platform
