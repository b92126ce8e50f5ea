#include "objects/Symbol.h"

#include "core/MapObjects.h"
#include "objects/SymbolGlyphs.h"
#include "objects/SymbolSprites.h"
#include "platform/Bitmap.h"
#include "platform/SysUtils.h"

#include <cstdlib>

namespace Mapobjects {

using namespace Platform;

namespace {
// The square with a cross of the built-in pictures.
constexpr int MissingPictureGlyph = 62;
} // namespace

TSymbol::TSymbol() {
    SetX(0);
    SetY(0);
}

bool TSymbol::HasAnchor() const {
    if (HasInlinePoint()) return true;
    return Parts().Count() > 0 && Parts().Items(0)->Points().Count() > 0;
}

TMapPoint& TSymbol::Anchor() {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Points = Parts().Items(0)->Points();
    if (Points.Count() == 0) return Points.Add(0, 0);
    return Points.GetPoint(0);
}

double TSymbol::X() {
    return AnchorPoint().X;
}
double TSymbol::Y() {
    return AnchorPoint().Y;
}

void TSymbol::SetPoint(double X, double Y) {
    SetSinglePoint(X, Y);
}

void TSymbol::SetX(double Value) {
    // A missing anchor is created at its final place, so the kept extent
    // starts from the right point; moving an existing one leaves the extent
    // (which an inline point, its own extent, cannot: it becomes a part).
    if (HasInlinePoint()) {
        if (InlineX() == Value) return;
    } else if (!HasPartList()) {
        SetSinglePoint(Value, 0);
        return;
    }
    if (!HasAnchor()) {
        if (Parts().Count() == 0) Parts().Add();
        Parts().Items(0)->Points().Add(Value, 0);
    }
    Anchor().X = Value;
}

void TSymbol::SetY(double Value) {
    if (HasInlinePoint()) {
        if (InlineY() == Value) return;
    } else if (!HasPartList()) {
        SetSinglePoint(0, Value);
        return;
    }
    if (!HasAnchor()) {
        if (Parts().Count() == 0) Parts().Add();
        Parts().Items(0)->Points().Add(0, Value);
    }
    Anchor().Y = Value;
}

std::string TSymbol::GlyphText() const {
    return std::string(1, static_cast<char>(FShape & 0xFF));
}

TRect TSymbol::GlyphBox() {
    TCanvas* C = Map()->Canvas();
    const std::string Glyph = GlyphText();
    const int W = C->TextWidth(Glyph), H = C->TextHeight(Glyph);
    AnchorPoint(); // made at (0, 0) when missing
    const TPoint P = GetPixels(0, 0);
    return SymbolBox(P, W, H);
}

void TSymbol::SetPicture(const std::string& FileName, int Style) {
    Font()->SetName(FileName);
    SetKeptSymbolStyle(Style);
    SetKeptFlag(true);
}

void TSymbol::DrawPicture() {
    TCanvas* C = Map()->Canvas();
    const TFont& F = *ReadFont();
    const std::string Dir = Layer() ? ExtractFilePath(Layer()->FileName()) : std::string();
    const TMapPoint A = AnchorPoint();
    TPoint P;
    Map()->MapToScreen(A.X, A.Y, P.X, P.Y, false);
    if (const TBitmap* Picture =
            SymbolPicture(Dir + F.Name(), F.Size(), KeptSymbolStyle(), F.Color())) {
        C->Draw(P.X - Picture->Width() / 2, P.Y - Picture->Height() / 2, Picture);
        return;
    }
    // The picture is not there: a crossed box says that something is.
    DrawSymbolGlyph(C, MissingPictureGlyph, P.X, P.Y, SymbolGlyphSize(F), F.Color());
}

void TSymbol::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || FShape == 31) return;
    if (IsPicture()) return DrawPicture();
    TCanvas* C = M->Canvas();
    // Paint has made the object's font the canvas font, which a direct
    // drawing measures and draws with.
    const TFont& F = *ReadFont();
    const TSymbolSprite* Sprite = SymbolSprite(F, FShape);
    const TMapPoint A = AnchorPoint();
    TPoint P;
    M->MapToScreen(A.X, A.Y, P.X, P.Y, false);
    // The box is needed only for a highlight or a glyph drawn directly.
    const bool Highlight = !M->FastSelection() && GetSelected();
    if (Highlight || !Sprite) {
        const TRect Box = Sprite ? SymbolBox(P, Sprite->Width, Sprite->Height) : GlyphBox();
        if (Highlight) {
            C->Brush()->SetBitmap(M->SelectionPattern());
            C->FillRect(Box);
        }
        if (!Sprite) {
            C->Brush()->SetStyle(bsClear);
            DrawSymbolDirect(C, FShape, Box);
        }
    }
    // A sprite is copied without the brush, which is left solid as a drawn
    // glyph leaves it; setting it clear and back for each would cost the
    // canvas two changes per symbol.
    if (Sprite) C->DrawMask(P.X, P.Y, Sprite->Mask, F.Color());
    C->Brush()->SetStyle(bsSolid);
}

void TSymbol::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    TCanvas* C = Map()->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(ReadFont()->Color());
    C->Rectangle(GlyphBox());
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetMode(pmCopy);
}

bool TSymbol::ContainsPoint(double X, double Y) {
    if (!Map()) return true;
    const TMapPoint A = AnchorPoint();
    int AX, AY, QX, QY;
    Map()->MapToScreen(A.X, A.Y, AX, AY, false);
    Map()->MapToScreen(X, Y, QX, QY, false);
    // The font size in points taken as pixels: a hit box that does not change
    // with the zoom. Wide, as the size may be anything an int holds.
    const long long D = ReadFont()->Size() / 2 + 2;
    return std::llabs(static_cast<long long>(QX) - AX) <= D &&
           std::llabs(static_cast<long long>(QY) - AY) <= D;
}

bool TSymbol::Intersects(TCustomMapObject* Obj) {
    const TMapPoint A = AnchorPoint();
    return Obj->ContainsPoint(A.X, A.Y);
}

bool TSymbol::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    const TMapPoint A = AnchorPoint();
    return X1 <= A.X && A.X <= X2 && Y1 <= A.Y && A.Y <= Y2;
}

bool TSymbol::WithinRect(double X1, double Y1, double X2, double Y2) {
    return IntersectsRect(X1, Y1, X2, Y2);
}

} // namespace Mapobjects
