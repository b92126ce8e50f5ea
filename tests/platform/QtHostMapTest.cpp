// A map shown by the Qt host: the cursor is the active tool's, and the keys
// the map asks for reach its tool before the window's shortcuts and focus.
#include "core/MapObjects.h"
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
