#pragma once
// Symbols drawn at the cost of a copy. Each look a symbol can have (font
// name, size, style and turn, and the character code) is drawn once through
// the canvas into a mask; every symbol with that look copies the mask in its
// own colour. The sprites are process-wide: a look draws the same on every
// map.

#include "platform/Graphics.h"
#include "platform/Mask.h"
#include "platform/Types.h"

#include <string>

namespace Platform {
class TCanvas;
class TBitmap;
} // namespace Platform

namespace Mapobjects {

struct TSymbolSprite {
    int Width = 0, Height = 0; // TextWidth and TextHeight of the glyph in the font
    Platform::TMask Mask;      // the drawn pixels, origin at the anchor's pixel
};

// The glyph box of a symbol whose anchor is at pixel P: the glyph's width
// and height centred on P, halves rounded toward zero.
inline Platform::TRect SymbolBox(Platform::TPoint P, int Width, int Height) {
    return Platform::TRect{P.X - Width / 2, P.Y - Height / 2, P.X + Width / 2, P.Y + Height / 2};
}

// The sprite of character Code in Font, drawn on first use; null when sprites
// are off or the glyph is too large to keep (it is drawn directly then). Valid
// until the next call.
const TSymbolSprite* SymbolSprite(const Platform::TFont& Font, int Code);

// Draws character Code of the canvas font in the glyph box Box, straight
// through the canvas: map symbol fonts that are not installed as shapes,
// others as text.
void DrawSymbolDirect(Platform::TCanvas* Canvas, int Code, const Platform::TRect& Box);

// The picture of a picture symbol from the image file Path (BMP or PNG,
// also found under its name in lower or upper case), Size points high, with
// the symbol's style number and colour applied; null when there is no such
// readable file. Valid until the next call.
const Platform::TBitmap* SymbolPicture(const std::string& Path, int Size, int Style,
                                       Platform::TColor Color);

// Sprites are on by default; off, every symbol is drawn directly (for
// comparing the two).
void SetSymbolSpritesEnabled(bool V);
bool SymbolSpritesEnabled();

} // namespace Mapobjects
