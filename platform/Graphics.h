#pragma once
// Colours, pens, brushes and fonts: the drawing tools a canvas takes.
// TColor is 0x00BBGGRR (red in the low byte); system colours resolve to fixed
// values. Font sizes are points at one logical resolution, 96 DPI.

#include "Classes.h"
#include "PlatformExport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

class QColor;
class QFont;
class QImage;
class QString;

namespace Platform {

/// A colour: 0x00BBGGRR, or a system colour (0x80000000 plus its index).
using TColor = std::uint32_t;

/// The sixteen standard colours.
///@{
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
///@}
/// No colour (clNone) and the default colour (clDefault).
///@{
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
///@}
/// System colours: 0x80000000 plus the system colour index.
///@{
constexpr TColor clScrollBar = 0x80000000, clBackground = 0x80000001, clMenu = 0x80000004,
                 clWindow = 0x80000005, clWindowFrame = 0x80000006, clMenuText = 0x80000007,
                 clWindowText = 0x80000008, clCaptionText = 0x80000009, clHighlight = 0x8000000D,
                 clHighlightText = 0x8000000E, clBtnFace = 0x8000000F, clBtnShadow = 0x80000010,
                 clGrayText = 0x80000011, clBtnText = 0x80000012, clBtnHighlight = 0x80000014,
                 cl3DDkShadow = 0x80000015, cl3DLight = 0x80000016, clInfoText = 0x80000017,
                 clInfoBk = 0x80000018;
///@}

/// Resolves system colours to their fixed RGB values; other colours pass through
/// with the high byte cleared.
CHARTIX_PLATFORM_EXPORT TColor ColorToRGB(TColor Color);
/// The red, green and blue parts of an RGB colour (resolve system colours first with ColorToRGB).
///@{
inline int GetRValue(TColor C) {
    return static_cast<int>(C & 0xFF);
}
inline int GetGValue(TColor C) {
    return static_cast<int>((C >> 8) & 0xFF);
}
inline int GetBValue(TColor C) {
    return static_cast<int>((C >> 16) & 0xFF);
}
///@}
/// The colour of red, green and blue parts 0 to 255 (each masked to a byte).
inline TColor RGB(int R, int G, int B) {
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}
/// The Qt colour of a colour, system colours resolved.
CHARTIX_PLATFORM_EXPORT QColor ToQColor(TColor Color);
/// The colour of a Qt colour (its alpha dropped).
CHARTIX_PLATFORM_EXPORT TColor FromQColor(const QColor& Color);

template <class T> class TShared;

/// A drawing tool that notifies its owner (usually a canvas) of changes.
class CHARTIX_PLATFORM_EXPORT TGraphicsObject : public TPersistent {
public:
    /// Fired after every change of the tool.
    TNotifyEvent OnChange;
    /// A number no other state of any tool has had, taken when first asked
    /// for after making or a change (a copy keeps it, being equal). Equal
    /// serials mean equal settings, so a cache can key on it without reading
    /// the settings.
    std::uint64_t Serial() const {
        if (!FSerial) FSerial = NextSerial();
        return FSerial;
    }

protected:
    /// Drops the serial and fires OnChange. Changes are frequent (a canvas's
    /// tools change per object drawn) and serials are rarely asked for.
    void Changed() {
        FSerial = 0;
        if (OnChange) OnChange(this);
    }

private:
    template <class T> friend class TShared;
    static std::uint64_t NextSerial();
    mutable std::uint64_t FSerial = 0;
    int FHolders = 0; // TShared holders of this tool
};

/// The line pattern of a pen; psInsideFrame keeps a wide outline inside the figure's box.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
/// How a pen mixes with the pixels beneath it: the binary raster operations.
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

/// The pen a canvas draws lines and outlines with. Every change fires OnChange.
class CHARTIX_PLATFORM_EXPORT TPen : public TGraphicsObject {
public:
    /// The line colour.
    ///@{
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    ///@}
    /// The line width in pixels.
    ///@{
    int Width() const { return FWidth; }
    void SetWidth(int V);
    ///@}
    /// The line pattern.
    ///@{
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle V);
    ///@}
    /// How the pen combines with the pixels beneath it.
    ///@{
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode V);
    ///@}
    /// Copies a pen; other sources go to TPersistent::Assign, which refuses them.
    void Assign(const TPersistent* Source) override;
    void Assign(const TPen& Source); ///< the same without a type test
    /// True when both pens draw the same way.
    bool Equals(const TPen& Other) const {
        return FColor == Other.FColor && FWidth == Other.FWidth && FStyle == Other.FStyle &&
               FMode == Other.FMode;
    }

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

