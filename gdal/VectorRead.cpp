// Reading a layer of a GDAL vector source into a map layer.

#include "core/LoadGuard.h"
#include "core/MapObjects.h"
#include "gdal/OgrStyles.h"
#include "gdal/VectorCommon.h"
#include "gdal/VectorProvider.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "platform/SysUtils.h"

#include <cpl_conv.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Mapobjects::Gdal {

using namespace Platform;

namespace {

// The library's type of an OGR field. A real with a width and decimals is
// a decimal column, as a DBF or MapInfo file defines one.
TDataType DataTypeOf(OGRFieldDefnH Field) {
    switch (OGR_Fld_GetType(Field)) {
    case OFTInteger:
        return OGR_Fld_GetSubType(Field) == OFSTBoolean ? dtBoolean
               : OGR_Fld_GetSubType(Field) == OFSTInt16 ? dtSmallInt
                                                        : dtInteger;
    case OFTInteger64:
        return dtLargeInt;
    case OFTReal:
        return OGR_Fld_GetWidth(Field) > 0 && OGR_Fld_GetPrecision(Field) > 0 ? dtDecimal : dtFloat;
    case OFTDate:
        return dtDate;
    case OFTTime:
        return dtTime;
    case OFTDateTime:
        return dtDateTime;
    default:
        return dtString;
    }
}

// Characters, not bytes, of UTF-8 text.
size_t Characters(const char* Text) {
    size_t N = 0;
    for (const char* P = Text; *P; ++P)
        if ((static_cast<unsigned char>(*P) & 0xC0) != 0x80) ++N;
    return N;
}

// What keeps a feature's geometry from being read; empty when nothing does.
std::string Damage(OGRGeometryH G) {
    const OGRwkbGeometryType Type = wkbFlatten(OGR_G_GetGeometryType(G));
    const int Members = OGR_G_GetGeometryCount(G);
    if (Members > 0) {
        for (int I = 0; I < Members; ++I) {
            OGRGeometryH Member = OGR_G_GetGeometryRef(G, I);
            if (Type == wkbPolygon && OGR_G_GetPointCount(Member) < 3)
                return Format("ring %d has %d points", I + 1, OGR_G_GetPointCount(Member));
            if (std::string Why = Damage(Member); !Why.empty()) return Why;
        }
        return {};
    }
    const int N = OGR_G_GetPointCount(G);
    if (Type == wkbLineString && N < 2) return Format("a line of %d point(s)", N);
    for (int I = 0; I < N; ++I)
        if (!std::isfinite(OGR_G_GetX(G, I)) || !std::isfinite(OGR_G_GetY(G, I)))
            return Format("point %d is not a number", I + 1);
    return {};
}

class TReader {
public:
    TReader(TMapLayer& Layer, TReadProblems& Problems, const std::string& FileName,
            GDALDatasetH Data, OGRLayerH Source)
        : FLayer(Layer), FProblems(Problems), FFileName(FileName), FSource(Source),
          FStyles(OGR_L_GetStyleTable(Source) ? OGR_L_GetStyleTable(Source)
                                              : GDALDatasetGetStyleTable(Data)),
          FShape(Layer.Map() ? Layer.Map()->Options().DefaultSymbolShape() : 35) {}

    void ReadFields() {
        TDataFields& Fields = FLayer.Fields();
        Fields.Clear();
        OGRFeatureDefnH Defn = OGR_L_GetLayerDefn(FSource);
        for (int I = 0; I < OGR_FD_GetFieldCount(Defn); ++I) {
            OGRFieldDefnH D = OGR_FD_GetFieldDefn(Defn, I);
            const TDataType Type = DataTypeOf(D);
            const int Width = std::max(0, OGR_Fld_GetWidth(D));
            TDataField* Field = Fields.Add(OGR_Fld_GetNameRef(D), Type, Width);
            if (Type == dtDecimal) Field->SetPrecision(OGR_Fld_GetPrecision(D));
            // A text column of no stated width is as wide as its longest value.
            FColumns.push_back({Type, Type == dtString && Width == 0, 1});
        }
    }

    // What opening the source said: some drivers (GeoJSON) parse every
    // feature again on the first read and would repeat it there, pinned on
    // feature 1.
    void SetSaidAtOpen(std::vector<std::string> Said) { FSaidAtOpen = std::move(Said); }

