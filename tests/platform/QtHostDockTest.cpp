// The Qt host as a dock's content: any custom control sized by the dock,
// repainted after a change made in code, several of them side by side each
// with its own focus.
#include "platform/QtHost.h"

#include <QApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

// Paints a band of its colour Filled pixels wide from the left, and marks
// its bottom-right pixel, so a picture tells its width and its fill.
class TBand : public TCustomControl {
public:
    TBand(int W, int H) : TCustomControl(nullptr) { SetBounds(0, 0, W, H); }
    int Filled = 10;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(clNavy);
        Canvas()->FillRect(Rect(0, 0, Filled, Height()));
        Canvas()->SetPixel(Width() - 1, Height() - 1, clRed);
    }
};

TColor At(const QImage& Image, int X, int Y) {
    return FromQColor(Image.pixel(X, Y));
}

} // namespace

TEST(QtHostDock, DockedControlsFollowTheirDocksRepaintOnInvalidateAndTakeTheFocus) {
    TBand Left(120, 80), Bottom(300, 60);
    QMainWindow Window;
    Window.setCentralWidget(new QWidget);
    auto Dock = [&](TBand& Band, Qt::DockWidgetArea Area) {
        auto* D = new QDockWidget(&Window);
        auto* Host = new TQtHost(&Band, D);
        D->setWidget(Host);
        Window.addDockWidget(Area, D);
        return Host;
    };
    TQtHost* LeftHost = Dock(Left, Qt::LeftDockWidgetArea);
    TQtHost* BottomHost = Dock(Bottom, Qt::BottomDockWidgetArea);
    EXPECT_EQ(LeftHost->sizeHint(), QSize(120, 80));
    Window.resize(700, 500);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));

    // The dock decides the size; the control and its surface follow.
    for (TQtHost* Host : {LeftHost, BottomHost}) {
        auto* Band = static_cast<TBand*>(Host->Control());
        SCOPED_TRACE(Band->Width());
        EXPECT_EQ(QSize(Band->Width(), Band->Height()), Host->size());
        const QImage Shown = Host->grab().toImage();
        EXPECT_EQ(At(Shown, Host->width() - 1, Host->height() - 1), clRed);
        EXPECT_EQ(At(Shown, 5, 5), clNavy);
        EXPECT_EQ(At(Shown, 15, 5), clWhite);
    }
    EXPECT_EQ(LeftHost->width(), 120);   // the hint gives the dock its width
    EXPECT_GT(BottomHost->width(), 300); // a bottom dock spans the window
    const int Tall = LeftHost->height();
    Window.resize(700, 400);
    QApplication::processEvents();
    EXPECT_EQ(Left.Height(), LeftHost->height());
    EXPECT_LT(Left.Height(), Tall);

    // A change in code shows once the control invalidates, not before.
    Left.Filled = 40;
    EXPECT_EQ(At(LeftHost->grab().toImage(), 25, 5), clWhite);
    Left.Invalidate();
    EXPECT_EQ(At(LeftHost->grab().toImage(), 25, 5), clNavy);
    EXPECT_EQ(At(BottomHost->grab().toImage(), 25, 5), clWhite);

    // Each host gives the platform focus to its own control.
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    BottomHost->setFocus();
    EXPECT_EQ(Application()->FocusedControl(), &Bottom);
    Left.SetFocus();
    EXPECT_TRUE(LeftHost->hasFocus());
    EXPECT_EQ(Application()->FocusedControl(), &Left);
}
