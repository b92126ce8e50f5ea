// List box, combo box and grid: geometry, the pointer and keys, and the
// combo's drop-down list.
#include "platform/ComboBox.h"
#include "platform/Grid.h"
#include "platform/ListBox.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace Platform;

namespace {

std::uint16_t Press(TWinControl& C, std::uint16_t Key, TShiftState Shift = 0) {
    C.KeyDown(Key, Shift);
    return Key;
}

struct ListBoxTest : ::testing::Test {
    TCustomListBox Box{nullptr};
    int Clicks = 0;
    void SetUp() override {
        Box.SetBounds(0, 0, 100, 50); // five rows of 10 pixels
        Box.SetItemHeight(10);
        for (const char* S : {"a", "b", "c", "d", "e", "f", "g", "h"})
            Box.Items().Add(S);
        Box.OnClick = [this](TObject*) { ++Clicks; };
    }
};

TEST_F(ListBoxTest, RowsAndPointsMapBothWaysWhenScrolled) {
    Box.SetTopIndex(2);
    ASSERT_EQ(Box.ClientWidth(), 84) << "a scroll bar beside the rows";
    EXPECT_EQ(Box.ItemRect(2), Rect(0, 0, 84, 10));
    EXPECT_EQ(Box.ItemRect(0), Rect(0, -20, 84, -10)) << "rows above the top lie above it";
    EXPECT_EQ(Box.ItemRect(7), Rect(0, 50, 84, 60));
    struct {
        TPoint P;
        int Existing, Any;
    } const Cases[] = {
        {{5, 0}, 2, 2}, {{5, 19}, 3, 3}, {{83, 49}, 6, 6}, {{-1, 5}, -1, -1}, {{84, 5}, -1, -1}};
    for (const auto& C : Cases) {
        EXPECT_EQ(Box.ItemAtPos(C.P, true), C.Existing) << C.P.X << "," << C.P.Y;
        EXPECT_EQ(Box.ItemAtPos(C.P, false), C.Any) << C.P.X << "," << C.P.Y;
    }
    Box.SetTopIndex(6);
    EXPECT_EQ(Box.TopIndex(), 3) << "no further than the last row at the bottom";
    Box.Items().Delete(7);
    Box.Items().Delete(6);
    Box.Items().Delete(5);
    Box.Items().Delete(4); // four rows left in five
    EXPECT_EQ(Box.TopIndex(), 0);
    EXPECT_EQ(Box.ClientWidth(), 100) << "no scroll bar";
    EXPECT_EQ(Box.ItemAtPos(Point(5, 45), true), -1);
    EXPECT_EQ(Box.ItemAtPos(Point(5, 45), false), 4) << "below the last row: Count";
}

TEST_F(ListBoxTest, ScrollBarArrowsTrackAndThumbMoveTheTopRowOnly) {
    Box.SetItemIndex(0);
    auto Press = [&](int Y, int ToY) {
        Box.MouseDown(mbLeft, ssLeft, 90, Y);
        if (ToY != Y) Box.MouseMove(ssLeft, 90, ToY);
        Box.MouseUp(mbLeft, 0, 90, ToY);
        return Box.TopIndex();
    };
    // Arrows of 16 pixels; the thumb, 11 of the 18-pixel track, moves over 7.
    EXPECT_EQ(Press(45, 45), 1) << "the lower arrow";
    EXPECT_EQ(Press(2, 2), 0) << "the upper arrow";
    EXPECT_EQ(Press(31, 31), 3) << "the track below the thumb: a page, as far as it goes";
    EXPECT_EQ(Box.VertScrollBar().ThumbRect(), Rect(84, 23, 100, 34));
    EXPECT_EQ(Press(25, 20), 1) << "the thumb dragged up 5 of 7 pixels";
    EXPECT_EQ(Box.ItemIndex(), 0);
    EXPECT_EQ(Clicks, 0) << "the bar is no part of the rows";
    Application()->ProcessMessages();
    EXPECT_EQ(FromQColor(QColor(Box.Surface().pixel(92, 24))), ColorToRGB(clBtnFace))
        << "the thumb is drawn";
}

TEST_F(ListBoxTest, KeysMoveAndScrollAndItemChangesKeepTheCurrentItem) {
    Press(Box, VK_DOWN);
    EXPECT_EQ(Box.ItemIndex(), 0);
    Press(Box, VK_END);
    EXPECT_EQ(Box.ItemIndex(), 7);
    EXPECT_EQ(Box.TopIndex(), 3);
    Press(Box, VK_DOWN); // at the end: nothing, no click
    EXPECT_EQ(Clicks, 2);
    Press(Box, VK_HOME);
    EXPECT_EQ(Box.TopIndex(), 0);
    Box.SetItemIndex(4);
    Box.Items().Delete(1);
    EXPECT_EQ(Box.ItemIndex(), 3) << "the same item, one place up";
    Box.Items().Insert(0, "z");
    EXPECT_EQ(Box.ItemIndex(), 4);
    Box.Items().Delete(4);
    EXPECT_EQ(Box.ItemIndex(), -1) << "the current item went";
    Box.SetItemIndex(99);
    EXPECT_EQ(Box.ItemIndex(), -1);
}

struct ComboTest : ::testing::Test {
    TCustomComboBox Combo{nullptr};
    std::vector<int> Changes; // ItemIndex at each OnChange
    void SetUp() override {
        Combo.SetStyle(csDropDownList);
        Combo.SetBounds(0, 0, 120, 21);
        for (const char* S : {"alpha", "beta", "gamma"})
            Combo.Items().Add(S);
        Combo.OnChange = [this](TObject*) { Changes.push_back(Combo.ItemIndex()); };
    }
};

TEST_F(ComboTest, ArrowsChooseAtOnceWhileClosed) {
    EXPECT_EQ(Combo.DropDownCount(), 8);
    Press(Combo, VK_DOWN);
    Press(Combo, VK_DOWN);
    Press(Combo, VK_END);
    Press(Combo, VK_DOWN); // at the end: no change
    Press(Combo, VK_UP);
    EXPECT_EQ(Changes, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(Combo.Text(), "beta");
    char G = 'g';
    Combo.KeyPress(G);
    EXPECT_EQ(Combo.Text(), "gamma");
    Combo.SetItemIndex(0); // from code: no OnChange
    EXPECT_EQ(Changes.size(), 5u);
}

// The grid's in-place editor is the data browser's; here its geometry.
struct GridTest : ::testing::Test {
    TCustomGrid Grid{nullptr};
    void SetUp() override {
        Grid.SetBounds(0, 0, 300, 120); // columns of 64 + 1, rows of 24 + 1
        Grid.SetOptions(Grid.Options() | goEditing);
    }
};

TEST_F(GridTest, ScrollBarsShowWhileTheCellsDoNotFitAndScrollThem) {
    // 5 columns of 65 and 5 rows of 25 in 300 x 120: both bars.
    EXPECT_EQ(Grid.VertScrollBar().Bounds, Rect(284, 0, 300, 104));
    EXPECT_EQ(Grid.HorzScrollBar().Bounds, Rect(0, 104, 284, 120));
    Grid.MouseDown(mbLeft, ssLeft, 290, 95); // the lower arrow
    Grid.MouseUp(mbLeft, 0, 290, 95);
    EXPECT_EQ(Grid.TopRow(), 2);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(1, 1)) << "no cell chosen";
    Grid.SetColCount(3);
    Grid.SetRowCount(4);
    EXPECT_EQ(std::make_pair(Grid.ClientWidth(), Grid.ClientHeight()), std::make_pair(300, 120))
        << "everything fits: no bars";
    EXPECT_EQ(Grid.TopRow(), 1);
}

TEST_F(GridTest, CellsScrollClickAndSize) {
    Grid.SetOptions(Grid.Options() | goColSizing);
    EXPECT_EQ(Grid.CellRect(2, 1), Rect(130, 25, 194, 49));
    EXPECT_EQ(Grid.VisibleColCount(), 3);
    EXPECT_EQ(Grid.VisibleRowCount(), 3);
    Grid.MouseDown(mbLeft, ssLeft, 140, 60);
    Grid.MouseUp(mbLeft, 0, 140, 60);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(2, 2));
    EXPECT_FALSE(Grid.EditorMode()) << "a first click selects only";
    Press(Grid, VK_END, ssCtrl);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(4, 4));
    EXPECT_EQ(Grid.LeftCol(), 2);
    EXPECT_EQ(Grid.TopRow(), 2);
    EXPECT_EQ(Grid.CellRect(1, 1), TRect{}) << "scrolled out of view";
    EXPECT_EQ(Grid.CellRect(0, 2), Rect(0, 25, 64, 49)) << "fixed cells stay";
    int C, R;
    EXPECT_TRUE(Grid.MouseToCell(70, 30, C, R));
    EXPECT_EQ(std::make_pair(C, R), std::make_pair(2, 2));
    // Dragging the header line after column 0 sizes it.
    Grid.MouseDown(mbLeft, ssLeft, 64, 5);
    Grid.MouseMove(ssLeft, 84, 5);
    Grid.MouseUp(mbLeft, 0, 84, 5);
    EXPECT_EQ(Grid.ColWidths(0), 84);
    EXPECT_EQ(std::make_pair(Grid.Col(), Grid.Row()), std::make_pair(4, 4));
}

} // namespace
