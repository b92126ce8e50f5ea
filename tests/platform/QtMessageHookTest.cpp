// The message hook for Qt programs: nothing is shown inside a paint, an
// input handler or a guarded scope; messages wait for the event loop, and
// questions there get the answer that does nothing.
#include "platform/QtMessageHook.h"
#include "platform/QtHost.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Platform;

namespace {

class TAsker : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::function<void()> OnPainted;

protected:
    void Paint() override {
        Canvas()->FillRect(ClientRect());
        if (OnPainted) OnPainted();
    }
};

struct TShown {
    std::string Text;
    int Buttons;
    bool Unsafe; // shown where no dialog may open
};

struct QtMessageHookTest : ::testing::Test {
    std::vector<TShown> Shown;
    int Answer = mrYes;
    void SetUp() override {
        InstallQtMessageHook([this](const std::string& Text, TMsgDlgType, int Buttons) {
            Shown.push_back({Text, Buttons, ModalUnsafe() || QtHostPainting()});
            return Answer;
        });
    }
    void TearDown() override {
        RemoveQtMessageHook();
        EXPECT_FALSE(QtMessageHookInstalled());
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> T;
        for (const TShown& S : Shown)
            T.push_back(S.Text);
        return T;
    }
};

} // namespace

TEST_F(QtMessageHookTest, MessagesWaitForTheEventLoopAndQuestionsForASafePlace) {
    EXPECT_EQ(MessageDlg("first", mtError), mrOk);
    {
        TModalGuard Loading;
        EXPECT_EQ(MessageDlg("second", mtWarning), mrOk);
        // Where no dialog may open, each question gets its doing-nothing answer.
        const struct {
            int Buttons, Want;
        } Refused[] = {{mbYesNoCancel, mrCancel}, {mbYesNo, mrNo}, {mbOKCancel, mrCancel}};
        for (const auto& R : Refused)
            EXPECT_EQ(MessageDlg("sure?", mtConfirmation, R.Buttons), R.Want) << R.Buttons;
        QCoreApplication::processEvents(); // a load's progress pumping events
        EXPECT_TRUE(Shown.empty()) << "nothing shows under a guard";
    }
    EXPECT_EQ(PendingQtMessages(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(PendingQtMessages(), 0);

    Answer = mrNo;
    EXPECT_EQ(MessageDlg("save?", mtConfirmation, mbYesNoCancel), mrNo) << "asked at once";
    ASSERT_EQ(Shown.size(), 3u);
    for (const TShown& S : Shown)
        EXPECT_FALSE(S.Unsafe) << S.Text;
}

// A control that reports from its paint and its key handler (what a reader
// does in a load started there), or raises there: Qt's event loop cannot
// carry exceptions, so the host reports them as errors, each after its event.
TEST_F(QtMessageHookTest, WhatAControlSaysInAPaintOrAHandlerShowsAfterIt) {
    TWinControl Form(nullptr);
    TAsker Control(nullptr);
    Control.SetParent(&Form);
    Control.SetBounds(0, 0, 30, 20);
    TQtHost Host(&Control);
    int Question = -1;
    Control.OnPainted = [&] {
        MessageDlg("painted", mtError);
        Question = MessageDlg("really?", mtConfirmation, mbYesNo);
        throw EListError("bad paint");
    };
    Control.OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) {
        MessageDlg("key", mtInformation);
        throw std::runtime_error("bad key");
    };
    Control.Invalidate();
    Host.grab();
    EXPECT_EQ(Question, mrNo);
    QKeyEvent Key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&Host, &Key);
    EXPECT_TRUE(Shown.empty());
    Control.OnPainted = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"painted", "bad paint", "key", "bad key"}));
    for (const TShown& S : Shown)
        EXPECT_FALSE(S.Unsafe) << S.Text;
    // The window goes on: the next paint arrives as before.
    bool Painted = false;
    Control.OnPainted = [&] { Painted = true; };
    Control.Invalidate();
    Host.grab();
    EXPECT_TRUE(Painted);
}
