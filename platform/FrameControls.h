#pragma once
// Frame controls drawn on a canvas, as the system draws them for owner-drawn
// controls: check boxes, radio buttons, push buttons, scroll arrows and the
// combo box's drop-down button. Flat ones have a one-pixel frame instead of a 3-D edge.

#include "Canvas.h"
#include "PlatformExport.h"

namespace Platform {

/// The kinds of frame control: buttons (check, radio, push) and scroll arrows.
///@{
constexpr unsigned DFC_BUTTON = 4, DFC_SCROLL = 3;
///@}
/// The state of a frame control: which button or arrow, plus the flags
/// inactive, pushed, checked and flat.
///@{
constexpr unsigned DFCS_BUTTONCHECK = 0x0000, DFCS_BUTTONRADIO = 0x0004, DFCS_BUTTONPUSH = 0x0010,
                   DFCS_SCROLLUP = 0x0000, DFCS_SCROLLDOWN = 0x0001, DFCS_SCROLLLEFT = 0x0002,
                   DFCS_SCROLLRIGHT = 0x0003, DFCS_SCROLLCOMBOBOX = 0x0005, DFCS_INACTIVE = 0x0100,
                   DFCS_PUSHED = 0x0200, DFCS_CHECKED = 0x0400, DFCS_FLAT = 0x4000;
///@}

/// Draws the control of kind Type in R; the canvas's pen and brush are kept.
/// Unknown kinds draw nothing and give false.
CHARTIX_PLATFORM_EXPORT bool DrawFrameControl(TCanvas& Canvas, const TRect& R, unsigned Type,
                                              unsigned State);

} // namespace Platform
