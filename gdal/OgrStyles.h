#pragma once
// OGR feature styles ("PEN(c:#FF0000,w:2px);BRUSH(fc:#00FF00)") and the
// objects' pens, brushes and symbols: the colours and sizes both know, and
// nothing more.

#include "platform/Graphics.h"

#include <ogr_api.h>

#include <string>

namespace Mapobjects {
class TCustomMapObject;
}

namespace Mapobjects::Gdal {

/// What a feature's style string says of the tools.
struct TOgrStyle {
    bool Pen = false; ///< a PEN part was there
    Platform::TColor PenColor = Platform::clBlack;
    int PenWidth = 1;                                 ///< pixels, at least 1
    Platform::TPenStyle PenStyle = Platform::psSolid; ///< from the "ogr-pen-N" id
    /// A BRUSH part with a visible fill; without one the fill is clear.
    bool Brush = false;
    Platform::TColor BrushColor = Platform::clWhite;
    Platform::TBrushStyle BrushStyle = Platform::bsSolid; ///< from the "ogr-brush-N" id
    bool SymbolColor = false;                             ///< a SYMBOL part gave a colour
    Platform::TColor Symbol = Platform::clBlack;
    int SymbolSize = 0; ///< points; 0 when not given
};

/// Reads style strings, resolving "@name" through the style table it was given.
class TOgrStyleReader {
public:
    /// Table may be null (no named styles).
    explicit TOgrStyleReader(OGRStyleTableH Table);
    ~TOgrStyleReader();
    TOgrStyleReader(const TOgrStyleReader&) = delete;
    TOgrStyleReader& operator=(const TOgrStyleReader&) = delete;
    /// The style of Text; false when it has no part this library draws.
    bool Read(const char* Text, TOgrStyle& Style);

private:
    OGRStyleMgrH FManager;
    // Features in a row mostly share one string.
    std::string FLastText;
    TOgrStyle FLastStyle;
    bool FLastOk = false;
};

/// The style string of an object: its pen and brush, a symbol's colour and
/// size, a text's LABEL with its text, font, colour, height and angle.
std::string OgrStyleString(const TCustomMapObject& Object);

} // namespace Mapobjects::Gdal
