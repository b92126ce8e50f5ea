#include "Dataset.h"

#include "Fields.h"
#include "MifKinds.h"
#include "TableInfo.h"
#include "mitab.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <mutex>
#include <strings.h>

namespace Mitab {

namespace {

GDALDriverH MapInfoDriver() {
    static std::once_flag Once;
    std::call_once(Once, [] { GDALAllRegister(); });
    return GDALGetDriverByName("MapInfo File");
}

std::string Num(double V) {
    char Buffer[64];
    auto [Ptr, Ec] = std::to_chars(Buffer, Buffer + sizeof Buffer, V);
    return Ec == std::errc() ? std::string(Buffer, Ptr) : std::string("0");
}

int AsId(long long Fid) {
    return Fid >= 1 && Fid <= INT_MAX ? static_cast<int>(Fid) : -1;
}

bool IsFolder(const char* Name) {
    VSIStatBufL Stat;
    return VSIStatL(Name, &Stat) == 0 && VSI_ISDIR(Stat.st_mode);
}

// The driver takes a name without .tab or .mif for a folder of tables.
bool HasExtension(const char* Name, const char* Extension) {
    return strcasecmp(CPLGetExtension(Name), Extension) == 0;
}

} // namespace

TDataset::TDataset(GDALDatasetH D, bool W) : Ds(D), Layer(GDALDatasetGetLayer(D, 0)), Writable(W) {}

TDataset::~TDataset() {
    Magic = 0;
    if (Pending) OGR_F_Destroy(Pending);
    GDALClose(Ds);
    if (!AskedName.empty()) {
        // The driver finds the other files of the table in either case.
        const std::string Written = CPLResetExtension(
            AskedName.c_str(), CPLString(CPLGetExtension(AskedName.c_str())).tolower());
        VSIStatBufL Stat;
        if (Written != AskedName && VSIStatL(Written.c_str(), &Stat) == 0)
            VSIRename(Written.c_str(), AskedName.c_str());
    }
}

std::unique_ptr<TDataset> TDataset::Open(const char* FileName) {
    // A folder would open as a set of tables; a MITAB table is one file.
    if (!FileName || !*FileName || IsFolder(FileName) || !MapInfoDriver()) return nullptr;
    const char* const Drivers[] = {"MapInfo File", nullptr};
    GDALDatasetH Ds =
        GDALOpenEx(FileName, GDAL_OF_VECTOR | GDAL_OF_READONLY, Drivers, nullptr, nullptr);
    if (!Ds) return nullptr;
    if (GDALDatasetGetLayerCount(Ds) < 1) {
        GDALClose(Ds);
        return nullptr;
    }
    std::unique_ptr<TDataset> D(new TDataset(Ds, false));
    // OGR's types, made exact by the header where it lists the same columns.
    std::vector<TDeclaredField> Declared = DeclaredFields(FileName);
    int N = D->FieldCount();
    for (int I = 0; I < N; ++I) {
        int Type = TypeFromOgr(D->Field(I));
        if (static_cast<int>(Declared.size()) == N && Declared[I].Type != 0 &&
            strcasecmp(Declared[I].Name.c_str(), OGR_Fld_GetNameRef(D->Field(I))) == 0)
            Type = Declared[I].Type;
        D->Types.push_back(Type);
    }
    if (HasExtension(FileName, "mif")) D->MifName = FileName;
    D->FileName = FileName;
    D->TakeCharset(DeclaredCharset(FileName));
    return D;
}

std::unique_ptr<TDataset> TDataset::Create(const char* FileName, const char* Kind,
                                           const char* CoordSys, double North, double South,
                                           double East, double West, const char* Charset) {
    if (!FileName || !*FileName || !Kind) return nullptr;
    bool Mif = strcasecmp(Kind, "mif") == 0;
    if (!Mif && strcasecmp(Kind, "tab") != 0) {
        CPLError(CE_Failure, CPLE_IllegalArg, "Unknown table kind '%s': not mif or tab", Kind);
        return nullptr;
    }
    if (!HasExtension(FileName, Kind) || IsFolder(FileName)) {
        CPLError(CE_Failure, CPLE_IllegalArg, "A %s table needs a file name ending in .%s", Kind,
                 Kind);
        return nullptr;
    }
    GDALDriverH Driver = MapInfoDriver();
    if (!Driver) return nullptr;
    OGRSpatialReferenceH Srs = nullptr;
    if (CoordSys && *CoordSys) {
        Srs = OSRNewSpatialReference(nullptr);
        if (OSRImportFromMICoordSys(Srs, CoordSys) != OGRERR_NONE) {
            OSRDestroySpatialReference(Srs);
            return nullptr;
        }
        OSRSetAxisMappingStrategy(Srs, OAMS_TRADITIONAL_GIS_ORDER);
    }
    char** Options = CSLSetNameValue(nullptr, "FORMAT", Mif ? "MIF" : "TAB");
    GDALDatasetH Ds = GDALCreate(Driver, FileName, 0, 0, 0, GDT_Unknown, Options);
    CSLDestroy(Options);
    OGRLayerH Layer = nullptr;
    if (Ds) {
        char** LayerOptions = nullptr;
        // The clause's own Bounds, which the import above passes over.
        if (North == 0 && South == 0 && East == 0 && West == 0 && CoordSys)
            if (std::optional<TBounds> B = ClauseBounds(CoordSys))
                West = B->MinX, South = B->MinY, East = B->MaxX, North = B->MaxY;
        const std::string Encoding = Charset ? EncodingOf(Charset) : std::string();
        if (!Encoding.empty())
            LayerOptions = CSLSetNameValue(LayerOptions, "ENCODING", Encoding.c_str());
        if (North != 0 || South != 0 || East != 0 || West != 0)
            LayerOptions = CSLSetNameValue(
                LayerOptions, "BOUNDS",
                (Num(West) + "," + Num(South) + "," + Num(East) + "," + Num(North)).c_str());
        Layer = GDALDatasetCreateLayer(Ds, CPLGetBasename(FileName), Srs, wkbUnknown, LayerOptions);
        CSLDestroy(LayerOptions);
    }
    if (Srs) OSRDestroySpatialReference(Srs);
    if (!Layer) {
        if (Ds) GDALClose(Ds);
        return nullptr;
    }
    auto Result = std::unique_ptr<TDataset>(new TDataset(Ds, true));
    Result->AskedName = FileName;
    Result->FileName = FileName;
    Result->TakeCharset(Charset && !EncodingOf(Charset).empty() ? Charset : "");
    return Result;
}

OGRFieldDefnH TDataset::Field(int Index) const {
    if (Index < 0 || Index >= FieldCount()) return nullptr;
    return OGR_FD_GetFieldDefn(OGR_L_GetLayerDefn(Layer), Index);
}

int TDataset::FieldCount() const {
    return OGR_FD_GetFieldCount(OGR_L_GetLayerDefn(Layer));
}

int TDataset::FieldType(int Index) const {
    return Index >= 0 && Index < static_cast<int>(Types.size()) ? Types[Index] : -1;
}

int TDataset::FieldWidth(int Index) const {
    OGRFieldDefnH F = Field(Index);
    return F ? OGR_Fld_GetWidth(F) : -1;
}

int TDataset::FieldPrecision(int Index) const {
    OGRFieldDefnH F = Field(Index);
    return F ? OGR_Fld_GetPrecision(F) : -1;
}

const char* TDataset::FieldName(int Index) const {
    OGRFieldDefnH F = Field(Index);
    return F ? OGR_Fld_GetNameRef(F) : nullptr;
}

int TDataset::AddField(const char* Name, int Type, int Width, int Precision) {
    if (!Writable || !Name || !*Name) return -1;
    OGRFieldDefnH F = NewField(Recoded(Name, Encoding, "UTF-8").c_str(), Type, Width, Precision);
    if (!F) return -1;
    int Before = FieldCount();
    OGRErr Err = OGR_L_CreateField(Layer, F, TRUE);
    OGR_Fld_Destroy(F);
    if (Err != OGRERR_NONE && Type == TABFT_LargeInt && FieldCount() == Before) {
        // A driver without 64-bit columns: the widest whole decimal keeps
        // every digit in the file, and readers take it for a number.
        CPLErrorReset();
        F = NewField(Name, TABFT_Decimal, 20, 0);
        Err = OGR_L_CreateField(Layer, F, TRUE);
        OGR_Fld_Destroy(F);
    }
    if (Err != OGRERR_NONE || FieldCount() != Before + 1) return -1;
    Types.push_back(Type);
    return Before;
}

int TDataset::FeatureCount() {
    // The driver counts a MIF file's collection members as features of their
    // own, though it reads each collection as one: the statements tell.
    if (!MifName.empty()) {
        Statements = MifStatementClasses(MifName);
        MifName.clear();
        StatementCount = static_cast<int>(std::min<size_t>(Statements.size(), INT_MAX));
    }
    if (StatementCount >= 0) return StatementCount;
    GIntBig N = OGR_L_GetFeatureCount(Layer, TRUE);
    return N < 0 ? -1 : N > INT_MAX ? INT_MAX : static_cast<int>(N);
}

int TDataset::Fetch() {
    if (Pending) OGR_F_Destroy(Pending);
    Pending = OGR_L_GetNextFeature(Layer);
    PendingId = Pending ? OGR_F_GetFID(Pending) : -1;
    CursorKnown = true;
    return AsId(PendingId);
}

int TDataset::NextFeatureId(int Last) {
    // The usual walk asks for the id after the one just fetched: one step of
    // OGR's cursor. Anything else starts over and skips up to Last, which also
    // steps over the gaps that deleted records leave.
    if (Last >= 0 && CursorKnown && Pending && PendingId == Last) return Fetch();
    OGR_L_ResetReading(Layer);
    int Id;
    do {
        Id = Fetch();
    } while (Id >= 0 && Id <= Last);
    return Id;
}

std::unique_ptr<TFeature> TDataset::Read(int Id) {
    if (Id < 1) return nullptr;
    std::unique_ptr<TFeature> Result;
    if (Pending && PendingId == Id) {
        Result = std::make_unique<TFeature>(FromOgr(Pending));
    } else {
        OGRFeatureH F = OGR_L_GetFeature(Layer, Id);
        CursorKnown = false; // a random read may move the driver's own cursor
        if (!F) return nullptr;
        Result = std::make_unique<TFeature>(FromOgr(F));
        OGR_F_Destroy(F);
    }
    // The driver numbers a MIF file's objects from 1 in the order of the
    // file (its feature count does not tell them: it counts a collection's
    // parts too). A feature of another shape than its statement shows the
    // two out of step: OGR's classes alone are trusted from then on. The
    // file is scanned once, when a line or a polygon first asks for it.
    const bool Ambiguous = Result->Class == TABFC_Polyline || Result->Class == TABFC_Region;
    if (Ambiguous && !MifName.empty()) {
        Statements = MifStatementClasses(MifName);
        MifName.clear();
    }
    if (Id <= static_cast<int>(Statements.size())) {
        if (SameShape(Result->Class, Statements[Id - 1]))
            Result->Class = RefinedClass(Result->Class, Statements[Id - 1]);
        else
            Statements.clear();
    }
    if (!Encoding.empty()) Recode(*Result, "UTF-8", Encoding);
    return Result;
}

std::unique_ptr<TFeature> TDataset::NewFeature(int FeatureClass) const {
    if (!IsWritableClass(FeatureClass)) return nullptr;
    auto F = std::make_unique<TFeature>();
    F->Class = FeatureClass;
    F->Values.resize(FieldCount());
    return F;
}

bool TDataset::Write(TFeature& Feature) {
    if (!Writable) return false;
    OGRFeatureH F;
    if (!Encoding.empty()) {
        // The driver takes UTF-8; the feature keeps its text as it was given.
        std::vector<std::optional<std::string>> Values = Feature.Values;
        std::string Text = Feature.Style.Text;
        Recode(Feature, Encoding, "UTF-8");
        F = ToOgr(Feature, OGR_L_GetLayerDefn(Layer), Types);
        Feature.Values = std::move(Values);
        Feature.Style.Text = std::move(Text);
    } else {
        F = ToOgr(Feature, OGR_L_GetLayerDefn(Layer), Types);
    }
    if (!F) return false;
    OGRErr Err = OGR_L_CreateFeature(Layer, F);
    OGR_F_Destroy(F);
    if (Err == OGRERR_NONE) WarnOfSplit(Feature);
    return Err == OGRERR_NONE;
}

void TDataset::WarnOfSplit(const TFeature& Feature) {
    // The driver has no multipoints or collections to write: it writes each
    // point, and each member of a collection, as a feature of its own.
    if (Feature.Class != TABFC_MultiPoint && Feature.Class != TABFC_Collection) return;
    const bool Collection = Feature.Class == TABFC_Collection;
    const size_t Grouped =
        Collection ? static_cast<size_t>(std::max(Feature.Rings, 0) + std::max(Feature.Sections, 0))
                   : 0;
    int Written = (Collection && Feature.Rings > 0) + (Collection && Feature.Sections > 0);
    for (size_t I = std::min(Grouped, Feature.Parts.size()); I < Feature.Parts.size(); ++I)
        Written += static_cast<int>(Feature.Parts[I].size());
    if (Written > 1)
        CPLError(CE_Warning, CPLE_NotSupported,
                 "GDAL's MapInfo driver has no %s to write: it wrote %d features, one per %s",
                 Collection ? "collection" : "multipoint", Written,
                 Collection ? "member and point" : "point");
}

std::string TDataset::CoordSys() const {
    OGRSpatialReferenceH Srs = OGR_L_GetSpatialRef(Layer);
    char* Text = nullptr;
    if (!Srs || OSRExportToMICoordSys(Srs, &Text) != OGRERR_NONE || !Text) {
        CPLFree(Text);
        return {};
    }
    std::string Result = Text;
    CPLFree(Text);
    return Result;
}

} // namespace Mitab

