#include "formats/MapInfoFormatProvider.h"

#include "core/CoordinateSystems.h"
#include "core/LoadGuard.h"

#include "formats/MifCharset.h"
#include "formats/MifWriter.h"
#include "formats/MitabBinding.h"

#include "core/MapObjects.h"
#include "formats/MifForm.h"
#include "formats/MifStyles.h"
#include "formats/MifText.h"
#include "formats/MitabName.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Text.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

namespace Mapobjects {

using namespace Platform;

namespace {

// MITAB's feature classes and field types.
enum {
    fcNone = 0,
    fcPoint = 1,
    fcFontPoint = 2,
    fcCustomPoint = 3,
    fcText = 4,
    fcPolyline = 5,
    fcArc = 6,
    fcRegion = 7,
    fcRectangle = 8,
    fcEllipse = 9,
    fcMultiPoint = 10,
    fcCollection = 11
};
enum {
    ftChar = 1,
    ftInteger = 2,
    ftSmallInt = 3,
    ftDecimal = 4,
    ftFloat = 5,
    ftDate = 6,
    ftLogical = 7,
    ftTime = 8,
    ftDateTime = 9,
    ftLargeInt = 10
};

// The font of MapInfo's own symbols: their numbers are the glyph codes.
constexpr const char* MapInfoSymbolFont = "MapInfo Symbol";
// The symbol that stands in for a picture symbol, which has no picture here.
constexpr int StandInSymbol = 35;

TDataType DataTypeOf(int FieldType) {
    switch (FieldType) {
    case ftInteger:
        return dtInteger;
    case ftSmallInt:
        return dtSmallInt;
    case ftDecimal:
        return dtDecimal;
    case ftFloat:
        return dtFloat;
    case ftDate:
        return dtDate;
    case ftLogical:
        return dtBoolean;
    case ftTime:
        return dtTime;
    case ftDateTime:
        return dtDateTime;
    case ftLargeInt:
        return dtLargeInt;
    default:
        return dtString;
    }
}

int FieldTypeOf(TDataType Type) {
    switch (Type) {
    case dtInteger:
        return ftInteger;
    case dtSmallInt:
        return ftSmallInt;
    case dtDecimal:
        return ftDecimal;
    case dtFloat:
        return ftFloat;
    case dtDate:
        return ftDate;
    case dtBoolean:
        return ftLogical;
    case dtTime:
        return ftTime;
    case dtDateTime:
        return ftDateTime;
    case dtLargeInt:
        return ftLargeInt;
    default:
        return ftChar;
    }
}

int MifColor(TColor Color) {
    return static_cast<int>(ColorToMifColor(Color));
}

std::string Text(const char* S) {
    return S ? std::string(S) : std::string();
}

// What a table is saved in: the original one, and GDAL's for data that
// names no system.
constexpr const char* ClassicCoordSys = "CoordSys Earth Projection 1, 0";
constexpr const char* PlaneCoordSys = "CoordSys NonEarth Units \"m\"";

// A table's system as a MIF header line: MITAB hands the clause without
// its keyword ("Earth Projection 8, ..."), with the table's Bounds where it
// can tell them. Empty for a table without one.
std::string TableCoordSys(mitab_handle H) {
    const char* Clause = mitab_c_get_extended_mif_coordsys ? mitab_c_get_extended_mif_coordsys(H)
                         : mitab_c_get_mif_coordsys        ? mitab_c_get_mif_coordsys(H)
                                                           : nullptr;
    const std::string C(Mif::TrimBlanks(Text(Clause)));
    if (C.empty() || Mif::IsWord(Mif::FirstWord(C), "COORDSYS")) return C;
    return "CoordSys " + C;
}

// MITAB's last error, for a problem report; empty when it says nothing.
std::string LastError() {
    if (!mitab_c_getlasterrormsg) return {};
    const std::string Message = Text(mitab_c_getlasterrormsg());
    return Message.empty() ? Message : ": " + Message;
}

// Whether the last call that touched the files met an error.
bool Failed() {
    return mitab_c_getlasterrorno && mitab_c_getlasterrorno() != 0;
}

// The file beside a table with its name and another extension, in any case
// of the extension (tables made elsewhere carry ".DAT" or ".Map").
bool CompanionExists(const std::string& Table, const std::string& Ext) {
    for (const std::string& E :
         {LowerCase(Ext), UpperCase(Ext), Ext.substr(0, 2) + LowerCase(Ext.substr(2))})
        if (FileExists(ChangeFileExt(Table, E))) return true;
    return false;
}

// What a native ".tab" table lacks beside it, to name in a report.
std::string MissingCompanion(const std::string& Table) {
    if (!SameText(ExtractFileExt(Table), ".tab") || !FileExists(Table)) return {};
    for (const char* Ext : {".Dat", ".Map", ".Id"})
        if (!CompanionExists(Table, Ext))
            return ChangeFileExt(ExtractFileName(Table), LowerCase(Ext));
    return {};
}

// A value in its column's type; text that is none stays text, so that
// nothing read is lost. MITAB gives a null as empty text: in a column of
// numbers, dates or logicals that is a null again. A Char column has no
// null in MapInfo's files, so its empty text stays text.
TVariant StoredValue(TDataType Type, const std::string& Value) {
    if (Type == dtString) return Value;
    const std::string_view T = Mif::TrimBlanks(Value);
    if (T.empty()) return TVariant::Null();
    TDateTime DT;
    bool B;
    std::string Number;
    switch (Type) {
    case dtInteger:
    case dtSmallInt:
    case dtLargeInt:
    case dtFloat:
    case dtDecimal:
        if (Mif::NormalizeNumber(T, Number)) return Number;
        break;
    case dtDate:
        if (Mif::ParseMifDate(T, DT) || Mif::ParseMifDateTime(T, DT))
            return DT; // AsDate stores a double
        break;
    case dtDateTime:
        if (Mif::ParseMifDateTime(T, DT)) return TVariant::FromDateTime(DT);
        break;
    case dtTime:
        if (Mif::ParseMifTime(T, DT) || TryStrToTime(T, DT)) return DT;
        break;
    case dtBoolean:
        if (Mif::ParseLogical(T, B)) return B;
        break;
    case dtString:
        break;
    }
    return Value;
}

struct TCloseTable {
    void operator()(void* H) const { mitab_c_close(H); }
};
struct TDestroyFeature {
    void operator()(void* F) const { mitab_c_destroy_feature(F); }
};
using TTable = std::unique_ptr<void, TCloseTable>;
using TFeature = std::unique_ptr<void, TDestroyFeature>;

void ApplyPenAndBrush(mitab_feature F, TCustomMapObject* Obj, const TMapLayer& Layer) {
    if (Layer.HasWorkspaceStyle()) {
        const TMapStyle& S = Layer.WorkspaceStyle();
        Obj->Brush()->SetColor(S.BrushColor);
        Obj->Brush()->SetStyle(S.BrushStyle);
        Obj->SetBGColor(S.BGColor);
        Obj->SetUseBGColor(S.UseBGColor);
        Obj->Pen()->SetColor(S.PenColor);
        Obj->Pen()->SetStyle(S.PenStyle);
        Obj->Pen()->SetWidth(S.PenWidth);
        return;
    }
    const int BrushPattern = mitab_c_get_brush_pattern(F);
    const TBrushStyle Style = BrushStyleFromMif(BrushPattern);
    Obj->Brush()->SetColor(MifColorToColor(mitab_c_get_brush_fgcolor(F)));
    Obj->Brush()->SetStyle(Style);
    Obj->SetBGColor(MifColorToColor(mitab_c_get_brush_bgcolor(F)));
    Obj->SetUseBGColor(Style != bsClear && mitab_c_get_brush_transparent(F) == 0);
    Obj->Pen()->SetColor(MifColorToColor(mitab_c_get_pen_color(F)));
    const int PenPattern = mitab_c_get_pen_pattern(F);
    Obj->Pen()->SetStyle(PenStyleFromMif(PenPattern));
    Obj->Pen()->SetWidth(PenWidthFromMif(mitab_c_get_pen_width(F)));
    // The numbers the platform's styles cannot tell apart, to be written back.
    if (!dynamic_cast<TSymbol*>(Obj)) {
        Obj->SetKeptPenPattern(PenPattern);
        Obj->SetKeptBrushPattern(BrushPattern);
    }
}

// A turned text's box, as MIF files give it, is the frame around the turned
// text; GDAL's driver places the text at the corner where its baseline
// starts, which lies on the frame's edge that the angle's quadrant picks.
// The point for a text whose frame is (X, Y) to (X + W, Y + H), and back.
TMapPoint TablePointOf(const TText& T, double X, double Y) {
    const double A = T.Angle() * std::numbers::pi / 180;
    const double S = std::sin(A), C = std::cos(A), H = T.Height(), W = T.Width();
    if (T.Angle() == 0 || (S >= 0 && C >= 0)) return {X + H * S, Y};
    if (S > 0) return {X + W, Y - H * C};
    if (C < 0) return {X + W + H * S, Y + H};
    return {X, Y + H - H * C};
}

void PlaceFromTablePoint(TText* T) {
    const double A = T->Angle() * std::numbers::pi / 180;
    const double S = std::sin(A), C = std::cos(A), H = T->Height(), W = T->Width();
    const double PX = T->X(), PY = T->Y();
    if (T->Angle() == 0) return;
    if (S >= 0 && C >= 0)
        T->SetPoint(PX - H * S, PY);
    else if (S > 0)
        T->SetPoint(PX - W, PY + H * C);
    else if (C < 0)
        T->SetPoint(PX - W - H * S, PY - H);
    else
        T->SetPoint(PX, PY - H + H * C);
}

// Alignment, spacing, label line and font style, as MITAB numbers them;
// out-of-range numbers leave the defaults. The box is the one the table
// gave, to be written as it is.
void ApplyTextLayout(mitab_feature F, TText* T) {
    const int Justify = mitab_c_get_text_justification(F);
    if (Justify >= tjLeft && Justify <= tjRight) T->SetJustify(static_cast<TTextJustify>(Justify));
    const int Spacing = mitab_c_get_text_spacing(F);
    if (Spacing >= tsSingle && Spacing <= tsDouble)
        T->SetSpacing(static_cast<TTextSpacing>(Spacing));
    // MITAB has the kind of a label line but not its end: the text's anchor.
    const int Line = mitab_c_get_text_linetype(F);
    if (Line == llSimple || Line == llArrow)
        T->SetLabelLine(static_cast<TLabelLine>(Line), T->X(), T->Y());
    if (mitab_c_get_text_font_style) {
        const TFontStyles Style = FontStyleFromMif(mitab_c_get_text_font_style(F));
        if (Style != T->ReadFont()->Style()) T->Font()->SetStyle(Style);
    }
    T->SetFileStyle(T->FileStyle() | Mif::fsKept);
}

void ApplyText(mitab_feature F, TText* T, const TMapLayer& Layer) {
    const bool Workspace = Layer.HasWorkspaceStyle();
    const TMapStyle& S = Layer.WorkspaceStyle();
    T->Font()->SetName(Workspace ? S.FontName : Text(mitab_c_get_font(F)));
    T->SetHeight(mitab_c_get_text_height(F));
    T->SetWidth(mitab_c_get_text_width(F));
    T->SetAngle(mitab_c_get_text_angle(F));
    PlaceFromTablePoint(T);
    if (Workspace) {
        T->Font()->SetColor(S.FontColor);
        T->SetBGColor(S.TextBGColor);
        T->SetUseBGColor(S.TextBGColor != 0);
    } else {
        T->Font()->SetColor(MifColorToColor(mitab_c_get_text_fgcolor(F)));
        T->SetBGColor(MifColorToColor(mitab_c_get_text_bgcolor(F)));
    }
    T->SetText(Text(mitab_c_get_text(F)));
    ApplyTextLayout(F, T);
}

void ApplySymbol(mitab_feature F, int Class, TSymbol* S) {
    // Turns and picture flags come through entry points a library of an
    // older interface may lack.
    const int Style = mitab_c_get_symbol_style ? mitab_c_get_symbol_style(F) : 0;
    if (Class == fcFontPoint) {
        S->Font()->SetName(Text(mitab_c_get_font(F)));
        S->SetShape(mitab_c_get_symbol_no(F));
        if (mitab_c_get_symbol_angle)
            S->Font()->SetEscapement(EscapementOf(mitab_c_get_symbol_angle(F)));
    } else if (Class == fcCustomPoint) {
        // A picture symbol: its file's name in the font's place, as the MIF
        // reader keeps it; the common symbol is its shape.
        S->SetShape(StandInSymbol);
        S->SetPicture(Text(mitab_c_get_font(F)), Style);
    } else {
        // MapInfo's own symbols keep their numbers.
        S->Font()->SetName(MapInfoSymbolFont);
        S->SetShape(mitab_c_get_symbol_no(F));
    }
    S->Font()->SetColor(MifColorToColor(mitab_c_get_symbol_color(F)));
    S->Font()->SetSize(mitab_c_get_symbol_size(F));
}

// The symbol of a multipoint or collection, as a point's.
void ApplyMultiSymbol(mitab_feature F, TMultiSymbolObject* Obj) {
    const bool FontSymbol =
        SameText(Text(mitab_c_get_font(F)), MapInfoSymbolFont) || Text(mitab_c_get_font(F)).empty();
    Obj->Font()->SetName(FontSymbol ? MapInfoSymbolFont : Text(mitab_c_get_font(F)));
    Obj->SetShape(mitab_c_get_symbol_no(F));
    Obj->Font()->SetColor(MifColorToColor(mitab_c_get_symbol_color(F)));
    Obj->Font()->SetSize(mitab_c_get_symbol_size(F));
}

// Adds the vertices of each part of Feature to the list NewPart() hands out.
template <class F> void EachPart(mitab_feature Feature, F&& NewPart) {
    for (int P = 0; P < mitab_c_get_parts(Feature); ++P) {
        TMapPoints& Points = NewPart();
        for (int V = 0; V < mitab_c_get_vertex_count(Feature, P); ++V)
            Points.Add(mitab_c_get_vertex_x(Feature, P, V), mitab_c_get_vertex_y(Feature, P, V));
    }
}

// A multipoint or collection feature as one object. A collection's members
// come through the collection entry points; a library without them gives
// its parts as lines.
TCustomMapObject* ReadMulti(mitab_feature F, int Class, TMapLayer& Layer) {
    if (Class == fcMultiPoint) {
        auto* Multi = Layer.NewObject<TMultiPoint>();
        for (int P = 0; P < mitab_c_get_parts(F); ++P)
            for (int V = 0; V < mitab_c_get_vertex_count(F, P); ++V)
                Multi->AddPoint(mitab_c_get_vertex_x(F, P, V), mitab_c_get_vertex_y(F, P, V));
        ApplyPenAndBrush(F, Multi, Layer);
        ApplyMultiSymbol(F, Multi);
        return Multi;
    }
    auto* Coll = Layer.NewObject<TCollectionObject>();
    ApplyPenAndBrush(F, Coll, Layer);
    ApplyMultiSymbol(F, Coll);
    if (!mitab_c_get_collection_region_ref) {
        EachPart(F, [&]() -> TMapPoints& { return Coll->AddSection(); });
        return Coll;
    }
    if (mitab_feature R = mitab_c_get_collection_region_ref(F))
        EachPart(R, [&]() -> TMapPoints& { return Coll->AddRing(); });
    if (mitab_feature L = mitab_c_get_collection_polyline_ref(F))
        EachPart(L, [&]() -> TMapPoints& { return Coll->AddSection(); });
    if (mitab_feature M = mitab_c_get_collection_multipoint_ref(F))
        for (int P = 0; P < mitab_c_get_parts(M); ++P)
            for (int V = 0; V < mitab_c_get_vertex_count(M, P); ++V)
                Coll->AddPoint(mitab_c_get_vertex_x(M, P, V), mitab_c_get_vertex_y(M, P, V));
    return Coll;
}

// The parts of Obj from First to Last (exclusive) into F, numbered from 0.
void SetParts(mitab_feature F, const TParts& Parts, int First, int Last) {
    std::vector<double> Xs, Ys;
    for (int P = First; P < Last; ++P) {
        Xs.clear();
        Ys.clear();
        for (const TMapPoint& Q : std::as_const(Parts.Items(P)->Points())) {
            Xs.push_back(Q.X);
            Ys.push_back(Q.Y);
        }
        mitab_c_set_points(F, P - First, static_cast<int>(Xs.size()), Xs.data(), Ys.data());
    }
}

// A collection's groups as its region, polyline and multipoint members.
bool WriteCollection(mitab_handle H, mitab_feature F, TCollectionObject& Coll) {
    if (!mitab_c_set_collection_region) return false;
    const TParts& Parts = Coll.Parts();
    const int Groups[] = {0, Coll.FirstSection(), Coll.FirstPointPart(), Parts.Count()};
    const int Classes[] = {fcRegion, fcPolyline, fcMultiPoint};
    decltype(mitab_c_set_collection_region) Setters[] = {mitab_c_set_collection_region,
                                                         mitab_c_set_collection_polyline,
                                                         mitab_c_set_collection_multipoint};
    for (int G = 0; G < 3; ++G) {
        if (Groups[G] == Groups[G + 1]) continue;
        TFeature Member(mitab_c_create_feature(H, Classes[G]));
        if (!Member) return false;
        SetParts(Member.get(), Parts, Groups[G], Groups[G + 1]);
        // Each member with its tools; the lines with their own pen when they have one.
        const TPen* Pen = G == 1 && Coll.LinePen() ? Coll.LinePen() : Coll.ReadPen();
        mitab_c_set_pen(Member.get(), MifPenWidth(Pen->Width()), MifPenPattern(Pen->Style()),
                        MifColor(Pen->Color()));
        mitab_c_set_brush(Member.get(), MifColor(Coll.ReadBrush()->Color()),
                          MifColor(Coll.BGColor()), MifBrushPattern(Coll.ReadBrush()->Style()),
                          Coll.UseBGColor() ? 0 : 1);
        mitab_c_set_font(Member.get(), Coll.ReadFont()->Name().c_str());
        mitab_c_set_symbol(Member.get(), Coll.Shape(), Coll.ReadFont()->Size(),
                           MifColor(Coll.ReadFont()->Color()));
        if (!Setters[G](F, Member.get(), 1)) return false;
    }
    return true;
}

// The box around all the feature's vertices: the frame of a rectangle or
// an ellipse, whose outline MITAB hands out.
TBounds FeatureBox(mitab_feature F) {
    TBounds B;
    for (int P = 0; P < mitab_c_get_parts(F); ++P)
        for (int V = 0; V < mitab_c_get_vertex_count(F, P); ++V) {
            const double X = mitab_c_get_vertex_x(F, P, V), Y = mitab_c_get_vertex_y(F, P, V);
            B.MinX = std::min(B.MinX, X);
            B.MinY = std::min(B.MinY, Y);
            B.MaxX = std::max(B.MaxX, X);
            B.MaxY = std::max(B.MaxY, Y);
        }
    return B;
}

// The frame of the ellipse that a feature's outline follows. MITAB's
// outline misses the ellipse's extremes, so its box is a little small: the
// axis-parallel ellipse through its vertices is fitted by least squares,
// about the box's centre for precision. The box when that fails.
TBounds EllipseFrame(mitab_feature F) {
    const TBounds Box = FeatureBox(F);
    const double MX = (Box.MinX + Box.MaxX) / 2, MY = (Box.MinY + Box.MaxY) / 2;
    // A u^2 + C v^2 + D u + E v = 1: normal equations, then elimination.
    double N[4][5] = {};
    for (int P = 0; P < mitab_c_get_parts(F); ++P)
        for (int V = 0; V < mitab_c_get_vertex_count(F, P); ++V) {
            const double U = mitab_c_get_vertex_x(F, P, V) - MX;
            const double W = mitab_c_get_vertex_y(F, P, V) - MY;
            const double Row[5] = {U * U, W * W, U, W, 1};
            for (int I = 0; I < 4; ++I)
                for (int J = 0; J < 5; ++J)
                    N[I][J] += Row[I] * Row[J];
        }
    for (int I = 0; I < 4; ++I) {
        int Pivot = I;
        for (int K = I + 1; K < 4; ++K)
            if (std::abs(N[K][I]) > std::abs(N[Pivot][I])) Pivot = K;
        std::swap(N[I], N[Pivot]);
        if (N[I][I] == 0) return Box;
        for (int K = 0; K < 4; ++K) {
            if (K == I) continue;
            const double Factor = N[K][I] / N[I][I];
            for (int J = I; J < 5; ++J)
                N[K][J] -= Factor * N[I][J];
        }
    }
    const double A = N[0][4] / N[0][0], C = N[1][4] / N[1][1];
    const double D = N[2][4] / N[2][2], E = N[3][4] / N[3][3];
    const double G = 1 + D * D / (4 * A) + E * E / (4 * C);
    if (!(A > 0 && C > 0 && G > 0)) return Box;
    const double CX = MX - D / (2 * A), CY = MY - E / (2 * C);
    const double RX = std::sqrt(G / A), RY = std::sqrt(G / C);
    if (!std::isfinite(CX + CY + RX + RY)) return Box;
    return {CX - RX, CY - RY, CX + RX, CY + RY};
}

// Steps round a full turn of an ellipse drawn as a region, as the MIF
// reader draws ovals.
constexpr int EllipseSteps = 72;

// The closed outline of the ellipse in Frame, counter-clockwise from 0 degrees.
std::vector<TMapPoint> EllipseOutline(const TBounds& Frame) {
    const double CX = (Frame.MinX + Frame.MaxX) / 2, CY = (Frame.MinY + Frame.MaxY) / 2;
    const double RX = (Frame.MaxX - Frame.MinX) / 2, RY = (Frame.MaxY - Frame.MinY) / 2;
    std::vector<TMapPoint> Ring;
    for (int I = 0; I <= EllipseSteps; ++I) {
        const double T = (360.0 * I / EllipseSteps) * std::numbers::pi / 180;
        Ring.push_back({CX + RX * std::cos(T), CY + RY * std::sin(T)});
    }
    return Ring;
}

// The object for a feature of Class, as the MIF reader makes the same
// statement: an arc is the polyline it draws, a rectangle (rounded or not)
// a rectangle, an ellipse a circle when its frame is square and otherwise
// the region of its outline. Null for kinds without an object of their
// own (multipoints are made apart, collections). A feature without
// geometry is its row alone.
TCustomMapObject* NewObjectFor(TMapLayer& Layer, int Class, mitab_feature F) {
    switch (Class) {
    case fcNone:
        return Layer.NewObject<TNoGeometry>();
    case fcPoint:
    case fcFontPoint:
    case fcCustomPoint:
        return Layer.NewObject<TSymbol>();
    case fcText:
        return Layer.NewObject<TText>();
    case fcPolyline:
    case fcArc:
        return Layer.NewObject<TPolyline>();
    case fcRegion:
        return Layer.NewObject<TRegion>();
    case fcRectangle: {
        const TBounds B = FeatureBox(F);
        if (B.MinX > B.MaxX) return nullptr;
        auto* R = Layer.NewObject<TRectangle>();
        R->SetX0(B.MinX);
        R->SetY0(B.MinY);
        R->SetX1(B.MaxX);
        R->SetY1(B.MaxY);
        // A rounded one's outline starts where its lower left arc leaves the
        // left side: one corner radius above the bottom.
        if (mitab_c_get_parts(F) > 0 && mitab_c_get_vertex_count(F, 0) > 5)
            R->SetCornerDiameter(2 * (mitab_c_get_vertex_y(F, 0, 0) - B.MinY));
        return R;
    }
    case fcEllipse: {
        if (FeatureBox(F).MinX > FeatureBox(F).MaxX) return nullptr;
        const TBounds B = EllipseFrame(F);
        const double W = B.MaxX - B.MinX, H = B.MaxY - B.MinY;
        if (std::abs(W - H) > 1e-9 * std::max(W, H)) {
            auto* Oval = Layer.NewObject<TRegion>();
            TMapPoints& Points = Oval->Parts().Add()->Points();
            for (const TMapPoint& P : EllipseOutline(B))
                Points.Add(P.X, P.Y);
            return Oval;
        }
        auto* C = Layer.NewObject<TCircle>();
        C->SetX((B.MinX + B.MaxX) / 2);
        C->SetY((B.MinY + B.MaxY) / 2);
        C->SetRadius(W / 2);
        return C;
    }
    default:
        return nullptr;
    }
}

// Whether the object of Class takes the feature's parts as they are.
bool TakesParts(int Class) {
    return Class == fcPolyline || Class == fcArc || Class == fcRegion;
}

// The class an object is written as; 0 for kinds that are not written.
int ClassOf(const TCustomMapObject* Obj) {
    if (dynamic_cast<const TRegion*>(Obj)) return fcRegion;
    if (dynamic_cast<const TPolyline*>(Obj)) return fcPolyline;
    if (dynamic_cast<const TText*>(Obj)) return fcText;
    if (const auto* S = dynamic_cast<const TSymbol*>(Obj)) {
        if (S->IsPicture()) return fcCustomPoint;
        return SameText(S->ReadFont()->Name(), MapInfoSymbolFont) ? fcPoint : fcFontPoint;
    }
    // A rounded rectangle goes as the region GDAL reads one as.
    if (const auto* R = dynamic_cast<const TRectangle*>(Obj))
        return R->CornerDiameter() > 0 ? fcRegion : fcRectangle;
    if (dynamic_cast<const TMultiPoint*>(Obj)) return fcMultiPoint;
    if (dynamic_cast<const TCollectionObject*>(Obj)) return fcCollection;
    // A circle goes as the region of its outline: MITAB cannot be given an
    // ellipse by its frame.
    if (dynamic_cast<const TCircle*>(Obj)) return fcRegion;
    return 0;
}

// The closed outline a rectangle or circle is written with.
std::vector<TMapPoint> Outline(TCustomMapObject* Obj) {
    std::vector<TMapPoint> Ring;
    if (auto* R = dynamic_cast<TRectangle*>(Obj)) {
        const double X0 = R->X0(), Y0 = R->Y0(), X1 = R->X1(), Y1 = R->Y1();
        if (R->CornerDiameter() > 0) {
            TMapPoints Rounded;
            AddRoundRectOutline(Rounded, X0, Y0, X1, Y1, R->CornerDiameter());
            Ring.assign(Rounded.begin(), Rounded.end());
        } else {
            Ring = {{X0, Y0}, {X1, Y0}, {X1, Y1}, {X0, Y1}, {X0, Y0}};
        }
    } else if (auto* C = dynamic_cast<TCircle*>(Obj)) {
        const double X = C->X(), Y = C->Y(), R = C->Radius();
        Ring = EllipseOutline({X - R, Y - R, X + R, Y + R});
        Ring.back() = Ring.front(); // closed exactly
    }
    return Ring;
}

bool ContainsText(const std::string& Text, const std::string& Word) {
    return LowerCase(Text).find(LowerCase(Word)) != std::string::npos;
}

// The extent of all the layer's objects; empty bounds for none.
TBounds ObjectBounds(const TMapLayer& Layer) {
    TBounds All;
    for (int I = 0; I < Layer.ObjectCount(); ++I) {
        for (std::span<const TMapPoint> Part : Layer.Objects(I)->Geometry())
            for (const TMapPoint& Q : Part) {
                All.MinX = std::min(All.MinX, Q.X);
                All.MinY = std::min(All.MinY, Q.Y);
                All.MaxX = std::max(All.MaxX, Q.X);
                All.MaxY = std::max(All.MaxY, Q.Y);
            }
    }
    return All;
}

} // namespace

TMapInfoFormatProvider::TMapInfoFormatProvider(TComponent* Owner) : TCustomFormatProvider(Owner) {
    MITAB_load();
}

std::string TMapInfoFormatProvider::GetDescription() const {
    return "MapInfo Format Provider (mif, tab)";
}

std::string TMapInfoFormatProvider::GetFilter() const {
    return "MapInfo Files (*.mif; *.tab)|*.mif; *.tab";
}

TGUID TMapInfoFormatProvider::GetGUID() const {
    static const TGUID Guid = StringToGUID("{4AC2894A-85A3-4613-80D2-27DDCDFEA816}");
    return Guid;
}

bool TMapInfoFormatProvider::Available() const {
    return MITAB_LibOK();
}

std::string TMapInfoFormatProvider::UnavailableReason() const {
    return Available() ? std::string() : MissingLibraryMessage();
}

bool TMapInfoFormatProvider::CanProcessFile(const std::string& FileName) const {
    const std::string Ext = ExtractFileExt(FileName);
    return SameText(Ext, ".mif") || SameText(Ext, ".tab");
}

std::string TMapInfoFormatProvider::MissingLibraryMessage() {
    return Format("MITAB.DLL not fond! Please place DLL to %s or %s directory!",
                  ApplicationDirectory(), SystemLibraryDirectory());
}

bool TMapInfoFormatProvider::ReadGeometry(mitab_feature F, TCustomMapObject* Obj) const {
    const int Parts = mitab_c_get_parts(F);
    for (int P = 0; P < Parts; ++P) {
        TMapPoints& Points = Obj->Parts().Add()->Points();
        const int N = mitab_c_get_vertex_count(F, P);
        for (int V = 0; V < N; ++V)
            Points.Add(mitab_c_get_vertex_x(F, P, V), mitab_c_get_vertex_y(F, P, V));
    }
    return Parts > 0;
}

bool TMapInfoFormatProvider::ReadData(mitab_feature F, TCustomMapObject* Obj) const {
    if (!F) return false;
    TObjectRow& Row = Obj->Row();
    for (int I = 0; I < Row.Count(); ++I) {
        std::string V = FromTable(mitab_c_get_field_as_string(F, I));
        if (V == "'" || V == "''")
            V.clear();
        else if (V.size() > 2 && V.front() == '\'' && V.back() == '\'')
            V = V.substr(1, V.size() - 2);
        Row.SetValue(I, StoredValue(Row.Column(I).DataType(), V));
    }
    return true;
}

bool TMapInfoFormatProvider::WriteData(mitab_feature F, const TCustomMapObject* Obj) const {
    if (!F) return false;
    const TObjectRow& Row = Obj->Row();
    // A null goes as empty text, which MITAB stores as no value where the
    // column's type has one.
    for (int I = 0; I < Row.Count(); ++I)
        mitab_c_set_field(F, I, ToTable(Row.Text(I)).c_str());
    if (const auto* T = dynamic_cast<const TText*>(Obj))
        mitab_c_set_text(F, ToTable(T->Text()).c_str());
    return true;
}

std::string TMapInfoFormatProvider::FromTable(const char* Text) const {
    std::string In = Text ? Text : "", Out;
    return FCodePage && Mif::CodePageToUtf8(In, FCodePage, Out) ? Out : In;
}

std::string TMapInfoFormatProvider::ToTable(const std::string& Text) const {
    std::string Out;
    return FCodePage && Mif::Utf8ToCodePage(Text, FCodePage, Out) ? Out : Text;
}

bool TMapInfoFormatProvider::WriteGeometry(mitab_feature F, const TCustomMapObject* Obj) const {
    // Read in place: saving a layer of points makes no part lists.
    const TGeometryView Geometry = Obj->Geometry();
    if (const auto* T = dynamic_cast<const TText*>(Obj); T && !Geometry.Empty()) {
        int First = 0;
        while (Geometry.Part(First).empty())
            ++First;
        const TMapPoint& Anchor = Geometry.Part(First).front();
        TMapPoint P = TablePointOf(*T, Anchor.X, Anchor.Y);
        mitab_c_set_points(F, 0, 1, &P.X, &P.Y);
        return true;
    }
    std::vector<double> Xs, Ys;
    int P = 0;
    for (std::span<const TMapPoint> Part : Geometry) {
        Xs.clear();
        Ys.clear();
        for (const TMapPoint& Q : Part) {
            Xs.push_back(Q.X);
            Ys.push_back(Q.Y);
        }
        mitab_c_set_points(F, P++, static_cast<int>(Xs.size()), Xs.data(), Ys.data());
    }
    return P > 0;
}

void TMapInfoFormatProvider::WriteStyle(mitab_feature F, TCustomMapObject* Obj) const {
    if (!F) return;
    // A symbol's 14 kept bits are its style number, not pattern numbers.
    const bool Symbol = dynamic_cast<TSymbol*>(Obj) != nullptr;
    mitab_c_set_pen(F, MifPenWidth(Obj->ReadPen()->Width()),
                    PenPatternToWrite(Symbol ? 0 : Obj->KeptPenPattern(), Obj->ReadPen()->Style()),
                    MifColor(Obj->ReadPen()->Color()));
    mitab_c_set_brush(
        F, MifColor(Obj->ReadBrush()->Color()), MifColor(Obj->BGColor()),
        BrushPatternToWrite(Symbol ? 0 : Obj->KeptBrushPattern(), Obj->ReadBrush()->Style()),
        Obj->UseBGColor() ? 0 : 1);
    if (auto* T = dynamic_cast<TText*>(Obj)) {
        mitab_c_set_font(F, T->ReadFont()->Name().c_str());
        // The text's own box and angle: its extent here is its anchor alone.
        mitab_c_set_text_display(F, T->Angle(), std::abs(T->Height()), std::abs(T->Width()),
                                 MifColor(T->ReadFont()->Color()),
                                 T->UseBGColor() ? MifColor(T->BGColor()) : 0xFFFFFF, T->Justify(),
                                 T->Spacing(), T->LabelLine());
        if (mitab_c_set_text_font_style)
            mitab_c_set_text_font_style(F, MifFontStyle(T->ReadFont()->Style()));
    } else if (auto* S = dynamic_cast<TSymbol*>(Obj)) {
        mitab_c_set_font(F, S->ReadFont()->Name().c_str());
        mitab_c_set_symbol(F, S->Shape(), S->ReadFont()->Size(), MifColor(S->ReadFont()->Color()));
        if (mitab_c_set_symbol_display)
            mitab_c_set_symbol_display(F, AngleOfEscapement(S->ReadFont()->Escapement()),
                                       S->IsPicture() ? S->KeptSymbolStyle() : 0);
    } else if (auto* M = dynamic_cast<TMultiSymbolObject*>(Obj)) {
        mitab_c_set_font(F, M->ReadFont()->Name().c_str());
        mitab_c_set_symbol(F, M->Shape(), M->ReadFont()->Size(), MifColor(M->ReadFont()->Color()));
    }
}

bool TMapInfoFormatProvider::Load(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!MITAB_LibOK()) throw Exception(MissingLibraryMessage());
    const std::vector<std::string> Lacking = MITAB_MissingEntryPoints();
    if (!Lacking.empty())
        throw Exception(Format("%s lacks %s", MitabLibraryName(), Lacking.front()));
    if (!Layer) return false;
    TTable H(mitab_c_open(FileName.c_str()));
    const std::string Missing = MissingCompanion(FileName);
    if (!H) {
        Problems.Add(FileName, 0,
                     Missing.empty() ? "cannot be opened as a MapInfo table" + LastError()
                                     : Missing + " is missing: the table cannot be opened");
        return false;
    }
    // MITAB opens a table without its geometry files as one without objects.
    if (!Missing.empty())
        Problems.Add(FileName, 0, Missing + " is missing: the table's objects have no geometry");
    TLoadGuard Guard(Layer->Map());
    Layer->SetCharset(mitab_c_get_charset ? Text(mitab_c_get_charset(H.get())) : std::string());
    // The table's text in its code page comes to the layer as UTF-8, as the
    // MIF reader gives it, and goes back on saving.
    struct TCodePage {
        const char*& Current;
        ~TCodePage() { Current = nullptr; }
    } CodePage{FCodePage = Mif::CodePageOf(Layer->Charset())};
    TDataFields& Fields = Layer->Fields();
    Fields.Clear();
    const int FieldCount = mitab_c_get_field_count(H.get());
    for (int I = 0; I < FieldCount; ++I) {
        TDataField* Field = Fields.Add(FromTable(mitab_c_get_field_name(H.get(), I)),
                                       DataTypeOf(mitab_c_get_field_type(H.get(), I)),
                                       mitab_c_get_field_width(H.get(), I));
        if (Field->DataType() == dtDecimal)
            Field->SetPrecision(mitab_c_get_field_precision(H.get(), I));
    }
    Layer->SetCoordSys(TableCoordSys(H.get()));

