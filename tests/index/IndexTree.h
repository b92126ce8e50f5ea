#pragma once
// Index trees written down as text, so that whole trees compare at once.

#include "index/IndexCell.h"
#include "platform/SysUtils.h"

#include <string>

namespace Testing {

// "[MinX MaxX MinY MaxY: ids children]", depth first, bounds exact.
inline std::string TreeOf(const Mapobjects::TIndexCell& C) {
    const Mapobjects::TCellBounds& B = C.Bounds();
    std::string S = Platform::Format("[%.17g %.17g %.17g %.17g:", B.MinX, B.MaxX, B.MinY, B.MaxY);
    for (int I = 0; I < C.Ids().Count(); ++I)
        S += Platform::Format(" %u", C.Ids()[I]);
    for (int I = 0; I < C.GetCount(); ++I)
        S += TreeOf(*C.GetCell(I));
    return S + "]";
}

} // namespace Testing
