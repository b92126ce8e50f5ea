// The data browser: the grid shows the layer's attribute table, follows its
// objects, writes edits back, and moves the map to the chosen row's object.
#include "controls/DataBrowser.h"
#include "support/MapFixture.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

using namespace Mapobjects;
using namespace Platform;
using Testing::ViewFixture;

namespace {

struct DataBrowserTest : ViewFixture {
    TDataBrowser Grid{nullptr};
    TMapLayer* Towns = nullptr;
    void SetUp() override {
        ViewFixture::SetUp(); // a 200 x 100 view of -100..100 x -50..50
        Towns = Map.Layers().Add("", "towns");
        Towns->Fields().Add("Name", dtString, 20);
        Towns->Fields().Add("Pop", dtInteger, 0);
        Towns->Fields().Add("Area", dtFloat, 0);
        Town("Inside", 10, 10);  // wholly in view
        Town("Outside", 300, 0); // far to the east
        Grid.SetParent(&Form);
        Grid.SetBounds(0, 0, 400, 200);
        Grid.SetLayer(Towns);
    }
    TCustomMapObject* Town(const std::string& Name, double X, double Y) {
        TCustomMapObject* O = Testing::AddSquare(Towns, X, Y, 10);
        O->Fields().GetFields(0)->SetAsString(Name);
        O->Fields().GetFields(1)->SetAsInteger(100);
        return O;
    }
    void Press(std::uint16_t Key, TShiftState Shift = 0) { Grid.KeyDown(Key, Shift); }
    void Type(const std::string& Text) {
        for (char Ch : Text)
            Grid.KeyPress(Ch);
    }
    std::string Value(int Object, int Field) {
        return Towns->Objects(Object)->Fields().GetFields(Field)->AsString();
    }
};

TEST_F(DataBrowserTest, ShowsAColumnPerFieldAndARowPerObjectOfItsOwnLayer) {
    EXPECT_EQ(Grid.ColCount(), 4);
    EXPECT_EQ(Grid.RowCount(), 3);
    Testing::AddSquare(Layer, 0, 0, 5); // another layer's object
    Town("Third", 0, 0);
    EXPECT_EQ(Grid.RowCount(), 4);
    Towns->DeleteObject(0);
    EXPECT_EQ(Grid.RowCount(), 3);

    Map.Layers().Delete(Map.Layers().IndexOf(Towns));
    EXPECT_EQ(std::make_pair(Grid.ColCount(), Grid.RowCount()), std::make_pair(2, 2));
    EXPECT_EQ(Grid.Layer(), nullptr);
    EXPECT_EQ(Grid.DataLink()->Map(), nullptr) << "detached from the map";
}

TEST_F(DataBrowserTest, HeaderColumnFitsTheObjectCountWithASpaceEachSide) {
    TMapLayer* Big = Map.Layers().Add("", "big");
    Big->Fields().Add("Id", dtInteger, 0);
    for (int I = 0; I < 1234; ++I)
        Big->NewObject<TRegion>();
    Grid.SetLayer(Big);
    TBitmap Probe;
    Probe.SetSize(1, 1);
    Probe.Canvas()->SetFont(Grid.Font());
    EXPECT_EQ(Grid.ColWidths(0), Probe.Canvas()->TextWidth(" 1234 "));

    TMapLayer* Empty = Map.Layers().Add("", "empty");
    Empty->Fields().Add("Id", dtInteger, 0);
    Grid.SetLayer(Empty);
    EXPECT_EQ(std::make_pair(Grid.ColCount(), Grid.RowCount()), std::make_pair(2, 2));
}

TEST_F(DataBrowserTest, EditsWriteConvertedValuesAndBadTextChangesNothing) {
    Layer->SetEditable(true); // another layer: the grid stays read-only
    EXPECT_FALSE(Grid.Options() & goEditing);
    Towns->SetEditable(true);
    EXPECT_TRUE(Grid.Options() & goEditing);
    EXPECT_FALSE(Grid.Options() & goRowSelect);
    ASSERT_TRUE(Grid.EditorMode());
    EXPECT_EQ(Grid.EditorText(), "Inside");
    struct {
        int Col;
        std::string Typed, Stored;
        bool Repaint;
    } const Cases[] = {
        {1, "Renamed", "Renamed", true}, {2, "4321", "4321", true}, {2, "abc", "4321", false},
        {3, "2.5", "2.5", true},         {3, "2,5x", "2.5", false},
    };
    for (const auto& C : Cases) {
        Grid.SetCol(C.Col);
        Map.SetModified(false);
        Towns->SetModified(false);
        Type(C.Typed);
        EXPECT_NO_THROW(Press(VK_RETURN));
        EXPECT_EQ(Value(0, C.Col - 1), C.Stored) << C.Typed;
        EXPECT_EQ(Map.Modified(), C.Repaint) << C.Typed;
        EXPECT_EQ(Towns->Modified(), C.Repaint) << "unsaved changes after " << C.Typed;
    }
    Grid.SetCol(1);
    Grid.SetRow(2);
    Type("Moved");
    Towns->DeleteObject(0); // the edited row moves up
    EXPECT_EQ(Value(0, 0), "Moved") << "the edit went to its own object";
    Towns->SetEditable(false);
    EXPECT_FALSE(Grid.EditorMode());
    EXPECT_TRUE(Grid.Options() & goRowSelect);
}

TEST_F(DataBrowserTest, EnterRecentresOnlyWhenNeededAndCtrlEnterZooms) {
    Press(VK_RETURN); // row 1: wholly in view
    EXPECT_TRUE(Towns->Objects(0)->GetSelected());
    EXPECT_EQ(std::make_pair(Map.CenterX(), Map.CenterY()), std::make_pair(0.0, 0.0));
    Map.Selection().Clear();
    Press(VK_DOWN);
    Grid.DblClick(); // as Enter: row 2 alone, out of view
    EXPECT_TRUE(Towns->Objects(1)->GetSelected());
    EXPECT_EQ(std::make_pair(Map.CenterX(), Map.CenterY()), std::make_pair(305.0, 5.0));
    EXPECT_EQ(Map.Zoom(), 1.0);

    Press(VK_RETURN, ssCtrl);
    EXPECT_GT(Map.Zoom(), 1.0) << "zoomed to the selected square";
    EXPECT_EQ(std::make_pair(Map.CenterX(), Map.CenterY()), std::make_pair(305.0, 5.0));

    // A table of a single field, its row an object without geometry.
    TMapLayer* Roads = Map.Layers().Add("", "roads");
    Roads->Fields().Add("Name", dtString, 20);
    Roads->NewObject<TPolyline>()->Fields().GetFields(0)->SetAsString("Main");
    Grid.SetLayer(Roads);
    Press(VK_RETURN);
    EXPECT_TRUE(Roads->Objects(0)->GetSelected());
}

TEST_F(DataBrowserTest, RowHeaderOfASelectedObjectIsBold) {
    Application()->ProcessMessages();
    auto Ink = [&](int Row) {
        const TRect R = Grid.CellRect(0, Row);
        const QRgb Back = Grid.Surface().pixel(R.Left, R.Top);
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                N += Grid.Surface().pixel(X, Y) != Back;
        return N;
    };
    const int Plain1 = Ink(1), Plain2 = Ink(2);
    ASSERT_GT(Plain1, 0);
    Towns->Objects(0)->Select();
    Application()->ProcessMessages();
    EXPECT_GT(Ink(1), Plain1);
    EXPECT_EQ(Ink(2), Plain2);
}

// With FollowSelection a pick on the map scrolls its row into view.
TEST_F(DataBrowserTest, FollowSelectionScrollsToThePickedRow) {
    for (int I = 0; I < 60; ++I)
        Town("T" + std::to_string(I), -90 + I, -40);
    Grid.SetFollowSelection(true);
    Towns->Objects(50)->Select();
    EXPECT_LE(Grid.TopRow(), 51);
    EXPECT_GT(Grid.TopRow() + Grid.VisibleRowCount(), 51);
}

} // namespace
