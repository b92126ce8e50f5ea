#include "gdal/VectorProvider.h"

#include "formats/VectorSources.h"
#include "gdal/Module.h"
#include "gdal/VectorCommon.h"
#include "platform/SysUtils.h"

#include <cpl_string.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace Mapobjects::Gdal {

using namespace Platform;

namespace {

// The formats a file dialog offers on their own, with the name people know
// them by, when their driver is there.
struct TCommonFormat {
    const char* Driver;
    const char* Title;
};
constexpr TCommonFormat CommonFormats[] = {
    {"ESRI Shapefile", "ESRI Shapefile"},
    {"GPKG", "GeoPackage"},
    {"GeoJSON", "GeoJSON"},
    {"FlatGeobuf", "FlatGeobuf"},
    {"KML", "KML"},
    {"CSV", "CSV"},
    {"GML", "GML"},
};

// The extensions a driver lists, lower case: DMD_EXTENSIONS is a blank-
// separated list, DMD_EXTENSION the older single one.
std::vector<std::string> DriverExtensions(GDALDriverH Driver) {
    std::vector<std::string> Result;
    const char* List = GDALGetMetadataItem(Driver, GDAL_DMD_EXTENSIONS, nullptr);
    if (!List) List = GDALGetMetadataItem(Driver, GDAL_DMD_EXTENSION, nullptr);
    std::istringstream In(List ? List : "");
    std::string Ext;
    while (In >> Ext)
        if (!Ext.empty()) Result.push_back(LowerCase(Ext));
    return Result;
}

bool IsVectorDriver(GDALDriverH Driver) {
    return GDALGetMetadataItem(Driver, GDAL_DCAP_VECTOR, nullptr) != nullptr;
}

// "*.a; *.b" for a list of extensions.
std::string Patterns(const std::vector<std::string>& Extensions) {
    std::string Result;
    for (const std::string& Ext : Extensions)
        Result += (Result.empty() ? "*." : "; *.") + Ext;
    return Result;
}

std::string MakeFilter() {
    EnsureDrivers();
    // The common formats' extensions lead the catch-all entry, in their order.
    std::vector<std::string> All;
    std::string Entries;
    for (const TCommonFormat& F : CommonFormats) {
        GDALDriverH Driver = GDALGetDriverByName(F.Driver);
        if (!Driver || !IsVectorDriver(Driver)) continue;
        std::vector<std::string> Exts = DriverExtensions(Driver);
        // Archives and side files are found by the catch-all entry.
        std::erase_if(Exts, [](const std::string& E) {
            return E.find('.') != std::string::npos || E == "dbf" || E == "shz" || E == "tsv" ||
                   E == "psv" || E == "xml" || E == "gz";
        });
        if (Exts.empty()) continue;
        Entries += "|" + std::string(F.Title) + " (" + Patterns(Exts) + ")|" + Patterns(Exts);
        for (const std::string& E : Exts)
            if (std::find(All.begin(), All.end(), E) == All.end()) All.push_back(E);
    }
    // MapInfo's files are offered by the library's own providers, ahead of this one.
    for (const std::string& E : VectorExtensions())
        if (E != "mif" && E != "mid" && E != "tab" &&
            std::find(All.begin(), All.end(), E) == All.end())
            All.push_back(E);
    const std::string Every = Patterns(All);
    return "Vector files (GDAL) (" + Every + ")|" + Every + Entries;
}

} // namespace

TSourceName SplitSourceName(const std::string& FileName) {
    return {SourceFileOf(FileName), SourceLayerOf(FileName)};
}

TDataset OpenVectorSource(const std::string& Path) {
    return TDataset(GDALOpenEx(Path.c_str(),
                               GDAL_OF_VECTOR | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, nullptr,
                               nullptr, nullptr));
}

void EnsureDrivers() {
    if (GDALGetDriverCount() == 0) GDALAllRegister();
}

