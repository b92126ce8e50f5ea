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

TEST_F(IndexFile, UndividedRootIsSeventyBytes) {
    auto Root = NewRoot();
    Root->SetBounds(TCellBounds(TBounds{0, 0, 10, 5}));
    for (std::uint32_t Id : {0u, 1u, 2u})
        Root->Ids().Add(Id);
    ASSERT_TRUE(Root->SaveToFile(Path("a.idx")));
    const std::string Data = ReadFile(Path("a.idx"));
    ASSERT_EQ(Data.size(), 70u);
    EXPECT_EQ(Data.substr(0, 18), "Chartix Index File");
    // maximum X = 10.0, little-endian, right after minimum X
    EXPECT_EQ(Data.substr(26, 8), std::string("\0\0\0\0\0\0\x24\x40", 8));
    EXPECT_EQ(Data.substr(50, 20), std::string("\3\0\0\0\0\0\0\0\1\0\0\0\2\0\0\0\0\0\0\0", 20));
}

TEST_F(IndexFile, RoundTripKeepsBoundsIdsAndChildOrder) {
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

TEST_F(IndexFile, WrongHeaderOrMissingFileLeavesTheCell) {
    std::string Data = "chartix index file" + std::string(32, '\0') + std::string(8, '\0');
    WriteFile(Path("lower.idx"), Data);
    auto Root = NewRoot();
    Root->Ids().Add(5);
    EXPECT_FALSE(Root->LoadFromToFile(Path("lower.idx")));
    EXPECT_FALSE(Root->LoadFromToFile(Path("none.idx")));
    EXPECT_TRUE(Root->NotBuilt());
    EXPECT_EQ(Root->Ids().Count(), 1);
    Data.replace(0, 18, "Chartix Index File");
    WriteFile(Path("upper.idx"), Data);
    EXPECT_TRUE(Root->LoadFromToFile(Path("upper.idx")));
    EXPECT_EQ(Root->Ids().Count(), 0);
}

TEST_F(IndexFile, TruncatedOrAbsurdFilesRaiseReadErrors) {
    TMapLayer L;
    FillLayer(L, 60);
    TIndexCell(&L).SaveToFile(Path("t.idx"));
    const std::string Data = ReadFile(Path("t.idx"));
    for (size_t Cut : {size_t{10}, size_t{30}, size_t{60}, Data.size() / 2, Data.size() - 1}) {
        WriteFile(Path("cut.idx"), Data.substr(0, Cut));
        EXPECT_EQ(Testing::MessageOf<Platform::EReadError>(
                      [&] { NewRoot()->LoadFromToFile(Path("cut.idx")); }),
                  "Stream read error")
            << "cut at " << Cut;
    }
    // Huge or negative counts fail at once rather than allocate.
    for (const char* Counts : {"\xff\xff\xff\x7f", "\xff\xff\xff\xff", "\0\0\0\0\xff\xff\xff\x7f",
                               "\0\0\0\0\xfe\xff\xff\xff"}) {
        const size_t Size = Counts[0] ? 4 : 8;
        WriteFile(Path("bad.idx"),
                  "Chartix Index File" + std::string(32, '\0') + std::string(Counts, Size));
        EXPECT_THROW(NewRoot()->LoadFromToFile(Path("bad.idx")), Platform::EReadError);
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
