// Symbols drawn from sprites look exactly as symbols drawn directly.
#include "objects/SymbolSprites.h"
#include "objects/Symbol.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

#include <QImage>

using namespace Mapobjects;
using namespace Platform;
using SymbolSprites = Testing::MapFixture;

namespace {

struct TSpritesOff {
    TSpritesOff() { SetSymbolSpritesEnabled(false); }
    ~TSpritesOff() { SetSymbolSpritesEnabled(true); }
};

} // namespace

TEST_F(SymbolSprites, SymbolsFromSpritesMatchSymbolsDrawnDirectly) {
    Map.SetColor(RGB(200, 210, 220));
    TMapLayer* Layer = Map.Layers().Add("", "symbols");
    struct TLook {
        const char* Font;
        int Size;
        TFontStyles Style;
        int Escapement;
    };
    // Shapes of the missing map symbol font, and real glyphs of installed
    // ones; looks that differ in one thing only follow each other.
    const TLook Looks[] = {{"MapInfo Symbol", 8, 0, 0},  {"MapInfo Symbol", 12, 0, 0},
                           {"MapInfo Symbol", 30, 0, 0}, {"MapInfo Cartographic", 12, 0, 0},
                           {"DejaVu Sans", 12, 0, 0},    {"DejaVu Sans", 12, fsBold | fsItalic, 0},
                           {"DejaVu Sans", 12, 0, 450},  {"DejaVu Serif", 12, fsUnderline, 2700}};
    const TColor Colours[] = {clRed, clNavy, clBlack, clWhite, RGB(10, 200, 30)};
    const int Codes[] = {32, 35, 38, 44, 47, 50, 53, 58, 64, 67, 200, 'H', 'g', 0xE9};
    int N = 0;
    for (const TLook& L : Looks) {
        for (int Code : Codes) {
            auto* S = Layer->NewObject<TSymbol>();
            Testing::SetFont(S->Font(), L.Font, L.Size, Colours[N % 5], L.Style);
            S->Font()->SetEscapement(L.Escapement);
            S->SetShape(Code);
            // A grid of 14 x 8 over the view, its outer symbols cut by the edges.
            Testing::Place(S, -180 + 360.0 * (N % 14) / 13, 90 - 180.0 * (N / 14) / 7);
            S->UpdateBounds();
            ++N;
        }
    }
    // A selected one with the selection pattern under it.
    Map.SetFastSelection(false);
    Layer->Objects(40)->Select();

    ASSERT_NE(SymbolSprite(*Layer->Objects(0)->Font(), 35), nullptr);
    Map.PaintMapToBitmap();
    const QImage FromSprites = Map.MapBitmap()->Image().copy();
    {
        TSpritesOff Off;
        EXPECT_EQ(SymbolSprite(*Layer->Objects(0)->Font(), 35), nullptr);
        Map.PaintMapToBitmap();
    }
    const QImage Direct = Map.MapBitmap()->Image().copy();
    EXPECT_EQ(Map.Displayed().Count(), N);
    ASSERT_EQ(FromSprites.size(), Direct.size());
    int Differ = 0, Ink = 0;
    const QRgb Back = FromSprites.pixel(0, 0) == Direct.pixel(0, 0) ? qRgb(200, 210, 220) : 0;
    for (int Y = 0; Y < Direct.height(); ++Y)
        for (int X = 0; X < Direct.width(); ++X) {
            Differ += FromSprites.pixel(X, Y) != Direct.pixel(X, Y);
            Ink += (Direct.pixel(X, Y) & 0xFFFFFFu) != (Back & 0xFFFFFFu);
        }
    EXPECT_EQ(Differ, 0);
    EXPECT_GT(Ink, 20 * N); // the symbols were drawn at all

    // Glyphs too large to keep are drawn directly.
    TFont Huge;
    Huge.SetName("DejaVu Sans");
    Huge.SetSize(400);
    EXPECT_EQ(SymbolSprite(Huge, 'H'), nullptr);
}
