#include "formats/StandardProviders.h"

#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <memory>

namespace Mapobjects {

void RegisterStandardProviders() {
    TFormatProviders* Registry = FormatProviders();
    if (!Registry) return;
    for (const TCustomFormatProvider* P : *Registry)
        if (Registry->IsStandard(P)) return; // once
    // In this order: the built-in reader answers for .mif files.
    Registry->AdoptStandard(std::make_unique<TSimpleMIFFormatProvider>(nullptr));
    Registry->AdoptStandard(std::make_unique<TMapInfoFormatProvider>(nullptr));
}

} // namespace Mapobjects
