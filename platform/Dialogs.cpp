#include "platform/Dialogs.h"

#include <utility>

namespace Platform {

namespace {

TMessageHook& CurrentHook() {
    static TMessageHook Hook;
    return Hook;
}

} // namespace

// Headless answer: remember the message and take the affirmative button, so
// code paths behind a confirmation run on in tests.
int RecordMessage(const std::string& Text, TMsgDlgType Type, int Buttons) {
    RecordedMessages().push_back({Text, Type});
    return (Buttons & 4) ? mrYes : mrOk;
}

TMessageHook MessageHook() {
    return CurrentHook();
}

std::vector<TMessageRecord>& RecordedMessages() {
    static std::vector<TMessageRecord> Messages;
    return Messages;
}

void SetMessageHook(TMessageHook Hook) {
    CurrentHook() = std::move(Hook);
}

int MessageDlg(const std::string& Text, TMsgDlgType Type, int Buttons) {
    // A copy, so a hook may replace itself while it runs.
    TMessageHook Hook = CurrentHook();
    return Hook ? Hook(Text, Type, Buttons) : RecordMessage(Text, Type, Buttons);
}

void ShowMessage(const std::string& Text) {
    MessageDlg(Text, mtInformation, mbOK);
}

} // namespace Platform