    void ReadFeatures(TLoadGuard& Guard) {
        TGdalErrors Errors;
        OGR_L_ResetReading(FSource);
        const GIntBig Count = OGR_L_GetFeatureCount(FSource, FALSE);
        Guard.StartProgress(Count);
        if (Count > 0 && Count < INT32_MAX)
            FLayer.ReserveObjects(FLayer.ObjectCount() + static_cast<int>(Count));
        int Number = 0;
        for (;;) {
            TFeature F(OGR_L_GetNextFeature(FSource));
            if (!F) break;
            ++Number;
            Guard.ShowProgress(Number);
            const bool Failed = Errors.Failed();
            std::string Said;
            for (const std::string& M : Errors.Take())
                if (std::find(FSaidAtOpen.begin(), FSaidAtOpen.end(), M) == FSaidAtOpen.end() &&
                    Said.find(M) == std::string::npos)
                    Said += (Said.empty() ? "" : "; ") + M;
            if (Failed) {
                Report(Number, F.get(), Said + "; the feature is skipped");
                continue;
            }
            if (!Said.empty()) Report(Number, F.get(), Said);
            try {
                ReadFeature(Number, F.get());
            } catch (const std::exception& E) {
                Report(Number, F.get(), E.what());
            }
        }
        // A source that breaks off mid-way says so once the walk ends.
        if (Errors.Failed())
            FProblems.Add(FFileName, Number + 1,
                          "reading stopped after feature " + std::to_string(Number) + ": " +
                              Errors.TakeText({}));
        TDataFields& Fields = FLayer.Fields();
        for (int I = 0; I < Fields.Count(); ++I)
            if (FColumns[static_cast<size_t>(I)].Measure)
                Fields.GetFields(I)->SetSize(
                    static_cast<int>(FColumns[static_cast<size_t>(I)].Longest));
    }

private:
    std::vector<std::string> FSaidAtOpen;
    struct TColumn {
        TDataType Type;
        bool Measure;   // the width is the longest value's
        size_t Longest; // characters, at least 1
    };

    void Report(int Number, OGRFeatureH F, const std::string& Message) {
        FProblems.Add(FFileName, Number,
                      Format("feature %d (FID %lld): %s", Number,
                             static_cast<long long>(OGR_F_GetFID(F)), Message));
    }

    void ReadFeature(int Number, OGRFeatureH F) {
        OGRGeometryH G = OGR_F_GetGeometryRef(F);
        TGeometry Linear;
        if (G && OGR_G_HasCurveGeometry(G, TRUE)) {
            Linear.reset(OGR_G_GetLinearGeometry(G, 0, nullptr));
            G = Linear.get();
        }
        if (G && !OGR_G_IsEmpty(G)) {
            if (const std::string Why = Damage(G); !Why.empty()) {
                Report(Number, F, Why + "; the feature is skipped");
                return;
            }
        }
        ReadRow(F);
        const size_t First = static_cast<size_t>(FLayer.ObjectCount());
        if (!G || OGR_G_IsEmpty(G))
            FLayer.NewObject<TNoGeometry>();
        else if (!AddGeometry(G))
            Report(Number, F, Format("geometry of type %s is not read", OGR_G_GetGeometryName(G)));
        TOgrStyle Style;
        const bool Styled = FStyles.Read(OGR_F_GetStyleString(F), Style);
        for (size_t I = First; I < static_cast<size_t>(FLayer.ObjectCount()); ++I) {
            TCustomMapObject* Obj = FLayer.Objects(static_cast<int>(I));
            TObjectRow& Row = Obj->Row();
            for (int C = 0; C < Row.Count() && C < static_cast<int>(FRow.size()); ++C)
                Row.SetValue(C, FRow[static_cast<size_t>(C)]);
            if (Styled) ApplyStyle(Obj, Style);
            Obj->UpdateBounds();
        }
    }

