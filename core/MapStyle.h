#pragma once
// The display style a workspace gives a layer. While in force it replaces
// the pens, brushes and text colours stored in the layer's table when the
// MapInfo provider loads it. A fresh record is all zero: black, solid.

#include "../platform/Graphics.h"
#include "ChartixExport.h"

#include <string>

namespace Mapobjects {

struct CHARTIX_EXPORT TMapStyle {
    bool InForce = false;
    bool UseBGColor = false;      ///< becomes the objects' UseBGColor
    Platform::TColor BGColor = 0; ///< becomes the objects' BGColor
    Platform::TColor BrushColor = 0;
    Platform::TBrushStyle BrushStyle = Platform::bsSolid;
    Platform::TColor PenColor = 0;
    Platform::TPenStyle PenStyle = Platform::psSolid;
    int PenWidth = 0;
    std::string FontName;
    Platform::TColor FontColor = 0;   ///< the text colour of text objects
    Platform::TColor TextBGColor = 0; ///< the background colour of text objects
    bool operator==(const TMapStyle&) const = default;
};

} // namespace Mapobjects
