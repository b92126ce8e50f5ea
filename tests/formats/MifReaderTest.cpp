// Reading MIF/MID pairs: statements, clauses, columns and values, bad input.
#include "formats/MifFixture.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"

#include <functional>
#include <random>

using namespace Mapobjects;
using namespace Platform;
using Testing::PointsOf;
using Testing::RowOf;

namespace {

struct MifReader : Testing::MifFixture {
    bool Load(std::string_view Mif, const char* Mid = nullptr) {
        Testing::WriteFile(Path("a.mif"), Mif);
        std::filesystem::remove(Path("a.mid"));
        if (Mid) Testing::WriteFile(Path("a.mid"), Mid);
        return Provider.Load(Layer, Path("a.mif"));
    }
    // The rows of the layer's objects from From on, each followed by a space.
    std::string Rows(int From = 0) const {
        std::string S;
        for (int I = From; I < Layer->ObjectCount(); ++I)
            S += RowOf(Layer->Objects(I)) + " ";
        return S;
    }
};

} // namespace

TEST_F(MifReader, GeometryAndStyleClauses) {
    ASSERT_TRUE(Load("Data\n"
                     "Pline 3\n1 1\n2 2\n3 3\n"
                     "Pline Multiple 2\n2\n0 0\n1 1\n3\n5 5\n6 6\n7 5\n"
                     "Pline\n  2\n-1.5e2 +4\n0 0\nSmooth\n"
                     "Region 2\n  4\n0 0\n10 0\n10 10\n0 0\n  5\n2 2\n2 4\n4 4\n4 2\n2 2\n"
                     "    Pen (1,2,16711680)\n    Brush (2,65280,16777215)\n    Center 5 5\n"
                     "Region 1\n3\n0 0\n1 0\n0 1\nPen (4,1,16777216)\nBrush (5,255,65280)\n"
                     "Line 0 0 10 -10\nBrush (1,0,16777215)\n"
                     "Point 1 2\nSymbol (64,16711680,18,\"Wingdings\",1,0)\n"
                     "Point 3 4")); // a last statement without a line end still counts
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 8);
    EXPECT_EQ(PointsOf(Obj<TPolyline>(0)), "1 1,2 2,3 3");
    EXPECT_EQ(PointsOf(Obj<TPolyline>(1)), "0 0,1 1|5 5,6 6,7 5");
    EXPECT_EQ(PointsOf(Obj<TPolyline>(2)), "-150 4,0 0");

    TRegion* R = Obj<TRegion>(3);
    EXPECT_EQ(PointsOf(R), "0 0,10 0,10 10,0 0|2 2,2 4,4 4,4 2,2 2");
    EXPECT_EQ(R->Pen()->Color(), TColor(0x0000FF));   // red
    EXPECT_EQ(R->Brush()->Color(), TColor(0x00FF00)); // green
    EXPECT_EQ(R->Brush()->Style(), bsSolid);
    // Above 16777215 each component caps: red 255. Width and pattern are
    // kept; a hatch with a back colour draws over it; pattern 1 is hollow.
    TRegion* H = Obj<TRegion>(4);
    EXPECT_EQ(std::tuple(H->Pen()->Color(), H->Pen()->Width(), H->Pen()->Style()),
              std::tuple(TColor(0x0000FF), 4, psClear));
    EXPECT_EQ(std::tuple(H->Brush()->Style(), H->UseBGColor(), H->BGColor()),
              std::tuple(bsBDiagonal, true, TColor(0x00FF00)));
    EXPECT_EQ(PointsOf(Obj<TPolyline>(5)), "0 0,10 -10");
    EXPECT_EQ(Obj<TPolyline>(5)->Brush()->Style(), bsClear);

    TSymbol* S = Obj<TSymbol>(6);
    EXPECT_EQ(std::tuple(S->Shape(), S->Font()->Name(), S->Font()->Color(), S->Font()->Style()),
              std::tuple(64, "Wingdings", TColor(0x0000FF), TFontStyles(fsBold)));
    EXPECT_EQ(PointsOf(Obj<TSymbol>(7)), "3 4");
}

