#pragma once
// The styles a map gives to every object entering one of its layers, and the
// defaults of the drawing tools for new symbols and texts.

#include "../platform/Graphics.h"
#include "ChartixExport.h"

#include <memory>

namespace Mapobjects {

/// The drawing defaults of a map: the pen, brush, background and font that every object
/// added to one of its layers receives, and the defaults for new symbols.
class CHARTIX_EXPORT TChartixOptions : public Platform::TPersistent {
public:
    TChartixOptions();
    ~TChartixOptions() override;

    /// The glyph code of the symbol font for new symbols; 58 by default. The library
    /// only keeps this value; it does not apply it to objects.
    ///@{
    int DefaultSymbolShape() const { return FDefaultSymbolShape; }
    void SetDefaultSymbolShape(int V) { FDefaultSymbolShape = V; }
    ///@}
    /// The font given to added objects that are not texts ("MapInfo Cartographic", 12,
    /// navy, by default); owned here.
    Platform::TFont* DefaultSymbolFont() const { return FDefaultSymbolFont.get(); }
    /// The font given to added texts ("Courier New", 12, by default); owned here.
    Platform::TFont* DefaultTextFont() const { return FDefaultTextFont.get(); }
    /// The pen given to added objects; owned here.
    Platform::TPen* DefaultPen() const { return FDefaultPen.get(); }
    /// The brush given to added objects; owned here.
    Platform::TBrush* DefaultBrush() const { return FDefaultBrush.get(); }
    /// Whether added objects fill their background (off by default).
    ///@{
    bool UseBGColor() const { return FUseBGColor; }
    void SetUseBGColor(bool V) { FUseBGColor = V; }
    ///@}
    /// Whether the map draws its objects antialiased: smooth lines, outlines and text (off by
    /// default, the pixel-exact drawing). Rubber bands and selection marks stay exact.
    ///@{
    bool Antialiasing() const { return FAntialiasing; }
    void SetAntialiasing(bool V) { FAntialiasing = V; }
    ///@}
    /// Whether big lines and rings are drawn from simplified copies at small scales
    /// (off by default). Used only while the map generalizes: a copy is drawn when each
    /// point it leaves out lies within half the generalization distance of its outline,
    /// so the picture moves less than generalization itself moves it. The copies are
    /// made on first paint and dropped when the object's points change.
    ///@{
    bool LevelOfDetail() const { return FLevelOfDetail; }
    void SetLevelOfDetail(bool V) { FLevelOfDetail = V; }
    ///@}
    /// Whether a layer loaded in another known coordinate system than the map's is
    /// reprojected into the map's (off by default: objects keep the numbers their file
    /// gives). Needs the GDAL module; the map takes the first known system either way.
    ///@{
    bool ReprojectLayers() const { return FReprojectLayers; }
    void SetReprojectLayers(bool V) { FReprojectLayers = V; }
    ///@}
    /// The background colour given to added objects; white by default.
    ///@{
    Platform::TColor DefaultBGColor() const { return FDefaultBGColor; }
    void SetDefaultBGColor(Platform::TColor V) { FDefaultBGColor = V; }
    ///@}
    /// Replace a drawing tool: the options take ownership of V and hand the old one back.
    /// Objects already added keep their own copies.
    ///@{
    std::unique_ptr<Platform::TFont> SetDefaultSymbolFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TFont> SetDefaultTextFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TPen> SetDefaultPen(std::unique_ptr<Platform::TPen> V);
    std::unique_ptr<Platform::TBrush> SetDefaultBrush(std::unique_ptr<Platform::TBrush> V);
    ///@}

private:
    int FDefaultSymbolShape = 58;
    std::unique_ptr<Platform::TFont> FDefaultSymbolFont;
    std::unique_ptr<Platform::TFont> FDefaultTextFont;
    std::unique_ptr<Platform::TPen> FDefaultPen;
    std::unique_ptr<Platform::TBrush> FDefaultBrush;
    bool FUseBGColor = false;
    bool FAntialiasing = false;
    bool FLevelOfDetail = false;
    bool FReprojectLayers = false;
    Platform::TColor FDefaultBGColor = 0xFFFFFF;
};

} // namespace Mapobjects
