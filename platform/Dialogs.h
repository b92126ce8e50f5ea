#pragma once
// Modal message boxes go through one replaceable hook: a real dialog in a
// desktop program, a recorded message in headless code and tests.

#include "PlatformExport.h"
#include <functional>
#include <string>
#include <vector>

namespace Platform {

/// The kind of message; a real dialog shows it as its icon.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
/// The answer of a modal dialog: the button the user pressed.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
/// Sets of buttons: OK 1, Cancel 2, Yes 4, No 8.
enum TMsgDlgButtons { mbOK = 1, mbOKCancel = 3, mbYesNo = 12, mbYesNoCancel = 14 };

/// A message as the default hook records it.
struct CHARTIX_PLATFORM_EXPORT TMessageRecord {
    std::string Text; ///< the message text
    TMsgDlgType Type; ///< the kind of message
};

/// Shows a message with the given buttons (TMsgDlgButtons) and returns the TModalResult chosen.
using TMessageHook = std::function<int(const std::string& Text, TMsgDlgType Type, int Buttons)>;

/// Shows a modal message through the current hook and returns its answer.
CHARTIX_PLATFORM_EXPORT int MessageDlg(const std::string& Text, TMsgDlgType Type,
                                       int Buttons = mbOK);
/// Shows an information message with an OK button.
CHARTIX_PLATFORM_EXPORT void ShowMessage(const std::string& Text);
/// Replaces the hook; an empty hook restores the default, which records.
CHARTIX_PLATFORM_EXPORT void SetMessageHook(TMessageHook Hook);
/// The current hook; empty while the default one is in force.
CHARTIX_PLATFORM_EXPORT TMessageHook MessageHook();
/// The default hook: records the message and answers with the affirmative
/// button (Yes when offered, else OK).
CHARTIX_PLATFORM_EXPORT int RecordMessage(const std::string& Text, TMsgDlgType Type, int Buttons);
/// Messages recorded by the default hook, oldest first.
CHARTIX_PLATFORM_EXPORT std::vector<TMessageRecord>& RecordedMessages();

} // namespace Platform