    // MITAB reads damaged files as far as it can: each error it met is told.
    // Ids only grow, so a damaged index that leads back ends the walk.
    auto Walk = [&](int Last) {
        int Id = mitab_c_next_feature_id(H.get(), Last);
        if (Failed())
            Problems.Add(FileName, 0,
                         (Last < 0 ? std::string("at the first feature")
                                   : "after feature " + std::to_string(Last)) +
                             LastError());
        if (Id != -1 && Id <= Last) {
            Problems.Add(FileName, 0, Format("feature %d follows feature %d", Id, Last));
            Id = -1;
        }
        return Id;
    };
    const int Count = mitab_c_get_feature_count ? mitab_c_get_feature_count(H.get()) : -1;
    Guard.StartProgress(Count);
    int Read = 0;
    for (int Id = Walk(-1); Id > 0; Id = Walk(Id)) {
        Guard.ShowProgress(Read);
        TFeature F(mitab_c_read_feature(H.get(), Id));
        if (!F || Failed()) Problems.Add(FileName, 0, Format("feature %d%s", Id, LastError()));
        if (!F) continue;
        ++Read;
        const int Class = mitab_c_get_type(F.get());
        if (Class == fcMultiPoint || Class == fcCollection) {
            // One object with the feature's row, as the MIF reader makes it.
            TCustomMapObject* Multi = ReadMulti(F.get(), Class, *Layer);
            ReadData(F.get(), Multi);
            Multi->UpdateBounds();
            continue;
        }
        TCustomMapObject* Obj = NewObjectFor(*Layer, Class, F.get());
        if (!Obj) continue;
        const bool Shape =
            TakesParts(Class) || Class == fcRectangle || Class == fcEllipse || Class == fcNone;
        if (TakesParts(Class)) {
            ReadGeometry(F.get(), Obj);
        } else if (!Shape) {
            auto* S = static_cast<TSymbol*>(Obj);
            S->SetX(mitab_c_get_vertex_x(F.get(), 0, 0));
            S->SetY(mitab_c_get_vertex_y(F.get(), 0, 0));
        }
        ApplyPenAndBrush(F.get(), Obj, *Layer);
        if (Class == fcText) {
            auto* T = static_cast<TText*>(Obj);
            ApplyText(F.get(), T, *Layer);
            if (FCodePage) T->SetText(FromTable(T->Text().c_str()));
        } else if (!Shape)
            ApplySymbol(F.get(), Class, static_cast<TSymbol*>(Obj));
        ReadData(F.get(), Obj);
        Obj->UpdateBounds();
    }
    // A table whose files end early reads as one with fewer features: say so.
    if (Count > Read)
        Problems.Add(FileName, 0,
                     Format("%d of its %d features were read%s", Read, Count, LastError()));
    return true;
}

