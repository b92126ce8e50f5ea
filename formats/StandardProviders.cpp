#include "formats/StandardProviders.h"

#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <memory>
#include <vector>

namespace Mapobjects {

namespace {
using TOwned = std::vector<std::unique_ptr<TCustomFormatProvider>>;

// Never destroyed by static destruction: library shut-down frees the
// providers while the registry they leave still exists.
TOwned& Standard() {
    static TOwned* List = new TOwned;
    return *List;
}
} // namespace

void RegisterStandardProviders() {
    TFormatProviders* Registry = FormatProviders();
    TOwned& List = Standard();
    if (!Registry || !List.empty()) return;
    List.push_back(std::make_unique<TSimpleMIFFormatProvider>(nullptr));
    List.push_back(std::make_unique<TMapInfoFormatProvider>(nullptr));
    // Each went in ahead of those made before it; the MIF reader must come
    // first for .mif files, so they go to the end again in order.
    for (const auto& P : List) {
        Registry->Remove(P.get());
        Registry->Add(P.get());
    }
}

bool IsStandardProvider(const TCustomFormatProvider* P) {
    for (const auto& S : Standard())
        if (S.get() == P) return true;
    return false;
}

namespace Internal {
void DestroyStandardProviders() {
    // Emptied before destroyed: each leaves the registry in its destructor
    // and must no longer count as standard meanwhile.
    TOwned Gone;
    Gone.swap(Standard());
    Gone.clear();
}
} // namespace Internal

} // namespace Mapobjects
