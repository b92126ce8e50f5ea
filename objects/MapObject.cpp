#include "objects/MapObject.h"

#include "core/MapObjects.h"
#include "objects/PolySplitter.h"

#include <algorithm>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {

// The tools of a new object: one of each, shared by every object until it
// is written.
TShared<TBrush> NewBrush() {
    static const TShared<TBrush> Default(std::make_unique<TBrush>());
    return Default;
}
TShared<TFont> NewFont() {
    static const TShared<TFont> Default(std::make_unique<TFont>());
    return Default;
}
TShared<TPen> NewPen() {
    static const TShared<TPen> Default(std::make_unique<TPen>());
    return Default;
}

} // namespace

TCustomMapObject::TCustomMapObject() : FBrush(NewBrush()), FFont(NewFont()), FPen(NewPen()) {}

TCustomMapObject::~TCustomMapObject() {
    BeforeDestruction();
    if (FLayer) FLayer->Unlink(this);
    if (FLoose) FMap->LooseObject(this, false);
}

void TCustomMapObject::SetMap(TChartix* V) {
    if (V == FMap) return;
    if (FLoose) FMap->LooseObject(this, false);
    FLoose = false;
    FMap = V;
    UpdateLoose();
}

void TCustomMapObject::SetLayer(TMapLayer* V) {
    FLayer = V;
    UpdateLoose();
}

void TCustomMapObject::UpdateLoose() {
    const bool Loose = FMap && !FLayer;
    if (Loose == FLoose) return;
    FMap->LooseObject(this, Loose);
    FLoose = Loose;
}

void TCustomMapObject::BeforeDestruction() {
    if (FRemovalAnnounced) return;
    FRemovalAnnounced = true;
    if (!FMap || FMap->Destroying()) return;
    if (GetSelected()) FMap->Selection().Remove(this);
    FMap->Displayed().RemoveAll(this);
    AnnounceRemoval(false, FLayer); // the selection has announced its part
}

void TCustomMapObject::AnnounceRemoval(bool WasSelected, const TMapLayer* From) {
    FRemovalAnnounced = true;
    if (WasSelected) FMap->Selection().AnnounceRemoved(this, From);
    if (FMap->OnDeleteObject) FMap->OnDeleteObject(this);
    FMap->DataLinks().TraceMapEvent(mdlRemoveObject, this);
    FMap->DoUpdate(true);
}

namespace {

// A shared tool is handed back as a copy of its own.
template <class T> std::unique_ptr<T> ReplaceShared(TShared<T>& Slot, std::unique_ptr<T> V) {
    std::unique_ptr<T> Old = Slot.Take();
    Slot = TShared<T>(std::move(V));
    return Old;
}

} // namespace

std::unique_ptr<TBrush> TCustomMapObject::SetBrush(std::unique_ptr<TBrush> V) {
    return ReplaceShared(FBrush, std::move(V));
}
std::unique_ptr<TFont> TCustomMapObject::SetFont(std::unique_ptr<TFont> V) {
    return ReplaceShared(FFont, std::move(V));
}
std::unique_ptr<TPen> TCustomMapObject::SetPen(std::unique_ptr<TPen> V) {
    return ReplaceShared(FPen, std::move(V));
}
std::unique_ptr<TParts> TCustomMapObject::SetParts(std::unique_ptr<TParts> V) {
    FGeometry.MakeParts(); // the inline point goes back as a part list
    return FGeometry.ReplaceParts(std::move(V));
}
std::unique_ptr<TDataFields> TCustomMapObject::SetFields(std::unique_ptr<TDataFields> V) {
    Fields();
    return FRow.ReplaceList(std::move(V));
}

void TCustomMapObject::SetSinglePoint(double X, double Y) {
    if (TParts* L = FGeometry.Parts()) {
        // Whoever holds the part list keeps it: it is refilled.
        L->Clear();
        L->ResetBounds();
        L->Add()->Points().Add(X, Y);
        return;
    }
    FGeometry.SetPoint(X, Y);
}

