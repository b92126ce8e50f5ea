#pragma once
// The display style a workspace gives a layer: pen, brush, symbol and font
// overrides that the MITAB provider applies when in force.

#include <string>

namespace Mapobjects {

struct TMapStyle {
    bool PenInForce = false;
    int PenWidth = 1, PenPattern = 2, PenColor = 0;
    bool BrushInForce = false;
    int BrushPattern = 2, BrushForeColor = 0xFFFFFF, BrushBackColor = -1;
    bool SymbolInForce = false;
    int SymbolShape = 35, SymbolColor = 0, SymbolSize = 12;
    std::string SymbolFont;
    bool FontInForce = false;
    std::string FontName;
    int FontStyle = 0, FontSize = 10, FontColor = 0;
};

} // namespace Mapobjects
