#include "formats/VectorSources.h"

#include "core/CustomFormatProvider.h"
#include "core/GdalModule.h"

namespace Mapobjects {

bool SourceLayers(const std::string& FileName, std::vector<std::string>& Names,
                  std::string& Error) {
    Names.clear();
    const TGdalModule* Module = GdalModule();
    if (!Module || !Module->SourceLayers) {
        Error = GdalModuleProblem();
        return false;
    }
    return Module->SourceLayers(FileName, Names, Error);
}

std::string SourceLayerFileName(const std::string& FileName, const std::string& Layer) {
    return FileName + SourceLayerSeparator + Layer;
}

std::unique_ptr<TCustomFormatProvider> NewVectorProvider(std::string* Problem) {
    const TGdalModule* Module = GdalModule();
    if (!Module || !Module->CreateVectorProvider) {
        if (Problem) *Problem = GdalModuleProblem();
        return nullptr;
    }
    return std::unique_ptr<TCustomFormatProvider>(Module->CreateVectorProvider());
}

} // namespace Mapobjects