namespace Mitab {

void TDataset::TakeCharset(const std::string& Charset) {
    TableCharset = Charset;
    Encoding.clear();
    if (OGR_L_TestCapability(Layer, OLCStringsAsUTF8)) Encoding = EncodingOf(Charset);
}

void TDataset::Recode(TFeature& F, const std::string& From, const std::string& To) {
    for (std::optional<std::string>& V : F.Values)
        if (V) *V = Recoded(*V, From, To);
    F.Style.Text = Recoded(F.Style.Text, From, To);
}

std::string TDataset::TableText(const char* OgrText) const {
    return Recoded(OgrText ? OgrText : "", "UTF-8", Encoding);
}

std::string TDataset::ExtendedCoordSys() const {
    std::string Clause = CoordSys();
    if (Clause.empty()) return Clause;
    const std::optional<TBounds> Bounds = TableBounds(FileName.c_str());
    if (!Bounds) return Clause;
    const bool NonEarth = strncasecmp(Clause.c_str(), "NonEarth", 8) == 0;
    if (!NonEarth) {
        const std::optional<TBounds> Default = DefaultBounds(OGR_L_GetSpatialRef(Layer));
        if (Default && SameBounds(*Bounds, *Default)) return Clause;
    }
    // Fifteen digits, as MITAB writes them: the grid's arithmetic leaves
    // noise in the last bits of the exact values.
    return Clause + CPLSPrintf(" Bounds (%.15g, %.15g) (%.15g, %.15g)", Bounds->MinX, Bounds->MinY,
                               Bounds->MaxX, Bounds->MaxY);
}

} // namespace Mitab
