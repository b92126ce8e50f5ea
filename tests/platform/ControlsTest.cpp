// Controls: paints delivered by the event loop, focus, parents, surfaces, and
// the Qt host translating Qt's mouse and key events into the control's.
#include "platform/QtHost.h"
#include "support/TestUtils.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Platform;

namespace {

class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string>* Log = nullptr; // focus events, when set
    int Paints = 0;
    std::function<void()> OnPaint;
    int GetDialogCode() const override { return DLGC_WANTTAB; }

protected:
    void Paint() override {
        ++Paints;
        Canvas()->FillRect(ClientRect()); // in the brush the paint starts with: Color
        Canvas()->Pen()->SetColor(clRed);
        Canvas()->MoveTo(0, 0);
        Canvas()->LineTo(Width(), 0);
        if (OnPaint) OnPaint();
    }
    void DoEnter() override {
        if (Log) Log->push_back(Name() + ".enter");
    }
    void DoExit() override {
        if (Log) Log->push_back(Name() + ".exit");
    }
};

TColor At(const QImage& Image, int X, int Y) {
    return FromQColor(Image.pixel(X, Y));
}

// Runs the event loop; gives the number of paints so far.
int Deliver(const std::unique_ptr<TProbe>& P) {
    Application()->ProcessMessages();
    return P->Paints;
}

std::unique_ptr<TProbe> MakeProbe(int W = 20, int H = 10) {
    auto P = std::make_unique<TProbe>(nullptr);
    P->SetBounds(0, 0, W, H);
    Application()->ProcessMessages(); // the paint of the first size
    P->Paints = 0;
    return P;
}

} // namespace

TEST(ControlPaint, OneDeliveryPerInvalidation) {
    auto P = MakeProbe();
    P->Invalidate();
    P->Invalidate();
    EXPECT_TRUE(P->PaintPending());
    EXPECT_EQ(P->Paints, 0); // nothing before the event loop runs
    EXPECT_EQ(Deliver(P), 1);
    EXPECT_FALSE(P->PaintPending());
    EXPECT_EQ(Deliver(P), 1);
    // Invalidating inside a paint asks for the next one, not for a loop.
    P->OnPaint = [&] { P->Invalidate(); };
    P->Invalidate();
    EXPECT_EQ(Deliver(P), 2);
    EXPECT_TRUE(P->PaintPending());
    P->OnPaint = nullptr;
    EXPECT_EQ(Deliver(P), 3);
}

TEST(ControlPaint, PaintDrawsOnTheSurfaceAndResizingKeepsItsPixels) {
    auto P = MakeProbe(10, 10);
    P->SetColor(clBtnFace);
    Application()->ProcessMessages();
    Testing::ExpectPixels(P->Canvas(), {{5, 5, ColorToRGB(clBtnFace)}, {5, 0, clRed}});
    int Resizes = 0;
    P->OnResize = [&](TObject*) { ++Resizes; };
    P->Canvas()->SetPixel(9, 9, clBlue); // the canvas draws on the surface outside paints too
    P->SetBounds(5, 5, 10, 10);          // moved, not resized
    EXPECT_EQ(Resizes, 0);
    P->SetBounds(0, 0, 14, 12);
    EXPECT_EQ(Resizes, 1);
    EXPECT_EQ(P->Surface().size(), QSize(14, 12));
    EXPECT_EQ(At(P->Surface(), 9, 9), clBlue);
    EXPECT_EQ(At(P->Surface(), 13, 11), ColorToRGB(clBtnFace));
    EXPECT_TRUE(P->PaintPending());
    P->Canvas()->SetPixel(13, 11, clRed); // the canvas follows the new surface
    EXPECT_EQ(At(P->Surface(), 13, 11), clRed);
    P->SetBounds(0, 0, 0, 0);
    EXPECT_TRUE(P->Surface().isNull());
    Application()->ProcessMessages(); // painting nothing is fine
}

TEST(ControlFocus, OldControlExitsBeforeTheNewOneEntersDestroyedOnesAreForgotten) {
    auto A = MakeProbe(), B = MakeProbe();
    A->SetName("A");
    B->SetName("B");
    std::vector<std::string> Log;
    A->Log = B->Log = &Log;
    A->SetFocus();
    EXPECT_TRUE(A->Focused());
    B->SetFocus();
    B->SetFocus(); // no change, no events
    EXPECT_TRUE(B->Focused());
    EXPECT_FALSE(A->Focused());
    Application()->SetFocusedControl(nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"A.enter", "A.exit", "B.enter", "B.exit"}));

    // Destroyed controls are forgotten, also by a paint of another one.
    A->Invalidate();
    B->Invalidate();
    A->OnPaint = [&] { B.reset(); };
    EXPECT_EQ(Deliver(A), 1);
    A->SetFocus();
    A.reset();
    EXPECT_EQ(Application()->FocusedControl(), nullptr);
    Application()->ProcessMessages();
}

TEST(ControlParents, ParentLinksFollowInsertionAndDestruction) {
    auto Parent = std::make_unique<TWinControl>(nullptr);
    auto Other = std::make_unique<TWinControl>(nullptr);
    auto Child = std::make_unique<TControl>(nullptr);
    auto Second = std::make_unique<TControl>(nullptr);
    Child->SetParent(Parent.get());
    Second->SetParent(Parent.get());
    EXPECT_EQ(Child->Parent(), Parent.get());
    EXPECT_EQ(Parent->ControlCount(), 2);
    Child->SetParent(Other.get());
    EXPECT_EQ(Parent->ControlCount(), 1);
    EXPECT_EQ(Other->Controls(0), Child.get());
    Second.reset();
    EXPECT_EQ(Parent->ControlCount(), 0);
    Other.reset();
    EXPECT_EQ(Child->Parent(), nullptr); // unparented, not freed
    Child->SetParent(Parent.get());
    EXPECT_EQ(Parent->ControlCount(), 1);
}

// The host's mouse through the control's On events; the buttons, keys and
// positions of a whole gesture are QtHostCapture's.
TEST(QtHost, ForwardsClicksAndDoubleClicksInWindowsOrder) {
    auto P = MakeProbe(40, 30);
    TQtHost Host(P.get());
    EXPECT_EQ(P->Host(), &Host);
    std::vector<std::string> Events;
    P->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Events.push_back(Format("down %d %d %d,%d", B, S, X, Y));
    };
    P->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
        Events.push_back(Format("up %d %d,%d", B, X, Y));
    };
    P->OnClick = [&](TObject*) { Events.push_back("click"); };
    P->OnDblClick = [&](TObject*) { Events.push_back("dblclick"); };
    auto Send = [&](QEvent::Type Type, QPointF At, Qt::MouseButton Button, Qt::MouseButtons Held) {
        QMouseEvent E(Type, At, Host.mapToGlobal(At), Button, Held, Qt::NoModifier);
        QCoreApplication::sendEvent(&Host, &E);
    };
    Send(QEvent::MouseButtonPress, QPointF(3, 4), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, QPointF(3, 4), Qt::LeftButton, Qt::NoButton);
    Send(QEvent::MouseButtonDblClick, QPointF(3, 4), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, QPointF(3, 4), Qt::LeftButton, Qt::NoButton);
    // Windows order: click before the mouse-up; DblClick before the ssDouble press.
    const std::string Up = Format("up %d 3,4", mbLeft);
    EXPECT_EQ(Events, (std::vector<std::string>{
                          Format("down %d %d 3,4", mbLeft, ssLeft), "click", Up, "dblclick",
                          Format("down %d %d 3,4", mbLeft, ssLeft | ssDouble), Up}));
}