const TMapPoint* TCustomMapObject::SinglePointOfParts() const {
    const TParts* L = FGeometry.Parts();
    if (L->Count() != 1 || L->Items(0)->Points().Count() != 1) return nullptr;
    return &std::as_const(L->Items(0)->Points()).GetPoint(0);
}

void TCustomMapObject::UpdateBounds() {
    TParts* L = FGeometry.Parts();
    if (!L) return; // an inline point is its own extent
    L->ResetBounds();
    for (int I = 0; I < L->Count(); ++I)
        for (const TMapPoint& P : L->Items(I)->Points())
            L->AddPoint(P.X, P.Y, 0);
}

TPoint TCustomMapObject::GetPixels(int PartIndex, int PointIndex) const {
    const TMapPoint& P =
        HasInlinePoint() && PartIndex == 0 && PointIndex == 0
            ? FGeometry.OnePoint()
            : std::as_const(Parts().Items(PartIndex)->Points()).GetPoint(PointIndex);
    TPoint Result;
    if (FMap) FMap->MapToScreen(P.X, P.Y, Result.X, Result.Y, false);
    return Result;
}

bool TCustomMapObject::GetSelected() const {
    return FMap && FMap->Selection().Contains(this);
}

void TCustomMapObject::SetSelected(bool) {
    DrawSelection();
}

void TCustomMapObject::Select() {
    if (FMap && !GetSelected()) FMap->Selection().Add(this, false);
}

bool TCustomMapObject::IsSinglePoint() const {
    return SinglePoint() != nullptr;
}

void TCustomMapObject::Paint() {
    if (!FMap) return;
    TCanvas* C = FMap->Canvas();
    // A pen or font equal to the canvas's is not assigned again: a repaint
    // of many objects in one style leaves them alone. So is a brush, when
    // the background it would set is the canvas's already.
    if (!C->Pen()->Equals(*FPen)) C->SetPen(FPen.Get());
    const TBrush& B = *FBrush;
    const bool Solid = B.Style() == bsSolid;
    if (!C->Brush()->Equals(B) || C->BkMode() != (Solid ? OPAQUE : TRANSPARENT) ||
        (Solid && C->BkColor() != B.Color()))
        C->SetBrush(&B);
    if (!C->FontEquals(*FFont)) C->SetFont(FFont.Get());
    if (GetSelected() && !FMap->FastSelection()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetBitmap(FMap->SelectionPattern());
        C->Pen()->SetMode(pmCopy);
        C->Pen()->SetColor(0x800000);
        C->Pen()->SetWidth(C->Pen()->Width() + 2);
    }
    struct PaintingGuard {
        TCustomMapObject& Obj;
        ~PaintingGuard() { Obj.FPainting = false; }
    } Guard{*this};
    FPainting = true;
    Draw();
    if (FLayer && FLayer->AutoLabel()) DrawAutoLabel();
}

namespace {

// The extent of the part whose extent has the largest area (as each part's
// list keeps it); Whole when there are fewer than two parts.
TBounds LargestPartBounds(const TParts* Parts, const TBounds& Whole) {
    if (!Parts || Parts->Count() < 2) return Whole;
    TBounds Best = Whole;
    double BestArea = -1;
    for (int I = 0; I < Parts->Count(); ++I) {
        const TMapPoints& P = Parts->Items(I)->Points();
        if (P.Count() == 0) continue;
        const double Area = (P.MaxX - P.MinX) * (P.MaxY - P.MinY);
        if (Area > BestArea) {
            BestArea = Area;
            Best = TBounds{P.MinX, P.MinY, P.MaxX, P.MaxY};
        }
    }
    return Best;
}

} // namespace