    // The feature's values, once for all the objects it makes.
    void ReadRow(OGRFeatureH F) {
        FRow.assign(FColumns.size(), TVariant::Null());
        for (size_t I = 0; I < FColumns.size(); ++I) {
            const int Field = static_cast<int>(I);
            if (!OGR_F_IsFieldSetAndNotNull(F, Field)) continue;
            TColumn& Column = FColumns[I];
            TVariant& V = FRow[I];
            int Y = 0, M = 0, D = 0, H = 0, Min = 0, TZ = 0;
            float S = 0;
            switch (Column.Type) {
            case dtInteger:
            case dtSmallInt:
                V = static_cast<int>(OGR_F_GetFieldAsInteger(F, Field));
                break;
            case dtLargeInt:
                V = static_cast<std::int64_t>(OGR_F_GetFieldAsInteger64(F, Field));
                break;
            case dtBoolean:
                V = OGR_F_GetFieldAsInteger(F, Field) != 0;
                break;
            case dtFloat:
            case dtDecimal:
                V = OGR_F_GetFieldAsDouble(F, Field);
                break;
            case dtDate:
            case dtTime:
            case dtDateTime: {
                OGR_F_GetFieldAsDateTimeEx(F, Field, &Y, &M, &D, &H, &Min, &S, &TZ);
                const double Seconds = std::floor(S);
                const double Time =
                    EncodeTime(H, Min, static_cast<int>(Seconds),
                               static_cast<int>(std::lround((S - Seconds) * 1000)) % 1000);
                TDateTime Day = 0;
                if (Column.Type != dtTime && !TryEncodeDate(Y, M, D, Day)) {
                    V = OGR_F_GetFieldAsString(F, Field); // kept as read
                    break;
                }
                // Dates and times as plain numbers, date-times as dates, as the MIF reader keeps
                // them.
                if (Column.Type == dtDate)
                    V = Day;
                else if (Column.Type == dtTime)
                    V = Time;
                else
                    V = TVariant::FromDateTime(Day + Time);
                break;
            }
            case dtString: {
                // Lists and binary come as OGR's text of them.
                const char* Text = OGR_F_GetFieldAsString(F, Field);
                if (Column.Measure) Column.Longest = std::max(Column.Longest, Characters(Text));
                V = std::string(Text);
                break;
            }
            }
        }
    }

    // Objects for G; false for a kind that has none.
    bool AddGeometry(OGRGeometryH G) {
        switch (wkbFlatten(OGR_G_GetGeometryType(G))) {
        case wkbPoint: {
            auto* S = FLayer.NewObject<TSymbol>();
            S->SetPoint(OGR_G_GetX(G, 0), OGR_G_GetY(G, 0));
            S->SetShape(FShape);
            return true;
        }
        case wkbMultiPoint: {
            auto* M = FLayer.NewObject<TMultiPoint>();
            M->SetShape(FShape);
            for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I) {
                OGRGeometryH P = OGR_G_GetGeometryRef(G, I);
                if (!OGR_G_IsEmpty(P)) M->AddPoint(OGR_G_GetX(P, 0), OGR_G_GetY(P, 0));
            }
            return true;
        }
        case wkbLineString:
            AddPart(FLayer.NewObject<TPolyline>()->Parts(), G);
            return true;
        case wkbMultiLineString: {
            TParts& Parts = FLayer.NewObject<TPolyline>()->Parts();
            for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I)
                AddPart(Parts, OGR_G_GetGeometryRef(G, I));
            return true;
        }
        case wkbPolygon:
        case wkbTriangle:
            AddRings(FLayer.NewObject<TRegion>()->Parts(), G);
            return true;
        case wkbMultiPolygon:
        case wkbPolyhedralSurface:
        case wkbTIN: {
            TParts& Parts = FLayer.NewObject<TRegion>()->Parts();
            for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I)
                AddRings(Parts, OGR_G_GetGeometryRef(G, I));
            return true;
        }
        case wkbGeometryCollection: {
            // One object per member, each with the feature's row.
            bool Any = false;
            for (int I = 0; I < OGR_G_GetGeometryCount(G); ++I) {
                OGRGeometryH Member = OGR_G_GetGeometryRef(G, I);
                if (!OGR_G_IsEmpty(Member)) Any = AddGeometry(Member) || Any;
            }
            return Any;
        }
        default:
            return false;
        }
    }

    void AddRings(TParts& Parts, OGRGeometryH Polygon) {
        for (int I = 0; I < OGR_G_GetGeometryCount(Polygon); ++I) {
            TMapPoints& Ring = AddPart(Parts, OGR_G_GetGeometryRef(Polygon, I));
            // Rings are kept closed: the outline is drawn from point to point.
            if (Ring.Count() > 0) {
                const TMapPoint First = Ring.GetPoint(0), Last = Ring.GetPoint(Ring.Count() - 1);
                if (First.X != Last.X || First.Y != Last.Y) Ring.Add(First);
            }
        }
    }

    TMapPoints& AddPart(TParts& Parts, OGRGeometryH Line) {
        TMapPoints& Points = Parts.Add()->Points();
        const int N = OGR_G_GetPointCount(Line);
        FX.resize(static_cast<size_t>(N));
        FY.resize(static_cast<size_t>(N));
        OGR_G_GetPoints(Line, FX.data(), sizeof(double), FY.data(), sizeof(double), nullptr, 0);
        Points.Reserve(N + 1);
        for (int I = 0; I < N; ++I)
            Points.Add(FX[static_cast<size_t>(I)], FY[static_cast<size_t>(I)]);
        return Points;
    }

    void ApplyStyle(TCustomMapObject* Obj, const TOgrStyle& Style) {
        const bool Point = dynamic_cast<TSymbol*>(Obj) || dynamic_cast<TMultiPoint*>(Obj);
        if (Point) {
            if (!Style.SymbolColor && !Style.SymbolSize) return;
            TFont Font;
            Font.Assign(*Obj->ReadFont());
            if (Style.SymbolColor) Font.SetColor(Style.Symbol);
            if (Style.SymbolSize > 0) Font.SetSize(Style.SymbolSize);
            Obj->ShareFont(FPool.Font(Font));
            return;
        }
        if (Style.Pen) {
            TPen Pen;
            Pen.Assign(*Obj->ReadPen());
            Pen.SetColor(Style.PenColor);
            Pen.SetWidth(Style.PenWidth);
            Pen.SetStyle(Style.PenStyle);
            Obj->SharePen(FPool.Pen(Pen));
        }
        if (dynamic_cast<TRegion*>(Obj)) {
            TBrush Brush;
            Brush.Assign(*Obj->ReadBrush());
            Brush.SetColor(Style.Brush ? Style.BrushColor : Brush.Color());
            Brush.SetStyle(Style.Brush ? Style.BrushStyle : bsClear);
            Obj->ShareBrush(FPool.Brush(Brush));
            if (!Style.Brush) Obj->SetUseBGColor(false);
        }
    }

    TMapLayer& FLayer;
    TReadProblems& FProblems;
    const std::string& FFileName;
    OGRLayerH FSource;
    TOgrStyleReader FStyles;
    TStylePool FPool;
    const int FShape;
    std::vector<TColumn> FColumns;
    std::vector<TVariant> FRow;
    std::vector<double> FX, FY;
};

