// The text tool: keys typed through the map edit the text at the caret, the
// text is drawn over what it covers and taken away again, and Enter, Escape
// or a click make the text object.
#include "objects/Text.h"
#include "platform/Caret.h"
#include "tools/ToolFixture.h"

#include <functional>
#include <memory>
#include <string>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct TextTool : Testing::ToolFixture {
    TMapLayer* Edit = nullptr;
    std::unique_ptr<TTextTool> Tool;

    void SetUp() override {
        ToolFixture::SetUp();
        Edit = Map.Layers().Add("", "edit");
        Edit->SetEditable(true);
        Tool = Use<TTextTool>();
    }
    void TearDown() override {
        Tool.reset();
        ToolFixture::TearDown();
    }
    void Key(std::uint16_t Code) {
        Map.KeyDown(Code, 0);
        Map.KeyUp(Code, 0);
    }
    void Type(const std::string& Text) {
        for (char C : Text) {
            char K = C;
            Map.KeyPress(K);
        }
    }
    int CaretX() {
        TPoint P;
        EXPECT_TRUE(GetCaretPos(P));
        return P.X;
    }
    int WidthOf(const std::string& S) {
        Map.Canvas()->SetFont(Map.Options().DefaultTextFont());
        return Map.Canvas()->TextWidth(S);
    }
};

} // namespace

TEST_F(TextTool, KeysEditAtTheCaretWhichStaysWithinTheText) {
    EXPECT_EQ(Tool->DisplayName(), "Text Tool");
    EXPECT_EQ(Tool->Cursor(), crIBeam);
    Click(20, 30);
    EXPECT_TRUE(Tool->Editing());
    EXPECT_TRUE(CaretState().Shown);
    EXPECT_EQ(CaretState().Window, &Map);
    Map.Canvas()->SetFont(Map.Options().DefaultTextFont());
    EXPECT_EQ(CaretState().Rect.Height(), Map.Canvas()->TextHeight("Wq"));
    EXPECT_EQ(CaretX(), 20);

    Type("ab");
    Key(VK_LEFT);
    Type("x");
    EXPECT_EQ(Tool->EditText(), "axb");
    EXPECT_EQ(Tool->CurrentChar(), 2);
    EXPECT_EQ(CaretX(), 20 + WidthOf("ax"));

    struct TStep {
        std::uint16_t Key;
        const char* Text;
        int Caret;
    };
    const TStep Steps[] = {
        {VK_END, "axb", 3},   {VK_DELETE, "axb", 3}, // nothing after the caret
        {VK_RIGHT, "axb", 3}, {VK_HOME, "axb", 0},
        {VK_BACK, "axb", 0},  {VK_LEFT, "axb", 0}, // nothing before it
        {VK_DELETE, "xb", 0}, {VK_RIGHT, "xb", 1},
        {VK_BACK, "b", 0},    {VK_F2, "b", 0}, // other keys do nothing
    };
    for (const TStep& S : Steps) {
        Key(S.Key);
        EXPECT_EQ(Tool->EditText(), S.Text) << "key " << S.Key;
        EXPECT_EQ(Tool->CurrentChar(), S.Caret) << "key " << S.Key;
        EXPECT_EQ(CaretX(), 20 + WidthOf(std::string(S.Text).substr(0, S.Caret)));
        EXPECT_TRUE(CaretState().Shown) << "hides and shows in pairs";
    }
    EXPECT_EQ(Edit->ObjectCount(), 0);
}