const std::vector<std::string>& VectorExtensions() {
    // Drivers are registered once, before any provider is made, so the list holds.
    static const std::vector<std::string> Extensions = [] {
        EnsureDrivers();
        std::set<std::string> Set;
        for (int I = 0; I < GDALGetDriverCount(); ++I) {
            GDALDriverH Driver = GDALGetDriver(I);
            if (!IsVectorDriver(Driver)) continue;
            for (std::string& E : DriverExtensions(Driver))
                Set.insert(std::move(E));
        }
        return std::vector<std::string>(Set.begin(), Set.end());
    }();
    return Extensions;
}

bool HasExtension(const std::string& Path, const std::vector<std::string>& Extensions) {
    const std::string Lower = LowerCase(ExtractFileName(Path));
    for (const std::string& E : Extensions)
        if (Lower.size() > E.size() + 1 &&
            Lower.compare(Lower.size() - E.size(), E.size(), E) == 0 &&
            Lower[Lower.size() - E.size() - 1] == '.')
            return true;
    return false;
}

TGdalErrors::TGdalErrors() {
    CPLPushErrorHandlerEx(&TGdalErrors::Handler, this);
    CPLErrorReset();
}

TGdalErrors::~TGdalErrors() {
    CPLPopErrorHandler();
}

void CPL_STDCALL TGdalErrors::Handler(CPLErr Class, CPLErrorNum, const char* Message) {
    if (Class != CE_Warning && Class != CE_Failure && Class != CE_Fatal) return;
    auto* Self = static_cast<TGdalErrors*>(CPLGetErrorHandlerUserData());
    if (!Self) return;
    if (Class != CE_Warning) Self->FFailed = true;
    // A broken file can raise the same error for every feature: keep it bounded.
    if (Message && Self->FMessages.size() < 100) Self->FMessages.emplace_back(Message);
}

std::vector<std::string> TGdalErrors::Take() {
    std::vector<std::string> Result;
    Result.swap(FMessages);
    FFailed = false;
    return Result;
}

std::string TGdalErrors::TakeText(const std::string& Fallback) {
    std::string Text;
    for (const std::string& M : Take())
        if (Text.find(M) == std::string::npos) Text += (Text.empty() ? "" : "; ") + M;
    return Text.empty() ? Fallback : Text;
}

TGdalVectorFormatProvider::TGdalVectorFormatProvider(TComponent* Owner)
    : TCustomFormatProvider(Owner), FFilter(MakeFilter()) {}

std::string TGdalVectorFormatProvider::GetDescription() const {
    return "GDAL Vector Formats Provider";
}

std::string TGdalVectorFormatProvider::GetFilter() const {
    return FFilter;
}

TGUID TGdalVectorFormatProvider::GetGUID() const {
    static const TGUID Guid = StringToGUID("{D5504507-A47E-4D1A-BEE7-CF5321333D24}");
    return Guid;
}

bool TGdalVectorFormatProvider::CanProcessFile(const std::string& FileName) const {
    return HasExtension(SplitSourceName(FileName).Path, VectorExtensions());
}

TCustomFormatProvider* CreateVectorProvider() {
    try {
        return new TGdalVectorFormatProvider(nullptr);
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool SourceLayers(const std::string& FileName, std::vector<std::string>& Names,
                  std::string& Error) {
    Names.clear();
    try {
        EnsureDrivers();
        TGdalErrors Errors;
        const TSourceName Source = SplitSourceName(FileName);
        TDataset Data = OpenVectorSource(Source.Path);
        if (!Data) {
            Error = Errors.TakeText("not a vector source GDAL can open");
            return false;
        }
        for (int I = 0; I < GDALDatasetGetLayerCount(Data.get()); ++I)
            Names.emplace_back(OGR_L_GetName(GDALDatasetGetLayer(Data.get(), I)));
        return true;
    } catch (const std::exception& E) {
        Error = E.what();
        return false;
    }
}

} // namespace Mapobjects::Gdal