TEST_F(MifReader, TextsRectanglesEllipsesAndArcs) {
    ASSERT_TRUE(Load("Data\n"
                     "Text\n    \"Hello \"\"you\"\"\"\n    1 2 11 7\n"
                     "    Font (\"Arial\",3,0,255)\n    Angle 390\n    Justify Center\n"
                     "Rect 10 5 0 0\n"
                     "Roundrect 0 0 4 4\n  0.5\n"
                     "Ellipse -1 -2 3 2\n"
                     "Ellipse 0 0 8 2\n"
                     "Arc 0 0 2 2\n  0 90\n"));
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 6);
    TText* T = Obj<TText>(0);
    EXPECT_EQ(T->Text(), "Hello \"you\"");
    EXPECT_EQ(std::tuple(T->X(), T->Y(), T->Width(), T->Height(), T->Angle()),
              std::tuple(1, 2, 10, 5, 30));
    EXPECT_EQ(std::tuple(T->Font()->Name(), T->Font()->Style(), T->Font()->Color()),
              std::tuple("Arial", TFontStyles(fsBold | fsItalic), TColor(0xFF0000)));
    TRectangle* R = Obj<TRectangle>(1);
    EXPECT_EQ(std::tuple(R->X0(), R->Y1(), R->GetBounds().MaxX), std::tuple(0, 5, 10));
    EXPECT_DOUBLE_EQ(Obj<TRectangle>(2)->X1(), 4);
    TCircle* C = Obj<TCircle>(3);
    EXPECT_EQ(std::tuple(C->X(), C->Y(), C->Radius()), std::tuple(1, 0, 2));
    // An oval becomes a closed region ring on the ellipse.
    const TMapPoints& Oval = Obj<TRegion>(4)->Parts().Items(0)->Points();
    ASSERT_GT(Oval.Count(), 16);
    for (const TMapPoint& Q : Oval)
        EXPECT_NEAR((Q.X - 4) * (Q.X - 4) / 16 + (Q.Y - 1) * (Q.Y - 1), 1, 1e-9);
    // An arc is the polyline it draws: east to north about (1, 1).
    TMapPoints& Arc = Obj<TPolyline>(5)->Parts().Items(0)->Points();
    EXPECT_NEAR(Arc.GetPoint(0).X, 2, 1e-9);
    EXPECT_NEAR(Arc.GetPoint(Arc.Count() - 1).Y, 2, 1e-9);
}

TEST_F(MifReader, RowsStayWithTheirObjects) {
    // Every statement takes one row, also those that make no object; a
    // multipoint and a collection are one object each, with one row.
    ASSERT_TRUE(Load("Columns 1\nN Char(10)\nData\n"
                     "None\n"
                     "Multipoint 2\n1 1\n2 2\n    Symbol (34,255,9)\n"
                     "Collection 2\nMultipoint 1\n5 5\nPline 2\n0 0\n3 3\n    Pen (2,2,255)\n"
                     "Text \"T\"\n    0 0 1 1\n    Spacing 1.5\n    Label Line Arrow 1 1\n"
                     "Point 9 9\n",
                     "none\nmulti\ncoll\ntext\npoint\n"));
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(Rows(), "none multi coll text point ");
    // None is its row alone: no extent, never in view.
    auto* None = Obj<TNoGeometry>(0);
    EXPECT_GT(None->GetBounds().MinX, None->GetBounds().MaxX);
    EXPECT_FALSE(None->WithinRect(-1e9, -1e9, 1e9, 1e9));
    for (bool Index : {false, true}) {
        Layer->SetUseIndex2D(Index);
        Map.Invalidate();
        Platform::Application()->ProcessMessages();
        EXPECT_GT(Map.Displayed().Count(), 0);
        for (int I = 0; I < Map.Displayed().Count(); ++I)
            EXPECT_NE(Map.Displayed().Get(I), None) << Index;
    }
    const double CX = Map.CenterX(), CY = Map.CenterY();
    None->Select();
    Map.Selection().Zoom();
    EXPECT_EQ(std::pair(Map.CenterX(), Map.CenterY()), std::pair(CX, CY));
    EXPECT_EQ(PointsOf(Obj<TMultiPoint>(1)), "1 1,2 2");
    EXPECT_EQ(Obj<TMultiPoint>(1)->Shape(), 34);
    auto* Coll = Obj<TCollectionObject>(2);
    EXPECT_EQ(PointsOf(Coll), "0 0,3 3|5 5"); // the section first, then the points
    EXPECT_EQ(Coll->Pen()->Color(), TColor(0xFF0000));
    EXPECT_DOUBLE_EQ(Coll->GetBounds().MaxX, 5);
}

