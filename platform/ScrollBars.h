#pragma once
// A scroll bar that a control draws on its own surface, beside its client
// area (the system draws it in the window's frame): its place, its range of
// positions, its thumb, and what a press on it means.

#include "Canvas.h"
#include "PlatformExport.h"
#include "Types.h"

namespace Platform {

constexpr int ScrollBarSize = 16; ///< thickness in pixels

enum TScrollBarKind { sbHorizontal, sbVertical };
/// What a press on a scroll bar asks for.
enum TScrollCode { scNone, scLineUp, scLineDown, scPageUp, scPageDown, scTrack };

struct CHARTIX_PLATFORM_EXPORT TScrollBarBox {
    TScrollBarKind Kind = sbVertical;
    TRect Bounds;         ///< in client pixels; empty when the bar is hidden
    int Min = 0, Max = 0; ///< the first and the last position
    int Page = 1;         ///< positions shown at once
    int Position = 0;

    bool Visible() const { return Bounds.Right > Bounds.Left && Bounds.Bottom > Bounds.Top; }
    bool Contains(TPoint P) const {
        return Visible() && P.X >= Bounds.Left && P.X < Bounds.Right && P.Y >= Bounds.Top &&
               P.Y < Bounds.Bottom;
    }
    TRect ThumbRect() const;
    TScrollCode HitTest(TPoint P) const;
    /// The position for a thumb dragged Pixels along the bar from where it
    /// was at StartPosition.
    int TrackPosition(int StartPosition, int Pixels) const;
    void Paint(TCanvas& Canvas) const;

private:
    int Length() const;
    int Arrow() const; ///< the length of each arrow button
    int ThumbLength() const;
    int ThumbOffset(int AtPosition) const;
};

} // namespace Platform
