// Shapes and style numbers that the platform's tools cannot hold survive our
// own read, save and read again: rounded rectangles, picture symbols, turned
// font symbols, every pen pattern number, brush back colours, Smooth,
// Center, and points without a Symbol clause.
#include "formats/MifFixture.h"
#include "support/TempFiles.h"

using namespace Mapobjects;

namespace {

// Describe and what is kept beside the tools.
std::string Kept(TCustomMapObject* O) {
    std::string S =
        Testing::Describe(O) + Platform::Format(" kept %d %d %d", O->KeptPenPattern(),
                                                O->KeptBrushPattern(), int(O->KeptFlag()));
    if (auto* R = dynamic_cast<TRectangle*>(O))
        S += Platform::Format(" corner %g", R->CornerDiameter());
    if (auto* Y = dynamic_cast<TSymbol*>(O))
        S += Platform::Format(" turn %d style %d", Y->Font()->Escapement(), Y->KeptSymbolStyle());
    if (O->UseBGColor()) S += Platform::Format(" bg %06X", O->BGColor());
    return S;
}

struct MifStyleClauses : Testing::MifFixture {
    std::vector<std::string> All(TMapLayer* L) {
        std::vector<std::string> R;
        for (int I = 0; I < L->ObjectCount(); ++I)
            R.push_back(Kept(L->Objects(I)));
        return R;
    }
};

TEST_F(MifStyleClauses, ReadSaveReadKeepsWhatTheFileSaid) {
    const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/";
    struct {
        const char* Name;
        std::vector<std::string> Lines; // in the saved file, each once
        std::string First;              // part of the first object as read
    } Cases[] = {
        {"roundrect", {"RoundRect 10 10 110 60 20\n", "Rect 150 10 250 60\n"}, "corner 20"},
        {"custom-symbol",
         {"Symbol (\"PIN1-32.BMP\",16711680,24,0)\n", "Symbol (\"PIN1-32.BMP\",255,18,3)\n"},
         "font 'PIN1-32.BMP'"},
        {"font-symbol-angle",
         {"Symbol (65,16711680,24,\"Wingdings\",0,45)\n",
          "Symbol (36,255,18,\"MapInfo Cartographic\",1,90)\n"},
         "turn 450 style 0"},
        {"pen-patterns",
         {"Pen (2,3,0)\n", "Pen (2,5,0)\n", "Pen (2,32,0)\n", "Pen (2,54,0)\n", "Pen (2,118,0)\n"},
         "kept 3 0 0"},
        {"brush-bg-smooth-center",
         {"Brush (5,255,16711680)\n", "Center 40 30\n", "Smooth\n", "Brush (2,65280,255)\n"},
         "kept 2 5 1 bg 0000FF"},
        {"no-symbol-point", {"Point 10 20\nPoint 30 40\n", "Symbol (35,0,12)\n"}, "symbol 35"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TMapLayer* Read = Map.Layers().Add("", "read");
        TMapLayer* Again = Map.Layers().Add("", "again");
        ASSERT_TRUE(Provider.Load(Read, Data + C.Name + ".mif"));
        ASSERT_GT(Read->ObjectCount(), 0);
        EXPECT_NE(Kept(Read->Objects(0)).find(C.First), std::string::npos)
            << Kept(Read->Objects(0));
        const std::string Saved = Path(std::string(C.Name) + ".mif");
        ASSERT_TRUE(Provider.Save(Read, Saved));
        const std::string Text = Testing::ReadFile(Saved);
        for (const std::string& Line : C.Lines) {
            const size_t At = Text.find(Line);
            EXPECT_NE(At, std::string::npos) << Line << "\n" << Text;
            EXPECT_EQ(Text.find(Line, At + 1), std::string::npos) << "twice: " << Line;
        }
        ASSERT_TRUE(Provider.Load(Again, Saved));
        EXPECT_EQ(All(Again), All(Read));
        EXPECT_EQ(Messages(), "");
    }
}

} // namespace
