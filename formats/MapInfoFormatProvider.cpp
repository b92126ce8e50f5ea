#include "formats/MapInfoFormatProvider.h"

#include "core/MapObjects.h"
#include "formats/MifStyles.h"
#include "formats/MifText.h"
#include "formats/MitabName.h"
#include "objects/Polys.h"
#include "objects/Text.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace Mapobjects {

using namespace Platform;

namespace {

// MITAB's feature classes and field types.
enum {
    fcPoint = 1,
    fcFontPoint = 2,
    fcCustomPoint = 3,
    fcText = 4,
    fcPolyline = 5,
    fcRegion = 7,
    fcRectangle = 8
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
    ftDateTime = 9
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
// nothing read is lost.
TVariant StoredValue(TDataType Type, const std::string& Value) {
    const std::string_view T = Mif::TrimBlanks(Value);
    if (Type == dtString || T.empty()) return Type == dtString ? Value : std::string();
    TDateTime DT;
    bool B;
    std::string Number;
    switch (Type) {
    case dtInteger:
    case dtSmallInt:
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

// Suspends the map's updates and text sizing for a load, however it ends.
class TLoadGuard {
public:
    explicit TLoadGuard(TChartix* Map) : FMap(Map) {
        if (!FMap) return;
        FMap->BeginUpdate();
        FMap->SetTextSizing(true);
    }
    ~TLoadGuard() {
        if (!FMap) return;
        if (FProgress) FMap->StopProgress();
        FMap->EndUpdate(true);
        FMap->SetTextSizing(false);
    }
    // Progress over Count features, for tables large enough to take a while.
    void StartProgress(int Count) {
        FProgress = FMap && Count > ProgressStep;
        if (FProgress) FMap->StartProgress(0, Count, "Loading file");
    }
    void ShowProgress(int Done) {
        if (FProgress && Done % ProgressStep == 0) FMap->ShowProgress(Done);
    }
    TLoadGuard(const TLoadGuard&) = delete;
    TLoadGuard& operator=(const TLoadGuard&) = delete;

private:
    static constexpr int ProgressStep = 256;
    TChartix* FMap;
    bool FProgress = false;
};

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
    const TBrushStyle Style = BrushStyleFromMif(mitab_c_get_brush_pattern(F));
    Obj->Brush()->SetColor(MifColorToColor(mitab_c_get_brush_fgcolor(F)));
    Obj->Brush()->SetStyle(Style);
    Obj->SetBGColor(MifColorToColor(mitab_c_get_brush_bgcolor(F)));
    Obj->SetUseBGColor(Style != bsClear && mitab_c_get_brush_transparent(F) == 0);
    Obj->Pen()->SetColor(MifColorToColor(mitab_c_get_pen_color(F)));
    Obj->Pen()->SetStyle(PenStyleFromMif(mitab_c_get_pen_pattern(F)));
    Obj->Pen()->SetWidth(PenWidthFromMif(mitab_c_get_pen_width(F)));
}

void ApplyText(mitab_feature F, TText* T, const TMapLayer& Layer) {
    const bool Workspace = Layer.HasWorkspaceStyle();
    const TMapStyle& S = Layer.WorkspaceStyle();
    T->Font()->SetName(Workspace ? S.FontName : Text(mitab_c_get_font(F)));
    T->SetHeight(mitab_c_get_text_height(F));
    T->SetWidth(mitab_c_get_text_width(F));
    T->SetAngle(mitab_c_get_text_angle(F));
    if (Workspace) {
        T->Font()->SetColor(S.FontColor);
        T->SetBGColor(S.TextBGColor);
        T->SetUseBGColor(S.TextBGColor != 0);
    } else {
        T->Font()->SetColor(MifColorToColor(mitab_c_get_text_fgcolor(F)));
        T->SetBGColor(MifColorToColor(mitab_c_get_text_bgcolor(F)));
    }
    T->SetText(Text(mitab_c_get_text(F)));
}

void ApplySymbol(mitab_feature F, int Class, TSymbol* S) {
    if (Class == fcFontPoint) {
        S->Font()->SetName(Text(mitab_c_get_font(F)));
        S->SetShape(mitab_c_get_symbol_no(F));
    } else {
        // MapInfo's own symbols keep their numbers; a picture symbol gets
        // the common one, as the MIF reader gives it.
        S->Font()->SetName(MapInfoSymbolFont);
        S->SetShape(Class == fcPoint ? mitab_c_get_symbol_no(F) : StandInSymbol);
    }
    S->Font()->SetColor(MifColorToColor(mitab_c_get_symbol_color(F)));
    S->Font()->SetSize(mitab_c_get_symbol_size(F));
}

TCustomMapObject* NewObjectFor(TMapLayer& Layer, int Class) {
    switch (Class) {
    case fcPoint:
    case fcFontPoint:
    case fcCustomPoint:
        return Layer.NewObject<TSymbol>();
    case fcText:
        return Layer.NewObject<TText>();
    case fcPolyline:
        return Layer.NewObject<TPolyline>();
    case fcRegion:
    case fcRectangle:
        return Layer.NewObject<TRegion>();
    default:
        return nullptr; // arcs, ellipses, multipoints, collections, none
    }
}

// The class an object is written as; 0 for kinds that are not written.
int ClassOf(const TCustomMapObject* Obj) {
    if (dynamic_cast<const TRegion*>(Obj)) return fcRegion;
    if (dynamic_cast<const TPolyline*>(Obj)) return fcPolyline;
    if (dynamic_cast<const TText*>(Obj)) return fcText;
    if (const auto* S = dynamic_cast<const TSymbol*>(Obj))
        return SameText(S->ReadFont()->Name(), MapInfoSymbolFont) ? fcPoint : fcFontPoint;
    return 0;
}

bool ContainsText(const std::string& Text, const std::string& Word) {
    return LowerCase(Text).find(LowerCase(Word)) != std::string::npos;
}

// The extent of all the layer's objects; empty bounds for none.
TBounds ObjectBounds(const TMapLayer& Layer) {
    TBounds All;
    for (int I = 0; I < Layer.ObjectCount(); ++I) {
        const TParts& Parts = Layer.Objects(I)->Parts();
        for (int P = 0; P < Parts.Count(); ++P)
            for (const TMapPoint& Q : Parts.Items(P)->Points()) {
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
        std::string V = Text(mitab_c_get_field_as_string(F, I));
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
    for (int I = 0; I < Row.Count(); ++I)
        mitab_c_set_field(F, I, Row.Text(I).c_str());
    if (const auto* T = dynamic_cast<const TText*>(Obj)) mitab_c_set_text(F, T->Text().c_str());
    return true;
}

bool TMapInfoFormatProvider::WriteGeometry(mitab_feature F, const TCustomMapObject* Obj) const {
    const TParts& Parts = Obj->Parts();
    std::vector<double> Xs, Ys;
    for (int P = 0; P < Parts.Count(); ++P) {
        Xs.clear();
        Ys.clear();
        for (const TMapPoint& Q : Parts.Items(P)->Points()) {
            Xs.push_back(Q.X);
            Ys.push_back(Q.Y);
        }
        mitab_c_set_points(F, P, static_cast<int>(Xs.size()), Xs.data(), Ys.data());
    }
    return Parts.Count() > 0;
}

void TMapInfoFormatProvider::WriteStyle(mitab_feature F, TCustomMapObject* Obj) const {
    if (!F) return;
    mitab_c_set_pen(F, MifPenWidth(Obj->ReadPen()->Width()), MifPenPattern(Obj->ReadPen()->Style()),
                    MifColor(Obj->ReadPen()->Color()));
    mitab_c_set_brush(F, MifColor(Obj->ReadBrush()->Color()), MifColor(Obj->BGColor()),
                      MifBrushPattern(Obj->ReadBrush()->Style()), Obj->UseBGColor() ? 0 : 1);
    if (auto* T = dynamic_cast<TText*>(Obj)) {
        mitab_c_set_font(F, T->ReadFont()->Name().c_str());
        // The text's own box and angle: its extent here is its anchor alone.
        mitab_c_set_text_display(F, T->Angle(), std::abs(T->Height()), std::abs(T->Width()),
                                 MifColor(T->ReadFont()->Color()),
                                 T->UseBGColor() ? MifColor(T->BGColor()) : 0xFFFFFF, 0, 0, 0);
    } else if (auto* S = dynamic_cast<TSymbol*>(Obj)) {
        mitab_c_set_font(F, S->ReadFont()->Name().c_str());
        mitab_c_set_symbol(F, S->Shape(), S->ReadFont()->Size(), MifColor(S->ReadFont()->Color()));
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
    TDataFields& Fields = Layer->Fields();
    Fields.Clear();
    const int FieldCount = mitab_c_get_field_count(H.get());
    for (int I = 0; I < FieldCount; ++I) {
        TDataField* Field = Fields.Add(Text(mitab_c_get_field_name(H.get(), I)),
                                       DataTypeOf(mitab_c_get_field_type(H.get(), I)),
                                       mitab_c_get_field_width(H.get(), I));
        if (Field->DataType() == dtDecimal)
            Field->SetPrecision(mitab_c_get_field_precision(H.get(), I));
    }
    if (mitab_c_get_mif_coordsys) Layer->SetCoordSys(Text(mitab_c_get_mif_coordsys(H.get())));

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
        TCustomMapObject* Obj = NewObjectFor(*Layer, Class);
        if (!Obj) continue;
        if (Class == fcPolyline || Class == fcRegion || Class == fcRectangle) {
            ReadGeometry(F.get(), Obj);
        } else {
            auto* S = static_cast<TSymbol*>(Obj);
            S->SetX(mitab_c_get_vertex_x(F.get(), 0, 0));
            S->SetY(mitab_c_get_vertex_y(F.get(), 0, 0));
        }
        ApplyPenAndBrush(F.get(), Obj, *Layer);
        if (Class == fcText)
            ApplyText(F.get(), static_cast<TText*>(Obj), *Layer);
        else if (Class != fcPolyline && Class != fcRegion && Class != fcRectangle)
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
    // table keeps its coordinates' meaning. Its objects may lie beyond the
    // bounds the driver assumes for the projection, where they would be
    // cut: the bounds are then those of the objects, with a margin.
    const std::string CoordSys =
        Layer->CoordSys().empty() ? "CoordSys Earth Projection 1, 0" : Layer->CoordSys();
    double North = 0, South = 0, East = 0, West = 0;
    if (!Layer->CoordSys().empty() && !ContainsText(CoordSys, "Bounds") &&
        !ContainsText(CoordSys, "Earth Projection 1,")) {
        TBounds B = ObjectBounds(*Layer);
        if (B.MinX <= B.MaxX) {
            const double Margin = std::max({B.MaxX - B.MinX, B.MaxY - B.MinY, 1.0}) * 0.1;
            North = B.MaxY + Margin, South = B.MinY - Margin;
            East = B.MaxX + Margin, West = B.MinX - Margin;
        }
    }
    TTable H(
        mitab_c_create(FileName.c_str(), Kind.c_str(), CoordSys.c_str(), North, South, East, West));
    if (!H) {
        Problems.Add(FileName, 0, "cannot be created as a MapInfo table" + LastError());
        return false;
    }
    const TDataFields& Fields = Layer->Fields();
    for (int I = 0; I < Fields.Count(); ++I) {
        const TDataField* Field = Fields.GetFields(I);
        const int Precision = Field->DataType() != dtDecimal ? 0
                              : Field->Precision() > 0       ? Field->Precision()
                                                             : 8;
        if (mitab_c_add_field(H.get(), Field->Name().c_str(), FieldTypeOf(Field->DataType()),
                              Field->Size(), Precision, 0, 0) < 0)
            Problems.Add(FileName, 0,
                         Format("column %s cannot be made%s", Field->Name(), LastError()));
    }
    int Failed = 0;
    for (int I = 0; I < Layer->ObjectCount(); ++I) {
        TCustomMapObject* Obj = Layer->Objects(I);
        int Class = ClassOf(Obj);
        if (!Class) continue;
        // A shape without points keeps its row but no geometry: other
        // readers reject a ring or line of no points.
        const bool Empty =
            (Class == fcRegion || Class == fcPolyline) && Obj->Parts().PointCount() == 0;
        if (Empty) Class = 0;
        TFeature F(mitab_c_create_feature(H.get(), Class));
        if (!F) {
            ++Failed;
            continue;
        }
        WriteData(F.get(), Obj);
        WriteStyle(F.get(), Obj);
        if (!Empty) WriteGeometry(F.get(), Obj);
        if (!mitab_c_write_feature(H.get(), F.get())) ++Failed;
    }
    if (Failed)
        Problems.Add(FileName, 0, Format("%d objects could not be written%s", Failed, LastError()));
    return true;
}

} // namespace Mapobjects