// The source layer's system as WKT; empty when it has none.
std::string CoordSysOf(OGRLayerH Source) {
    OGRSpatialReferenceH Srs = OGR_L_GetSpatialRef(Source);
    if (!Srs) return {};
    char* Wkt = nullptr;
    const char* Options[] = {"FORMAT=WKT2_2019", "MULTILINE=NO", nullptr};
    std::string Result;
    if (OSRExportToWktEx(Srs, &Wkt, Options) == OGRERR_NONE && Wkt) Result = Wkt;
    CPLFree(Wkt);
    return Result;
}

// "a, b, c" of the source's layers.
std::string LayerList(GDALDatasetH Data) {
    std::string List;
    for (int I = 0; I < GDALDatasetGetLayerCount(Data); ++I)
        List += (I ? ", " : "") + std::string(OGR_L_GetName(GDALDatasetGetLayer(Data, I)));
    return List.empty() ? "none" : List;
}

} // namespace

bool TGdalVectorFormatProvider::Load(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!Layer) return false;
    try {
        EnsureDrivers();
        TGdalErrors Errors;
        const TSourceName Source = SplitSourceName(FileName);
        TDataset Data = OpenVectorSource(Source.Path);
        if (!Data) {
            Problems.Add(Source.Path, 0,
                         "cannot be opened as a vector source: " +
                             Errors.TakeText("GDAL recognises no format in it"));
            return false;
        }
        OGRLayerH From =
            Source.Layer.empty()
                ? (GDALDatasetGetLayerCount(Data.get()) > 0 ? GDALDatasetGetLayer(Data.get(), 0)
                                                            : nullptr)
                : GDALDatasetGetLayerByName(Data.get(), Source.Layer.c_str());
        if (!From) {
            Problems.Add(Source.Path, 0,
                         Source.Layer.empty() ? std::string("has no layers")
                                              : "has no layer named \"" + Source.Layer +
                                                    "\"; its layers: " + LayerList(Data.get()));
            return false;
        }
        // What opening said (a repaired header...) is worth knowing too.
        std::vector<std::string> Opening = Errors.Take();
        for (const std::string& Said : Opening)
            Problems.Add(Source.Path, 0, Said);
        TLoadGuard Guard(Layer->Map());
        Layer->SetCoordSys(CoordSysOf(From));
        // GDAL hands text as UTF-8, and the layer no longer has the form of an earlier file.
        Layer->SetCharset({});
        Layer->SetFileForm(nullptr);
        TReader Reader(*Layer, Problems, Source.Path, Data.get(), From);
        Reader.SetSaidAtOpen(std::move(Opening));
        Reader.ReadFields();
        Reader.ReadFeatures(Guard);
        return true;
    } catch (const std::exception& E) {
        Problems.Add(FileName, 0, E.what());
        return false;
    }
}

} // namespace Mapobjects::Gdal
