#pragma once
// How a layer's automatic labels are placed and drawn: the side of the
// anchor they sit on, whether they may cover one another, and a halo that
// keeps them readable over busy fills. The defaults draw what labels always
// drew: centred, no halo, overlapping freely.

#include "../platform/Graphics.h"
#include "../platform/Types.h"

namespace Mapobjects {

/// The side of its anchor a label sits on; lpCenter centres it on the anchor.
enum TLabelPosition {
    lpCenter,
    lpRight,
    lpLeft,
    lpAbove,
    lpBelow,
    lpAboveRight,
    lpAboveLeft,
    lpBelowRight,
    lpBelowLeft
};

/// The point of an object a label is placed around (one-point objects: that point).
enum TLabelAnchor {
    laExtent,     ///< the centre of the object's extent
    laLargestPart ///< the centre of the extent of its largest part (by extent area)
};

/// A layer's label placement and look, beside its AutoLabel, LabelFieldIndex and AutoLabelFont.
struct TLabelSettings {
    TLabelPosition Position = lpCenter; ///< where the label sits around its anchor
    /// Pixels between the anchor and the near edge of the label (not for lpCenter).
    int Offset = 0;
    /// Whether the label may cover others; when false, one that would is left out.
    bool Overlap = true;
    bool Halo = false; ///< whether an outline in HaloColor rings the glyphs
    Platform::TColor HaloColor = Platform::clWhite; ///< the colour of the halo
    int HaloWidth = 1;                              ///< the halo's width in pixels
    /// The anchor of objects of several points; laLargestPart keeps the label of a country
    /// with far islands on its mainland.
    TLabelAnchor Anchor = laExtent;
    /// Field-by-field comparison.
    bool operator==(const TLabelSettings&) const = default;
};

/// The box of a label Width x Height pixels placed by Settings at the anchor pixel (X, Y):
/// centred on it, or on the chosen side Offset pixels away and centred on the other axis.
inline Platform::TRect LabelBox(const TLabelSettings& Settings, int X, int Y, int Width,
                                int Height) {
    const int Off = Settings.Offset;
    // Integer halves toward zero, as labels were always centred.
    int Left = X - Width / 2, Top = Y - Height / 2;
    switch (Settings.Position) {
    case lpCenter:
        break;
    case lpRight:
    case lpAboveRight:
    case lpBelowRight:
        Left = X + Off;
        break;
    case lpLeft:
    case lpAboveLeft:
    case lpBelowLeft:
        Left = X - Off - Width;
        break;
    case lpAbove:
    case lpBelow:
        break;
    }
    switch (Settings.Position) {
    case lpAbove:
    case lpAboveRight:
    case lpAboveLeft:
        Top = Y - Off - Height;
        break;
    case lpBelow:
    case lpBelowRight:
    case lpBelowLeft:
        Top = Y + Off;
        break;
    default:
        break;
    }
    return Platform::TRect{Left, Top, Left + Width, Top + Height};
}

} // namespace Mapobjects
