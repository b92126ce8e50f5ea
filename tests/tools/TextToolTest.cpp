// The text tool: keys typed through the map edit the text at the caret, the
// text is drawn over what it covers and taken away again, and Enter, Escape
// or a click make the text object.
#include "objects/Text.h"
#include "platform/Caret.h"
#include "tools/ToolFixture.h"

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
        for (char C : Text)
            Map.KeyPress(C);
    }
    int WidthOf(const std::string& S) {
        Map.Canvas()->SetFont(Map.Options().DefaultTextFont());
        return Map.Canvas()->TextWidth(S);
    }
};

} // namespace

TEST_F(TextTool, KeysEditAtTheCaretWhichStaysWithinTheText) {
    Click(20, 30);
    EXPECT_EQ(CaretState().Window, &Map);
    EXPECT_TRUE(CaretState().Shown);
    Map.Canvas()->SetFont(Map.Options().DefaultTextFont());
    EXPECT_EQ(CaretState().Rect.Height(), Map.Canvas()->TextHeight("Wq"));
    Type("ab");
    Key(VK_LEFT);
    Type("x");
    struct TStep {
        std::uint16_t Key;
        const char* Text;
        int Caret;
    };
    const TStep Steps[] = {
        {0, "axb", 2},        {VK_END, "axb", 3},   {VK_DELETE, "axb", 3}, // nothing after
        {VK_RIGHT, "axb", 3}, {VK_HOME, "axb", 0},  {VK_BACK, "axb", 0},   // nothing before
        {VK_LEFT, "axb", 0},  {VK_DELETE, "xb", 0}, {VK_RIGHT, "xb", 1},
        {VK_BACK, "b", 0},    {VK_F2, "b", 0}, // other keys do nothing
    };
    for (const TStep& S : Steps) {
        if (S.Key) Key(S.Key);
        EXPECT_EQ(std::pair(Tool->EditText(), Tool->CurrentChar()),
                  std::pair(std::string(S.Text), S.Caret))
            << "key " << S.Key;
        TPoint P;
        EXPECT_TRUE(GetCaretPos(P));
        EXPECT_EQ(P.X, 20 + WidthOf(std::string(S.Text).substr(0, S.Caret)));
        EXPECT_TRUE(CaretState().Shown) << "hides and shows in pairs";
    }
    EXPECT_EQ(Edit->ObjectCount(), 0);
}

TEST_F(TextTool, EnterEscapeClicksAndSwitchesEndTheText) {
    Map.SetZoom(2); // pixel (100 + 2X, 50 - 2Y)
    Map.Options().DefaultTextFont()->SetSize(12);
    for (auto [Finish, Typed] : {std::pair<std::uint16_t, const char*>{VK_RETURN, "Oslo"},
                                 {VK_ESCAPE, "Bergen"},
                                 {VK_RETURN, ""}}) {
        Click(120, 30);
        Type(Typed);
        Key(Finish);
        auto* T = dynamic_cast<TText*>(Edit->Last());
        ASSERT_NE(T, nullptr);
        EXPECT_EQ(std::tuple(T->Text(), T->X(), T->Y(), T->Font()->Size()),
                  std::tuple(std::string(Typed), 10.0, 10.0, 12));
        EXPECT_EQ(
            std::tuple(Tool->Editing(), Tool->EditText(), Tool->CurrentChar(), CaretState().Shown),
            std::tuple(false, std::string(), 0, false));
    }
    // A click while editing finishes the text and starts the next there.
    Click(110, 50);
    Type("A");
    Click(140, 20);
    ASSERT_EQ(Edit->ObjectCount(), 4);
    EXPECT_EQ(std::pair(dynamic_cast<TText*>(Edit->Last())->Text(),
                        dynamic_cast<TText*>(Edit->Last())->X()),
              std::pair(std::string("A"), 5.0));
    EXPECT_EQ(std::pair(Tool->Editing(), Tool->TextOrigin()), std::pair(true, TPoint{140, 20}));
    // Another tool taking over ends the editing and adds nothing.
    Type("BB");
    auto Other = Use<TPanTool>();
    EXPECT_EQ(std::tuple(Tool->Editing(), CaretState().Shown, Edit->ObjectCount()),
              std::tuple(false, false, 4));
}

TEST_F(TextTool, TypingDrawsOverTheMapAndTakesOnlyItsOwnPixelsBack) {
    PaintLandscape();
    const QImage Before = Map.Surface().copy();
    Click(40, 45); // over the land and the lake
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "the caret is not on the surface";
    Type("W");
    EXPECT_NE(Difference(Map.Surface(), Before), "") << "typed text is shown at once";
    Type("q");
    EXPECT_FALSE(Map.PaintPending()) << "no repaint per keystroke";
    Key(VK_HOME);
    Type("M");
    Key(VK_DELETE);
    Key(VK_DELETE);
    Key(VK_BACK);
    EXPECT_EQ(Difference(Map.Surface(), Before), "") << "the pixels beneath came back";

    // Without an editable layer Enter makes nothing and the text stays on
    // the window until the map repaints.
    Edit->SetEditable(false);
    EXPECT_FALSE(Tool->GetEnabled());
    Type("Tromso");
    const QImage Typed = Map.Surface().copy();
    Key(VK_RETURN);
    EXPECT_EQ(std::pair(Edit->ObjectCount(), Tool->Editing()), std::pair(0, true));
    EXPECT_EQ(Difference(Map.Surface(), Typed), "");
    Map.Invalidate();
    Deliver();
    EXPECT_EQ(Difference(Map.Surface(), Before), "");
}
