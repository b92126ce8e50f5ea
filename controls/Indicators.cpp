#include "controls/Indicators.h"

#include "platform/SysUtils.h"

#include <QImage>
#include <array>
#include <cstring>

namespace Mapobjects {

using namespace Platform;

namespace {

using TPicture = std::array<const char*, IndicatorHeight>;

// '.' is the transparent magenta; the rest are the 16-colour palette's.
constexpr TPicture Eye = {"................", "................", "................",
                          ".....kkkkkk.....", "...kkwwwwwwkk...", "..kwwwbbbbwwwk..",
                          ".kwwwbbkkbbwwwk.", "..kwwwbbbbwwwk..", "...kkwwwwwwkk...",
                          ".....kkkkkk.....", "................", "................",
                          "................"};
constexpr TPicture Pencil = {"................", "...........kkk..", "..........kyrrk.",
                             ".........kyyyrk.", "........kyyyyk..", ".......kyyyyk...",
                             "......kyyyyk....", ".....kyyyyk.....", "....kwyyyk......",
                             "....kwwyk.......", "...kwwkk........", "...kkk..........",
                             "................"};
constexpr TPicture Pointer = {"..k...k.........", "...k..k..k......", "................",
                              "kk...k..........", ".....kk.........", ".....kwk........",
                              ".....kwwk.......", ".....kwwwk......", ".....kwwwwk.....",
                              ".....kwwkkkk....", ".....kkkwk......", "........kwk.....",
                              ".........k......"};
constexpr TPicture Tag = {"................", "................", "....kkkkkkkkkkk.",
                          "...kyyyyyyyyyyk.", "..kyyyyyyyyyyyk.", ".kyykyyyyyyyyyk.",
                          ".kykwkyyyyyyyyk.", ".kyykyyyyyyyyyk.", "..kyyyyyyyyyyyk.",
                          "...kyyyyyyyyyyk.", "....kkkkkkkkkkk.", "................",
                          "................"};

TColor PaletteColor(char C) {
    switch (C) {
    case 'k':
        return clBlack;
    case 'w':
        return clWhite;
    case 'b':
        return clBlue;
    case 'y':
        return clYellow;
    case 'r':
        return clRed;
    default:
        return clFuchsia;
    }
}

// The "off" look: the drawing's brightness as a light grey, so it reads as
// switched off beside the coloured "on" picture.
TColor Greyed(TColor C) {
    const int Luma = (GetRValue(C) * 30 + GetGValue(C) * 59 + GetBValue(C) * 11) / 100;
    const int G = 96 + Luma / 2;
    return RGB(G, G, G);
}

} // namespace

std::unique_ptr<TBitmap> MakeIndicator(int Id) {
    if (Id < 0 || Id >= IndicatorCount) ListIndexError(Id);
    static const TPicture* const Pictures[] = {&Eye, &Pencil, &Pointer, &Tag};
    const TPicture& Rows = *Pictures[Id / 2];
    const bool Off = Id % 2 == 1;
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(IndicatorWidth, IndicatorHeight);
    QImage& Image = Bitmap->Image();
    for (int Y = 0; Y < IndicatorHeight; ++Y) {
        const char* Row = Rows[static_cast<size_t>(Y)];
        for (int X = 0; X < IndicatorWidth; ++X) {
            const char C = X < static_cast<int>(std::strlen(Row)) ? Row[X] : '.';
            TColor Color = PaletteColor(C);
            if (Off && C != '.') Color = Greyed(Color);
            Image.setPixel(X, Y, ToQColor(Color).rgb());
        }
    }
    // The top-left pixel names the transparent colour.
    Bitmap->SetTransparentMode(tmFixed);
    Bitmap->SetTransparentColor(FromQColor(QColor(Image.pixel(0, 0))));
    Bitmap->SetTransparent(true);
    return Bitmap;
}

} // namespace Mapobjects
