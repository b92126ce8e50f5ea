#include "core/Substrates.h"

#include "core/MapObjects.h"
#include "objects/Shapes.h"

namespace Mapobjects {

using namespace Platform;

TSubstrate::TSubstrate() = default;
TSubstrate::~TSubstrate() = default;

void TSubstrate::LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect) {
    FRect = std::move(Rect);
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromFile(FileName);
    FBitmap = std::move(Bitmap);
}

void TSubstrate::LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                              double Height) {
    auto Rect = std::make_unique<TRectangle>();
    Rect->SetX0(X);
    Rect->SetY0(Y);
    Rect->SetX1(X + Width);
    Rect->SetY1(Y + Height);
    LoadFromFile(FileName, std::move(Rect));
}

void TSubstrate::Paint() {
    if (!FMap || !FBitmap || !FRect) return;
    int X0, Y0, X1, Y1;
    FMap->MapToScreen(FRect->X0(), FRect->Y0(), X0, Y0, false);
    FMap->MapToScreen(FRect->X1(), FRect->Y1(), X1, Y1, false);
    TRect R{std::min(X0, X1), std::min(Y0, Y1), std::max(X0, X1), std::max(Y0, Y1)};
    FMap->Canvas()->StretchDraw(R, FBitmap.get());
}

TSubstrates::~TSubstrates() {
    Clear();
}

TSubstrate* TSubstrates::Add(TSubstrate* Substrate) {
    Substrate->SetMap(FMap);
    TList::Add(Substrate);
    // The map paints at once; its bitmap is rebuilt only when it is stale.
    if (FMap) FMap->PaintNow();
    return Substrate;
}

TSubstrate* TSubstrates::LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                                      double Height) {
    auto S = std::make_unique<TSubstrate>();
    S->LoadFromFile(FileName, X, Y, Width, Height);
    return Add(S.release());
}

TSubstrate* TSubstrates::LoadFromFile(const std::string& FileName,
                                      std::unique_ptr<TRectangle> Rect) {
    auto S = std::make_unique<TSubstrate>();
    S->LoadFromFile(FileName, std::move(Rect));
    return Add(S.release());
}

void TSubstrates::Remove(TSubstrate* Substrate) {
    int I = IndexOf(Substrate);
    Delete(I); // EListError when absent
}

void TSubstrates::Clear() {
    while (Count() > 0) {
        TSubstrate* S = Get(0);
        TList::Delete(0);
        delete S;
    }
}

void TSubstrates::Paint() {
    for (int I = 0; I < Count(); ++I)
        Get(I)->Paint();
}

} // namespace Mapobjects
