#pragma once
// Map symbol pictures for the symbol fonts this system does not have. Symbol
// objects name their glyph by a character code of a map symbol font ("MapInfo
// Symbol" and its relatives); without that font a fallback face would show
// punctuation, so the codes are drawn as map shapes instead: filled and hollow
// squares, diamonds, circles, stars and triangles, crosses, pins, flags,
// arrows and the like. The table is shared by symbols, the symbol tool and
// legends.

#include "platform/Graphics.h"

#include <vector>

namespace Platform {
class TCanvas;
}

namespace Mapobjects {

// Codes with a picture of their own; other codes draw a small dot.
//   32-37 filled square, diamond, circle, star, triangle up, triangle down
//   38-43 the same six hollow
//   44 plus, 45 X, 46 asterisk, 47 pin, 48 flag, 49 circle with plus,
//   50 circle with X, 51 double circle, 52 target, 53 house,
//   54-57 arrows up, down, left, right, 58/59 pentagon filled/hollow,
//   60/61 hexagon filled/hollow, 62 square with X, 63 square with dot,
//   64 half-filled circle, 65 diamond in square, 66 cross, 67 hourglass
constexpr int FirstSymbolGlyph = 32;
constexpr int LastSymbolGlyph = 67;

enum TGlyphFigureKind {
    gfPolygon, // closed outline through Points
    gfEllipse, // inside the box given by Points[0] and Points[1]
    gfLines    // separate segments: Points[0]-Points[1], Points[2]-Points[3], ...
};

struct TGlyphPoint {
    double X;
    double Y;
};

// One figure of a picture, in a unit box: -1..1 both ways, Y down.
struct TGlyphFigure {
    TGlyphFigureKind Kind;
    bool Filled; // filled with the colour; otherwise outline only (lines always)
    std::vector<TGlyphPoint> Points;
};

using TSymbolGlyph = std::vector<TGlyphFigure>;

// The picture of a character code (only its low byte counts, as for glyphs).
const TSymbolGlyph& SymbolGlyph(int Code);

// One of the map symbol font names the library uses by default.
bool IsMapSymbolFontName(const std::string& Name);

// True when Font is not installed, so its glyphs are to be drawn as shapes:
// the map symbol fonts' codes as their pictures, and any other font's as the
// picture of the same code where there is one, else a dot, rather than as a
// letter of whatever face stands in for the missing one.
bool NeedsSymbolGlyphShapes(const Platform::TFont& Font);

// Side in pixels of the square a shape fills: the font's em height, so that a
// 12-point symbol is 16 pixels across, as the real glyph would be; never more
// than Platform::MaxFontPixels, whatever the font's size.
int SymbolGlyphSize(const Platform::TFont& Font);

// Draws the picture of Code centred on (CX, CY), Size pixels across (at most
// Platform::MaxFontPixels), in Color. The canvas pen and brush are restored
// afterwards.
// Angle turns it counter-clockwise, in degrees.
void DrawSymbolGlyph(Platform::TCanvas* Canvas, int Code, int CX, int CY, int Size,
                     Platform::TColor Color, double Angle = 0);

} // namespace Mapobjects
