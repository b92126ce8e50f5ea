#pragma once
// Raster backgrounds: images placed on rectangles in map coordinates and drawn
// under the layers, stretched to wherever their rectangle falls on screen.

#include "platform/Bitmap.h"
#include "platform/Classes.h"

#include <memory>
#include <string>

namespace Mapobjects {

class TChartix;
class TRectangle;

class TSubstrate : public Platform::TPersistent {
public:
    TSubstrate();
    ~TSubstrate() override;
    // Takes the placement rectangle and loads the image (BMP or PNG).
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

// Owns its substrates; draws them index 0 first.
class TSubstrates : public Platform::TList<TSubstrate> {
public:
    ~TSubstrates() override;
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* V) { FMap = V; }
    TSubstrate* Add(TSubstrate* Substrate);
    TSubstrate* LoadFromFile(const std::string& FileName, double X, double Y, double Width,
                             double Height);
    TSubstrate* LoadFromFile(const std::string& FileName, std::unique_ptr<TRectangle> Rect);
    TSubstrate* GetSubstrate(int Index) const { return Get(Index); }
    void SetSubstrate(int Index, TSubstrate* S) { Put(Index, S); }
    // Takes the entry out without freeing it; EListError when absent.
    void Remove(TSubstrate* Substrate);
    void Clear() override;
    void Paint();

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects
