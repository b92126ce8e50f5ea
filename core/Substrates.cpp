#include "core/Substrates.h"

#include "core/GeoRasters.h"
#include "core/MapObjects.h"
#include "core/GdalModule.h"
#include "objects/Shapes.h"
#include "platform/SysUtils.h"

namespace Mapobjects {

using namespace Platform;

TSubstrate::TSubstrate() = default;
TSubstrate::~TSubstrate() = default;

void TSubstrate::LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect) {
    FRect = std::move(Rect);
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->LoadFromFile(FileName);
    FBitmap = std::move(Bitmap);
    FCoordSys.clear(); // placed by hand
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

void TSubstrate::LoadGeoreferenced(const std::string& FileName, const std::string& TargetCoordSys) {
    const TGeoRasterReader* Reader = GeoRasterReader();
    if (!Reader)
        throw EFOpenError(Format("Cannot open file \"%s\". Georeferenced images need the GDAL "
                                 "module, and %s",
                                 FileName, GdalModuleProblem()));
    if (!FileExists(FileName))
        throw EFOpenError(Format("Cannot open file \"%s\". No such file or directory", FileName));
    TGeoRaster Raster;
    std::string Error;
    if (!Reader->Read(FileName, TargetCoordSys, Raster, Error) || !Raster.Bitmap)
        throw EInvalidGraphic(Format("%s: %s", FileName, Error));
    auto Rect = std::make_unique<TRectangle>();
    Rect->SetX0(Raster.X0);
    Rect->SetY0(Raster.Y0);
    Rect->SetX1(Raster.X1);
    Rect->SetY1(Raster.Y1);
    FRect = std::move(Rect);
    FBitmap = std::move(Raster.Bitmap);
    FCoordSys = Raster.CoordSys;
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

void TSubstrates::SetMap(TChartix* Map) {
    FMap = Map;
    for (TSubstrate* S : *this)
        S->SetMap(Map);
}

void TSubstrates::Notify(TSubstrate* Substrate, TListNotification Action) {
    if (Action == lnAdded)
        Substrate->SetMap(FMap);
    else if (Action == lnExtracted)
        Substrate->SetMap(nullptr);
}

TSubstrate* TSubstrates::Add(std::unique_ptr<TSubstrate> Substrate) {
    TSubstrate* S = TOwnerList::Add(std::move(Substrate));
    // The map paints at once; its bitmap is rebuilt only when it is stale.
    if (FMap) FMap->PaintNow();
    return S;
}

TSubstrate* TSubstrates::LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                                      double Height) {
    auto S = std::make_unique<TSubstrate>();
    S->LoadFromFile(FileName, X, Y, Width, Height);
    return Add(std::move(S));
}

TSubstrate* TSubstrates::LoadFromFile(const std::string& FileName,
                                      std::unique_ptr<TRectangle> Rect) {
    auto S = std::make_unique<TSubstrate>();
    S->LoadFromFile(FileName, std::move(Rect));
    return Add(std::move(S));
}

TSubstrate* TSubstrates::LoadGeoreferenced(const std::string& FileName) {
    auto S = std::make_unique<TSubstrate>();
    S->LoadGeoreferenced(FileName, FMap ? FMap->CoordSys() : std::string());
    // The first placed thing with a system gives the map its system, as a layer would.
    if (FMap && FMap->CoordSys().empty() && !S->CoordSys().empty())
        FMap->SetCoordSys(S->CoordSys());
    return Add(std::move(S));
}

std::unique_ptr<TSubstrate> TSubstrates::Remove(TSubstrate* Substrate) {
    return Extract(IndexOf(Substrate)); // EListError when absent
}

void TSubstrates::Paint() {
    for (int I = 0; I < Count(); ++I)
        Get(I)->Paint();
}

} // namespace Mapobjects
