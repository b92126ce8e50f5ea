#pragma once
// The display style a workspace gives a layer. While in force it replaces
// the pens, brushes and text colours stored in the layer's table when the
// MapInfo provider loads it. A fresh record is all zero: black, solid.

#include "../platform/Graphics.h"
#include "ChartixExport.h"

#include <string>

namespace Mapobjects {

/// A layer's display style from a workspace, applied to its objects as they are loaded.
struct CHARTIX_EXPORT TMapStyle {
    /// Whether the style replaces the table's own; off in a fresh record.
    bool InForce = false;
    bool UseBGColor = false;                              ///< becomes the objects' UseBGColor
    Platform::TColor BGColor = 0;                         ///< becomes the objects' BGColor
    Platform::TColor BrushColor = 0;                      ///< becomes the objects' brush colour
    Platform::TBrushStyle BrushStyle = Platform::bsSolid; ///< becomes the objects' brush style
    Platform::TColor PenColor = 0;                        ///< becomes the objects' pen colour
    Platform::TPenStyle PenStyle = Platform::psSolid;     ///< becomes the objects' pen style
    int PenWidth = 0;                                     ///< becomes the objects' pen width
    std::string FontName;                                 ///< the font name of text objects
    Platform::TColor FontColor = 0;                       ///< the text colour of text objects
    Platform::TColor TextBGColor = 0;                     ///< the background colour of text objects
    /// Field-by-field comparison.
    bool operator==(const TMapStyle&) const = default;
};

} // namespace Mapobjects