// Paint calls it only for an object of a layer that labels.
void TCustomMapObject::DrawAutoLabel() {
    TMapLayer* L = FLayer;
    if (!FMap || L->Fields().Count() == 0) return;
    int Index = L->LabelFieldIndex();
    if (Index < 0 || Index >= L->Fields().Count() || Index >= FRow.Count()) return;
    double Left, Top, Right, Bottom;
    FMap->ScreenToMap(0, 0, Left, Top);
    FMap->ScreenToMap(FMap->ClientWidth(), FMap->ClientHeight(), Right, Bottom);
    if (!WithinRect(Left, Bottom, Right, Top)) return;
    const TLabelSettings& Settings = L->LabelSettings();
    double AX, AY;
    if (const TMapPoint* P = SinglePoint()) {
        AX = P->X;
        AY = P->Y;
    } else {
        TBounds B = GetBounds();
        if (Settings.Anchor == laLargestPart) B = LargestPartBounds(FGeometry.Parts(), B);
        AX = (B.MaxX + B.MinX) / 2;
        AY = (B.MaxY + B.MinY) / 2;
    }
    int SX, SY;
    FMap->MapToScreen(AX, AY, SX, SY, false);
    TCanvas* C = FMap->Canvas();
    C->Brush()->SetStyle(bsClear);
    C->SetFont(L->AutoLabelFont());
    std::string Text = FRow.Text(Index);
    const TRect Box = LabelBox(Settings, SX, SY, C->TextWidth(Text), C->TextHeight(Text));
    // Every label's room is recorded, so that labels which must not overlap
    // keep clear of it; those are placed after all layers in a full repaint,
    // or at once against what the last one placed.
    TLabelPlacer& Placer = FMap->LabelPlacer();
    if (Settings.Overlap) {
        Placer.Add(TLabelPlacer::Room(Settings, Box));
    } else if (Placer.Collecting()) {
        Placer.Defer(L, Box, std::move(Text));
        return;
    } else if (!Placer.TryAdd(TLabelPlacer::Room(Settings, Box))) {
        return;
    }
    TLabelPlacer::Draw(*C, *L, Box.Left, Box.Top, Text);
}

void TCustomMapObject::Draw() {
    // Displayed is what the picture shows: objects painted into it. Marks are
    // drawn over the picture, also of objects it does not show, and an object
    // on its way out is drawn (its marks erased) but never listed again.
    if (!FMap || !FPainting || FRemovalAnnounced || FDying) return;
    // A rebuild starts from an empty list and draws each object once; drawing
    // outside it (a new object, a selection highlight) must not list an
    // object twice.
    if (FMap->IsBusy() || !FMap->Displayed().Contains(this)) FMap->Displayed().Add(this);
}

void TCustomMapObject::DrawSelection() {
    if (FMap && FMap->ShowSelection()) PrepareCanvasAtributes();
}

void TCustomMapObject::PrepareCanvasAtributes() {
    TCanvas* C = FMap->Canvas();
    C->SetPen(FPen.Get());
    C->SetBrush(FBrush.Get());
    C->SetFont(FFont.Get());
    C->Brush()->SetStyle(bsSolid);
    if (FUseBGColor) {
        C->Brush()->SetColor(FBGColor ^ 0x800000);
        C->Pen()->SetColor(FPen->Color());
    } else {
        C->Brush()->SetColor(FBrush->Color() ^ 0x800000);
        C->Pen()->SetColor(FPen->Color() ^ 0x800000);
    }
    C->Pen()->SetMode(pmXor);
}

bool TCustomMapObject::ContainsPoint(double X, double Y) {
    const TBounds B = GetBounds();
    return B.MinX <= X && X <= B.MaxX && B.MinY <= Y && Y <= B.MaxY;
}

bool TCustomMapObject::ContainsRect(double X1, double Y1, double X2, double Y2) {
    return ContainsPoint(X1, Y1) && ContainsPoint(X2, Y1) && ContainsPoint(X2, Y2) &&
           ContainsPoint(X1, Y2);
}

