#pragma once
// The layer control's switch pictures: eight 16 x 13 bitmaps, an "on" and an
// "off" (the same drawing in grey) for each switch, magenta where they are
// transparent.

#include "../core/ChartixExport.h"
#include "../platform/Bitmap.h"

#include <memory>

namespace Mapobjects {

/// The number of switch pictures, and their size in pixels.
///@{
constexpr int IndicatorCount = 8, IndicatorWidth = 16, IndicatorHeight = 13;
///@}

/// Picture Id: 0/1 visible (an eye), 2/3 editable (a pencil), 4/5 selectable
/// (an arrow pointer with rays), 6/7 auto-label (a yellow tag); even ids on,
/// odd ids off. Transparent in the colour of the top-left pixel.
CHARTIX_EXPORT std::unique_ptr<Platform::TBitmap> MakeIndicator(int Id);

} // namespace Mapobjects