bool TMapInfoFormatProvider::Save(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!MITAB_LibOK() || !MITAB_MissingEntryPoints().empty() || !Layer) return false;
    const std::string Ext = ExtractFileExt(FileName);
    const std::string Kind = LowerCase(Ext.substr(Ext.empty() ? 0 : 1, 3));
    // The layer's own system when it came with one, so that a projected
    // table keeps its coordinates' meaning; a table needs one, and for a
    // layer without GDAL's choice claims least: plane metres. Its objects
    // may lie beyond the bounds the driver assumes for the projection, where
    // they would be cut: the bounds are then those of the objects, with a
    // margin (a clause's own Bounds are the library's to take).
    const bool Classic = FDialect == mdClassic;
    const std::string Own = MapInfoCoordSys(Layer->CoordSys());
    const std::string CoordSys = Classic ? ClassicCoordSys : Own.empty() ? PlaneCoordSys : Own;
    double North = 0, South = 0, East = 0, West = 0;
    if (!Classic && !ContainsText(CoordSys, "Bounds") &&
        !ContainsText(CoordSys, "Earth Projection 1,")) {
        TBounds B = ObjectBounds(*Layer);
        if (B.MinX <= B.MaxX) {
            const double Margin = std::max({B.MaxX - B.MinX, B.MaxY - B.MinY, 1.0}) * 0.1;
            North = B.MaxY + Margin, South = B.MinY - Margin;
            East = B.MaxX + Margin, West = B.MinX - Margin;
        }
    }
    const std::string& Charset = Layer->Charset();
    TTable H(!Classic && !Charset.empty() && mitab_c_create_with_charset
                 ? mitab_c_create_with_charset(FileName.c_str(), Kind.c_str(), CoordSys.c_str(),
                                               Charset.c_str(), North, South, East, West)
                 : mitab_c_create(FileName.c_str(), Kind.c_str(), CoordSys.c_str(), North, South,
                                  East, West));
    if (!H) {
        Problems.Add(FileName, 0, "cannot be created as a MapInfo table" + LastError());
        return false;
    }
    struct TCodePage {
        const char*& Current;
        ~TCodePage() { Current = nullptr; }
    } CodePage{FCodePage = Classic ? nullptr : Mif::CodePageOf(Charset)};
    const TDataFields& Fields = Layer->Fields();
    for (int I = 0; I < Fields.Count(); ++I) {
        const TDataField* Field = Fields.GetFields(I);
        // A decimal column read with its width keeps its decimals, none
        // included; one without a width gets the format's 8.
        const int Precision = Field->DataType() != dtDecimal ? 0
                              : Field->Size() > 0            ? Field->Precision()
                                                             : 8;
        if (mitab_c_add_field(H.get(), ToTable(Field->Name()).c_str(),
                              FieldTypeOf(Field->DataType()), Field->Size(), Precision, 0, 0) < 0)
            Problems.Add(FileName, 0,
                         Format("column %s cannot be made%s", Field->Name(), LastError()));
    }
    // An object that cannot be written is told by its index in the layer,
    // and the others are written all the same.
    for (int I = 0; I < Layer->ObjectCount(); ++I) {
        TCustomMapObject* Obj = Layer->Objects(I);
        int Class = ClassOf(Obj);
        const bool NoGeometry = dynamic_cast<const TNoGeometry*>(Obj) != nullptr;
        if (!Class && !NoGeometry) continue;
        const std::vector<TMapPoint> Ring = Outline(Obj);
        // A shape without points keeps its row but no geometry: other
        // readers reject a ring or line of no points.
        const bool Empty =
            NoGeometry ||
            (Ring.empty() && (Class == fcRegion || Class == fcPolyline) && Obj->Geometry().Empty());
        if (Empty) Class = 0;
        try {
            TFeature F(mitab_c_create_feature(H.get(), Class));
            if (!F) {
                Problems.Add(FileName, 0,
                             Format("object at index %d: no feature of class %d can be made%s", I,
                                    Class, LastError()));
                continue;
            }
            WriteData(F.get(), Obj);
            if (!NoGeometry) WriteStyle(F.get(), Obj);
            if (!Ring.empty()) {
                std::vector<double> Xs, Ys;
                for (const TMapPoint& P : Ring) {
                    Xs.push_back(P.X);
                    Ys.push_back(P.Y);
                }
                mitab_c_set_points(F.get(), 0, static_cast<int>(Ring.size()), Xs.data(), Ys.data());
            } else if (auto* Coll = dynamic_cast<TCollectionObject*>(Obj)) {
                if (!WriteCollection(H.get(), F.get(), *Coll))
                    Problems.Add(
                        FileName, 0,
                        Format("object at index %d: its parts cannot be given%s", I, LastError()));
            } else if (!Empty) {
                WriteGeometry(F.get(), Obj);
            }
            if (!mitab_c_write_feature(H.get(), F.get()))
                Problems.Add(FileName, 0,
                             Format("object at index %d could not be written%s", I, LastError()));
            else if ((Class == fcMultiPoint || Class == fcCollection) && Failed())
                // Written, with a warning: split into several features.
                Problems.Add(FileName, 0, Format("object at index %d%s", I, LastError()));
        } catch (const Exception& E) {
            Problems.Add(FileName, 0, Format("object at index %d: %s", I, E.what()));
        } catch (const std::exception&) {
            Problems.Add(FileName, 0, Format("object at index %d could not be written", I));
        }
    }
    return true;
}

} // namespace Mapobjects
