// The Qt host as the input device of its control: wheel notches, the mouse
// captured for a whole gesture, keys by dialog code, focus. Events go through
// Qt's own delivery (QTest through the window system interface, shortcuts,
// popups) where that is what decides the outcome.
#include "platform/QtHost.h"
#include "platform/SysUtils.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace Platform;

namespace {

using TLog = std::vector<std::string>;

// Writes down every input entry point the host calls.
class TInputProbe : public TCustomControl {
public:
    TInputProbe(int Code, int W, int H) : TCustomControl(nullptr), FCode(Code) {
        SetBounds(0, 0, W, H);
    }
    TLog Log;
    void MouseDown(TMouseButton B, TShiftState S, int X, int Y) override {
        Log.push_back(Format("down %d %d %d,%d", B, S, X, Y));
    }
    void MouseMove(TShiftState S, int X, int Y) override {
        Log.push_back(Format("move %d %d,%d", S, X, Y));
    }
    void MouseUp(TMouseButton B, TShiftState S, int X, int Y) override {
        Log.push_back(Format("up %d %d %d,%d", B, S, X, Y));
    }
    void Click() override { Log.push_back("click"); }
    void MouseWheel(TShiftState, int Delta, int X, int Y) override {
        Log.push_back(Format("wheel %d %d,%d", Delta, X, Y));
    }
    void KeyDown(std::uint16_t& Key, TShiftState) override { Log.push_back(Format("key %d", Key)); }
    void KeyPress(char& Key) override { Log.push_back(Format("char %d", int(Key))); }
    int GetDialogCode() const override { return FCode; }
    // What arrived since the last call.
    TLog Take() { return std::exchange(Log, {}); }

private:
    int FCode;
};

constexpr int MapDialogCode = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;

std::string Down(TMouseButton B, TShiftState S, int X, int Y) {
    return Format("down %d %d %d,%d", B, S, X, Y);
}
std::string Move(TShiftState S, int X, int Y) {
    return Format("move %d %d,%d", S, X, Y);
}
std::string Up(TMouseButton B, TShiftState S, int X, int Y) {
    return Format("up %d %d %d,%d", B, S, X, Y);
}

// A window of 200 x 100: the probe's host at (10, 10), 80 x 60, and beside
// it at (110, 10) a line edit that can take the focus.
struct TWindow {
    QWidget Top;
    std::unique_ptr<TInputProbe> Probe;
    TQtHost* Host;
    QLineEdit* Beside;
    explicit TWindow(int Code) : Probe(std::make_unique<TInputProbe>(Code, 80, 60)) {
        Top.resize(200, 100);
        Host = new TQtHost(Probe.get(), &Top);
        Host->setGeometry(10, 10, 80, 60);
        Beside = new QLineEdit(&Top);
        Beside->setGeometry(110, 10, 80, 60);
        Top.show();
        Top.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Top));
        Host->setFocus();
        Application()->ProcessMessages();
        Probe->Take();
    }
    QWindow* Win() { return Top.windowHandle(); }
};

void Wheel(QWidget& W, QPoint Angle, QPoint Pixels = {}) {
    QWheelEvent E(QPointF(5, 6), W.mapToGlobal(QPointF(5, 6)), Pixels, Angle, Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&W, &E);
}

} // namespace

TEST(QtHostWheel, OneMessageOfOneNotchPerWholeNotchWhateverTheDeviceSteps) {
    TInputProbe P(0, 40, 30);
    TQtHost Host(&P);
    const std::string In = "wheel 120 5,6", Out = "wheel -120 5,6";
    for (int I = 0; I < 3; ++I)
        Wheel(Host, {0, 40}); // a fine wheel: three steps a notch
    EXPECT_EQ(P.Take(), TLog{In});
    for (int I = 0; I < 7; ++I)
        Wheel(Host, {0, 15});
    EXPECT_TRUE(P.Take().empty());
    Wheel(Host, {0, 15});
    EXPECT_EQ(P.Take(), TLog{In});
    Wheel(Host, {0, 360}); // a fast spin: three notches at once
    EXPECT_EQ(P.Take(), (TLog{In, In, In}));

    // Turning back drops what was left over: 100 up, then 100 down and 20
    // more make one notch down, not a notch up and nothing.
    Wheel(Host, {0, 100});
    Wheel(Host, {0, -100});
    EXPECT_TRUE(P.Take().empty());
    Wheel(Host, {0, -20});
    EXPECT_EQ(P.Take(), TLog{Out});

    // Pixels only (no angle): 120 pixels make a notch. A sideways wheel
    // makes none.
    Wheel(Host, {0, 0}, {0, 70});
    Wheel(Host, {0, 0}, {0, 50});
    Wheel(Host, {120, 0}, {0, 0});
    Wheel(Host, {240, 0}, {0, 0});
    EXPECT_EQ(P.Take(), TLog{In});
}

