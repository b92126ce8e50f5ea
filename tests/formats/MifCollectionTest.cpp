// Multipoints and collections: one object and one row each, read, written
// and read again by us, and read alike by GDAL before and after.
#include "formats/MifFixture.h"
#include "objects/Multi.h"
#include "support/GdalTools.h"

#include <regex>

using namespace Mapobjects;
using namespace Platform;

namespace {

// Kind, row, part groups and symbol of an object: what must survive.
std::string Summary(TCustomMapObject* O) {
    const std::string Row = O->Row().Text(0);
    if (auto* C = dynamic_cast<TCollectionObject*>(O))
        return Format("collection %s %d/%d/%d shape %d %06X pen %06X%s", Row, C->RingCount(),
                      C->SectionCount(), C->PointCount(), C->Shape(), C->ReadFont()->Color(),
                      C->ReadPen()->Color(),
                      C->LinePen() ? Format(" line %06X", C->LinePen()->Color()) : "");
    if (auto* M = dynamic_cast<TMultiPoint*>(O))
        return Format("multipoint %s %d shape %d %06X size %d", Row, M->PointCount(), M->Shape(),
                      M->ReadFont()->Color(), M->ReadFont()->Size());
    return Format("%s %s %s", typeid(*O).name(), Row, Testing::PointsOf(O));
}

// What ogrinfo reads of a table, without the table's name.
std::string GdalReading(const std::string& File) {
    const std::string Out = Testing::RunCommand("ogrinfo -ro -al -q '" + File + "' 2>&1");
    return std::regex_replace(Out, std::regex(R"((Layer name: |OGRFeature\()[^:)]*)"), "$1");
}

bool HaveOgrInfo() {
    return std::system("ogrinfo --version >/dev/null 2>&1") == 0;
}

struct MifCollections : Testing::MifFixture {
    bool Load(std::string_view Mif, const char* Mid) {
        Testing::WriteFile(Path("a.mif"), Mif);
        Testing::WriteFile(Path("a.mid"), Mid);
        return Provider.Load(Layer, Path("a.mif"));
    }
    std::vector<std::string> Summaries(TMapLayer* L) {
        std::vector<std::string> S;
        for (int I = 0; I < L->ObjectCount(); ++I)
            S.push_back(Summary(L->Objects(I)));
        return S;
    }
};

} // namespace

TEST_F(MifCollections, OneObjectAndOneRowEachThroughASaveAndBack) {
    struct TCase {
        const char* File;
        std::vector<std::string> Objects;
    } const Cases[] = {
        {"collection",
         {// Region, Pline and Multipoint parts, each pen kept.
          "collection coll 1/1/2 shape 35 FF0000 pen FF0000 line 0000FF",
          "N10Mapobjects7TSymbolE point 1 1",
          // A Line part is a section; the points after it are the same object's.
          "collection coll-line 0/1/2 shape 33 000000 pen 000000",
          "N10Mapobjects9TPolylineE pline 10 10,11 11", "multipoint mp 3 shape 35 0000FF size 9",
          "N10Mapobjects7TSymbolE pt2 2 2"}},
        {"multipoint",
         {"multipoint three 3 shape 35 0000FF size 9", "N10Mapobjects7TSymbolE point 1 1",
          "multipoint two 2 shape 33 FF0000 size 12", "N10Mapobjects7TSymbolE last 2 2"}},
    };
    const bool Gdal = HaveOgrInfo();
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.File);
        const std::string Source =
            std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/" + C.File + ".mif";
        TMapLayer* In = Map.Layers().Add(Source, "");
        ASSERT_NE(In, nullptr);
        EXPECT_TRUE(Provider.Problems().Empty())
            << TReadProblems::Describe(Provider.Problems().Items()[0]);
        EXPECT_EQ(Summaries(In), C.Objects);

        const std::string Saved = Path(std::string(C.File) + ".mif");
        ASSERT_TRUE(Provider.Save(In, Saved));
        TMapLayer* Back = Map.Layers().Add(Saved, "");
        ASSERT_NE(Back, nullptr);
        EXPECT_TRUE(Provider.Problems().Empty());
        EXPECT_EQ(Summaries(Back), C.Objects);
        // GDAL reads the same features, values, styles and geometries.
        if (Gdal) {
            EXPECT_EQ(GdalReading(Saved), GdalReading(Source));
        }
    }
}

TEST_F(MifCollections, AShortCollectionIsToldAndTheRowsStayInStep) {
    // "Collection 3" with two parts, then a statement that is no part: the
    // collection ends there with its one row, and the rest keep theirs.
    ASSERT_TRUE(Load("Columns 1\nN Char(10)\nData\n"
                     "Collection 3\n  Multipoint 1\n5 5\n  Line 0 0 3 3\n    Pen (2,2,255)\n"
                     "    Smooth\n"
                     "Text \"T\"\n    0 0 1 1\nPoint 9 9\n",
                     "coll\ntext\npoint\n"));
    ASSERT_EQ(Layer->ObjectCount(), 3);
    auto* C = Obj<TCollectionObject>(0);
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(std::tuple(C->RingCount(), C->SectionCount(), C->PointCount()), std::tuple(0, 1, 1));
    EXPECT_EQ(C->ReadPen()->Color(), TColor(0xFF0000));
    EXPECT_TRUE(C->Smooth());
    EXPECT_EQ(Layer->Objects(1)->Row().Text(0), "text");
    EXPECT_EQ(Layer->Objects(2)->Row().Text(0), "point");
    ASSERT_EQ(Provider.Problems().Count(), 1);
    EXPECT_EQ(Provider.Problems().Items()[0].Line, 4);
    EXPECT_EQ(Provider.Problems().Items()[0].Message,
              "Collection declares 3 parts but 2 are there before 'Text' at line 10");
    // Written back whole, with the smoothing of its line.
    ASSERT_TRUE(Provider.Save(Layer, Path("b.mif")));
    EXPECT_NE(Testing::ReadFile(Path("b.mif"))
                  .find("Collection 2\n  Pline 2\n0 0\n3 3\n    Pen (2,2,255)\n    Smooth\n"
                        "  Multipoint 1\n5 5\n"),
              std::string::npos)
        << Testing::ReadFile(Path("b.mif"));
}

TEST_F(MifCollections, MultipointsSavedUnchangedComeBackByteForByte) {
    // With and without their Symbol clause, as read.
    const char* const Mif = "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\nColumns 1\n"
                            "  n Integer\nData\nMultipoint 2\n1 1\n2 2\nMultipoint 1\n3.5 -3\n"
                            "    Symbol (34,255,10)\n";
    ASSERT_TRUE(Load(Mif, "1\n2\n"));
    ASSERT_TRUE(Provider.Save(Layer, Path("b.mif")));
    EXPECT_EQ(Testing::ReadFile(Path("b.mif")), Mif);
    EXPECT_EQ(Testing::ReadFile(Path("b.mid")), "1\n2\n");
}
