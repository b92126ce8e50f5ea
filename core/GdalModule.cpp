#include "core/GdalModule.h"

#include "core/CoordinateSystems.h"
#include "core/GeoRasters.h"
#include "core/Modules.h"
#include "platform/SysUtils.h"

#include <dlfcn.h>

namespace Mapobjects {

namespace {

struct TLoaded {
    const TGdalModule* Module = nullptr;
    std::string Problem;
};

TLoaded Load() {
    TLoaded L;
    void* Library = OpenModuleLibrary(GdalModuleName);
    if (!Library) {
        const char* Why = dlerror();
        L.Problem = std::string("the GDAL module ") + GdalModuleName +
                    " was not found (put it beside the program, in the package's lib/chartix "
                    "folder, or in a folder named by " +
                    ModulePathVariable + ")" + (Why ? std::string(": ") + Why : std::string());
        return L;
    }
    using TEntry = const TGdalModule* (*)();
    auto Entry = reinterpret_cast<TEntry>(dlsym(Library, "chartix_gdal_module"));
    const TGdalModule* Module = Entry ? Entry() : nullptr;
    if (!Module) {
        L.Problem = std::string(GdalModuleName) + " is not a Chartix GDAL module";
    } else if (Module->Version != GdalModuleVersion) {
        L.Problem = std::string(GdalModuleName) + " was built for another version of Chartix";
    } else {
        L.Module = Module;
    }
    // Kept loaded either way, as the MITAB module is: objects it made may outlive any
    // moment at which unloading would be safe.
    return L;
}

const TLoaded& Loaded() {
    static const TLoaded L = Load();
    return L;
}

} // namespace

const TGdalModule* GdalModule() {
    return Loaded().Module;
}

std::string GdalModuleProblem() {
    return Loaded().Problem;
}

const TCoordinateSystems* CoordinateSystems() {
    const TGdalModule* M = GdalModule();
    return M && M->CoordinateSystems ? M->CoordinateSystems() : nullptr;
}

const TGeoRasterReader* GeoRasterReader() {
    const TGdalModule* M = GdalModule();
    return M && M->RasterReader ? M->RasterReader() : nullptr;
}

std::string MapInfoCoordSys(const std::string& Definition) {
    const size_t Start = Definition.find_first_not_of(" \t");
    if (Start == std::string::npos) return {};
    if (Definition.size() - Start >= 8 &&
        Platform::SameText(Definition.substr(Start, 8), "CoordSys"))
        return Definition;
    const TCoordinateSystems* Systems = CoordinateSystems();
    return Systems ? Systems->ToMapInfo(Definition) : std::string();
}

} // namespace Mapobjects