// Qt's pointer delivery, as the window system hands it over: the host keeps
// the pointer from the press to the release, over its neighbour and outside
// the window, in its own client pixels. (A press or release somewhere new
// comes after a move there, as Qt reports it.)
TEST(QtHostCapture, ADragKeepsThePointerOutsideTheControlAndTheWindow) {
    TWindow W(0);
    TLog& Log = W.Probe->Log;
    QTest::mousePress(W.Win(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(W.Win(), QPoint(150, 40));  // over the line edit
    QTest::mouseMove(W.Win(), QPoint(-30, -20)); // outside the window
    QTest::mouseRelease(W.Win(), Qt::LeftButton, {}, QPoint(160, 50));
    // The release outside makes no click; afterwards the line edit has the pointer.
    QTest::mouseMove(W.Win(), QPoint(170, 50));
    EXPECT_EQ(Log, (TLog{Move(0, 10, 10), Down(mbLeft, ssLeft, 10, 10), Move(ssLeft, 140, 30),
                         Move(ssLeft, -40, -30), Move(ssLeft, 150, 40), Up(mbLeft, 0, 150, 40)}));
    W.Probe->Take();
    QTest::mouseClick(W.Win(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 30));
    EXPECT_EQ(Log, (TLog{Move(ssShift, 20, 20), Down(mbLeft, ssLeft | ssShift, 20, 20), "click",
                         Up(mbLeft, ssShift, 20, 20)}));
}

// A gesture whose release will not come (the focus went, a popup took the
// mouse, the release was lost) ends with a mouse-up where the pointer was
// last seen, so that no tool stays in the middle of a drag; what the button
// does afterwards is no longer the control's.
TEST(QtHostCapture, AGestureCutShortEndsWithItsMouseUp) {
    TWindow W(0);
    TLog& Log = W.Probe->Log;
    QTest::mouseMove(W.Win(), QPoint(20, 20));
    QTest::mousePress(W.Win(), Qt::LeftButton, {}, QPoint(20, 20));
    W.Beside->setFocus(); // with the keyboard, say
    QTest::mouseRelease(W.Win(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(Log, (TLog{Move(0, 10, 10), Down(mbLeft, ssLeft, 10, 10), Up(mbLeft, 0, 10, 10)}));
    W.Probe->Take();

    W.Host->setFocus();
    QTest::mousePress(W.Win(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(W.Win(), QPoint(40, 30));
    QMenu Popup;
    Popup.addAction("Item");
    Popup.popup(QPoint(300, 300));
    EXPECT_EQ(Log,
              (TLog{Down(mbLeft, ssLeft, 10, 10), Move(ssLeft, 30, 20), Up(mbLeft, 0, 30, 20)}));
    Popup.close();
    W.Probe->Take();
    // Still held as far as Qt knows: moves are no drag, the release is nobody's.
    QTest::mouseMove(W.Win(), QPoint(50, 30));
    QTest::mouseRelease(W.Win(), Qt::LeftButton, {}, QPoint(50, 30));
    EXPECT_EQ(Log, TLog{Move(0, 40, 20)});
    W.Probe->Take();

    // Releases lost on the way (seen only as a move without the button, or
    // as a second press of it) end their gesture before anything else.
    auto Send = [&](QEvent::Type Type, QPointF At, Qt::MouseButton B, Qt::MouseButtons Held) {
        QMouseEvent E(Type, At, W.Host->mapToGlobal(At), B, Held, Qt::NoModifier);
        QCoreApplication::sendEvent(W.Host, &E);
    };
    Send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, {6, 7}, Qt::NoButton, Qt::NoButton);
    Send(QEvent::MouseButtonPress, {8, 8}, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonPress, {9, 9}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Log,
              (TLog{Down(mbLeft, ssLeft, 5, 5), Up(mbLeft, 0, 5, 5), Move(0, 6, 7),
                    Down(mbLeft, ssLeft, 8, 8), Up(mbLeft, 0, 8, 8), Down(mbLeft, ssLeft, 9, 9)}));
    Send(QEvent::MouseButtonRelease, {9, 9}, Qt::LeftButton, Qt::NoButton);
}

// The map's dialog code (arrows, Tab, characters) keeps those keys from the
// window's shortcuts and from focus moves; a control without it lets them go.
TEST(QtHostKeys, TheDialogCodeDecidesWhoGetsArrowsTabAndCharacters) {
    for (int Code : {MapDialogCode, 0}) {
        SCOPED_TRACE(Code);
        TWindow W(Code);
        int Shortcuts = 0;
        for (QKeySequence Keys : {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_X),
                                  QKeySequence(Qt::CTRL | Qt::Key_X)}) {
            auto* Action = new QAction(&W.Top);
            Action->setShortcut(Keys);
            QObject::connect(Action, &QAction::triggered, [&] { ++Shortcuts; });
            W.Top.addAction(Action);
        }
        ASSERT_TRUE(W.Host->hasFocus());
        QTest::keyClick(W.Host, Qt::Key_Left);
        QTest::keyClick(W.Host, Qt::Key_X);
        QTest::keyClick(W.Host, Qt::Key_X, Qt::ControlModifier); // Ctrl stays the window's
        QTest::keyClick(W.Host, Qt::Key_Down);                   // no shortcut: the control's
        QTest::keyClick(W.Host, Qt::Key_Tab);
        if (Code) {
            EXPECT_EQ(Shortcuts, 1);
            EXPECT_EQ(W.Probe->Log, (TLog{Format("key %d", VK_LEFT), Format("key %d", 'X'),
                                          Format("char %d", 'x'), Format("key %d", VK_CONTROL),
                                          Format("key %d", VK_DOWN), Format("key %d", VK_TAB),
                                          Format("char %d", '\t')}));
            EXPECT_TRUE(W.Host->hasFocus());
            EXPECT_TRUE(W.Probe->Focused());
        } else {
            EXPECT_EQ(Shortcuts, 3);
            EXPECT_EQ(W.Probe->Log,
                      (TLog{Format("key %d", VK_CONTROL), Format("key %d", VK_DOWN)}));
            EXPECT_TRUE(W.Beside->hasFocus());
            EXPECT_FALSE(W.Probe->Focused()); // it left with the focus
            QTest::keyClick(W.Beside, Qt::Key_Tab);
            EXPECT_TRUE(W.Probe->Focused());
        }
    }
}
