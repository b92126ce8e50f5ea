#pragma once
// One-pixel lines as the GDI draws them. Used by the canvas only.
//
// - Pixels: Bresenham's, one per step along the major axis. A line passing
//   exactly half way between two pixels takes the upper one (x-major) or the
//   left one (y-major), whichever way it is drawn (the GDI's bias in half of
//   the octants), so a segment covers the same pixels both ways and the
//   shared borders of neighbouring regions match.
// - The end pixel is left out, so joined segments touch each vertex once.
// - Dash styles: dash 18 on 6 off, dot 3-3, dash-dot 9-6-3-6, dash-dot-dot
//   9-3-3-3-3-3, in pixels along the major axis. The pattern runs on across
//   the vertices of one call and starts afresh with the next call.

#include "platform/Pixels.h"
#include "platform/Types.h"

namespace Platform {

// A one-pixel pen on its way along a path.
struct TStroke {
    QRgb Color = OpaqueAlpha;
    QRgb GapColor = OpaqueAlpha;
    bool OpaqueGaps = false; // an opaque background fills the gaps of dashes
    TPenMode Mode = pmCopy;
    const int* Dashes = nullptr; // on, off, on, ... pixels; none for a solid pen
    int DashCount = 0;
    int Period = 0;
    long long Phase = 0; // pixels walked so far

    // Takes the dash pattern of a pen style; solid styles have none.
    void SetStyle(TPenStyle Style);
    bool On(long long I) const {
        if (Period == 0) return true;
        long long P = (Phase + I) % Period;
        for (int K = 0; K < DashCount; ++K) {
            if (P < Dashes[K]) return K % 2 == 0;
            P -= Dashes[K];
        }
        return false;
    }
    // Draws pixel (X, Y) as the I-th pixel from the current phase.
    void Plot(TPixels& Px, long long X, long long Y, long long I) const {
        if (On(I))
            Px.Put(X, Y, Color, Mode);
        else if (OpaqueGaps)
            Px.Put(X, Y, GapColor, Mode);
    }
};

// The line from (X0, Y0) towards (X1, Y1) without its end pixel; the phase
// moves on by the line's length. Only the part inside the target is walked,
// so far-away coordinates cost nothing.
void PlotLine(TPixels& Px, TStroke& S, long long X0, long long Y0, long long X1, long long Y1);
void PlotPolyline(TPixels& Px, TStroke& S, const TPoint* Points, int Count, bool Closed);

} // namespace Platform
