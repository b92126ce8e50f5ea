// Texts through a table: the MIF files of texts saved as .tab read the same
// in ogrinfo and load back with their alignment, font style, angle and
// letters; what a table cannot hold (spacing, the label line's end, the box
// width, which GDAL estimates) is left out of the comparison.

#include "MapInfoFixture.h"

#include "objects/Text.h"

#include <cmath>

using namespace Mapobjects;
using namespace Testing;

#ifdef CHARTIX_HAVE_MITAB

namespace {

using TextTable = MapInfoFixture;

std::string Value(TCustomMapObject* O) {
    return O->Fields().GetFields(0)->AsString();
}

// GDAL turns the anchor of a turned text there and back: a hair off.
double Near(double V) {
    const double R = std::round(V * 1e9) / 1e9;
    return R == 0 ? 0.0 : R;
}

std::string Look(TText* T) {
    return Platform::Format("'%s' at %.6g %.6g height %.6g angle %g justify %d style %u value %s",
                            T->Text(), Near(T->X()), Near(T->Y()), Near(T->Height()), T->Angle(),
                            int(T->Justify()), unsigned(T->ReadFont()->Style()), Value(T));
}

} // namespace

TEST_F(TextTable, TextsKeepAlignmentFontStyleAndLettersThroughATab) {
    ASSERT_TRUE(MITAB_LibOK()) << MITAB_LoadErr;
    struct Case {
        const char* File;
        std::vector<std::string> Style; // pieces of ogrinfo's style string
    } Cases[] = {
        {"text-box", {"t:\"Boxed\"", "a:30", "c:#ff0000", "bo:1", "p:2", "f:\"Arial\""}},
        {"text-cyrillic", {"t:\"\xd0\x9f\xd0\xbe\xd0\xbb\xd0\xb5\"", "p:1"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.File);
        const std::string File =
            std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/" + C.File + ".mif";
        TMapLayer* Source = Map.Layers().Add(File, "");
        ASSERT_EQ(Source->ObjectCount(), 1);
        const std::string Table = Dir.Path(std::string(C.File) + ".tab");
        ASSERT_TRUE(Source->SaveToFile(Table));
        EXPECT_TRUE(Tab.Problems().Empty());

        const std::vector<TOgrFeature> F = OgrInfo(Table);
        ASSERT_EQ(F.size(), 1u);
        // Where GDAL puts the text: a turned one at its baseline's start.
        ExpectWkt(F[0].Geometry, OgrInfo(File).at(0).Geometry);
        for (const std::string& Piece : C.Style)
            EXPECT_NE(F[0].Style.find(Piece), std::string::npos) << F[0].Style << " | " << Piece;
        for (const auto& [Column, Text] : F[0].Values)
            EXPECT_EQ(Text, Value(Source->Objects(0))) << Column;

        TMapLayer* Back = Map.Layers().Add(Table, "");
        ASSERT_EQ(Back->ObjectCount(), 1);
        auto* Read = dynamic_cast<TText*>(Back->Objects(0));
        ASSERT_NE(Read, nullptr);
        EXPECT_EQ(Look(Read), Look(static_cast<TText*>(Source->Objects(0))));
    }
}

#endif
