// Index files: their exact layout, round trips, and damaged files.
#include "core/MapLayer.h"
#include "index/IndexTree.h"
#include "objects/Polys.h"
#include "support/MapFixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace Mapobjects;
using Testing::ReadFile;
using Testing::TreeOf;
using Testing::WriteFile;

namespace {

const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/index/";

void FillLayer(TMapLayer& L, int N) {
    std::mt19937 Rng(7);
    std::uniform_real_distribution<double> Pos(0, 100);
    for (int I = 0; I < N; ++I) {
        const double X = Pos(Rng), Y = Pos(Rng);
        Testing::AddShape<TRegion>(&L, {{{X, Y}, {X + 2, Y + 1}, {X + 1, Y + 3}}});
    }
}

std::unique_ptr<TIndexCell> NewRoot() {
    return std::make_unique<TIndexCell>(static_cast<TMapLayer*>(nullptr));
}

struct IndexFile : ::testing::Test {
    Testing::TTempDir Dir;
    std::string Path(const std::string& Name) const { return Dir.Path(Name); }
};

} // namespace

TEST_F(IndexFile, LayoutAndRoundTrip) {
    // Header, bounds (minimum and maximum X, then Y), ids, children; little-endian.
    auto Root = NewRoot();
    Root->SetBounds(TCellBounds(TBounds{0, 0, 10, 5}));
    for (std::uint32_t Id : {0u, 1u, 2u})
        Root->Ids().Add(Id);
    ASSERT_TRUE(Root->SaveToFile(Path("a.idx")));
    EXPECT_EQ(ReadFile(Path("a.idx")), ReadFile(Data + "undivided-root-of-three-ids.idx"));

    TMapLayer L;
    FillLayer(L, 300);
    TIndexCell Built(&L);
    ASSERT_GT(Built.GetCount(), 0);
    ASSERT_TRUE(Built.SaveToFile(Path("t.idx")));
    auto Loaded = NewRoot();
    ASSERT_TRUE(Loaded->LoadFromToFile(Path("t.idx")));
    EXPECT_FALSE(Loaded->NotBuilt());
    EXPECT_EQ(TreeOf(*Loaded), TreeOf(Built));
    // An existing file is replaced, not overwritten in place.
    ASSERT_TRUE(NewRoot()->SaveToFile(Path("t.idx")));
    EXPECT_EQ(ReadFile(Path("t.idx")).size(), 18u + 40u);
    EXPECT_THROW(Built.SaveToFile(Path("no-dir/t.idx")), Platform::EFCreateError);
}

TEST_F(IndexFile, AnotherHeaderOrNoFileLeavesTheCellDamageRaisesReadErrors) {
    auto Root = NewRoot();
    Root->Ids().Add(5);
    EXPECT_FALSE(Root->LoadFromToFile(Data + "lower-case-header.idx"));
    EXPECT_FALSE(Root->LoadFromToFile(Path("none.idx")));
    EXPECT_TRUE(Root->NotBuilt());
    EXPECT_EQ(Root->Ids().Count(), 1);
    std::string Empty = ReadFile(Data + "lower-case-header.idx");
    Empty.replace(0, 18, "Chartix Index File");
    WriteFile(Path("upper.idx"), Empty);
    EXPECT_TRUE(Root->LoadFromToFile(Path("upper.idx")));
    EXPECT_EQ(Root->Ids().Count(), 0);

    TMapLayer L;
    FillLayer(L, 60);
    TIndexCell(&L).SaveToFile(Path("t.idx"));
    const std::string Whole = ReadFile(Path("t.idx"));
    std::vector<std::string> Damaged;
    for (size_t Cut : {size_t{10}, size_t{30}, size_t{60}, Whole.size() / 2, Whole.size() - 1})
        Damaged.push_back(Whole.substr(0, Cut));
    // Huge or negative counts of ids, then of children, fail at once rather
    // than allocate.
    for (const std::string& Counts :
         {std::string("\xff\xff\xff\x7f"), std::string("\xff\xff\xff\xff"),
          std::string("\0\0\0\0\xff\xff\xff\x7f", 8), std::string("\0\0\0\0\xfe\xff\xff\xff", 8)})
        Damaged.push_back("Chartix Index File" + std::string(32, '\0') + Counts);
    for (const std::string& Bytes : Damaged) {
        WriteFile(Path("bad.idx"), Bytes);
        EXPECT_EQ(Testing::MessageOf<Platform::EReadError>(
                      [&] { NewRoot()->LoadFromToFile(Path("bad.idx")); }),
                  "Stream read error")
            << Bytes.size() << " bytes";
    }
}

TEST_F(IndexFile, LayerReadsTheIndexBesideItsDataFile) {
    TMapLayer L;
    FillLayer(L, 40);
    L.SetFileName(Path("roads.mif"));
    auto Saved = NewRoot();
    Saved->SetBounds(TCellBounds(TBounds{-5, -5, 5, 5}));
    Saved->Ids().Add(3);
    Saved->SaveToFile(Path("roads.idx"));
    L.SetUseIndex2D(true);
    EXPECT_FALSE(L.Index2D().NotBuilt());
    EXPECT_EQ(TreeOf(L.Index2D()), TreeOf(*Saved));

    // A damaged file is not half used: the tree is built from the objects.
    TMapLayer M;
    FillLayer(M, 40);
    M.SetFileName(Path("rivers.mif"));
    WriteFile(Path("rivers.idx"), ReadFile(Path("roads.idx")).substr(0, 40));
    M.SetUseIndex2D(true);
    EXPECT_GT(M.Index2D().GetCount(), 0);
    EXPECT_EQ(TreeOf(M.Index2D()), TreeOf(TIndexCell(&M)));
}
