#include "formats/StandardProviders.h"

#include "core/GdalModule.h"
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
    // Last: every other format GDAL reads, when its module is there. Without
    // it those files meet "no format provider accepts", as before.
    if (const TGdalModule* Gdal = GdalModule(); Gdal && Gdal->CreateVectorProvider)
        if (TCustomFormatProvider* Vector = Gdal->CreateVectorProvider())
            Registry->AdoptStandard(std::unique_ptr<TCustomFormatProvider>(Vector));
}

} // namespace Mapobjects