// Rows as other programs write them: a value in double quotes spans lines
// (read with LF line ends, whatever the file's), an empty line of a
// one-column file is one empty value, a quote never closed is damage that
// costs its row only.
TEST_F(MifReader, MidRowsOverSeveralLines) {
    struct TCase {
        const char* Columns;
        const char* Mid;
        const char* Rows;
        const char* Problems;
    } Cases[] = {
        {"Columns 2\nA Char(20)\nB Integer\n", "\"MULTI\n\nLINE\",1\n\"x\",2\n\"y\",3\n",
         "MULTI\n\nLINE|1 x|2 y|3 ", ""},
        {"Columns 2\nA Char(20)\nB Integer\n", "\"a\r\nb\"\"\r\n\",1\r\n\"x\",2\r\n'y',3\r\n",
         "a\nb\"\n|1 x|2 y|3 ", ""},
        {"Columns 1\nA Char(20)\n", "one\n\nthree\n", "one  three ", ""},
        {"Columns 2\nA Char(20)\nB Integer\n", "\"open,1\nx,2\ny,3\n", "open,1| x|2 y|3 ",
         "a.mid:1: a value in quotes is not closed: its row ends with its line\n"
         "a.mid:1: row has 1 values for 2 columns\n"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Mid);
        while (Layer->ObjectCount() > 0)
            Layer->DeleteObject(0);
        ASSERT_TRUE(Load("Delimiter \",\"\n" + std::string(C.Columns) +
                             "Data\nPoint 1 1\nPoint 2 2\nPoint 3 3\n",
                         C.Mid));
        EXPECT_EQ(Rows(), C.Rows);
        std::string Problems;
        for (const TReadProblem& P : Provider.Problems().Items())
            Problems += ExtractFileName(TReadProblems::Describe(P)) + "\n";
        EXPECT_EQ(Problems, C.Problems);
    }
    // Without a .mid every value is null, not 0 or "".
    ASSERT_TRUE(Load("Columns 2\nA Char(20)\nB Integer\nData\nPoint 1 1\n"));
    const TObjectRow& Row = Layer->Objects(Layer->ObjectCount() - 1)->Row();
    for (int K = 0; K < 2; ++K)
        EXPECT_TRUE(Row.Value(K).IsNull() || Row.Value(K).IsEmpty()) << K;
}

TEST_F(MifReader, ColumnTypesAndValues) {
    // No Delimiter line: ";". Quoted items may hold the delimiter and doubled
    // quotes, in double quotes (MapInfo) or apostrophes (our writer).
    ASSERT_TRUE(Load("Columns 9\n  Name Char(12)\n  D Date\n  S SmallInt\n  L Logical\n"
                     "  DT DateTime\n  T Time\n  F Float\n  Dec Decimal(10,2)\n  X Unknown\n"
                     "Data\nPoint 0 0\nPoint 1 1\nPoint 2 2\n",
                     "\"a; \"\"b\"\"\";20240115;-12;T;20240115133005;133005;2.5;3.25;7\n"
                     " 'it''s' ;2023-02-28;7;False;20000101000000500;000001500;-1e3;0;\n"
                     "c;;;;;;;;\n"));
    EXPECT_EQ(Messages(), "");
    const TDataFields& F = Layer->Fields();
    ASSERT_EQ(F.Count(), 9);
    const TDataType Types[] = {dtString, dtDate,  dtSmallInt, dtBoolean, dtDateTime,
                               dtTime,   dtFloat, dtDecimal,  dtFloat};
    for (int I = 0; I < 9; ++I)
        EXPECT_EQ(F.GetFields(I)->DataType(), Types[I]) << I;
    EXPECT_EQ(F.GetFields(0)->Size(), 12); // the declared width is kept

    // Dates in the platform's own text are read too; unquoted texts are kept whole.
    EXPECT_EQ(RowOf(Layer->Objects(0)),
              "a; \"b\"|2024-01-15|-12|True|2024-01-15 13:30:05|13:30:05|2.5|3.25|7");
    EXPECT_EQ(RowOf(Layer->Objects(1)),
              "it's|2023-02-28|7|False|2000-01-01 00:00:00|00:00:01|-1e3|0|");
    EXPECT_EQ(RowOf(Layer->Objects(2)), "c||||||||");
    EXPECT_NEAR(Layer->Objects(1)->Fields().GetFields(5)->AsTime(), EncodeTime(0, 0, 1, 500), 1e-9);
    EXPECT_EQ(Layer->Objects(0)->Fields().GetFields(3)->Value(), TVariant(true));
    EXPECT_TRUE(Layer->Objects(2)->Fields().GetFields(3)->Value().IsNull()); // an empty cell
}

TEST_F(MifReader, MixedCaseHeaderAndWordsInsideValues) {
    // A column named Pen, a text that mentions pens and values that look like
    // clauses are data, not style clauses.
    ASSERT_TRUE(
        Load("version 300\ncharset \"Neutral\"\nDELIMITER \"\t\"\nINDEX 1\n"
             "coordsys Earth Projection 1, 104\ncolumns 2\n  Pen Char(20)\n  Region Integer\n"
             "data\n\nregion 1\n  3\n0 0\n1 0\n0 1\n    pen (1,2,255)\n"
             "Text \"Open pen, Brush\"\n  0 0 4 1\npoint 5 6\n    symbol (34,0,9)\n",
             "\"Pen (1,2,0)\"\t1\n\"Brush\"\t2\n\"SYMBOL\"\t3\n"));
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(Layer->Fields().GetFields(0)->Name(), "Pen");
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(Obj<TRegion>(0)->Pen()->Color(), TColor(0xFF0000));
    EXPECT_EQ(Obj<TText>(1)->Text(), "Open pen, Brush");
    EXPECT_EQ(Obj<TSymbol>(2)->Shape(), 34);
    EXPECT_EQ(RowOf(Layer->Objects(0)), "Pen (1,2,0)|1");
    EXPECT_EQ(RowOf(Layer->Objects(2)), "SYMBOL|3");
}

