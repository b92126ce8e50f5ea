// Writing a map layer through a GDAL vector driver.

#include "core/CoordinateSystems.h"
#include "core/MapLayer.h"
#include "gdal/Module.h"
#include "gdal/OgrStyles.h"
#include "gdal/VectorCommon.h"
#include "gdal/VectorProvider.h"
#include "gdal/WriteGeometry.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace Mapobjects::Gdal {

using namespace Platform;

namespace {

// The driver of the extension: the usual one for the common formats, else
// the first that creates files and lists it.
GDALDriverH DriverFor(const std::string& Path) {
    static const std::pair<const char*, const char*> Usual[] = {
        {"shp", "ESRI Shapefile"}, {"gpkg", "GPKG"}, {"geojson", "GeoJSON"}, {"json", "GeoJSON"},
        {"fgb", "FlatGeobuf"},     {"kml", "KML"},   {"csv", "CSV"},         {"gml", "GML"},
        {"sqlite", "SQLite"}};
    const std::string Ext = LowerCase(ExtractFileExt(Path));
    if (Ext.size() < 2) return nullptr;
    for (const auto& [E, Name] : Usual)
        if (Ext.substr(1) == E) return GDALGetDriverByName(Name);
    for (int I = 0; I < GDALGetDriverCount(); ++I) {
        GDALDriverH D = GDALGetDriver(I);
        if (!GDALGetMetadataItem(D, GDAL_DCAP_VECTOR, nullptr) ||
            !GDALGetMetadataItem(D, GDAL_DCAP_CREATE, nullptr))
            continue;
        const char* List = GDALGetMetadataItem(D, GDAL_DMD_EXTENSIONS, nullptr);
        if (!List) List = GDALGetMetadataItem(D, GDAL_DMD_EXTENSION, nullptr);
        if (List &&
            (" " + LowerCase(List) + " ").find(" " + Ext.substr(1) + " ") != std::string::npos)
            return D;
    }
    return nullptr;
}

OGRFieldType OgrTypeOf(TDataType Type, OGRFieldSubType& Sub) {
    Sub = OFSTNone;
    switch (Type) {
    case dtSmallInt:
        Sub = OFSTInt16;
        return OFTInteger;
    case dtBoolean:
        Sub = OFSTBoolean;
        return OFTInteger;
    case dtInteger:
        return OFTInteger;
    case dtLargeInt:
        return OFTInteger64;
    case dtFloat:
    case dtDecimal:
        return OFTReal;
    case dtDate:
        return OFTDate;
    case dtTime:
        return OFTTime;
    case dtDateTime:
        return OFTDateTime;
    default:
        return OFTString;
    }
}

// The family a flat type belongs to: its multi type.
OGRwkbGeometryType Family(OGRwkbGeometryType T) {
    switch (T) {
    case wkbPoint:
    case wkbMultiPoint:
        return wkbMultiPoint;
    case wkbLineString:
    case wkbMultiLineString:
        return wkbMultiLineString;
    case wkbPolygon:
    case wkbMultiPolygon:
        return wkbMultiPolygon;
    default:
        return T;
    }
}

const char* FamilyName(OGRwkbGeometryType T) {
    switch (T) {
    case wkbMultiPoint:
        return "points";
    case wkbMultiLineString:
        return "lines";
    case wkbMultiPolygon:
        return "polygons";
    default:
        return "collections";
    }
}

// The value of one field into the feature, typed as the field is.
void SetValue(OGRFeatureH F, int Index, OGRFieldType Type, const TObjectRow& Row, int Column) {
    const TVariant V = Row.Value(Column);
    if (V.IsNull() || V.IsEmpty()) {
        OGR_F_SetFieldNull(F, Index);
        return;
    }
    const auto* Int = V.Peek<std::int64_t>();
    const auto* Real = V.Peek<double>();
    const auto* Date = V.Peek<TVarDate>();
    const auto* Bool = V.Peek<bool>();
    switch (Type) {
    case OFTInteger:
    case OFTInteger64:
        if (Int)
            OGR_F_SetFieldInteger64(F, Index, *Int);
        else if (Bool)
            OGR_F_SetFieldInteger(F, Index, *Bool ? 1 : 0);
        else if (Real && std::isfinite(*Real))
            OGR_F_SetFieldInteger64(F, Index, std::llround(*Real));
        else
            OGR_F_SetFieldString(F, Index, Row.Text(Column).c_str());
        return;
    case OFTReal:
        if (Int || Real)
            OGR_F_SetFieldDouble(F, Index, Int ? static_cast<double>(*Int) : *Real);
        else
            OGR_F_SetFieldString(F, Index, Row.Text(Column).c_str());
        return;
    case OFTDate:
    case OFTTime:
    case OFTDateTime:
        if (Real || Date || Int) {
            const double T = Date ? Date->Value : Real ? *Real : static_cast<double>(*Int);
            int Y = 0, M = 0, D = 0, H = 0, Min = 0, S = 0, Ms = 0;
            if (Type != OFTTime) DecodeDate(T, Y, M, D);
            if (Type != OFTDate) DecodeTime(T, H, Min, S, Ms);
            OGR_F_SetFieldDateTimeEx(F, Index, Y, M, D, H, Min, static_cast<float>(S + Ms / 1000.0),
                                     0);
        } else {
            OGR_F_SetFieldString(F, Index, Row.Text(Column).c_str());
        }
        return;
    default:
        OGR_F_SetFieldString(F, Index, Row.Text(Column).c_str());
        return;
    }
}

// The layer's system for GDAL, from any form the module's coordinate
// systems read (a MapInfo clause, WKT, "EPSG:n"); null for none, or for one
// that is not understood (said in Why).
TSrs SrsOf(const std::string& Definition, std::string& Why) {
    if (Definition.empty()) return nullptr;
    const TCoordinateSystems* Systems = CoordinateSystems();
    std::string Wkt = Systems ? Systems->ToWkt(Definition) : Definition;
    TSrs Srs(OSRNewSpatialReference(nullptr));
    char* Text = Wkt.data();
    if (Wkt.empty() || OSRImportFromWkt(Srs.get(), &Text) != OGRERR_NONE) {
        Why = "the coordinate system is not understood, and the file has none: " + Definition;
        return nullptr;
    }
    OSRSetAxisMappingStrategy(Srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return Srs;
}

// Options of the layer a driver makes: text as UTF-8 in a Shapefile, the
// geometry kept as WKT in a CSV file.
std::vector<const char*> LayerOptions(const std::string& Driver) {
    if (Driver == "ESRI Shapefile") return {"ENCODING=UTF-8", nullptr};
    if (Driver == "CSV") return {"GEOMETRY=AS_WKT", nullptr};
    return {nullptr};
}

// A new dataset is written beside the one it replaces and takes its place
// only once complete, so that a save that fails leaves the old file whole
// (and leaves no half-written file behind).
class TPendingDataset {
public:
    TPendingDataset(GDALDriverH Driver, const std::string& Final) : FDriver(Driver), FFinal(Final) {
        std::error_code Ec;
        if (std::filesystem::exists(Final, Ec)) {
            const std::string Ext = ExtractFileExt(Final);
            FWrite = Final.substr(0, Final.size() - Ext.size()) + "-chartix-part" + Ext;
            Remove(FWrite); // left by a run that died
        } else {
            FWrite = Final;
        }
    }
    ~TPendingDataset() {
        if (!FCommitted) Remove(FWrite);
    }
    TPendingDataset(const TPendingDataset&) = delete;
    TPendingDataset& operator=(const TPendingDataset&) = delete;
    // Where the dataset is written.
    const std::string& WritePath() const { return FWrite; }
    // Puts the closed dataset in place of the old one; false, with Why, when
    // it cannot (the old one is then kept if it still can be).
    bool Commit(std::string& Why) {
        if (FWrite != FFinal) {
            if (!Remove(FFinal)) {
                Why = "the file there cannot be replaced";
                return false;
            }
            if (!RenameFiles()) {
                FCommitted = true; // the only copy now
                Why = "the new file is written as " + FWrite + " and cannot be renamed";
                return false;
            }
        }
        FCommitted = true;
        return true;
    }

private:
    // Every file of the written dataset (a Shapefile's .shx, .dbf ... too)
    // to the final name: those named as the written one, whatever follows.
    bool RenameFiles() const {
        namespace fs = std::filesystem;
        const std::string Ext = ExtractFileExt(FWrite);
        const std::string From = fs::path(FWrite.substr(0, FWrite.size() - Ext.size())).filename();
        const std::string To = fs::path(FFinal.substr(0, FFinal.size() - Ext.size())).filename();
        const fs::path Folder = fs::path(FWrite).parent_path();
        std::error_code Ec;
        std::vector<fs::path> Files;
        for (const auto& E : fs::directory_iterator(Folder.empty() ? "." : Folder, Ec)) {
            const std::string Name = E.path().filename().string();
            if (Name.size() > From.size() && Name.compare(0, From.size(), From) == 0 &&
                Name[From.size()] == '.')
                Files.push_back(E.path());
        }
        for (const fs::path& F : Files) {
            const std::string Name = F.filename().string();
            fs::rename(F, F.parent_path() / (To + Name.substr(From.size())), Ec);
            if (Ec) return false;
        }
        return !Files.empty();
    }
    // The dataset at Path through the driver (all its files), else the file.
    bool Remove(const std::string& Path) const {
        std::error_code Ec;
        if (!std::filesystem::exists(Path, Ec)) return true;
        if (GDALDeleteDataset(FDriver, Path.c_str()) == CE_None) return true;
        return std::filesystem::remove(Path, Ec);
    }
    GDALDriverH FDriver;
    std::string FFinal, FWrite;
    bool FCommitted = false;
};

} // namespace

bool TGdalVectorFormatProvider::Save(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!Layer) return false;
    const TSourceName Target = SplitSourceName(FileName);
    const std::string& Path = Target.Path;
    try {
        EnsureDrivers();
        TGdalErrors Errors;
        GDALDriverH Driver = DriverFor(Path);
        if (!Driver) {
            Problems.Add(Path, 0, "no GDAL driver writes " + ExtractFileExt(Path) + " files");
            return false;
        }
        const std::string DriverName = GDALGetDriverShortName(Driver);

        // The geometries first: a one-kind format must hear of a mix before a file is made.
        const int Count = Layer->ObjectCount();
        std::vector<TGeometry> Shapes(static_cast<size_t>(Count));
        std::map<OGRwkbGeometryType, std::map<std::string, int>> Kinds;
        bool Multi = false;
        for (int I = 0; I < Count; ++I) {
            const char* Kind = "";
            int Dropped = 0;
            Shapes[static_cast<size_t>(I)] = GeometryOf(Layer->Objects(I), Kind, Dropped);
            if (Dropped)
                Problems.Add(Path, 0,
                             Format("object at index %d: %d part(s) of too few points left out", I,
                                    Dropped));
            if (OGRGeometryH G = Shapes[static_cast<size_t>(I)].get()) {
                const OGRwkbGeometryType T = wkbFlatten(OGR_G_GetGeometryType(G));
                ++Kinds[Family(T)][Kind];
                if (T == Family(T)) Multi = true;
            }
        }
        OGRwkbGeometryType LayerType = wkbUnknown;
        if (Kinds.size() == 1 && Kinds.begin()->first != wkbGeometryCollection) {
            const OGRwkbGeometryType F = Kinds.begin()->first;
            LayerType = Multi                     ? F
                        : F == wkbMultiPoint      ? wkbPoint
                        : F == wkbMultiLineString ? wkbLineString
                                                  : wkbPolygon;
        } else if (Kinds.empty() && Count > 0) {
            LayerType = wkbNone;
        } else if (!Kinds.empty() && DriverName == "ESRI Shapefile") {
            std::string Mix;
            for (const auto& [F, Names] : Kinds) {
                std::string List;
                for (const auto& [Name, N] : Names)
                    List += (List.empty() ? "" : ", ") + Name + " " + std::to_string(N);
                Mix +=
                    (Mix.empty() ? "" : " and ") + std::string(FamilyName(F)) + " (" + List + ")";
            }
            Problems.Add(Path, 0,
                         "a Shapefile holds one kind of geometry, and this layer has " + Mix);
            return false;
        }

        std::string Why;
        TSrs Srs = SrsOf(Layer->CoordSys(), Why);
        if (!Why.empty()) Problems.Add(Path, 0, Why);

        // A Shapefile's one layer is named by its file.
        const bool Shapefile = DriverName == "ESRI Shapefile";
        const bool KeepsOnlyShapes = DriverName == "FlatGeobuf";
        const std::string LayerName = Target.Layer.empty() || Shapefile
                                          ? ChangeFileExt(ExtractFileName(Path), "")
                                          : Target.Layer;
        namespace fs = std::filesystem;
        std::error_code Ec;
        // Before the dataset: closed first, then put in place or dropped.
        std::optional<TPendingDataset> Pending;
        TDataset Data;
        // A named layer joins a source that can take more, in place of its namesake.
        if (!Target.Layer.empty() && !Shapefile && fs::exists(Path, Ec)) {
            const char* Drivers[] = {DriverName.c_str(), nullptr};
            Data.reset(GDALOpenEx(Path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, Drivers, nullptr,
                                  nullptr));
            if (Data && !GDALDatasetTestCapability(Data.get(), ODsCCreateLayer)) Data.reset();
            for (int I = Data ? GDALDatasetGetLayerCount(Data.get()) - 1 : -1; I >= 0; --I)
                if (LayerName == OGR_L_GetName(GDALDatasetGetLayer(Data.get(), I)) &&
                    GDALDatasetDeleteLayer(Data.get(), I) != OGRERR_NONE) {
                    Problems.Add(Path, 0,
                                 "its layer " + LayerName + " cannot be replaced: " +
                                     Errors.TakeText("the driver refuses"));
                    return false;
                }
        }
        if (!Data) {
            Pending.emplace(Driver, Path);
            Errors.Take();
            Data.reset(
                GDALCreate(Driver, Pending->WritePath().c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        }
        if (!Data) {
            Problems.Add(Path, 0, "cannot be created: " + Errors.TakeText("the driver refuses"));
            return false;
        }
        std::vector<const char*> Options = LayerOptions(DriverName);
        OGRLayerH Out = GDALDatasetCreateLayer(Data.get(), LayerName.c_str(), Srs.get(), LayerType,
                                               const_cast<char**>(Options.data()));
        if (!Out) {
            Problems.Add(Path, 0,
                         "its layer cannot be created: " + Errors.TakeText("the driver refuses"));
            return false;
        }
        for (const std::string& Said : Errors.Take())
            Problems.Add(Path, 0, Said);

        // Columns: where a format shortens names, each column is found by its order.
        const TDataFields& Fields = Layer->Fields();
        std::vector<std::pair<int, OGRFieldType>> Columns;
        OGRFeatureDefnH Defn = OGR_L_GetLayerDefn(Out);
        for (int I = 0; I < Fields.Count(); ++I) {
            const TDataField* Field = Fields.GetFields(I);
            OGRFieldSubType Sub;
            const OGRFieldType Type = OgrTypeOf(Field->DataType(), Sub);
            OGRFieldDefnH D = OGR_Fld_Create(Field->Name().c_str(), Type);
            OGR_Fld_SetSubType(D, Sub);
            int Width =
                Field->DataType() == dtString || Field->DataType() == dtDecimal ? Field->Size() : 0;
            if (Shapefile) Width = std::min(Width, 254);
            OGR_Fld_SetWidth(D, Width);
            if (Field->DataType() == dtDecimal && Width > 0)
                OGR_Fld_SetPrecision(D, Field->Precision());
            const bool Made = OGR_L_CreateField(Out, D, TRUE) == OGRERR_NONE;
            OGR_Fld_Destroy(D);
            Columns.emplace_back(Made ? OGR_FD_GetFieldCount(Defn) - 1 : -1, Type);
            if (!Made)
                Problems.Add(Path, 0,
                             "column " + Field->Name() +
                                 " cannot be made: " + Errors.TakeText("the driver refuses"));
        }
        for (const std::string& Said : Errors.Take())
            Problems.Add(Path, 0, Said);

        // In one transaction where the format has them (a GeoPackage writes far faster).
        const bool Transaction = GDALDatasetStartTransaction(Data.get(), FALSE) == OGRERR_NONE;
        Errors.Take();
        for (int I = 0; I < Count; ++I) {
            TCustomMapObject* Obj = Layer->Objects(I);
            // GDAL's FlatGeobuf writer drops a feature without geometry, saying
            // nothing: its row would be lost without a word.
            if (!Shapes[static_cast<size_t>(I)] && KeepsOnlyShapes) {
                Problems.Add(Path, 0,
                             Format("object at index %d has no geometry, and FlatGeobuf keeps no "
                                    "feature without one",
                                    I));
                continue;
            }
            TFeature F(OGR_F_Create(Defn));
            const TObjectRow& Row = Obj->Row();
            const int Values = std::min(Row.Count(), static_cast<int>(Columns.size()));
            for (int C = 0; C < Values; ++C)
                if (Columns[static_cast<size_t>(C)].first >= 0)
                    SetValue(F.get(), Columns[static_cast<size_t>(C)].first,
                             Columns[static_cast<size_t>(C)].second, Row, C);
            if (TGeometry& G = Shapes[static_cast<size_t>(I)]) {
                if (Multi && LayerType == Family(wkbFlatten(OGR_G_GetGeometryType(G.get())))) {
                    OGRGeometryH Whole = G.release();
                    G.reset(LayerType == wkbMultiPoint        ? OGR_G_ForceToMultiPoint(Whole)
                            : LayerType == wkbMultiLineString ? OGR_G_ForceToMultiLineString(Whole)
                                                              : OGR_G_ForceToMultiPolygon(Whole));
                }
                OGR_F_SetGeometryDirectly(F.get(), G.release());
                const std::string Style = OgrStyleString(*Obj);
                if (!Style.empty()) OGR_F_SetStyleString(F.get(), Style.c_str());
            }
            const bool Written = OGR_L_CreateFeature(Out, F.get()) == OGRERR_NONE;
            const std::string Said = Errors.TakeText({});
            if (!Written)
                Problems.Add(Path, 0,
                             Format("object at index %d could not be written: %s", I,
                                    Said.empty() ? std::string("the driver refuses") : Said));
            else if (!Said.empty())
                Problems.Add(Path, 0, Format("object at index %d: %s", I, Said));
        }
        if (Transaction && GDALDatasetCommitTransaction(Data.get()) != OGRERR_NONE) {
            Problems.Add(Path, 0,
                         "the objects cannot be stored: " + Errors.TakeText("commit failed"));
            return false;
        }
        Data.reset();
        if (Errors.Failed()) {
            Problems.Add(Path, 0, "cannot be completed: " + Errors.TakeText({}));
            return false;
        }
        std::string NotPut;
        if (Pending && !Pending->Commit(NotPut)) {
            const std::string Said = Errors.TakeText({});
            Problems.Add(Path, 0, Said.empty() ? NotPut : NotPut + ": " + Said);
            return false;
        }
        return true;
    } catch (const std::exception& E) {
        Problems.Add(Path, 0, E.what());
        return false;
    }
}

} // namespace Mapobjects::Gdal
