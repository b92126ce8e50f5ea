// The registry of file format providers, and layers loading and saving through it.
#include "core/CustomFormatProvider.h"
#include "core/MapObjects.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"
#include "support/TempFiles.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

using namespace Mapobjects;

namespace {

// A provider for one extension that records what it was asked.
struct FakeProvider : TCustomFormatProvider {
    std::string Ext, Desc, Guid;
    bool LoadResult = true;
    std::function<bool()> LoadDoes; // instead of LoadResult when set
    bool Present = true;            // the provider's module was found
    std::vector<std::string> Calls;
    FakeProvider(std::string E, std::string D, std::string G)
        : TCustomFormatProvider(nullptr), Ext(std::move(E)), Desc(std::move(D)),
          Guid(std::move(G)) {}
    std::string GetDescription() const override { return Desc; }
    std::string GetFilter() const override { return Desc + "|*" + Ext; }
    TGUID GetGUID() const override { return StringToGUID(Guid); }
    bool Load(TMapLayer*, const std::string& F) override {
        Calls.push_back("load " + F);
        return LoadDoes ? LoadDoes() : LoadResult;
    }
    bool Available() const override { return Present; }
    std::string UnavailableReason() const override { return Present ? "" : "module missing"; }
    using TCustomFormatProvider::ProblemList;
    bool Save(TMapLayer*, const std::string& F) override {
        Calls.push_back("save " + F);
        return true;
    }
    bool CanProcessFile(const std::string& F) const override {
        return Platform::SameText(Platform::ExtractFileExt(F), Ext);
    }
};

const char* GuidA = "{830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}";
const char* GuidB = "{4AC2894A-85A3-4613-80D2-27DDCDFEA816}";

} // namespace

TEST(ProviderRegistry, FiltersJoinInRegistrationOrderTheDefaultIsExclusive) {
    EXPECT_EQ(FormatProviders()->GetFilter(), ""); // empty from start-up
    FakeProvider A(".a", "A", GuidA), B(".b", "B", GuidB);
    EXPECT_EQ(FormatProviders()->GetFilter(), "A|*.a|B|*.b");
    B.SetEnabled(false); // still contributes its filter
    EXPECT_EQ(FormatProviders()->GetFilter(), "A|*.a|B|*.b");
    // One default at most; its place is the filter index.
    A.SetDefault(true);
    B.SetDefault(true);
    EXPECT_FALSE(A.Default());
    EXPECT_EQ(FormatProviders()->GetFilterIndex(), 1);
    B.SetDefault(false);
    EXPECT_EQ(FormatProviders()->GetFilterIndex(), 0);
}

TEST(ProviderRegistry, SelectionByExtensionFirstEnabledWins) {
    FakeProvider A(".mif", "A", GuidA), B(".mif", "B", GuidB);
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("ROADS.MIF"), &A);
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("dir.x/roads.mif"), &A);
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("roads.mif.bak"), nullptr);
    A.SetEnabled(false);
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("roads.mif"), &B);
}

TEST(ProviderRegistry, DestroyedProviderLeavesTheRegistryFoundByItsGuid) {
    EXPECT_EQ(GUIDToString(StringToGUID(GuidA)), GuidA);
    EXPECT_THROW(StringToGUID("830DF284"), Platform::EConvertError);
    EXPECT_THROW(StringToGUID("{830DF284-6671-4CD9-BE3C-CAF9B6DB2EZZ}"), Platform::EConvertError);
    auto A = std::make_unique<FakeProvider>(".a", "A", GuidA);
    EXPECT_EQ(FormatProviders()->GetProviderByGUID(StringToGUID(GuidA)), A.get());
    A.reset();
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("x.a"), nullptr);
    EXPECT_EQ(FormatProviders()->GetProviderByGUID(StringToGUID(GuidA)), nullptr);
}

TEST(ProviderRegistry, LayerLoadAndSaveGoThroughTheProvider) {
    FakeProvider A(".a", "A", GuidA);
    TChartix Map(nullptr);
    TMapLayer* L = Map.Layers().Add("", "");
    EXPECT_TRUE(L->LoadFromFile("/data/roads.a", ""));
    EXPECT_EQ(L->Name(), "roads");
    EXPECT_EQ(L->FileName(), "/data/roads.a");
    EXPECT_TRUE(L->LoadFromFile("/data/rivers.a", "Rivers"));
    EXPECT_EQ(L->Name(), "Rivers");
    A.LoadResult = false;
    EXPECT_FALSE(L->LoadFromFile("/data/lakes.a", "Lakes"));
    EXPECT_EQ(L->Name(), "Rivers"); // unchanged after a failure
    EXPECT_FALSE(L->LoadFromFile("/data/lakes.b", "Lakes"));
    EXPECT_TRUE(L->SaveToFile(""));
    EXPECT_EQ(A.Calls.back(), "save /data/rivers.a");
    EXPECT_FALSE(L->SaveToFile("/data/out.b"));
    TMapLayer Lone;
    EXPECT_FALSE(Lone.SaveToFile("")); // no name at all
}