TEST_F(MifReader, FilesLayersAndProgress) {
    EXPECT_FALSE(Provider.Load(Layer, Path("none.mif")));
    Testing::WriteFile(Path("a.mif"), "Data\nPoint 1 1\n");
    EXPECT_FALSE(Provider.Load(nullptr, Path("a.mif")));
    TMapLayer Loose; // no map
    EXPECT_FALSE(Provider.Load(&Loose, Path("a.mif")));

    // Geometry without a .mid; objects already in the layer stay; Columns
    // replaces the field list.
    Layer->Fields().Add("OLD", dtFloat, 0);
    Layer->NewObject<TRegion>();
    std::vector<std::string> Log;
    int Max = -1, Last = -1;
    Map.OnStartProgress = [&](TObject*, int Min, int M, const std::string& Title) {
        Log.push_back(std::to_string(Min) + " " + Title);
        Max = M;
    };
    Map.OnShowProgress = [&](TObject*, int P) { Last = std::max(Last, P); };
    Map.OnStopProgress = [&](TObject*) { Log.push_back("stop"); };
    const std::string Mif = "Columns 1\nNEW Integer\nData\nPoint 1 1\nPoint 2 2\n";
    ASSERT_TRUE(Load(Mif));
    EXPECT_EQ(Log, (std::vector<std::string>{"0 Loading file", "stop"}));
    EXPECT_EQ(Max, static_cast<int>(Mif.size()));
    EXPECT_GT(Last, 0);
    EXPECT_LE(Last, Max);
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(Layer->Fields().GetFields(0)->Name(), "NEW");
    EXPECT_TRUE(Layer->Objects(2)->Fields().GetFields(0)->Value().IsEmpty());

    // An upper-case pair from another system.
    Testing::WriteFile(Path("B.MIF"), "Columns 1\nN Integer\nData\nPoint 1 1\n");
    Testing::WriteFile(Path("B.MID"), "42\n");
    ASSERT_TRUE(Provider.Load(Layer, Path("B.MIF")));
    EXPECT_EQ(RowOf(Layer->Objects(3)), "42");
    // Only the load without its .mid said anything.
    EXPECT_EQ(Messages(), "Error reading mif-file at line 1 with message: a.mid, which holds the "
                          "values of the columns, is missing: the objects are read without "
                          "values!\n");
}

TEST_F(MifReader, IdentityAndClauseWordsInFontNames) {
    EXPECT_EQ(Provider.Description(), "MapInfo Interchange Format (MIF) Provider (simple edition)");
    EXPECT_EQ(Provider.Filter(), "MapInfo Interchange Format Files (*.mif)|*.mif");
    EXPECT_EQ(GUIDToString(Provider.GetGUID()), "{830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}");
    EXPECT_TRUE(Provider.CanProcessFile("/data/ROADS.MIF"));
    EXPECT_FALSE(Provider.CanProcessFile("roads.mif.bak"));
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("x.mif"), &Provider);

    // A centre has no effect on reading: only this answer shows it is known.
    // A font's name may hold another clause's word: the clause's own word wins.
    using P = TSimpleMIFFormatProvider;
    EXPECT_EQ(P::IsObjAttrString("Center 1 2"), oaCenter);
    EXPECT_EQ(P::IsObjAttrString("Font (\"Open Sans\",0,0,0)"), oaFont);
    EXPECT_EQ(P::IsObjAttrString("Symbol (35,0,12,\"OpenSymbol\",0,0)"), oaSymbol);
}

// --- bad input ----------------------------------------------------------------------

