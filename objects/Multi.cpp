#include "objects/Multi.h"

#include "core/MapObjects.h"
#include "objects/DetailLevels.h"
#include "objects/PolySplitter.h"
#include "objects/Polys.h"
#include "objects/SymbolSprites.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {

// Calls Fn(point) for each point of the parts from First on; stops when it
// answers true, and tells whether one did.
template <class F> bool AnyPointFrom(const TParts& Parts, int First, F&& Fn) {
    for (int I = std::max(First, 0); I < Parts.Count(); ++I)
        for (const TMapPoint& P : std::as_const(Parts.Items(I)->Points()))
            if (Fn(P)) return true;
    return false;
}

} // namespace

// --- the symbols of both kinds --------------------------------------------------------

void TMultiSymbolObject::DrawSymbols(int First) {
    TChartix* M = Map();
    if (!M || FShape == 31) return;
    TCanvas* C = M->Canvas();
    // Paint has made the object's font the canvas font, as for a symbol.
    const TSymbolSprite* Sprite = SymbolSprite(*ReadFont(), FShape);
    const int W = Sprite ? Sprite->Width : C->TextWidth(std::string(1, char(FShape & 0xFF)));
    const int H = Sprite ? Sprite->Height : C->TextHeight(std::string(1, char(FShape & 0xFF)));
    const bool Marked = !M->FastSelection() && GetSelected();
    AnyPointFrom(Parts(), First, [&](const TMapPoint& A) {
        TPoint P;
        M->MapToScreen(A.X, A.Y, P.X, P.Y, false);
        const TRect Box = SymbolBox(P, W, H);
        if (Marked) {
            C->Brush()->SetBitmap(M->SelectionPattern());
            C->FillRect(Box);
        }
        if (Sprite) {
            C->DrawMask(P.X, P.Y, Sprite->Mask, ReadFont()->Color());
        } else {
            C->Brush()->SetStyle(bsClear);
            DrawSymbolDirect(C, FShape, Box);
        }
        return false;
    });
    C->Brush()->SetStyle(bsSolid);
}

void TMultiSymbolObject::DrawSymbolBoxes(int First) {
    TChartix* M = Map();
    TCanvas* C = M->Canvas();
    const std::string Glyph(1, static_cast<char>(FShape & 0xFF));
    const int W = C->TextWidth(Glyph), H = C->TextHeight(Glyph);
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(ReadFont()->Color());
    AnyPointFrom(Parts(), First, [&](const TMapPoint& A) {
        TPoint P;
        M->MapToScreen(A.X, A.Y, P.X, P.Y, false);
        C->Rectangle(SymbolBox(P, W, H));
        return false;
    });
    C->Pen()->SetMode(pmCopy);
}

bool TMultiSymbolObject::HitsSymbol(double X, double Y, int First) const {
    TChartix* M = Map();
    if (!M) return AnyPointFrom(Parts(), First, [](const TMapPoint&) { return true; });
    int QX, QY;
    M->MapToScreen(X, Y, QX, QY, false);
    // The font size in points taken as pixels, as a symbol's hit box.
    const long long D = ReadFont()->Size() / 2 + 2;
    return AnyPointFrom(Parts(), First, [&](const TMapPoint& A) {
        int AX, AY;
        M->MapToScreen(A.X, A.Y, AX, AY, false);
        return std::llabs(static_cast<long long>(QX) - AX) <= D &&
               std::llabs(static_cast<long long>(QY) - AY) <= D;
    });
}

bool TMultiSymbolObject::PointInRect(double X1, double Y1, double X2, double Y2, int First) const {
    return AnyPointFrom(Parts(), First, [&](const TMapPoint& P) {
        return X1 <= P.X && P.X <= X2 && Y1 <= P.Y && P.Y <= Y2;
    });
}

// --- TMultiPoint --------------------------------------------------------------------------

void TMultiPoint::AddPoint(double X, double Y) {
    TParts& L = Parts();
    if (L.Count() == 0) L.Add();
    L.GetLast()->Points().Add(X, Y);
}

void TMultiPoint::Draw() {
    TCustomMapObject::Draw();
    DrawSymbols(0);
}