TEST(ProviderRegistry, SavingUnrotatesTheMapFirst) {
    FakeProvider A(".a", "A", GuidA);
    TChartix Map(nullptr);
    TMapLayer* L = Map.Layers().Add("", "L");
    Map.RotateMap(1, 1, 30);
    ASSERT_TRUE(Map.isMapRotated());
    EXPECT_TRUE(L->SaveToFile("/tmp/x.a"));
    EXPECT_FALSE(Map.isMapRotated());
}

TEST(ProviderRegistry, LoadFileGivesOneAnswerWhateverTheProviderDoes) {
    FakeProvider A(".a", "A", GuidA);
    TMapLayer Layer;
    // What happened, as the result describes it ("FILE: MESSAGE" on failure, then the
    // problems), and whether it worked.
    const std::vector<std::tuple<const char*, std::function<bool()>, bool, std::string>> Cases = {
        {"works", [] { return true; }, true, ""},
        {"throws", []() -> bool { throw Platform::EFOpenError("Cannot open file"); }, false,
         "x.a: Cannot open file\n"},
        {"shows a box",
         [] { return Platform::MessageDlg("2 problems", Platform::mtWarning) == Platform::mrOk; },
         true, "x.a: 2 problems\n"},
        {"lists a problem",
         [&] {
             A.ProblemList().Add("x.a", 3, "bad pen");
             Platform::MessageDlg("summed up", Platform::mtWarning); // the list says more
             return false;
         },
         false, "x.a: bad pen\nx.a:3: bad pen\n"},
        {"fails bare", [] { return false; }, false, "x.a: A reading failed\n"},
    };
    for (const auto& [Name, Does, Ok, Described] : Cases) {
        SCOPED_TRACE(Name);
        A.LoadDoes = Does;
        Platform::RecordedMessages().clear();
        const TFileResult R = A.LoadFile(&Layer, "x.a");
        EXPECT_EQ(R.Ok, Ok);
        EXPECT_EQ(R.Describe(), Described);
        EXPECT_TRUE(Platform::RecordedMessages().empty()); // no box reached the host
    }
    EXPECT_EQ(Platform::MessageHook(), nullptr); // the host's hook is back
    A.Present = false;
    A.Calls.clear();
    const TFileResult R = A.LoadFile(&Layer, "x.a");
    EXPECT_FALSE(R.Ok);
    EXPECT_EQ(R.Message, "module missing");
    EXPECT_TRUE(A.Calls.empty());
}

TEST(ProviderRegistry, AddingFromAFileThatCannotBeReadAddsNothingAndSaysWhy) {
    Testing::TTempDir Dir;
    FakeProvider A(".a", "A", GuidA);
    TChartix Map(nullptr);
    int Announced = 0;
    Map.OnAddLayer = [&](TChartix*, TMapLayer*) { ++Announced; };
    Testing::WriteFile(Dir.Path("roads.a"), "x");
    Testing::WriteFile(Dir.Path("roads.zz"), "x");
    TFileResult R;
    EXPECT_EQ(Map.Layers().Add(Dir.Path("lakes.a"), "", R), nullptr);
    EXPECT_EQ(R.Message, "the file does not exist");
    EXPECT_EQ(Map.Layers().Add(Dir.Path("roads.zz"), "", R), nullptr);
    EXPECT_EQ(R.Message, "no format provider accepts roads.zz; accepted formats: A");
    A.LoadResult = false;
    EXPECT_EQ(Map.Layers().Add(Dir.Path("roads.a"), "", R), nullptr);
    EXPECT_EQ(R.Describe(), Dir.Path("roads.a") + ": A reading failed\n");
    EXPECT_EQ(std::pair(Map.Layers().Count(), Announced), std::pair(0, 0));
    A.LoadResult = true;
    TMapLayer* L = Map.Layers().Add(Dir.Path("roads.a"), "", R);
    ASSERT_NE(L, nullptr);
    EXPECT_EQ(L->Name(), "roads");
    EXPECT_EQ(std::pair(Map.Layers().Count(), Announced), std::pair(1, 1));
    EXPECT_TRUE(L->SaveFile().Ok);
    EXPECT_EQ(A.Calls.back(), "save " + Dir.Path("roads.a"));
    EXPECT_EQ(TMapLayer().SaveFile().Message, "the layer has no file name");
}