// Reading goes on past what it cannot read: the statement is reported with
// its line, the next statement is read with its own row.
TEST_F(MifReader, ReadingGoesOnPastDamage) {
    struct TCase {
        const char* Mif;
        const char* Rows;     // of the objects read, in order
        const char* Problems; // "line: message" of each, lines counted from after "Data"
    } Cases[] = {
        {"Point 1 2\nPoint x 2\nPoint 3 3\n", "a c ",
         "2: Point statement: 'x' is not a valid floating point value\n"},
        {"Region 1\n3\n0 0\n1 zz\n0 1\nPoint 3 3\n", "b ",
         "4: Region statement at line 4: 'zz' is not a valid floating point value\n"},
        {"Region -1\nPoint 1 1\nPline 99999999999\n0 0\nPoint 2 2\n", "b d ",
         "1: Region statement: Invalid count -1\n"
         "3: Pline statement: '99999999999' is not a valid integer value\n"},
        {"Region 1\nabc\nPoint 1 1\n", "b ",
         "2: Region statement at line 4: 'abc' is not a valid integer value\n"},
        // A bad clause is passed over; its object stays with the other clauses.
        {"Point 1 1\nPen (1,2)\nSymbol (40,255,1e9)\nSymbol (41,255,9)\nPoint 2 2\n", "a b ",
         "2: Pen clause has 2 values where 3 were expected\n"
         "3: '1e9' is not a valid integer value\n"},
        {"Point 1 1\nSymbol (40,255,50527837)\n", "a ",
         "2: Symbol size 50527837 is out of range (0 to 240)\n"},
        {"Point 1\nPoint 1 nan\nPoint 5 5\n", "c ",
         "1: Point statement: Coordinate expected\n"
         "2: Point statement: 'nan' is not a valid floating point value\n"},
        {"Ellipse -1e308 0 1e308 1\nPoint 1 1\n", "b ",
         "1: Ellipse statement: Coordinates out of range\n"},
    };
    for (const TCase& C : Cases) {
        RecordedMessages().clear();
        while (Layer->ObjectCount() > 0)
            Layer->DeleteObject(0);
        ASSERT_TRUE(Load(std::string("Columns 1\nN Char(1)\nData\n") + C.Mif, "a\nb\nc\nd\n"));
        std::string Problems;
        // (Rows left over in the .mid are told too; not looked at here.)
        for (const TReadProblem& P : Provider.Problems().Items())
            if (P.FileName == Path("a.mif"))
                Problems += std::to_string(P.Line - 3) + ": " + P.Message + "\n";
        EXPECT_EQ(Rows(), C.Rows) << C.Mif;
        EXPECT_EQ(Problems, C.Problems) << C.Mif;
        // One message, naming the first problem and the count.
        ASSERT_EQ(RecordedMessages().size(), 1u) << C.Mif;
        EXPECT_EQ(RecordedMessages()[0].Type, mtError);
        const TReadProblem& First = Provider.Problems().Items()[0];
        std::string Expected =
            Format("Error reading mif-file at line %d with message: %s%s", First.Line,
                   First.FileName == Path("a.mif") ? "" : "a.mid: ", First.Message);
        if (Provider.Problems().Count() > 1)
            Expected += Format(" (%d problems in all)", Provider.Problems().Count());
        EXPECT_EQ(RecordedMessages()[0].Text, Expected + "!");
        EXPECT_FALSE(Map.InUpdate());
        EXPECT_FALSE(Map.TextSizing());
    }
    // A clean load clears the list.
    ASSERT_TRUE(Load("Data\nPoint 1 1\n"));
    EXPECT_TRUE(Provider.Problems().Empty());
}

// GDAL writes the keyword of a geometry it then fails to write, and no row
// for it: such a body is missing altogether. When the .mid has exactly one
// row fewer for each, those statements take none; otherwise each statement
// keeps its row. Either way the object stays, and reading goes on.
TEST_F(MifReader, BodiesCutShortByTheNextStatement) {
    const std::string Mif = "Columns 1\nN Char(9)\nData\n"
                            "Region 1\n3\n0 0\n1 0\n0 1\n"
                            "Region 1\n" // missing
                            "Pline 2\n5 5\n6 6\n"
                            "Pline 3\n7 7\n    Pen (1,2,255)\n" // cut short by a clause
                            "Region 2\n4\n0 0\n1 1\nRegion 1\n3\n9 9\n8 8\n9 8\n";
    ASSERT_TRUE(Load(Mif, "one\ntwo\nthree\nfour\nfive\n"));
    ASSERT_EQ(Layer->ObjectCount(), 6);
    EXPECT_EQ(Rows(), "one  two three four five ");
    EXPECT_EQ(Obj<TRegion>(1)->Parts().Count(), 0);
    EXPECT_EQ(PointsOf(Layer->Objects(3)), "7 7");
    EXPECT_EQ(Obj<TPolyline>(3)->Pen()->Color(), TColor(0xFF0000));
    EXPECT_EQ(PointsOf(Layer->Objects(4)), "0 0,1 1");
    EXPECT_EQ(PointsOf(Layer->Objects(5)), "9 9,8 8,9 8");
    std::string Lines;
    for (const TReadProblem& P : Provider.Problems().Items())
        Lines += std::to_string(P.Line) + " " + P.Message + "\n";
    EXPECT_EQ(Lines, "9 Region statement cut short by the next statement\n"
                     "13 Pline statement cut short by the next statement\n"
                     "16 Region statement cut short by the next statement\n");

    // With a row for every statement, the missing body keeps its row.
    ASSERT_TRUE(Load(Mif, "one\ntwo\nthree\nfour\nfive\nsix\n"));
    EXPECT_EQ(Rows(6), "one two three four five six ");
    ASSERT_TRUE(Load("Columns 1\nN Char(9)\nData\nPoint 1 1\n", "one\n\n"));
    EXPECT_TRUE(Provider.Problems().Empty()); // a blank line at the end is no row
}

