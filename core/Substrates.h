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

class CHARTIX_EXPORT TSubstrate : public Platform::TPersistent {
public:
    TSubstrate();
    ~TSubstrate() override;
    /// Takes the placement rectangle and loads the image (BMP or PNG).
    void LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect);
    void LoadFromFile(const std::string& FileName, double X, double Y, double Width, double Height);
    void Paint();
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* V) { FMap = V; }
    Platform::TBitmap* Bitmap() const { return FBitmap.get(); }
    TRectangle* Placement() const { return FRect.get(); }

private:
    std::unique_ptr<Platform::TBitmap> FBitmap;
    std::unique_ptr<TRectangle> FRect;
    TChartix* FMap = nullptr;
};

/// Owns its substrates; draws them index 0 first. A substrate in the list
/// draws on the list's map; one handed out draws nowhere.
class CHARTIX_EXPORT TSubstrates : public Platform::TOwnerList<TSubstrate> {
public:
    ~TSubstrates() override;
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map);
    /// Appends the substrate, then paints the map at once.
    TSubstrate* Add(std::unique_ptr<TSubstrate> Substrate);
    TSubstrate* LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                             double Height);
    TSubstrate* LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect);
    TSubstrate* GetSubstrate(int Index) const { return Get(Index); }
    /// Puts S at Index and hands the substrate that was there back.
    std::unique_ptr<TSubstrate> SetSubstrate(int Index, std::unique_ptr<TSubstrate> S) {
        return Put(Index, std::move(S));
    }
    /// Takes the substrate out and hands it back; EListError when absent.
    std::unique_ptr<TSubstrate> Remove(TSubstrate* Substrate);
    void Paint();

protected:
    void Notify(TSubstrate* Substrate, Platform::TListNotification Action) override;

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects
