#include "objects/SymbolSprites.h"

#include "objects/SymbolGlyphs.h"
#include "platform/Bitmap.h"

#include "platform/SysUtils.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Mapobjects {

using namespace Platform;

namespace {

// Glyphs larger than this (width plus height, in pixels) are drawn directly:
// few symbols are so large, and their masks would be.
constexpr int LargestSprite = 400;
// A bound on the looks kept; past it the sprites start afresh.
constexpr size_t MostSprites = 4096;

bool Enabled = true;

// What makes two symbols look different, colour aside.
template <class Text> struct TLook {
    Text Name;
    int Size;
    TFontStyles Style;
    int Escapement;
    int Code;
};
using TKey = TLook<std::string>;
using TKeyView = TLook<std::string_view>;

TKeyView ViewOf(const TFont& Font, int Code) {
    return {Font.Name(), Font.Size(), Font.Style(), Font.Escapement(), Code & 0xFF};
}

struct THash {
    using is_transparent = void;
    template <class Text> size_t operator()(const TLook<Text>& K) const {
        size_t H = std::hash<std::string_view>()(std::string_view(K.Name));
        for (size_t Part : {size_t(K.Size), size_t(K.Style), size_t(K.Escapement), size_t(K.Code)})
            H = H * 1000003u ^ Part;
        return H;
    }
};

struct TEqual {
    using is_transparent = void;
    template <class A, class B> bool operator()(const TLook<A>& X, const TLook<B>& Y) const {
        return X.Size == Y.Size && X.Style == Y.Style && X.Escapement == Y.Escapement &&
               X.Code == Y.Code && std::string_view(X.Name) == std::string_view(Y.Name);
    }
};

using TSprites = std::unordered_map<TKey, std::unique_ptr<TSymbolSprite>, THash, TEqual>;

TSprites& Sprites() {
    static TSprites S;
    return S;
}

std::string GlyphText(int Code) {
    return std::string(1, static_cast<char>(Code & 0xFF));
}

// Draws the glyph white on black through the same canvas calls as a direct
// drawing, with room for any turn, and keeps its pixels.
std::unique_ptr<TSymbolSprite> Render(const TFont& Font, int Code) {
    static TBitmap Scratch;
    TCanvas* C = Scratch.Canvas();
    C->SetFont(&Font);
    C->Font()->SetColor(clWhite);
    auto Sprite = std::make_unique<TSymbolSprite>();
    const std::string Glyph = GlyphText(Code);
    Sprite->Width = C->TextWidth(Glyph);
    Sprite->Height = C->TextHeight(Glyph);
    if (Sprite->Width + Sprite->Height > LargestSprite) return nullptr;
    const int Reach = 2 * (Sprite->Width + Sprite->Height) + 4;
    Scratch.SetSize(2 * Reach + 1, 2 * Reach + 1);
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBlack);
    C->FillRect(TRect{0, 0, 2 * Reach + 1, 2 * Reach + 1});
    C->Brush()->SetStyle(bsClear);
    const TPoint Anchor{Reach, Reach};
    DrawSymbolDirect(C, Code, SymbolBox(Anchor, Sprite->Width, Sprite->Height));
    Sprite->Mask = TMask::FromImage(Scratch.Image(), 0, Anchor);
    return Sprite;
}

} // namespace

const TSymbolSprite* SymbolSprite(const TFont& Font, int Code) {
    if (!Enabled) return nullptr;
    // Layers mostly repeat one look: ask the table only when it changes.
    // The same font state (its serial) with the same code is the same look
    // without reading the font's settings; a colour change only costs the
    // comparison of looks below.
    static const TKey* LastKey = nullptr;
    static const TSymbolSprite* Last = nullptr;
    static std::uint64_t LastSerial = 0;
    static int LastCode = -1;
    if (LastKey && Font.Serial() == LastSerial && Code == LastCode) return Last;
    const TKeyView Look = ViewOf(Font, Code);
    LastSerial = Font.Serial();
    LastCode = Code;
    if (LastKey && TEqual()(*LastKey, Look)) return Last;
    TSprites& S = Sprites();
    auto It = S.find(Look);
    if (It == S.end()) {
        if (S.size() >= MostSprites) {
            LastKey = nullptr;
            S.clear();
        }
        TKey Key{std::string(Look.Name), Look.Size, Look.Style, Look.Escapement, Look.Code};
        It = S.emplace(std::move(Key), Render(Font, Code)).first;
    }
    LastKey = &It->first; // nodes stay put until the table is cleared above
    Last = It->second.get();
    return Last;
}

