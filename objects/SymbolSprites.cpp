#include "objects/SymbolSprites.h"

#include "objects/SymbolGlyphs.h"
#include "platform/Bitmap.h"

#include <QImage>
#include <functional>
#include <memory>
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
    static const TKey* LastKey = nullptr;
    static const TSymbolSprite* Last = nullptr;
    const TKeyView Look = ViewOf(Font, Code);
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
    if (NeedsSymbolGlyphShapes(Font))
        DrawSymbolGlyph(Canvas, Code, (Box.Left + Box.Right) / 2, (Box.Top + Box.Bottom) / 2,
                        SymbolGlyphSize(Font), Font.Color());
    else
        Canvas->TextOut(Box.Left, Box.Top, GlyphText(Code));
}

void SetSymbolSpritesEnabled(bool V) {
    Enabled = V;
}

bool SymbolSpritesEnabled() {
    return Enabled;
}

} // namespace Mapobjects
