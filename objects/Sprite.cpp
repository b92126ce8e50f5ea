#include "objects/Sprite.h"

#include "core/MapObjects.h"
#include "platform/ImageList.h"

namespace Mapobjects {

using namespace Platform;

TSprite::TSprite() {
    FGlyph.SetTransparent(true); // the colour is the glyph's own (automatic)
    SetX(0);
    SetY(0);
}

TSprite::~TSprite() = default;

TMapPoint& TSprite::Anchor() {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Points = Parts().GetFirst()->Points();
    if (Points.Count() == 0) Points.Add(0, 0);
    return Points.GetPoint(0);
}

double TSprite::X() {
    return Anchor().X;
}

double TSprite::Y() {
    return Anchor().Y;
}

// An invisible sprite stays off the window while its point or picture
// changes; only a visible one is erased and drawn again.
void TSprite::SetX(double Value) {
    if (FVisible) Hide();
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Points = Parts().GetFirst()->Points();
    if (Points.Count() > 0) {
        Points.GetPoint(0).X = Value;
        UpdateBounds();
    } else {
        Points.Add(Value, 0);
    }
    if (FVisible) Show();
}

void TSprite::SetY(double Value) {
    if (FVisible) Hide();
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Points = Parts().GetFirst()->Points();
    if (Points.Count() > 0) {
        Points.GetPoint(0).Y = Value;
        UpdateBounds();
    } else {
        Points.Add(0, Value);
    }
    if (FVisible) Show();
}

void TSprite::Move(double X, double Y) {
    if (FVisible) Hide();
    FMoving = true;
    SetX(X);
    SetY(Y);
    FMoving = false;
    if (FVisible) Show();
}

void TSprite::SetGlyph(const TBitmap* Bitmap) {
    if (FVisible) Hide();
    FGlyph.Assign(Bitmap);
    FGlyph.SetTransparent(true);
    if (FVisible) Show();
}

void TSprite::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    if (Value)
        Show();
    else
        Hide();
}

void TSprite::SetImageList(TImageList* List) {
    FImageList = List;
    GlyphChanged();
}

void TSprite::SetImageIndex(int Index) {
    SetVisible(false);
    FImageIndex = Index;
    if (FImageList) {
        FImageList->GetBitmap(Index, &FGlyph);
        FGlyph.SetTransparent(true);
    }
    GlyphChanged();
    SetVisible(true);
}

void TSprite::GlyphChanged(TObject*) {
    if (FVisible) Hide();
    if (FVisible) Show();
}

TRect TSprite::GlyphBox() {
    int SX, SY;
    Map()->MapToScreen(X(), Y(), SX, SY, false);
    const int W = FGlyph.Width(), H = FGlyph.Height();
    return TRect{SX - W / 2, SY - H / 2, SX - W / 2 + W, SY - H / 2 + H};
}

void TSprite::Show() {
    TChartix* M = Map();
    if (FMoving || !M) return;
    SaveBackground();
    const TRect Box = GlyphBox();
    M->Canvas()->Draw(Box.Left, Box.Top, &FGlyph);
    // Outside a repaint only the window changed: the map's picture is stale.
    if (!M->IsBusy()) M->SetModified(true);
}

void TSprite::Hide() {
    if (FMoving) return;
    RestoreBackground();
}

// The whole box is saved, also for odd sizes, so that what comes back is
// exactly what was there.
void TSprite::SaveBackground() {
    TChartix* M = Map();
    if (!M) return;
    const TRect Box = GlyphBox();
    FSavedBackground.SetSize(Box.Width(), Box.Height());
    FSavedBackground.Canvas()->CopyRect(TRect{0, 0, Box.Width(), Box.Height()}, M->Canvas(), Box);
}

void TSprite::RestoreBackground() {
    TChartix* M = Map();
    if (!M) return;
    const TBounds View = M->GetViewBounds();
    if (!IntersectsRect(View.MinX, View.MinY, View.MaxX, View.MaxY)) return;
    int SX, SY;
    M->MapToScreen(X(), Y(), SX, SY, false);
    M->Canvas()->Draw(SX - FSavedBackground.Width() / 2, SY - FSavedBackground.Height() / 2,
                      &FSavedBackground);
    if (!M->IsBusy()) M->SetModified(true);
}

void TSprite::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || !FVisible) return;
    double X1, Y1, X2, Y2;
    M->ScreenToMap(0, M->Height(), X1, Y1);
    M->ScreenToMap(M->Width(), 0, X2, Y2);
    if (WithinRect(X1, Y1, X2, Y2)) Show();
}

bool TSprite::ContainsPoint(double X, double Y) {
    TChartix* M = Map();
    if (!M) return false;
    int PX, PY, SX, SY;
    M->MapToScreen(X, Y, PX, PY, false);
    M->MapToScreen(this->X(), this->Y(), SX, SY, false);
    const int W = FGlyph.Width() / 2, H = FGlyph.Height() / 2;
    return SX - W <= PX && PX <= SX + W && SY - H <= PY && PY <= SY + H;
}

bool TSprite::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    TChartix* M = Map();
    if (!M) return false;
    int SX, SY;
    M->MapToScreen(X(), Y(), SX, SY, false);
    const int W = FGlyph.Width() / 2, H = FGlyph.Height() / 2;
    const TPoint Corners[] = {
        {SX - W, SY - H}, {SX + W, SY - H}, {SX + W, SY + H}, {SX - W, SY + H}};
    for (TPoint C : Corners) {
        double MX, MY;
        M->ScreenToMap(C.X, C.Y, MX, MY);
        if (X1 <= MX && MX <= X2 && Y1 <= MY && MY <= Y2) return true;
    }
    return false;
}

bool TSprite::WithinRect(double X1, double Y1, double X2, double Y2) {
    const double PX = X(), PY = Y();
    return X1 <= PX && PX <= X2 && Y1 <= PY && PY <= Y2;
}

} // namespace Mapobjects