/// The fill pattern of a brush; bsClear fills nothing.
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBitmap;

/// The brush a canvas fills with: a colour and a style, or a bitmap pattern.
/// Every change fires OnChange.
class CHARTIX_PLATFORM_EXPORT TBrush : public TGraphicsObject {
public:
    /// The fill colour.
    ///@{
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    ///@}
    /// The fill style.
    ///@{
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle V) {
        // Inline when nothing changes: drawing resets the style per object.
        if (V != FStyle || FPattern) ChangeStyle(V);
    }
    ///@}
    /// A pattern: the brush paints with a copy of the bitmap's pixels as a
    /// texture, taken when it is set, so the bitmap may change or go at any
    /// time afterwards; null sets none. Setting one makes the style solid.
    /// SetColor and SetStyle end the pattern, whatever the value: a fill that
    /// sets a colour or a style is a plain fill.
    void SetBitmap(const TBitmap* V);
    /// True while the brush paints with a bitmap pattern.
    bool HasPattern() const { return FPattern != nullptr; }
    /// The pattern's pixels, or null.
    const QImage* Pattern() const { return FPattern.get(); }
    /// Copies a brush, pattern included; other sources go to TPersistent::Assign,
    /// which refuses them.
    void Assign(const TPersistent* Source) override;
    void Assign(const TBrush& Source); ///< the same without a type test
    /// True when both brushes fill the same way (a pattern counts as equal only when shared).
    bool Equals(const TBrush& Other) const {
        return FColor == Other.FColor && FStyle == Other.FStyle && FPattern == Other.FPattern;
    }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    // Never changed once made, so copies of the brush share it.
    std::shared_ptr<const QImage> FPattern;
    void ChangeStyle(TBrushStyle V);
};

/// A font style flag.
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
/// A combination of TFontStyle flags.
using TFontStyles = unsigned;

/// The font a canvas draws text with, in points at 96 DPI. Every change fires OnChange.
class CHARTIX_PLATFORM_EXPORT TFont : public TGraphicsObject {
public:
    /// The family name.
    ///@{
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V);
    ///@}
    int Size() const { return FSize; } ///< points
    /// Sets the size in points.
    void SetSize(int V);
    int Height() const; ///< -(pixel height of the em) at 96 DPI
    /// Sets the size from an em height in pixels at 96 DPI (either sign).
    void SetHeight(int V);
    /// The text colour.
    ///@{
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    ///@}
    /// The style flags (bold, italic, underline, strike-out).
    ///@{
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles V);
    ///@}
    /// The character set number; stored only.
    ///@{
    int Charset() const { return FCharset; }
    void SetCharset(int V);
    ///@}
    /// Text angle in tenths of a degree, counter-clockwise (the logical font's
    /// escapement); orientation is kept for completeness and has no effect.
    ///@{
    int Escapement() const { return FEscapement; }
    void SetEscapement(int V);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int V);
    ///@}
    /// Copies a font; other sources go to TPersistent::Assign, which refuses them.
    void Assign(const TPersistent* Source) override;
    void Assign(const TFont& Source); ///< the same without a type test
    /// True when both fonts draw the same text alike.
    bool Equals(const TFont& Other) const {
        return FSize == Other.FSize && FColor == Other.FColor && FStyle == Other.FStyle &&
               FCharset == Other.FCharset && FEscapement == Other.FEscapement &&
               FOrientation == Other.FOrientation && FName == Other.FName;
    }

    /// True when the family is installed, rather than replaced by a fallback.
    bool IsInstalled() const;
    QFont ToQFont() const; ///< pixel size from points at 96 DPI

private:
    std::string FName = "MS Sans Serif";
    int FSize = 8;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    int FCharset = 1; // default charset
    int FEscapement = 0;
    int FOrientation = 0;
};

