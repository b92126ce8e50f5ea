// Whole files read as the .expected text says: each input (NAME.mif, with
// NAME.mid when there is one) gives its columns, every problem told and its
// objects with their rows. Where NAME.expected.mif (and .mid) is there too,
// saving what was read gives that file, and reading it again the same objects.
// The inputs of tests/data/formats/read have their .expected beside them;
// those of tests/data/roundtrip, shared with the other checks of the format,
// have theirs in tests/data/formats/roundtrip and save as they were read
// unless a NAME.expected.mif there says otherwise.
#include "formats/MifFixture.h"
#include "objects/Multi.h"

#include <cstdlib>

using namespace Mapobjects;
using namespace Platform;

namespace {

namespace fs = std::filesystem;

const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/";

// Text with the folders of the inputs taken out of the file names.
std::string Bare(std::string S) {
    for (const std::string& Dir : {Data + "formats/read/", Data + "roundtrip/"})
        for (size_t At; (At = S.find(Dir)) != std::string::npos;)
            S.erase(At, Dir.size());
    return S;
}

// An object and its row, with what the file said beyond the drawing tools.
std::string Line(TCustomMapObject* O) {
    std::string S = Testing::Describe(O);
    if (O->KeptPenPattern() || O->KeptBrushPattern() || O->KeptFlag())
        S += Format(" kept %d %d %d", O->KeptPenPattern(), O->KeptBrushPattern(),
                    int(O->KeptFlag()));
    if (auto* R = dynamic_cast<TRectangle*>(O); R && R->CornerDiameter())
        S += Format(" corner %g", R->CornerDiameter());
    if (auto* Y = dynamic_cast<TSymbol*>(O); Y && (Y->Font()->Escapement() || Y->KeptSymbolStyle()))
        S += Format(" turn %d style %d", Y->Font()->Escapement(), Y->KeptSymbolStyle());
    if (auto* T = dynamic_cast<TText*>(O))
        S += Format(" box %g %g justify %d spacing %d line %d %g %g", T->Width(), T->Height(),
                    int(T->Justify()), int(T->Spacing()), int(T->LabelLine()), T->LabelX(),
                    T->LabelY());
    if (auto* M = dynamic_cast<TMultiSymbolObject*>(O))
        S += Format(" shape %d size %d %06X", M->Shape(), M->ReadFont()->Size(),
                    M->ReadFont()->Color());
    if (auto* C = dynamic_cast<TCollectionObject*>(O)) {
        S += Format(" parts %d/%d/%d", C->RingCount(), C->SectionCount(), C->PointCount());
        if (C->LinePen()) S += Format(" line pen %06X", C->LinePen()->Color());
    }
    return S + " | " + Testing::RowOf(O) + "\n";
}

std::string Objects(TMapLayer* L) {
    std::string S;
    for (int I = 0; I < L->ObjectCount(); ++I)
        S += Format("%d: ", I) + Line(L->Objects(I));
    return S;
}

struct MifGoldenFiles : Testing::MifFixture {
    // Set to a folder, the readings are also written there (to review a
    // change of the reader as a difference of files).
    const char* Out = std::getenv("CHARTIX_GOLDEN_OUT");

    // Everything a load of In tells and makes; the saves checked against
    // the files of Expected.
    std::string Reading(const std::string& In, const std::string& Expected) {
        const std::string Name = fs::path(In).filename().string();
        RecordedMessages().clear();
        TMapLayer* L = Map.Layers().Add("", Name);
        std::string S = Format("loaded %d\n", int(Provider.Load(L, In + ".mif")));
        if (!L->Charset().empty()) S += "charset " + L->Charset() + "\n";
        if (!L->CoordSys().empty()) S += L->CoordSys() + "\n";
        for (int F = 0; F < L->Fields().Count(); ++F) {
            const TDataField* Field = L->Fields().GetFields(F);
            S += Format("column %s %d %s %d\n", Field->Name(), int(Field->DataType()),
                        Field->GetDataTypeName(), Field->Size());
        }
        for (const TReadProblem& P : Provider.Problems().Items())
            S += "problem " + Bare(TReadProblems::Describe(P)) + "\n";
        for (const TMessageRecord& M : RecordedMessages())
            S += "message " + Bare(M.Text) + "\n";
        S += Objects(L);
        // However the file ends, the map is left ready and no room is
        // taken for what the file only promised.
        EXPECT_FALSE(Map.InUpdate());
        EXPECT_FALSE(Map.TextSizing());
        EXPECT_LT(L->MemoryUsed(), 1024u * 1024);
        // The shared inputs save as they are unless said otherwise.
        std::string Want = Expected + ".expected";
        if (!fs::exists(Want + ".mif")) {
            if (Expected == In) return S;
            Want = In;
        }
        const std::string Saved = Path(Name + ".mif");
        EXPECT_TRUE(Provider.Save(L, Saved));
        for (const std::string Ext : {".mif", ".mid"}) {
            const std::string Got = Testing::ReadFile(Path(Name + Ext));
            if (Out) Testing::WriteFile(std::string(Out) + "/" + Name + ".expected" + Ext, Got);
            if (fs::exists(Want + Ext)) {
                EXPECT_EQ(Got, Testing::ReadFile(Want + Ext)) << Ext;
            }
        }
        TMapLayer* Again = Map.Layers().Add("", "again");
        EXPECT_TRUE(Provider.Load(Again, Saved));
        EXPECT_EQ(Objects(Again), Objects(L)) << "read again";
        return S;
    }
};

} // namespace

TEST_F(MifGoldenFiles, EachFileReadsAsItsExpectedText) {
    std::vector<std::pair<std::string, std::string>> Cases; // input, expected
    for (const auto& E : fs::directory_iterator(Data + "formats/read")) {
        const std::string Base = (E.path().parent_path() / E.path().stem()).string();
        if (E.path().extension() == ".mif" && !Base.ends_with(".expected"))
            Cases.emplace_back(Base, Base);
    }
    for (const auto& E : fs::directory_iterator(Data + "formats/roundtrip"))
        if (E.path().extension() == ".expected")
            Cases.emplace_back(Data + "roundtrip/" + E.path().stem().string(),
                               (E.path().parent_path() / E.path().stem()).string());
    EXPECT_GE(Cases.size(), 60u);
    for (const auto& [In, Expected] : Cases) {
        SCOPED_TRACE(In);
        const std::string Got = Reading(In, Expected);
        if (Out)
            Testing::WriteFile(
                std::string(Out) + "/" + fs::path(In).filename().string() + ".expected", Got);
        EXPECT_EQ(Got, Testing::ReadFile(Expected + ".expected"));
    }
}
