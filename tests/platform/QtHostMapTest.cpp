// A map shown by the Qt host: the cursor is the active tool's, and the keys
// the map asks for reach its tool before the window's shortcuts and focus.
#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "platform/QtHost.h"
#include "tools/StdMapTools.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

using namespace Platform;
using namespace Mapobjects;

namespace {

class TKeyTool : public TCustomMapTool {
public:
    using TCustomMapTool::TCustomMapTool;
    std::string Keys;
    void KeyDown(std::uint16_t& Key, TShiftState) override { Keys += Format("[%d]", Key); }
    void KeyPress(char& Key) override { Keys += Key; }
};

} // namespace

TEST(QtHostMap, TheActiveToolsCursorShowsAndTheMapsKeysReachItsTool) {
    QWidget Top;
    TWinControl Form(nullptr);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 80, 60);
    auto* Host = new TQtHost(&Map, &Top);
    Top.resize(80, 60);
    TPanTool Pan(nullptr);
    TZoomInTool ZoomIn(nullptr);
    TSelectionTool Select(nullptr);
    TKeyTool Keys(nullptr);
    for (TCustomMapTool* Tool :
         std::initializer_list<TCustomMapTool*>{&Pan, &ZoomIn, &Select, &Keys})
        Tool->SetChartix(&Map);

    const std::pair<TCustomMapTool*, Qt::CursorShape> Cursors[] = {
        {&Pan, Qt::SizeAllCursor},
        {&ZoomIn, Qt::PointingHandCursor},
        {&Select, Qt::ArrowCursor},
        {&Pan, Qt::SizeAllCursor}};
    for (const auto& [Tool, Shape] : Cursors) {
        Tool->SetActive(true);
        EXPECT_EQ(Host->cursor().shape(), Shape) << Tool->DisplayName();
    }
    Pan.SetActive(false);
    EXPECT_EQ(Host->cursor().shape(), Qt::ArrowCursor);

    Keys.SetActive(true);
    std::string MapKeys;
    Map.OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) {
        MapKeys += Format("[%d]", Key);
    };
    int Shortcuts = 0;
    for (int Key : {Qt::Key_Right, Qt::Key_A}) {
        auto* Action = new QAction(&Top);
        Action->setShortcut(QKeySequence(Key));
        QObject::connect(Action, &QAction::triggered, [&] { ++Shortcuts; });
        Top.addAction(Action);
    }
    Top.show();
    Top.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Top));
    QTest::mouseClick(Host, Qt::RightButton); // a press focuses the map
    EXPECT_TRUE(Map.Focused());
    ASSERT_TRUE(Host->hasFocus());
    QTest::keyClick(Host, Qt::Key_Right);
    QTest::keyClick(Host, Qt::Key_A);
    QTest::keyClick(Host, Qt::Key_Tab);
    EXPECT_EQ(Shortcuts, 0);
    EXPECT_EQ(Keys.Keys, Format("[%d][%d]a[%d]\t", VK_RIGHT, 'A', VK_TAB));
    EXPECT_EQ(MapKeys, Format("[%d][%d][%d]", VK_RIGHT, 'A', VK_TAB));
    EXPECT_TRUE(Host->hasFocus());
}

namespace {

// Counts the paints the window system delivers to a widget.
struct TPaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* E) override {
        if (E->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

} // namespace

// What a tool draws during a drag (a zoom rectangle, the moved picture of a
// pan) reaches the screen while the button is held, not on the release.
TEST(QtHostMap, DrawingDuringADragReachesTheScreenAtOnce) {
    QWidget Top;
    TWinControl Form(nullptr);
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 120, 90);
    auto* Host = new TQtHost(&Map, &Top);
    Top.resize(120, 90);
    // Something to see move: a square in the middle of the view.
    TMapPoints& Ring =
        Map.Layers().Add("", "squares")->NewObject<TRegion>()->Parts().Add()->Points();
    for (auto [X, Y] : {std::pair{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})
        Ring.Add(X, Y);
    Map.FitView(3);
    Top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Top));
    TZoomInTool ZoomIn(nullptr);
    TPanTool Pan(nullptr);
    for (TCustomMapTool* Tool : std::initializer_list<TCustomMapTool*>{&ZoomIn, &Pan}) {
        Tool->SetChartix(&Map);
        Tool->SetActive(true);
        QTest::qWait(20); // the paints of the last step are over
        const QImage Before = Host->grab().toImage();
        TPaintCounter Counter;
        Host->installEventFilter(&Counter);
        QTest::mousePress(Host, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(Host, QPoint(70, 60));
        QTest::qWait(20);
        EXPECT_GT(Counter.Paints, 0) << Tool->DisplayName();
        Host->removeEventFilter(&Counter);
        EXPECT_NE(Host->grab().toImage(), Before) << Tool->DisplayName();
        QTest::mouseRelease(Host, Qt::LeftButton, {}, QPoint(70, 60));
    }
}
