// The caret: one for all windows, hides that count, errors a caller can
// report, and a host that draws it over the window surface and blinks it.
#include "platform/Caret.h"
#include "platform/QtHost.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace Platform;

namespace {

struct TWindow : TCustomControl {
    TWindow() : TCustomControl(nullptr) { SetBounds(0, 0, 60, 40); }
    void Paint() override {
        Canvas()->Brush()->SetColor(clTeal);
        Canvas()->FillRect(ClientRect());
    }
};

} // namespace

TEST(Caret, OneCaretHidesCountAndFailuresSayWhy) {
    TWindow A, B;
    EXPECT_FALSE(ShowCaret(&A)) << "no caret yet";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SysErrorMessage(GetLastError()), "Access is denied.");

    EXPECT_FALSE(CreateCaret(nullptr, 2, 2));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    ASSERT_TRUE(CreateCaret(&A, 0, 0));
    EXPECT_EQ(CaretState().Rect, (TRect{0, 0, 1, 1})) << "the default is one pixel";
    EXPECT_FALSE(CaretState().Shown) << "created hidden";
    ASSERT_TRUE(CreateCaret(&A, 2, 15));
    EXPECT_TRUE(SetCaretPos(7, 9));
    EXPECT_EQ(CaretState().Rect, (TRect{7, 9, 9, 24}));
    EXPECT_TRUE(ShowCaret(&A));
    EXPECT_TRUE(CaretState().Shown);
    EXPECT_FALSE(ShowCaret(&B)) << "B does not own it";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    // Two hides need two shows; a show too many does not bank a hide.
    EXPECT_TRUE(ShowCaret(&A));
    EXPECT_TRUE(HideCaret(&A));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_TRUE(ShowCaret(&A));
    EXPECT_FALSE(CaretState().Shown);
    EXPECT_TRUE(ShowCaret(&A));
    EXPECT_TRUE(CaretState().Shown);

    // Another window takes it; a window going takes its caret along.
    {
        TWindow C;
        ASSERT_TRUE(CreateCaret(&C, 1, 10));
        EXPECT_FALSE(HideCaret(&A));
        EXPECT_EQ(CaretState().Window, &C);
    }
    EXPECT_EQ(CaretState().Window, nullptr);
    TPoint P;
    EXPECT_FALSE(GetCaretPos(P));
    EXPECT_FALSE(DestroyCaret());
}

TEST(Caret, TheHostInvertsItOverTheSurfaceAndBlinks) {
    auto Window = std::make_unique<TWindow>();
    TQtHost Host(Window.get());
    Host.resize(60, 40);
    Host.show();
    QApplication::processEvents();
    auto Shown = [&] { return Host.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage Plain = Shown();
    const QRgb Teal = Plain.pixel(30, 20);

    ASSERT_TRUE(CreateCaret(Window.get(), 2, 10));
    SetCaretPos(20, 5);
    EXPECT_EQ(Shown(), Plain) << "a hidden caret";
    ShowCaret(Window.get());
    EXPECT_TRUE(Host.CaretVisible());
    QImage With = Shown();
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 60; ++X) {
            const bool In = X >= 20 && X < 22 && Y >= 5 && Y < 15;
            ASSERT_EQ(With.pixel(X, Y) & 0xFFFFFF, (In ? ~Teal : Teal) & 0xFFFFFF) << X << "," << Y;
        }
    EXPECT_EQ(Window->Surface().pixel(20, 5), Plain.pixel(20, 5)) << "the surface is untouched";

    Host.BlinkCaret();
    EXPECT_FALSE(Host.CaretVisible());
    EXPECT_EQ(Shown(), Plain) << "the off half of the blink";
    Host.BlinkCaret();
    SetCaretPos(40, 20); // a move shows it at once at the new place
    EXPECT_TRUE(Host.CaretVisible());
    With = Shown();
    EXPECT_EQ(With.pixel(20, 5), Plain.pixel(20, 5)) << "nothing left at the old place";
    EXPECT_EQ(With.pixel(41, 29) & 0xFFFFFF, ~Teal & 0xFFFFFF);
    HideCaret(Window.get());
    EXPECT_EQ(Shown(), Plain);
    Window.reset();
    EXPECT_FALSE(Host.CaretVisible());
}
