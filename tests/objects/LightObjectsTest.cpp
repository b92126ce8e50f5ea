// Light objects: tools shared until written, one point kept inline behind
// the part list. Rows only for layers with columns are DataRowTest.cpp's.
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "support/MapFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::MapFixture;
using Testing::PointsOf;

using LightObjects = MapFixture;

TEST_F(LightObjects, WritingOneObjectsToolLeavesTheOthersSharingTheirs) {
    TMapLayer* L = Map.Layers().Add("", "points");
    TSymbol* A = L->NewObject<TSymbol>();
    TSymbol* B = L->NewObject<TSymbol>();
    TSymbol* C = L->NewObject<TSymbol>();
    // Objects styled by the map's defaults share one tool of each kind.
    EXPECT_EQ(A->ReadPen(), B->ReadPen());
    EXPECT_EQ(A->ReadBrush(), C->ReadBrush());
    EXPECT_EQ(A->ReadFont(), C->ReadFont());
    const TColor PenColor = B->ReadPen()->Color();
    const int FontSize = B->ReadFont()->Size();

    TPen* Mine = A->Pen();
    Mine->SetColor(clLime);
    A->Font()->SetSize(FontSize + 5);
    A->Brush()->SetStyle(bsCross);
    EXPECT_EQ(A->ReadPen(), Mine);
    EXPECT_EQ(std::tuple(A->ReadPen()->Color(), A->ReadFont()->Size(), A->ReadBrush()->Style()),
              std::tuple(clLime, FontSize + 5, bsCross));
    for (TSymbol* Other : {B, C}) {
        EXPECT_EQ(std::tuple(Other->ReadPen()->Color(), Other->ReadFont()->Size(),
                             Other->ReadBrush()->Style()),
                  std::tuple(PenColor, FontSize, bsSolid));
    }
    EXPECT_EQ(B->ReadPen(), C->ReadPen()); // still one tool between them

    // A tool handed out for writing stays the object's: the defaults are
    // copied into it when the object moves to another layer.
    std::unique_ptr<TCustomMapObject> Moved = L->RemoveObject(A);
    TMapLayer* Other = Map.Layers().Add("", "other");
    Other->AddObject(std::move(Moved), false);
    EXPECT_EQ(A->Pen(), Mine);
    EXPECT_EQ(Mine->Color(), PenColor);

    // A shared tool asked back by its setter comes as a copy of its own.
    TPen Before;
    Before.Assign(*B->ReadPen());
    std::unique_ptr<TPen> Old = B->SetPen(std::make_unique<TPen>());
    ASSERT_NE(Old, nullptr);
    EXPECT_NE(Old.get(), C->ReadPen());
    EXPECT_TRUE(Old->Equals(Before));
    EXPECT_TRUE(C->ReadPen()->Equals(Before));
}

TEST_F(LightObjects, ATextsFontIsItsOwnAndStillTellsTheText) {
    TMapLayer* L = Map.Layers().Add("", "texts");
    auto* T1 = L->NewObject<TText>();
    auto* T2 = L->NewObject<TText>();
    EXPECT_NE(T1->ReadFont(), T2->ReadFont());
    ASSERT_TRUE(T1->ReadFont()->OnChange);
}

// Each script runs on a symbol that keeps its point inline and on one whose
// part list was asked for first: what the public operations show must agree.
TEST(LightObjectsGeometry, AnInlinePointBehavesLikeAPartList) {
    enum TOp { SetX, SetY, SetPoint, Update, ClearPoints };
    struct TStep {
        TOp Op;
        double A, B;
    };
    const std::vector<std::vector<TStep>> Scripts = {
        {},
        {{SetPoint, 10, 20}},
        {{SetPoint, 10, 20}, {SetX, 15, 0}}, // the extent stays at (10, 20)
        {{SetPoint, 10, 20}, {SetY, -4, 0}, {Update, 0, 0}},
        {{SetX, 0, 0}, {SetY, 0, 0}},           // no move: nothing changes
        {{SetPoint, 1, 2}, {SetPoint, -3, -4}}, // the extent follows SetPoint
        {{ClearPoints, 0, 0}, {SetY, 5, 0}},    // a new anchor at (0, 5)
        {{SetX, 7, 0}, {SetPoint, 2, 2}, {SetY, 9, 0}, {Update, 0, 0}},
    };
    auto Run = [](TSymbol& S, const std::vector<TStep>& Script) {
        for (const TStep& Step : Script)
            switch (Step.Op) {
            case SetX:
                S.SetX(Step.A);
                break;
            case SetY:
                S.SetY(Step.A);
                break;
            case SetPoint:
                S.SetPoint(Step.A, Step.B);
                break;
            case Update:
                S.UpdateBounds();
                break;
            case ClearPoints:
                S.Parts().Items(0)->Points().Clear();
                break;
            }
    };
    auto Show = [](TSymbol& S) {
        const TBounds B = S.GetBounds();
        return Format("%g %g %g %g; x %g y %g; in %d; single %d", B.MinX, B.MinY, B.MaxX, B.MaxY,
                      S.X(), S.Y(), S.IntersectsRect(-1, -1, 1, 1), S.SinglePoint() != nullptr) +
               "; " + PointsOf(&S);
    };
    for (size_t I = 0; I < Scripts.size(); ++I) {
        TSymbol Inline, Listed;
        Listed.Parts(); // made now: every later step goes through the list
        Run(Inline, Scripts[I]);
        Run(Listed, Scripts[I]);
        EXPECT_EQ(Show(Inline), Show(Listed)) << "script " << I;
    }
    // The list made late holds the inline point, and edits through it count.
    TSymbol S;
    S.SetPoint(3, 4);
    TMapPoints& Points = S.Parts().Items(0)->Points();
    EXPECT_EQ(PointsOf(&S), "3 4");
    Points.Add(5, 6);
    EXPECT_EQ(std::tuple(S.GetBounds().MaxX, S.GetBounds().MaxY), std::tuple(5, 6));
    EXPECT_EQ(S.SinglePoint(), nullptr);
}