// Files that are not whole, or not MIF files at all, say so: each problem
// names its file and line and what was expected there. What is no MIF file
// loads nothing; the others keep what they have.
TEST_F(MifReader, FilesCutShortMissingOrForeignSaySoWithFileAndLine) {
    const std::string Head = "Version 300\nColumns 1\n  N Char(9)\nData\n";
    struct TCase {
        const char* Name;
        std::string Mif;
        const char* Mid; // null: no .mid
        bool Loaded;
        int Objects;
        const char* Problems; // each "file:line: message"
    } Cases[] = {
        {"empty", "", nullptr, false, 0, "a.mif: The file is empty\n"},
        {"foreign", "\nDear reader,\nthis is a letter.\n", nullptr, false, 0,
         "a.mif:2: 'Dear reader,' where the header (Version, Charset, Delimiter, CoordSys, "
         "Columns or Data) was expected: this is not a MIF file\n"},
        {"binary", std::string("Version 300\nData\n\x89PNG\0\x01", 23), nullptr, false, 0,
         "a.mif:3: Binary data where text was expected: this is not a MIF file\n"},
        {"no .mid", Head + "Point 1 2\nPoint 3 4\n", nullptr, true, 2,
         "a.mif:2: a.mid, which holds the values of the columns, is missing: the objects are "
         "read without values\n"},
        {"cut in a body", Head + "Point 1 2\nRegion 1\n  4\n0 0\n1 0", "a\nb\nc\nd\n", true, 2,
         "a.mif:9: Region statement at line 6 cut short by the end of the file: 2 more of its 4 "
         "points expected\n"
         "a.mid:3: 4 rows for 2 statements: this row and the 1 after it belong to no object (is "
         "the .mif cut short?)\n"},
        {"cut before a count", Head + "Pline Multiple 2\n  1\n0 0\n", "a\n", true, 1,
         "a.mif:7: Pline statement at line 5 cut short by the end of the file: a point count "
         "expected\n"},
        {"short .mid", Head + "Point 1 2\nPoint 3 4\nPoint 5 6\n", "a\n", true, 3,
         "a.mif:6: a.mid has 1 rows for 3 statements: this statement and the 1 after it have no "
         "values\n"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        RecordedMessages().clear();
        Layer->DeleteObjects();
        EXPECT_EQ(Load(C.Mif, C.Mid), C.Loaded);
        EXPECT_EQ(Layer->ObjectCount(), C.Objects);
        std::string Problems;
        for (const TReadProblem& P : Provider.Problems().Items())
            Problems += TReadProblems::Describe(P).substr(Dir.Dir.string().size() + 1) + "\n";
        EXPECT_EQ(Problems, C.Problems);
        // One message, and never "line 0".
        ASSERT_EQ(RecordedMessages().size(), 1u);
        EXPECT_EQ(RecordedMessages()[0].Text.find("line 0"), std::string::npos);
    }
    EXPECT_EQ(RecordedMessages()[0].Text,
              "Error reading mif-file at line 6 with message: a.mid has 1 rows for 3 "
              "statements: this statement and the 1 after it have no values!");
    // The whole file: no line to name.
    RecordedMessages().clear();
    Load("", nullptr);
    EXPECT_EQ(Messages(), "Error reading mif-file a.mif with message: The file is empty!\n");
}

// Damage that used to lose objects or rows without a word.
TEST_F(MifReader, LineEndsColumnsBlankLinesAndLastTexts) {
    // Lines ended by CR alone, as old Macintosh programs write them.
    ASSERT_TRUE(Load("Columns 1\rN Integer\rData\rPoint 1 1\rPoint 2 2\r\nPoint 3 3", "1\r2\r3\r"));
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(RowOf(Layer->Objects(1)) + RowOf(Layer->Objects(2)), "23");

    // Columns counts that do not match the declarations: the declarations win.
    for (const char* Header :
         {"Columns 1\nA Char(5)\nB Integer\nData\n", "Columns 3\nA Char(5)\nB Integer\nData\n"}) {
        Layer->DeleteObjects();
        ASSERT_TRUE(Load(std::string(Header) + "Point 1 1\n", "x;7\n"));
        ASSERT_EQ(Layer->Fields().Count(), 2) << Header;
        EXPECT_EQ(Layer->Fields().GetFields(1)->DataType(), dtInteger);
        EXPECT_EQ(RowOf(Layer->Objects(0)), "x|7");
        ASSERT_EQ(Provider.Problems().Count(), 1) << Header;
        EXPECT_EQ(Provider.Problems().Items()[0].Line, 1);
    }
    EXPECT_EQ(Provider.Problems().Items()[0].Message,
              "Columns declares 3 columns but 2 are listed");

    // A blank line between an object and its clauses; a text at the end of
    // the file without its corners keeps its row and is reported.
    Layer->DeleteObjects();
    ASSERT_TRUE(Load("Columns 1\nN Char(5)\nData\nRegion 1\n3\n0 0\n1 0\n0 1\n\n"
                     "    Pen (1,2,255)\n\n    Brush (2,65280)\nText\n\"late\"",
                     "r\nt\n"));
    ASSERT_EQ(Layer->ObjectCount(), 1);
    EXPECT_EQ(Obj<TRegion>(0)->Pen()->Color(), TColor(0xFF0000));
    EXPECT_EQ(Obj<TRegion>(0)->Brush()->Color(), TColor(0x00FF00));
    ASSERT_EQ(Provider.Problems().Count(), 1);
    EXPECT_EQ(Provider.Problems().Items()[0].Message,
              "Text statement without its corner coordinates");
    EXPECT_EQ(Provider.Problems().Items()[0].Line, 13);
}

TEST_F(MifReader, NumbersInLocaleFormAndValuesOfTheWrongType) {
    // A tab-delimited .mid whose writer used its locale's decimal comma.
    ASSERT_TRUE(Load("Delimiter \"\t\"\nColumns 4\nF Float\nD Decimal(8,2)\nI Integer\n"
                     "DA Date\nData\nPoint 1 1\nPoint 2 2\n",
                     "1,5\t-2,25\t7\t20240101\nabc\t1.5.1\t3\tsoon\n"));
    EXPECT_EQ(RowOf(Layer->Objects(0)), "1.5|-2.25|7|2024-01-01");
    EXPECT_EQ(RowOf(Layer->Objects(1)), "||3|");
    std::string Problems;
    for (const TReadProblem& P : Provider.Problems().Items())
        Problems += P.FileName.substr(P.FileName.size() - 5) + ":" + std::to_string(P.Line) + " " +
                    P.Message + "\n";
    EXPECT_EQ(Problems, "a.mid:2 'abc' is not a valid value for column F (Float)\n"
                        "a.mid:2 '1.5.1' is not a valid value for column D (Decimal)\n"
                        "a.mid:2 'soon' is not a valid value for column DA (Date)\n");
    // The message names the .mid.
    EXPECT_EQ(Messages(), "Error reading mif-file at line 2 with message: a.mid: 'abc' is not a "
                          "valid value for column F (Float) (3 problems in all)!\n");
}

TEST_F(MifReader, HugeCountsAndTruncatedBodiesStopCleanly) {
    // Counts that promise more than the file holds: reading stops at its end,
    // says so, and no room is taken for points that are not there.
    ASSERT_TRUE(Load("Data\nRegion 2000000000\n3\n0 0\n1 0\n0 1\n"));
    ASSERT_TRUE(Load("Data\nPline 2000000000\n0 0\n1 1\n"));
    EXPECT_EQ(Provider.Problems().Items().at(0).Message,
              "Pline statement at line 2 cut short by the end of the file: 1999999998 more of "
              "its 2000000000 points expected");
    ASSERT_TRUE(Load("Data\nRegion 2\n5\n0 0\n1 1\n"));
    EXPECT_EQ(RecordedMessages().size(), 3u);
    ASSERT_TRUE(Load("Columns 2000000000\nA Integer\n"));
    ASSERT_TRUE(Load("Data\nText\n"));
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(PointsOf(Layer->Objects(0)), "0 0,1 0,0 1");
    EXPECT_EQ(PointsOf(Layer->Objects(1)), "0 0,1 1");
    EXPECT_EQ(PointsOf(Layer->Objects(2)), "0 0,1 1");
    EXPECT_EQ(Layer->Fields().Count(), 1);
    EXPECT_LT(Layer->MemoryUsed(), 64u * 1024);
}

TEST_F(MifReader, RandomBytesAndShuffledStatementsNeverCrash) {
    std::mt19937 Rng(20240607);
    std::string Bytes(64 * 1024, '\0');
    for (char& C : Bytes)
        C = static_cast<char>(Rng() & 0xFF);
    EXPECT_FALSE(Load(Bytes, Bytes.substr(0, 4096).c_str()));

    // Lines made of the format's own words and of numbers good and bad.
    const char* Words[] = {"Region",     "Pline",   "Multiple",   "Point",     "Text",
                           "Collection", "Arc",     "Ellipse",    "Rect",      "None",
                           "Pen",        "Brush",   "Symbol",     "Font",      "Columns",
                           "Delimiter",  "\"",      "(",          ",",         ")",
                           "2000000000", "-5",      "3",          "0.5",       "1e308",
                           "x",          "\"a,b\"", "Multipoint", "Roundrect", "Angle"};
    for (int Round = 0; Round < 20; ++Round) {
        std::string Mif = "Columns 2\nA Char(5)\nB Integer\nData\n";
        for (int L = 0; L < 400; ++L) {
            for (int K = static_cast<int>(Rng() % 6); K > 0; --K)
                Mif += std::string(Words[Rng() % std::size(Words)]) + " ";
            Mif += "\n";
        }
        EXPECT_TRUE(Load(Mif, "\"a\",1\n'b,2\n\"\n"));
    }
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_LT(Layer->MemoryUsed(), 16u * 1024 * 1024);
}

TEST_F(MifReader, ObjectsOfOneLookShareTheirToolsAndObjectsWithoutColumnsHaveNoRow) {
    ASSERT_TRUE(Load("Data\n"
                     "Point 1 1\nSymbol (35,255,12)\nPoint 2 2\nSymbol (35,255,12)\n"
                     "Point 3 3\nSymbol (36,255,12)\nPoint 4 4\nSymbol (35,65280,12)\n"
                     "Pline 2\n0 0\n1 1\nPen (1,2,255)\nPline 2\n0 0\n2 2\nPen (1,2,255)\n"));
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 6);
    auto Font = [&](int I) { return Obj<TSymbol>(I)->ReadFont(); };
    EXPECT_EQ(Font(0), Font(1));
    EXPECT_EQ(Font(1), Font(2)); // the shape is the symbol's, not the font's
    EXPECT_NE(Font(2), Font(3));
    EXPECT_EQ(Font(3)->Color(), TColor(0x00FF00));
    EXPECT_EQ(Obj<TPolyline>(4)->ReadPen(), Obj<TPolyline>(5)->ReadPen());
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        EXPECT_FALSE(Layer->Objects(I)->HasRow()) << I;

    Obj<TSymbol>(1)->Font()->SetSize(20);
    EXPECT_EQ(std::tuple(Font(0)->Size(), Font(1)->Size(), Font(2)->Size()),
              std::tuple(12, 20, 12));
    EXPECT_EQ(Font(0), Font(2));
    // What is written is saved, what is shared is saved alike.
    ASSERT_TRUE(Layer->SaveToFile(Path("b.mif")));
    const std::string Saved = Testing::ReadFile(Path("b.mif"));
    EXPECT_NE(Saved.find("Symbol (35,255,20)"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("Symbol (36,255,12)"), std::string::npos) << Saved;
}

TEST_F(MifReader, ALayerKnowsItHasUnsavedChangesUntilLoadedOrSaved) {
    Testing::WriteFile(Path("c.mif"), "Data\nPoint 1 1\nPoint 2 2\n");
    EXPECT_FALSE(Layer->Modified());
    ASSERT_TRUE(Layer->LoadFromFile(Path("c.mif"), ""));
    EXPECT_FALSE(Layer->Modified()) << "what was read is what the file holds";
    using TStep = std::function<void()>;
    const std::pair<const char*, TStep> Changes[] = {
        {"add", [&] { Layer->NewObject<TSymbol>(); }},
        {"delete", [&] { Layer->DeleteObject(0); }},
        {"take out", [&] { (void)Layer->RemoveObject(Layer->Objects(0)); }},
        {"columns", [&] { (void)Layer->SetFields(std::make_unique<TDataFields>()); }},
        {"delete all", [&] { Layer->DeleteObjects(); }},
    };
    for (const auto& [What, Change] : Changes) {
        ASSERT_TRUE(Layer->SaveToFile(Path("c.mif")));
        EXPECT_FALSE(Layer->Modified()) << What;
        Change();
        EXPECT_TRUE(Layer->Modified()) << What;
    }
    EXPECT_ANY_THROW(Layer->SaveToFile(Path("no/such/folder/c.mif")));
    EXPECT_TRUE(Layer->Modified()) << "a failed save keeps the changes unsaved";
}

TEST_F(MifReader, ARepeatedSymbolClauseStartsFromEachSymbolsOwnFont) {
    // The second point's clause is the first point's last one, but the first
    // point met it in a bold Wingdings font: only its name changes there.
    ASSERT_TRUE(Load("Data\n"
                     "Point 1 1\nSymbol (35,255,12,\"Wingdings\",1,0)\nSymbol (36,255,12)\n"
                     "Point 2 2\nSymbol (36,255,12)\nPoint 3 3\nSymbol (36,255,12)\n"));
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 3);
    for (int I = 0; I < 3; ++I) {
        const TFont* F = Obj<TSymbol>(I)->ReadFont();
        EXPECT_EQ(std::tuple(Obj<TSymbol>(I)->Shape(), F->Name(), F->Size(), F->Style()),
                  std::tuple(36, "MapInfo Symbol", 12, I == 0 ? TFontStyles(fsBold) : 0u))
            << I;
    }
    EXPECT_EQ(Obj<TSymbol>(1)->ReadFont(), Obj<TSymbol>(2)->ReadFont());
}

// A failure from outside the file (here a progress handler) stops the
// reading where it happened, in the library's words: the standard library's
// own texts never reach the user.
TEST_F(MifReader, AFailureFromOutsideTheFileIsToldInTheLibrarysWords) {
    int Calls = 0;
    Map.OnShowProgress = [&](TObject*, int) {
        if (++Calls == 3) throw std::out_of_range("basic_string::substr");
    };
    ASSERT_TRUE(Load("Data\nPoint 1 1\nPoint 2 2\nPoint 3 3\n"));
    EXPECT_EQ(Layer->ObjectCount(), 1);
    EXPECT_EQ(Messages(), "Error reading mif-file at line 3 with message: This statement cannot "
                          "be read; reading stopped here!\n");
    EXPECT_FALSE(Map.InUpdate());
}
