#pragma once
// Modal message boxes go through one replaceable hook: a real dialog in a
// desktop program, a recorded message in headless code and tests.

#include <functional>
#include <string>
#include <vector>

namespace Platform {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
// Sets of buttons: OK 1, Cancel 2, Yes 4, No 8.
enum TMsgDlgButtons { mbOK = 1, mbOKCancel = 3, mbYesNo = 12, mbYesNoCancel = 14 };

struct TMessageRecord {
    std::string Text;
    TMsgDlgType Type;
};

using TMessageHook = std::function<int(const std::string& Text, TMsgDlgType Type, int Buttons)>;

// Shows a modal message through the current hook and returns its answer.
int MessageDlg(const std::string& Text, TMsgDlgType Type, int Buttons = mbOK);
void ShowMessage(const std::string& Text);
// Replaces the hook; an empty hook restores the default, which records.
void SetMessageHook(TMessageHook Hook);
// The current hook; empty while the default one is in force.
TMessageHook MessageHook();
// The default hook: records the message and answers with the affirmative
// button (Yes when offered, else OK).
int RecordMessage(const std::string& Text, TMsgDlgType Type, int Buttons);
// Messages recorded by the default hook, oldest first.
std::vector<TMessageRecord>& RecordedMessages();

} // namespace Platform