void TMultiPoint::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    DrawSymbolBoxes(0);
}

bool TMultiPoint::ContainsPoint(double X, double Y) {
    return HitsSymbol(X, Y, 0);
}

bool TMultiPoint::Intersects(TCustomMapObject* Obj) {
    return AnyPointFrom(Parts(), 0,
                        [Obj](const TMapPoint& P) { return Obj->ContainsPoint(P.X, P.Y); });
}

bool TMultiPoint::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    return PointInRect(X1, Y1, X2, Y2, 0);
}

// --- TCollectionObject --------------------------------------------------------------------

int TCollectionObject::RingCount() const {
    return std::clamp(FRings, 0, Parts().Count());
}

int TCollectionObject::SectionCount() const {
    return std::clamp(FSections, 0, Parts().Count() - RingCount());
}

int TCollectionObject::PointCount() const {
    int N = 0;
    for (int I = FirstPointPart(); I < Parts().Count(); ++I)
        N += Parts().Items(I)->Points().Count();
    return N;
}

void TCollectionObject::FitGroups() {
    FRings = RingCount();
    FSections = SectionCount();
}

TMapPoints& TCollectionObject::AddRing() {
    FitGroups();
    return Parts().Insert(FRings++)->Points();
}

TMapPoints& TCollectionObject::AddSection() {
    FitGroups();
    return Parts().Insert(FRings + FSections++)->Points();
}

void TCollectionObject::AddPoint(double X, double Y) {
    FitGroups();
    TParts& L = Parts();
    if (L.Count() == FirstPointPart()) L.Add();
    L.GetLast()->Points().Add(X, Y);
}

TBounds TCollectionObject::ShapeBounds() const {
    TBounds B;
    const TParts& L = Parts();
    for (int I = 0; I < FirstPointPart(); ++I)
        for (const TMapPoint& P : std::as_const(L.Items(I)->Points())) {
            B.MinX = std::min(B.MinX, P.X);
            B.MinY = std::min(B.MinY, P.Y);
            B.MaxX = std::max(B.MaxX, P.X);
            B.MaxY = std::max(B.MaxY, P.Y);
        }
    return B;
}

void TCollectionObject::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M) return;
    // Fills first, lines over them, symbols on top: as MapInfo stacks them.
    DrawRings(*this, 0, RingCount());
    DrawSections(!GetSelected() || M->FastSelection());
    DrawSymbols(FirstPointPart());
}

void TCollectionObject::DrawSections(bool Plain) {
    TChartix* M = Map();
    TCanvas* C = M->Canvas();
    // The selection's pen and the XOR highlight stay as they are set.
    std::unique_ptr<TPen> Saved;
    if (Plain && FLinePen) {
        Saved = std::make_unique<TPen>();
        Saved->Assign(*C->Pen());
        C->Pen()->Assign(*FLinePen);
    }
    const TPartsOnScreen OnScreen(Parts(), *M);
    OnScreen.ForEach(FirstSection(), FirstPointPart(), [C](const std::vector<TPoint>& Pts) {
        if (Pts.size() >= 2) C->Polyline(Pts.data(), static_cast<int>(Pts.size()));
    });
    if (Saved) C->Pen()->Assign(*Saved);
}

void TCollectionObject::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    // The rings and lines inverted as a region's are, then the symbols' boxes.
    DrawRings(*this, 0, RingCount());
    DrawSections(false);
    DrawSymbolBoxes(FirstPointPart());
}

bool TCollectionObject::ContainsPoint(double X, double Y) {
    const TBounds B = ShapeBounds();
    if (B.MinX <= X && X <= B.MaxX && B.MinY <= Y && Y <= B.MaxY) return true;
    return HitsSymbol(X, Y, FirstPointPart());
}

bool TCollectionObject::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    const TBounds B = ShapeBounds();
    if (B.MinX <= B.MaxX && BoxIntersectsRect(B, X1, Y1, X2, Y2)) return true;
    return PointInRect(X1, Y1, X2, Y2, FirstPointPart());
}

} // namespace Mapobjects