/// A pen, brush or font held by many owners (objects drawn alike) until one
/// of them writes it: copy on write. The tool counts its holders; one with a
/// single holder is that holder's alone. Single-threaded, like all drawing.
template <class T> class TShared {
public:
    /// An empty holder.
    TShared() = default;
    /// Takes sole ownership of V.
    explicit TShared(std::unique_ptr<T> V) : FTool(V.release()) {
        if (FTool) FTool->FHolders = 1;
    }
    /// Holds the same tool as Other.
    TShared(const TShared& Other) : FTool(Other.FTool) {
        if (FTool) ++FTool->FHolders;
    }
    /// Takes Other's tool; Other is left empty.
    TShared(TShared&& Other) noexcept : FTool(std::exchange(Other.FTool, nullptr)) {}
    /// Holds Other's tool, letting go of the old one.
    TShared& operator=(TShared Other) noexcept {
        std::swap(FTool, Other.FTool);
        return *this;
    }
    /// Lets go of the tool; the last holder frees it.
    ~TShared() { Release(); }

    /// The tool for reading; null when empty.
    ///@{
    const T* Get() const { return FTool; }
    const T& operator*() const { return *FTool; }
    const T* operator->() const { return FTool; }
    explicit operator bool() const { return FTool != nullptr; }
    ///@}
    /// Whether others hold the same tool.
    bool Shared() const { return FTool && FTool->FHolders > 1; }
    /// The tool for writing: a copy of its own first when it is shared.
    T* Own() {
        if (Shared()) *this = TShared(Copy());
        return FTool;
    }
    /// Lets go of the tool and hands it over: the tool itself when it was
    /// this holder's alone, a copy when it is shared.
    std::unique_ptr<T> Take() {
        if (!FTool) return nullptr;
        if (Shared()) {
            std::unique_ptr<T> Result = Copy();
            Release();
            return Result;
        }
        FTool->FHolders = 0;
        return std::unique_ptr<T>(std::exchange(FTool, nullptr));
    }

private:
    std::unique_ptr<T> Copy() const {
        auto Result = std::make_unique<T>();
        Result->Assign(*FTool); // values only: no listener, no holders
        return Result;
    }
    void Release() {
        if (FTool && --FTool->FHolders == 0) delete FTool;
        FTool = nullptr;
    }

    T* FTool = nullptr;
};

/// Hands out shared tools equal to a value, reusing the last one handed out
/// when it is equal: runs of objects drawn alike (a file's statements, a
/// layer's defaults) then hold one tool between them.
class CHARTIX_PLATFORM_EXPORT TStylePool {
public:
    /// A shared tool equal to Value: the last one handed out when equal, else a new copy.
    ///@{
    TShared<TPen> Pen(const TPen& Value) { return Find(FPen, Value); }
    TShared<TBrush> Brush(const TBrush& Value) { return Find(FBrush, Value); }
    TShared<TFont> Font(const TFont& Value) { return Find(FFont, Value); }
    ///@}

private:
    template <class T> static TShared<T> Find(TShared<T>& Last, const T& Value) {
        if (!Last || !Last->Equals(Value)) {
            auto Made = std::make_unique<T>();
            Made->Assign(Value);
            Last = TShared<T>(std::move(Made));
        }
        return Last;
    }

    TShared<TPen> FPen;
    TShared<TBrush> FBrush;
    TShared<TFont> FFont;
};

/// The largest em height in pixels that a font takes: larger sizes are
/// measured and drawn at this height. It is far beyond any screen, yet keeps
/// glyph outlines, text extents and the pixel arithmetic on them well inside
/// 32 bits.
constexpr int MaxFontPixels = 16384;

/// Pixel height of an em for a point size at 96 DPI (MulDiv rounding), never
/// beyond MaxFontPixels either way.
CHARTIX_PLATFORM_EXPORT int PointsToPixels(int Points);

/// Strings are single-byte: UTF-8 when they are valid UTF-8, otherwise Latin-1
/// (the encoding of older files). Qt text comes back as UTF-8.
CHARTIX_PLATFORM_EXPORT QString ToQString(std::string_view Text);
/// The string of Qt text, as UTF-8.
CHARTIX_PLATFORM_EXPORT std::string FromQString(const QString& Text);

} // namespace Platform
