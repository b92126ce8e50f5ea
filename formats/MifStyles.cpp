#include "formats/MifStyles.h"

#include <algorithm>
#include <cmath>

namespace Mapobjects {

using namespace Platform;

TColor MifColorToColor(std::int64_t Value) {
    if (Value < 0) Value = 0;
    const int R = static_cast<int>(std::min<std::int64_t>(255, Value / 65536));
    const int G = static_cast<int>(std::min<std::int64_t>(255, (Value % 65536) / 256));
    const int B = static_cast<int>(std::min<std::int64_t>(255, Value % 256));
    return RGB(R, G, B);
}

std::int64_t ColorToMifColor(TColor Color) {
    const TColor C = ColorToRGB(Color);
    return std::int64_t(GetRValue(C)) * 65536 + GetGValue(C) * 256 + GetBValue(C);
}

int MifBrushPattern(TBrushStyle Style) {
    switch (Style) {
    case bsSolid:
        return 2;
    case bsClear:
        return 1;
    case bsHorizontal:
        return 3;
    case bsVertical:
        return 4;
    case bsFDiagonal:
        return 6;
    case bsBDiagonal:
        return 5;
    case bsCross:
        return 7;
    case bsDiagCross:
        return 8;
    }
    return 2;
}

TBrushStyle BrushStyleFromMif(int Pattern) {
    switch (Pattern) {
    case 1:
        return bsClear;
    case 3:
        return bsHorizontal;
    case 4:
        return bsVertical;
    case 5:
        return bsBDiagonal;
    case 6:
        return bsFDiagonal;
    case 7:
        return bsCross;
    case 8:
        return bsDiagCross;
    default:
        return bsSolid;
    }
}

int MifPenPattern(TPenStyle Style) {
    switch (Style) {
    case psSolid:
        return 2;
    case psDash:
        return 12;
    case psDot:
        return 9;
    case psDashDot:
        return 14;
    case psDashDotDot:
        return 20;
    case psClear:
        return 1;
    case psInsideFrame:
        return 2;
    }
    return 2;
}

TPenStyle PenStyleFromMif(int Pattern) {
    switch (Pattern) {
    case 1:
        return psClear;
    case 2:
        return psSolid;
    case 9:
        return psDot;
    case 12:
        return psDash;
    case 14:
        return psDashDot;
    case 20:
        return psDashDotDot;
    default:
        break;
    }
    // MapInfo's 3-11 are dotted lines, 13 and 15-19 dashed ones; the rest
    // (arrows, railways, double lines) draw best as a plain line.
    if (Pattern >= 3 && Pattern <= 11) return psDot;
    if (Pattern == 13 || (Pattern >= 15 && Pattern <= 19)) return psDash;
    return psSolid;
}

int PenWidthFromMif(int Width) {
    if (Width <= 10) return std::max(1, Width);
    const double Points = (Width - 10) / 10.0;
    return std::max(1, static_cast<int>(std::lround(Points * 96.0 / 72.0)));
}

int MifPenWidth(int Pixels) {
    if (Pixels <= 10) return Pixels;
    return 10 + static_cast<int>(std::lround(Pixels * 72.0 / 96.0 * 10));
}

int MifFontStyle(TFontStyles Style) {
    int Result = 0;
    if (Style & fsBold) Result += 1;
    if (Style & fsItalic) Result += 2;
    if (Style & fsUnderline) Result += 4;
    return Result;
}

TFontStyles FontStyleFromMif(int Value) {
    TFontStyles Result = 0;
    if (Value & 1) Result |= fsBold;
    if (Value & 2) Result |= fsItalic;
    if (Value & 4) Result |= fsUnderline;
    return Result;
}

TFont NoClauseSymbolFont() {
    TFont Font;
    Font.SetName("MapInfo Symbol");
    Font.SetColor(clBlack);
    Font.SetSize(12);
    return Font;
}

bool IsNoClauseSymbol(int Shape, const TFont& Font) {
    static const TFont Plain = NoClauseSymbolFont();
    return Shape == NoClauseSymbolShape && Font.Equals(Plain);
}

int EscapementOf(double Degrees) {
    if (!std::isfinite(Degrees)) return 0;
    const int Tenths = static_cast<int>(std::lround(std::fmod(Degrees, 360.0) * 10));
    return Tenths < 0 ? Tenths + 3600 : Tenths;
}

double AngleOfEscapement(int Escapement) {
    return Escapement / 10.0;
}

int PenPatternToWrite(int Kept, TPenStyle Style) {
    return Kept > 0 && PenStyleFromMif(Kept) == Style ? Kept : MifPenPattern(Style);
}

int BrushPatternToWrite(int Kept, TBrushStyle Style) {
    return Kept > 0 && BrushStyleFromMif(Kept) == Style ? Kept : MifBrushPattern(Style);
}

int SymbolStyleToWrite(int Kept, TFontStyles Style) {
    return FontStyleFromMif(Kept) == (Style & (fsBold | fsItalic | fsUnderline))
               ? Kept
               : MifFontStyle(Style);
}

} // namespace Mapobjects