void DrawSymbolDirect(TCanvas* Canvas, int Code, const TRect& Box) {
    const TFont& Font = *Canvas->Font();
    const int CX = (Box.Left + Box.Right) / 2, CY = (Box.Top + Box.Bottom) / 2;
    const double Angle = Font.Escapement() / 10.0;
    if (NeedsSymbolGlyphShapes(Font)) {
        DrawSymbolGlyph(Canvas, Code, CX, CY, SymbolGlyphSize(Font), Font.Color(), Angle);
    } else if (Font.Escapement() == 0) {
        Canvas->TextOut(Box.Left, Box.Top, GlyphText(Code));
    } else {
        // A turned text turns about its top-left corner: start where the
        // turn brings the glyph's centre onto the box's (Y is down).
        const double T = Angle * std::numbers::pi / 180;
        const double HW = (Box.Right - Box.Left) / 2.0, HH = (Box.Bottom - Box.Top) / 2.0;
        const double DX = HW * std::cos(T) + HH * std::sin(T);
        const double DY = -HW * std::sin(T) + HH * std::cos(T);
        Canvas->TextOut(static_cast<int>(std::lround(CX - DX)),
                        static_cast<int>(std::lround(CY - DY)), GlyphText(Code));
    }
}

namespace {

// MapInfo draws picture symbols up to 48 points; far larger ones would only
// cost memory.
constexpr int MostPicturePixels = 512;

struct TPictureKey {
    std::string Path;
    int Size, Style;
    TColor Color;
    bool operator==(const TPictureKey&) const = default;
};

struct TPictureHash {
    size_t operator()(const TPictureKey& K) const {
        size_t H = std::hash<std::string>()(K.Path);
        for (size_t Part : {size_t(K.Size), size_t(K.Style), size_t(K.Color)})
            H = H * 1000003u ^ Part;
        return H;
    }
};

// The file as named, else in lower or upper case (names come from files
// written on systems that ignore case).
std::unique_ptr<TBitmap> LoadPicture(const std::string& Path) {
    const std::string Dir = ExtractFilePath(Path), Name = Path.substr(Dir.size());
    for (const std::string& Try : {Name, LowerCase(Name), UpperCase(Name)}) {
        if (Try.empty() || !FileExists(Dir + Try)) continue;
        auto Bitmap = std::make_unique<TBitmap>();
        try {
            Bitmap->LoadFromFile(Dir + Try);
            if (!Bitmap->Empty()) return Bitmap;
        } catch (const Exception&) {
            // Not an image we can read: drawn as a missing one.
        }
    }
    return nullptr;
}

// Style bit 1 shows the picture's white background; bit 2 paints its other
// pixels in the symbol's colour.
std::unique_ptr<TBitmap> PreparePicture(const TBitmap& Source, int Size, int Style, TColor Color) {
    const int H = std::clamp(std::abs(PointsToPixels(Size)), 1, MostPicturePixels);
    const int W = std::clamp(
        static_cast<int>(std::lround(double(Source.Width()) * H / std::max(1, Source.Height()))), 1,
        MostPicturePixels);
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetSize(W, H);
    Bitmap->Canvas()->StretchDraw(TRect{0, 0, W, H}, &Source);
    QImage& Image = Bitmap->Image();
    const QRgb White = qRgb(255, 255, 255);
    const QRgb Ink = qRgb(GetRValue(ColorToRGB(Color)), GetGValue(ColorToRGB(Color)),
                          GetBValue(ColorToRGB(Color)));
    if (Style & 2)
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if ((Image.pixel(X, Y) & 0xFFFFFF) != (White & 0xFFFFFF)) Image.setPixel(X, Y, Ink);
    if (!(Style & 1)) {
        Bitmap->SetTransparentMode(tmFixed);
        Bitmap->SetTransparentColor(clWhite);
        Bitmap->SetTransparent(true);
    }
    return Bitmap;
}

} // namespace

const TBitmap* SymbolPicture(const std::string& Path, int Size, int Style, TColor Color) {
    using TPictures = std::unordered_map<TPictureKey, std::unique_ptr<TBitmap>, TPictureHash>;
    static std::unordered_map<std::string, std::unique_ptr<TBitmap>> Files;
    static TPictures Pictures;
    TPictureKey Key{Path, Size, Style, Style & 2 ? Color : clBlack};
    if (auto It = Pictures.find(Key); It != Pictures.end()) return It->second.get();
    // Bounded: a session that meets many pictures starts afresh.
    if (Pictures.size() > 256) Pictures.clear();
    if (Files.size() > 64) Files.clear();
    auto F = Files.find(Path);
    if (F == Files.end()) F = Files.emplace(Path, LoadPicture(Path)).first;
    std::unique_ptr<TBitmap> Prepared;
    if (F->second) Prepared = PreparePicture(*F->second, Size, Style, Key.Color);
    return Pictures.emplace(std::move(Key), std::move(Prepared)).first->second.get();
}

void SetSymbolSpritesEnabled(bool V) {
    Enabled = V;
}

bool SymbolSpritesEnabled() {
    return Enabled;
}

} // namespace Mapobjects
