#pragma once
// MapInfo style numbers and their platform counterparts: colour integers
// (red * 65536 + green * 256 + blue), pen and brush pattern numbers, pen
// widths and font style bits. Kept in one place so that every MapInfo
// provider converts alike.

#include "platform/Graphics.h"

#include <cstdint>

namespace Mapobjects {

// Each component is capped at 255, so a value above 16777215 reads as red 255;
// negative values read as black.
Platform::TColor MifColorToColor(std::int64_t Value);
// System colours are resolved first.
std::int64_t ColorToMifColor(Platform::TColor Color);

// Pattern numbers as written: solid 2, clear 1, horizontal 3, vertical 4,
// backward diagonal 5, forward diagonal 6, cross 7, diagonal cross 8.
int MifBrushPattern(Platform::TBrushStyle Style);
// The reverse; MapInfo's many other fill patterns read as solid.
Platform::TBrushStyle BrushStyleFromMif(int Pattern);

// Solid 2, dash 12, dot 9, dash-dot 14, dash-dot-dot 20, clear 1.
int MifPenPattern(Platform::TPenStyle Style);
// The reverse; the other MapInfo line patterns go to the nearest style.
Platform::TPenStyle PenStyleFromMif(int Pattern);

// MapInfo widths 1-10 are pixels; from 11 on they are tenths of a point
// plus 10. The result is in pixels, at least 1.
int PenWidthFromMif(int Width);
// The reverse: widths up to 10 pixels as they are, wider ones in points.
int MifPenWidth(int Pixels);

// 1 bold, 2 italic, 4 underline; other bits (halo, shadow...) are dropped.
int MifFontStyle(Platform::TFontStyles Style);
Platform::TFontStyles FontStyleFromMif(int Value);

// A point without a Symbol clause is drawn by MapInfo with symbol 35 of its
// own (3.0 compatible) set, black, 12 points.
constexpr int NoClauseSymbolShape = 35;
Platform::TFont NoClauseSymbolFont();
// Whether a symbol's shape and font are those a point without a Symbol clause gets.
bool IsNoClauseSymbol(int Shape, const Platform::TFont& Font);

// A symbol's turn in degrees, counter-clockwise, as a font escapement (tenths
// of a degree, within one turn) and back.
int EscapementOf(double Degrees);
double AngleOfEscapement(int Escapement);

// The pattern number to write for a pen or brush: the number the object
// kept from its file (0 for none) while its tool still draws as that number
// does, else the number of the tool's style.
int PenPatternToWrite(int Kept, Platform::TPenStyle Style);
int BrushPatternToWrite(int Kept, Platform::TBrushStyle Style);
// A font symbol's style number: the kept one while the font's bold, italic
// and underline still say the same, else those of the font.
int SymbolStyleToWrite(int Kept, Platform::TFontStyles Style);

} // namespace Mapobjects
