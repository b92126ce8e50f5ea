// Rows without geometry, values over several lines and every column type,
// from the hand-made files of tests/data/roundtrip through .mif and .tab
// and back: the same objects, column types and values at every step.

#include "MapInfoFixture.h"

#include "objects/NoGeometry.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <typeinfo>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

namespace {

std::string Source(const std::string& Name) {
    return std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/" + Name;
}

bool IsNumber(TDataType T) {
    return T == dtInteger || T == dtSmallInt || T == dtLargeInt || T == dtFloat || T == dtDecimal;
}

// A layer as text: its columns (name, type, width, decimals), then one line
// per object with its kind (geometry or none) and its values, nulls as "~"
// and line ends as they are. Tab: as GDAL 3.6's MapInfo driver can store it
// in a .tab, which has no SmallInt, Logical or 64-bit columns and no null
// numbers (they are Integer, Char(1) T/F, Decimal(20,0) and 0; numbers are
// compared as doubles).
std::string Dump(const TMapLayer& L, bool Tab = false) {
    std::string S;
    for (int I = 0; I < L.Fields().Count(); ++I) {
        const TDataField& F = *L.Fields().GetFields(I);
        TDataType T = F.DataType();
        int Size = F.Size(), Precision = F.Precision();
        if (Tab && T == dtSmallInt) T = dtInteger;
        if (Tab && T == dtBoolean) T = dtString, Size = 1;
        if (Tab && T == dtLargeInt) T = dtDecimal, Size = 20, Precision = 0;
        S += Format("%s:%d", F.Name(), int(T));
        if (T == dtString || T == dtDecimal) S += Format("(%d)", Size);
        if (T == dtDecimal) S += Format(".%d", Precision);
        S += " ";
    }
    S += "\n";
    for (int I = 0; I < L.ObjectCount(); ++I) {
        const TCustomMapObject* O = L.Objects(I);
        S += dynamic_cast<const TNoGeometry*>(O) ? "none" : O->HasPoints() ? "shape" : "empty";
        for (int K = 0; K < O->Row().Count(); ++K) {
            const TVariant V = O->Row().Value(K);
            const bool Null = V.IsNull() || V.IsEmpty();
            const TDataType T = O->Row().Column(K).DataType();
            std::string Text = Null ? std::string("~") : O->Row().Text(K);
            if (Tab && IsNumber(T)) {
                char Buf[32];
                std::snprintf(Buf, sizeof Buf, "%.17g",
                              Null ? 0.0 : std::strtod(Text.c_str(), nullptr));
                Text = Buf;
            } else if (Tab && T == dtBoolean)
                Text = Null ? "" : V.ToBoolean() ? "T" : "F";
            S += "|" + Text;
        }
        S += "\n";
    }
    return S;
}

struct TCase {
    const char* File;
    std::string Expected; // the dump of the source as read
};

const TCase Cases[] = {
    {"none-rows.mif",
     "name:0(20) pop:3 \n"
     "shape|located|1\nnone|no place|2\nnone||~\nshape|line|4\nnone|last none|5\n"},
    {"multiline-values.mif", "id:3 note:0(40) tail:0(10) \n"
                             "shape|1|MULTI\n\nLINE|after\n"
                             "shape|2|say \"hi\"\nthere, you|x\n"
                             "shape|3|plain|y\n"},
    // Dates and times as the platform shows them; a missing value is null.
    {"column-types.mif",
     "name:0(12) big:9 flag:8 day:6 clock:7 stamp:5 money:2(12).3 small:4 count:3 ratio:1 "
     "code:0(5) \n"
     "shape|one|123456789012345|True|2024-01-31|13:45:01|2024-01-31 "
     "13:45:01|12345.678|-32768|2147483647|0.125|x\n"
     "shape||-9223372036854775807|False|~|~|~|~|~|~|~|\n"
     "shape|three|~|~|1999-12-31|00:00:00|1999-12-31 "
     "23:59:59|-0.001|32767|-2147483647|1e+100|\n"},
};

struct RowsRoundTrip : MapInfoFixture, ::testing::WithParamInterface<TCase> {
    TMapLayer* Load(const std::string& File) {
        TMapLayer* L = Map.Layers().Add(File, "");
        EXPECT_NE(L, nullptr) << File;
        return L;
    }
};

// mif -> mif, mif -> tab, tab -> mif, tab -> tab: every step reads back as
// the source read.
TEST_P(RowsRoundTrip, EveryPathKeepsObjectsTypesAndValues) {
    const TCase& C = GetParam();
    TMapLayer* From = Load(Source(C.File));
    ASSERT_NE(From, nullptr);
    const std::string Want = Dump(*From);
    if (!C.Expected.empty()) {
        EXPECT_EQ(Want, C.Expected);
    }
    EXPECT_EQ(Mif.Problems().Count(), 0) << Mif.Problems().Count();
#ifndef CHARTIX_HAVE_MITAB
    const char* Paths[][2] = {{"a.mif", "b.mif"}};
#else
    const char* Paths[][2] = {
        {"a.mif", "b.mif"}, {"a.mif", "b.tab"}, {"a.tab", "b.mif"}, {"a.tab", "b.tab"}};
#endif
    int Step = 0;
    for (auto [First, Second] : Paths) {
        SCOPED_TRACE(std::string(First) + " -> " + Second);
        const bool Tab =
            std::string(First).ends_with(".tab") || std::string(Second).ends_with(".tab");
        const std::string Prefix = std::to_string(++Step);
        const std::string A = Dir.Path(Prefix + First), B = Dir.Path(Prefix + Second);
        ASSERT_TRUE(From->SaveToFile(A));
        TMapLayer* Mid = Load(A);
        ASSERT_NE(Mid, nullptr);
        EXPECT_EQ(Dump(*Mid, Tab), Dump(*From, Tab));
        ASSERT_TRUE(Mid->SaveToFile(B));
        TMapLayer* Back = Load(B);
        ASSERT_NE(Back, nullptr);
        EXPECT_EQ(Dump(*Back, Tab), Dump(*From, Tab));
    }
}

#ifdef CHARTIX_HAVE_MITAB
// The features as ogrinfo prints them (values over several lines whole),
// without names and styles.
std::string GdalFeatures(const std::string& File) {
    std::istringstream In(RunCommand(std::string(OGRINFO) + " -ro -al -q '" + File + "'"));
    std::string S, Line;
    bool InFeatures = false;
    while (std::getline(In, Line)) {
        if (Line.rfind("OGRFeature(", 0) == 0) {
            InFeatures = true;
            Line = "OGRFeature" + Line.substr(Line.find(')') + 1);
        }
        if (InFeatures && Line.rfind("  Style = ", 0) != 0) S += Line + "\n";
    }
    return S;
}

// GDAL reads what we wrote, as .mif and as .tab, as it reads the source:
// rows without geometry are features without geometry, and values over
// several lines come back whole.
using RowsGdal = MapInfoFixture;
TEST_F(RowsGdal, ReadsRowsAndMultilineValuesAsInTheSource) {
    for (const char* Name : {"none-rows", "multiline-values"}) {
        SCOPED_TRACE(Name);
        const std::string File = Source(std::string(Name) + ".mif");
        const std::string Want = GdalFeatures(File);
        ASSERT_NE(Want.find("OGRFeature:"), std::string::npos) << Want;
        TMapLayer* L = Map.Layers().Add(File, "");
        ASSERT_NE(L, nullptr);
        for (const char* Ext : {".mif", ".tab"}) {
            const std::string Out = Dir.Path(std::string(Name) + Ext);
            ASSERT_TRUE(L->SaveToFile(Out));
            EXPECT_EQ(GdalFeatures(Out), Want) << Ext;
        }
    }
}
#endif

INSTANTIATE_TEST_SUITE_P(Files, RowsRoundTrip, ::testing::ValuesIn(Cases), [](const auto& Info) {
    std::string N = Info.param.File;
    N = N.substr(0, N.find('.'));
    for (char& Ch : N)
        if (Ch == '-') Ch = '_';
    return N;
});

} // namespace
