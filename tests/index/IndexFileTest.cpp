#include "core/MapLayer.h"
#include "index/IndexCell.h"
#include "objects/Polys.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace Mapobjects;
namespace fs = std::filesystem;

namespace {

fs::path TempDir() {
    return fs::path(::testing::TempDir()) / ("chartix-index-" + std::to_string(::getpid()));
}

std::string TempFile(const std::string& Name) {
    fs::create_directories(TempDir());
    return (TempDir() / Name).string();
}

struct TRemoveTempDir : ::testing::Environment {
    void TearDown() override { fs::remove_all(TempDir()); }
};
[[maybe_unused]] auto* const RemoveTempDir =
    ::testing::AddGlobalTestEnvironment(new TRemoveTempDir);

std::string Read(const std::string& F) {
    std::ifstream In(F, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
}

void Write(const std::string& F, const std::string& Data) {
    std::ofstream(F, std::ios::binary) << Data;
}

void FillLayer(TMapLayer& L, int N) {
    std::mt19937 Rng(7);
    std::uniform_real_distribution<double> Pos(0, 100);
    for (int I = 0; I < N; ++I) {
        const double X = Pos(Rng), Y = Pos(Rng);
        TMapPoints& P = L.NewObject<TRegion>()->Parts().Add()->Points();
        P.Add(X, Y);
        P.Add(X + 2, Y + 1);
        P.Add(X + 1, Y + 3);
    }
}

TIndexCell* NewRoot() {
    return new TIndexCell(static_cast<TMapLayer*>(nullptr));
}

void ExpectSameTree(const TIndexCell& A, const TIndexCell& B) {
    EXPECT_EQ(A.Bounds().MinX, B.Bounds().MinX);
    EXPECT_EQ(A.Bounds().MaxX, B.Bounds().MaxX);
    EXPECT_EQ(A.Bounds().MinY, B.Bounds().MinY);
    EXPECT_EQ(A.Bounds().MaxY, B.Bounds().MaxY);
    ASSERT_EQ(A.Ids().Count(), B.Ids().Count());
    for (int I = 0; I < A.Ids().Count(); ++I)
        EXPECT_EQ(A.Ids()[I], B.Ids()[I]);
    ASSERT_EQ(A.GetCount(), B.GetCount());
    for (int I = 0; I < A.GetCount(); ++I)
        ExpectSameTree(*A.GetCell(I), *B.GetCell(I));
}

} // namespace

TEST(IndexFile, UndividedRootIsSeventyBytes) {
    std::unique_ptr<TIndexCell> Root(NewRoot());
    Root->SetBounds(TCellBounds{0, 10, 0, 5});
    for (std::uint32_t Id : {0u, 1u, 2u})
        Root->Ids().Add(Id);
    ASSERT_TRUE(Root->SaveToFile(TempFile("a.idx")));
    const std::string Data = Read(TempFile("a.idx"));
    ASSERT_EQ(Data.size(), 70u);
    EXPECT_EQ(Data.substr(0, 18), "Chartix Index File");
    // maximum X = 10.0, little-endian, right after minimum X
    EXPECT_EQ(Data.substr(26, 8), std::string("\0\0\0\0\0\0\x24\x40", 8));
    EXPECT_EQ(Data.substr(50, 20), std::string("\3\0\0\0\0\0\0\0\1\0\0\0\2\0\0\0\0\0\0\0", 20));
}

TEST(IndexFile, RoundTripKeepsBoundsIdsAndChildOrder) {
    TMapLayer L;
    FillLayer(L, 300);
    TIndexCell Built(&L);
    ASSERT_GT(Built.GetCount(), 0);
    ASSERT_TRUE(Built.SaveToFile(TempFile("t.idx")));
    std::unique_ptr<TIndexCell> Loaded(NewRoot());
    ASSERT_TRUE(Loaded->LoadFromToFile(TempFile("t.idx")));
    EXPECT_FALSE(Loaded->NotBuilt());
    ExpectSameTree(Built, *Loaded);
    // An existing file is replaced, not overwritten in place.
    ASSERT_TRUE(std::unique_ptr<TIndexCell>(NewRoot())->SaveToFile(TempFile("t.idx")));
    EXPECT_EQ(Read(TempFile("t.idx")).size(), 18u + 40u);
    EXPECT_THROW(Built.SaveToFile(TempFile("no-dir/t.idx")), Platform::EFCreateError);
}

TEST(IndexFile, WrongHeaderOrMissingFileLeavesTheCell) {
    std::string Data = "chartix index file" + std::string(32, '\0') + std::string(8, '\0');
    Write(TempFile("lower.idx"), Data);
    std::unique_ptr<TIndexCell> Root(NewRoot());
    Root->Ids().Add(5);
    EXPECT_FALSE(Root->LoadFromToFile(TempFile("lower.idx")));
    EXPECT_FALSE(Root->LoadFromToFile(TempFile("none.idx")));
    EXPECT_TRUE(Root->NotBuilt());
    EXPECT_EQ(Root->Ids().Count(), 1);
    Data.replace(0, 18, "Chartix Index File");
    Write(TempFile("upper.idx"), Data);
    EXPECT_TRUE(Root->LoadFromToFile(TempFile("upper.idx")));
    EXPECT_EQ(Root->Ids().Count(), 0);
}

TEST(IndexFile, TruncatedOrAbsurdFilesRaiseReadErrors) {
    TMapLayer L;
    FillLayer(L, 60);
    TIndexCell(&L).SaveToFile(TempFile("t.idx"));
    const std::string Data = Read(TempFile("t.idx"));
    for (size_t Cut : {size_t{10}, size_t{30}, size_t{60}, Data.size() / 2, Data.size() - 1}) {
        Write(TempFile("cut.idx"), Data.substr(0, Cut));
        try {
            std::unique_ptr<TIndexCell>(NewRoot())->LoadFromToFile(TempFile("cut.idx"));
            FAIL() << "no error at " << Cut;
        } catch (const Platform::EReadError& E) {
            EXPECT_STREQ(E.what(), "Stream read error");
        }
    }
    // Huge or negative counts fail at once rather than allocate.
    for (const char* Counts : {"\xff\xff\xff\x7f", "\xff\xff\xff\xff", "\0\0\0\0\xff\xff\xff\x7f",
                               "\0\0\0\0\xfe\xff\xff\xff"}) {
        const size_t Size = Counts[0] ? 4 : 8;
        Write(TempFile("bad.idx"),
              "Chartix Index File" + std::string(32, '\0') + std::string(Counts, Size));
        EXPECT_THROW(std::unique_ptr<TIndexCell>(NewRoot())->LoadFromToFile(TempFile("bad.idx")),
                     Platform::EReadError);
    }
}

TEST(IndexFile, LayerReadsTheIndexBesideItsDataFile) {
    TMapLayer L;
    FillLayer(L, 40);
    L.SetFileName(TempFile("roads.mif"));
    std::unique_ptr<TIndexCell> Saved(NewRoot());
    Saved->SetBounds(TCellBounds{-5, 5, -5, 5});
    Saved->Ids().Add(3);
    Saved->SaveToFile(TempFile("roads.idx"));
    L.SetUseIndex2D(true);
    EXPECT_FALSE(L.Index2D().NotBuilt());
    ExpectSameTree(*Saved, L.Index2D());

    // A damaged file is not half used: the tree is built from the objects.
    TMapLayer M;
    FillLayer(M, 40);
    M.SetFileName(TempFile("rivers.mif"));
    Write(TempFile("rivers.idx"), Read(TempFile("roads.idx")).substr(0, 40));
    M.SetUseIndex2D(true);
    EXPECT_GT(M.Index2D().GetCount(), 0);
    ExpectSameTree(TIndexCell(&M), M.Index2D());
}