bool TCustomMapObject::Intersects(TCustomMapObject* Obj) {
    return !Obj->AllPoints([this](const TMapPoint& Pt) { return !ContainsPoint(Pt.X, Pt.Y); });
}

bool TCustomMapObject::Contains(TCustomMapObject* Obj) {
    return Obj->AllPoints([this](const TMapPoint& Pt) { return ContainsPoint(Pt.X, Pt.Y); });
}

bool TCustomMapObject::Within(TCustomMapObject* Obj) {
    return Obj->Contains(this);
}

bool TCustomMapObject::WithinRect(double X1, double Y1, double X2, double Y2) {
    return AllPoints(
        [&](const TMapPoint& Pt) { return X1 <= Pt.X && Pt.X <= X2 && Y1 <= Pt.Y && Pt.Y <= Y2; });
}

namespace {

bool InBox(double X, double Y, double MinX, double MinY, double MaxX, double MaxY) {
    return MinX <= X && X <= MaxX && MinY <= Y && Y <= MaxY;
}

} // namespace

bool BoxIntersectsRect(const TBounds& Box, double X1, double Y1, double X2, double Y2) {
    // Apart on an axis: no corner of either lies in the other and no edges
    // cross, so the sixteen edge tests below are skipped. A layer without an
    // index asks this of every object on every repaint, and most are apart.
    if (Box.MinX <= Box.MaxX && Box.MinY <= Box.MaxY &&
        (Box.MaxX < std::min(X1, X2) || std::max(X1, X2) < Box.MinX ||
         Box.MaxY < std::min(Y1, Y2) || std::max(Y1, Y2) < Box.MinY))
        return false;
    const double R[4][2] = {{X1, Y1}, {X2, Y1}, {X2, Y2}, {X1, Y2}};
    const double B[4][2] = {
        {Box.MinX, Box.MinY}, {Box.MaxX, Box.MinY}, {Box.MaxX, Box.MaxY}, {Box.MinX, Box.MaxY}};
    for (const auto& C : R)
        if (InBox(C[0], C[1], Box.MinX, Box.MinY, Box.MaxX, Box.MaxY)) return true;
    for (const auto& C : B)
        if (InBox(C[0], C[1], X1, Y1, X2, Y2)) return true;
    // Cross-shaped overlaps: no corner of either lies in the other.
    TVectorOperations Edge;
    for (int I = 0; I < 4; ++I) {
        int J = (I + 1) % 4;
        Edge.SetVector(VectorEx(PointEx(B[I][0], B[I][1]), PointEx(B[J][0], B[J][1])));
        for (int K = 0; K < 4; ++K) {
            int L = (K + 1) % 4;
            TPointEx P;
            if (Edge.IsIntersected(VectorEx(PointEx(R[K][0], R[K][1]), PointEx(R[L][0], R[L][1])),
                                   P) &&
                Edge.IsPointInsideBoundsRect(P))
                return true;
        }
    }
    return false;
}

bool TCustomMapObject::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    return BoxIntersectsRect(GetBounds(), X1, Y1, X2, Y2);
}

size_t TCustomMapObject::MemoryUsed() const {
    // Shared tools are not counted: they belong to no object alone.
    size_t N = sizeof(*this);
    if (FBrush && !FBrush.Shared()) N += sizeof(TBrush);
    if (FFont && !FFont.Shared()) N += sizeof(TFont) + FFont->Name().capacity();
    if (FPen && !FPen.Shared()) N += sizeof(TPen);
    if (const TParts* L = FGeometry.Parts()) {
        N += sizeof(TParts) + L->DetailMemoryUsed();
        for (int I = 0; I < L->Count(); ++I)
            N += sizeof(TPart) - sizeof(TMapPoints) + L->Items(I)->Points().MemoryUsed();
    }
    N += FRow.MemoryUsed();
    return N;
}

} // namespace Mapobjects
