#pragma once
// The styles a map gives to every object entering one of its layers, and the
// defaults of the drawing tools for new symbols and texts.

#include "../platform/Graphics.h"
#include "ChartixExport.h"

#include <memory>

namespace Mapobjects {

class CHARTIX_EXPORT TChartixOptions : public Platform::TPersistent {
public:
    TChartixOptions();
    ~TChartixOptions() override;

    int DefaultSymbolShape() const { return FDefaultSymbolShape; }
    void SetDefaultSymbolShape(int V) { FDefaultSymbolShape = V; }
    Platform::TFont* DefaultSymbolFont() const { return FDefaultSymbolFont.get(); }
    Platform::TFont* DefaultTextFont() const { return FDefaultTextFont.get(); }
    Platform::TPen* DefaultPen() const { return FDefaultPen.get(); }
    Platform::TBrush* DefaultBrush() const { return FDefaultBrush.get(); }
    bool UseBGColor() const { return FUseBGColor; }
    void SetUseBGColor(bool V) { FUseBGColor = V; }
    Platform::TColor DefaultBGColor() const { return FDefaultBGColor; }
    void SetDefaultBGColor(Platform::TColor V) { FDefaultBGColor = V; }
    /// Object-valued setters take the new object and hand the old one back.
    std::unique_ptr<Platform::TFont> SetDefaultSymbolFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TFont> SetDefaultTextFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TPen> SetDefaultPen(std::unique_ptr<Platform::TPen> V);
    std::unique_ptr<Platform::TBrush> SetDefaultBrush(std::unique_ptr<Platform::TBrush> V);

private:
    int FDefaultSymbolShape = 58;
    std::unique_ptr<Platform::TFont> FDefaultSymbolFont;
    std::unique_ptr<Platform::TFont> FDefaultTextFont;
    std::unique_ptr<Platform::TPen> FDefaultPen;
    std::unique_ptr<Platform::TBrush> FDefaultBrush;
    bool FUseBGColor = false;
    Platform::TColor FDefaultBGColor = 0xFFFFFF;
};

} // namespace Mapobjects
