#pragma once
// Raster backgrounds: images placed on rectangles in map coordinates and drawn
// under the layers, stretched to wherever their rectangle falls on screen.

#include "../platform/Bitmap.h"
#include "../platform/Classes.h"
#include "ChartixExport.h"

#include <memory>
#include <string>

namespace Mapobjects {

class TChartix;
class TRectangle;

/// One raster background: an image and the rectangle, in map units, it is stretched over.
class CHARTIX_EXPORT TSubstrate : public Platform::TPersistent {
public:
    TSubstrate();
    ~TSubstrate() override;
    /// Takes the placement rectangle and loads the image (BMP or PNG).
    void LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect);
    /// Loads the image to cover the rectangle from (X, Y) to (X + Width, Y + Height),
    /// in map units. EFOpenError or EInvalidGraphic when the image cannot be read.
    void LoadFromFile(const std::string& FileName, double X, double Y, double Width, double Height);
    /// Loads a georeferenced image (a GeoTIFF or another raster GDAL reads, a PNG, JPEG,
    /// BMP or GIF with its world file) placed where it says it lies, warped into
    /// TargetCoordSys when that is known and differs from the image's own system.
    /// EFOpenError when the file is missing or the GDAL module is not found,
    /// EInvalidGraphic with the reader's reason when the file cannot be read or carries
    /// no georeferencing.
    void LoadGeoreferenced(const std::string& FileName, const std::string& TargetCoordSys);
    /// The coordinate system the placement is in, for a georeferenced image; empty for one
    /// placed by hand or an image whose system is unknown.
    const std::string& CoordSys() const { return FCoordSys; }
    /// Stretches the image over its rectangle's place on the map's canvas; nothing
    /// without a map, an image or a rectangle.
    void Paint();
    /// The map the substrate draws on (not owned); null for none.
    ///@{
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* V) { FMap = V; }
    ///@}
    /// The loaded image, owned by the substrate; null before a load.
    Platform::TBitmap* Bitmap() const { return FBitmap.get(); }
    /// The rectangle, in map units, that the image covers; owned, null before a load.
    TRectangle* Placement() const { return FRect.get(); }

private:
    std::unique_ptr<Platform::TBitmap> FBitmap;
    std::unique_ptr<TRectangle> FRect;
    TChartix* FMap = nullptr;
    std::string FCoordSys;
};

/// Owns its substrates; draws them index 0 first. A substrate in the list
/// draws on the list's map; one handed out draws nowhere.
class CHARTIX_EXPORT TSubstrates : public Platform::TOwnerList<TSubstrate> {
public:
    ~TSubstrates() override;
    /// The map the substrates draw on. Setting it passes it on to every substrate.
    ///@{
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map);
    ///@}
    /// Appends the substrate, then paints the map at once.
    TSubstrate* Add(std::unique_ptr<TSubstrate> Substrate);
    /// Makes a substrate from the image file, placed at (X, Y) with the given size in
    /// map units, and adds it as Add does. Nothing is added when the image cannot be read.
    TSubstrate* LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                             double Height);
    /// The same with the placement rectangle given, which the new substrate takes.
    TSubstrate* LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect);
    /// A substrate from a georeferenced image, placed in the map's coordinate system (the
    /// image warped into it when need be), added as Add does. A map without a system takes
    /// the image's. Nothing is added when the image cannot be read (the exceptions of
    /// TSubstrate::LoadGeoreferenced pass through).
    TSubstrate* LoadGeoreferenced(const std::string& FileName);
    /// The substrate at Index; EListError outside the list.
    TSubstrate* GetSubstrate(int Index) const { return Get(Index); }
    /// Puts S at Index and hands the substrate that was there back.
    std::unique_ptr<TSubstrate> SetSubstrate(int Index, std::unique_ptr<TSubstrate> S) {
        return Put(Index, std::move(S));
    }
    /// Takes the substrate out and hands it back; EListError when absent.
    std::unique_ptr<TSubstrate> Remove(TSubstrate* Substrate);
    /// Paints every substrate, index 0 first.
    void Paint();

protected:
    /// Gives an added substrate the list's map, and takes it from one handed out.
    void Notify(TSubstrate* Substrate, Platform::TListNotification Action) override;

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects
