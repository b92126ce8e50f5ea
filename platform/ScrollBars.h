#pragma once
// A scroll bar that a control draws on its own surface, beside its client
// area (the system draws it in the window's frame): its place, its range of
// positions, its thumb, and what a press on it means.

#include "Canvas.h"
#include "PlatformExport.h"
#include "Types.h"

namespace Platform {

constexpr int ScrollBarSize = 16; ///< thickness in pixels

/// The direction of a scroll bar.
enum TScrollBarKind { sbHorizontal, sbVertical };
/// What a press on a scroll bar asks for.
enum TScrollCode { scNone, scLineUp, scLineDown, scPageUp, scPageDown, scTrack };

/// A scroll bar as a control draws it: where it is, its range, page and position.
struct CHARTIX_PLATFORM_EXPORT TScrollBarBox {
    TScrollBarKind Kind = sbVertical; ///< horizontal or vertical
    TRect Bounds;                     ///< in client pixels; empty when the bar is hidden
    /// The range of positions.
    ///@{
    int Min = 0, Max = 0; ///< the first and the last position
    ///@}
    int Page = 1;     ///< positions shown at once
    int Position = 0; ///< the current position, between Min and Max

    /// True when the bar has a place to show in (non-empty Bounds).
    bool Visible() const { return Bounds.Right > Bounds.Left && Bounds.Bottom > Bounds.Top; }
    /// True when the bar shows and P (client pixels) is on it.
    bool Contains(TPoint P) const {
        return Visible() && P.X >= Bounds.Left && P.X < Bounds.Right && P.Y >= Bounds.Top &&
               P.Y < Bounds.Bottom;
    }
    /// The thumb's rectangle in client pixels, sized by Page against the range.
    TRect ThumbRect() const;
    /// What a press at client point P asks for; scNone off the bar.
    TScrollCode HitTest(TPoint P) const;
    /// The position for a thumb dragged Pixels along the bar from where it
    /// was at StartPosition.
    int TrackPosition(int StartPosition, int Pixels) const;
    /// Draws the bar on Canvas: track, arrow buttons and (when it can scroll) the thumb.
    void Paint(TCanvas& Canvas) const;

private:
    int Length() const;
    int Arrow() const; // the length of each arrow button
    int ThumbLength() const;
    int ThumbOffset(int AtPosition) const;
};

} // namespace Platform
