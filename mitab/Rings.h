#pragma once
// The polygons that a MapInfo region's flat list of rings stands for.

#include "Feature.h"

#include <vector>

namespace Mitab {

// MapInfo fills a region by the even-odd rule: a ring inside an odd number
// of others is a hole. For each ring, the index of the ring whose hole it
// is, or -1 for an outer ring.
std::vector<int> RingParents(const std::vector<const std::vector<TVertex>*>& Rings);

} // namespace Mitab