TEST_F(TextTool, EnterEscapeAndClicksMakeTheTextObject) {
    int Added = 0;
    Map.OnAddObject = [&](TChartix*, TCustomMapObject*) { ++Added; };
    Map.SetZoom(2); // pixel (100 + 2X, 50 - 2Y)
    Map.Options().DefaultTextFont()->SetSize(12);
    struct TCase {
        std::uint16_t Finish;
        const char* Typed;
    };
    for (TCase C : {TCase{VK_RETURN, "Oslo"}, TCase{VK_ESCAPE, "Bergen"}, TCase{VK_RETURN, ""}}) {
        Click(120, 30);
        Type(C.Typed);
        Key(C.Finish);
        ASSERT_EQ(Edit->ObjectCount(), Added);
        auto* T = dynamic_cast<TText*>(Edit->Last());
        ASSERT_NE(T, nullptr);
        EXPECT_EQ(T->Text(), C.Typed);
        EXPECT_EQ(T->X(), 10);
        EXPECT_EQ(T->Y(), 10);
        EXPECT_EQ(T->Font()->Size(), 12);
        EXPECT_FALSE(Tool->Editing());
        EXPECT_EQ(Tool->EditText(), "");
        EXPECT_FALSE(CaretState().Shown);
    }
    EXPECT_EQ(Added, 3);

    // A click while editing finishes the text and starts the next there.
    Click(110, 50);
    Type("A");
    Click(140, 20);
    ASSERT_EQ(Edit->ObjectCount(), 4);
    EXPECT_EQ(dynamic_cast<TText*>(Edit->Last())->Text(), "A");
    EXPECT_EQ(dynamic_cast<TText*>(Edit->Last())->X(), 5);
    EXPECT_TRUE(Tool->Editing());
    EXPECT_EQ(Tool->TextOrigin(), (TPoint{140, 20}));
    Map.MouseDown(mbRight, ssRight, 10, 10);
    EXPECT_EQ(Tool->TextOrigin(), (TPoint{140, 20}));

    // Another tool taking over ends the editing and adds nothing.
    Type("B");
    auto Other = Use<TPanTool>();
    EXPECT_FALSE(Tool->Editing());
    EXPECT_FALSE(CaretState().Shown);
    EXPECT_EQ(Edit->ObjectCount(), 4);
}

// However the text ended, the caret is back at the start of the empty text:
// keys typed after it edit from there.
TEST_F(TextTool, KeysAfterTheTextEndedStartFromAnEmptyText) {
    auto Pan = std::make_unique<TPanTool>(nullptr);
    Pan->SetChartix(&Map);
    const std::pair<const char*, std::function<void()>> Endings[] = {
        {"Enter", [&] { Key(VK_RETURN); }},
        {"Escape", [&] { Key(VK_ESCAPE); }},
        {"off and on",
         [&] {
             Tool->SetActive(false);
             Tool->SetActive(true);
         }},
        {"another tool",
         [&] {
             Pan->SetActive(true);
             Tool->SetActive(true);
         }},
        {"a click where no text can be added",
         [&] {
             Edit->SetEditable(false);
             Click(60, 60);
             Edit->SetEditable(true);
         }},
    };
    for (const auto& [How, End] : Endings) {
        SCOPED_TRACE(How);
        Click(20, 30);
        Type("aa");
        End();
        EXPECT_EQ(Tool->CurrentChar(), 0);
        Key(VK_BACK);
        Type("b");
        Key(VK_DELETE);
        Key(VK_LEFT);
        Type("c");
        EXPECT_EQ(Tool->EditText(), "cb");
        EXPECT_EQ(Tool->CurrentChar(), 1);
        Key(VK_ESCAPE);
    }
}

TEST_F(TextTool, TypingDrawsOverTheMapAndTakesOnlyItsOwnPixelsBack) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    Click(40, 45); // over the land and the lake
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "the caret is not on the surface";
    Type("Wq");
    EXPECT_NE(Difference(Map.Surface(), Before), "") << "typed text is shown at once";
    EXPECT_FALSE(Map.PaintPending()) << "no repaint per keystroke";
    EXPECT_EQ(Tool->Background().Width(), WidthOf("Wq"));
    Key(VK_HOME);
    Type("M");
    Key(VK_DELETE);
    Key(VK_DELETE);
    Key(VK_BACK);
    EXPECT_EQ(Tool->EditText(), "");
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "the pixels beneath came back";

    // Without an editable layer Enter makes nothing and the text stays on
    // the window until the map repaints.
    Edit->SetEditable(false);
    EXPECT_FALSE(Tool->GetEnabled());
    Type("Tromso");
    const QImage Typed = Map.Surface().copy();
    Key(VK_RETURN);
    EXPECT_EQ(Edit->ObjectCount(), 0);
    EXPECT_TRUE(Tool->Editing());
    EXPECT_EQ(Difference(Map.Surface(), Typed), "");
    Map.Invalidate();
    Deliver();
    EXPECT_EQ(Difference(Map.Surface(), Before), "");
}
