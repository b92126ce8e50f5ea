#include "gdal/OgrStyles.h"

#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/SysUtils.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace Mapobjects::Gdal {

using namespace Platform;

namespace {

// "#RRGGBB" of a colour (system colours resolved).
std::string Hex(TColor Color) {
    const QColor Q = ToQColor(Color);
    char Text[8];
    std::snprintf(Text, sizeof Text, "#%02X%02X%02X", Q.red(), Q.green(), Q.blue());
    return Text;
}

// The colour of a parameter; false when it is missing, unreadable or, with
// Opaque, fully transparent.
bool ColorParam(OGRStyleToolH Tool, int Param, bool Opaque, TColor& Color) {
    int Null = 1;
    const char* Text = OGR_ST_GetParamStr(Tool, Param, &Null);
    int R = 0, G = 0, B = 0, A = 255;
    if (Null || !Text || !OGR_ST_GetRGBFromString(Tool, Text, &R, &G, &B, &A)) return false;
    if (Opaque && A == 0) return false;
    Color = RGB(R, G, B);
    return true;
}

// A number of a parameter in the tool's unit; Fallback when missing.
double NumberParam(OGRStyleToolH Tool, int Param, double Fallback) {
    int Null = 1;
    const double V = OGR_ST_GetParamDbl(Tool, Param, &Null);
    return Null || !std::isfinite(V) ? Fallback : V;
}

// N of the "ogr-KIND-N" among a tool's ids ("mapinfo-pen-2,ogr-pen-0"); -1 for none.
int OgrId(OGRStyleToolH Tool, int Param, const std::string& Kind) {
    int Null = 1;
    const char* Ids = OGR_ST_GetParamStr(Tool, Param, &Null);
    if (Null || !Ids) return -1;
    const std::string Text = Ids, Key = "ogr-" + Kind + "-";
    const size_t At = Text.find(Key);
    if (At == std::string::npos) return -1;
    return std::atoi(Text.c_str() + At + Key.size());
}

// OGR's standard pens and brushes: 1 is none, the rest patterns.
constexpr TPenStyle PenStyles[] = {psSolid, psClear,   psDash,       psDash, psDash,
                                   psDot,   psDashDot, psDashDotDot, psDot};
constexpr TBrushStyle BrushStyles[] = {bsSolid,     bsClear,     bsHorizontal, bsVertical,
                                       bsFDiagonal, bsBDiagonal, bsCross,      bsDiagCross};

// A style string's quoted text: quotes and backslashes inside escaped.
std::string Quoted(const std::string& Text) {
    std::string Result = "\"";
    for (char C : Text) {
        if (C == '"' || C == '\\') Result += '\\';
        Result += C;
    }
    return Result + "\"";
}

} // namespace

TOgrStyleReader::TOgrStyleReader(OGRStyleTableH Table) : FManager(OGR_SM_Create(Table)) {}

TOgrStyleReader::~TOgrStyleReader() {
    OGR_SM_Destroy(FManager);
}

bool TOgrStyleReader::Read(const char* Text, TOgrStyle& Style) {
    if (!Text || !*Text) return false;
    if (FLastText == Text) {
        Style = FLastStyle;
        return FLastOk;
    }
    TOgrStyle S;
    bool Ok = false;
    if (OGR_SM_InitStyleString(FManager, Text)) {
        const int Parts = OGR_SM_GetPartCount(FManager, nullptr);
        for (int I = 0; I < Parts; ++I) {
            OGRStyleToolH Tool = OGR_SM_GetPart(FManager, I, nullptr);
            if (!Tool) continue;
            // Sizes without a unit are pixels (points for symbols), as drivers write them.
            switch (OGR_ST_GetType(Tool)) {
            case OGRSTCPen:
                OGR_ST_SetUnit(Tool, OGRSTUPixel, 1);
                S.Pen = Ok = true;
                ColorParam(Tool, OGRSTPenColor, false, S.PenColor);
                if (const int Id = OgrId(Tool, OGRSTPenId, "pen"); Id >= 0 && Id <= 8)
                    S.PenStyle = PenStyles[Id];
                S.PenWidth = std::clamp(
                    static_cast<int>(std::lround(NumberParam(Tool, OGRSTPenWidth, 1))), 1, 100);
                break;
            case OGRSTCBrush:
                Ok = true;
                S.Brush = ColorParam(Tool, OGRSTBrushFColor, true, S.BrushColor);
                if (const int Id = OgrId(Tool, OGRSTBrushId, "brush"); Id >= 0 && Id <= 7)
                    S.BrushStyle = BrushStyles[Id];
                if (S.BrushStyle == bsClear) S.Brush = false;
                break;
            case OGRSTCSymbol:
                OGR_ST_SetUnit(Tool, OGRSTUPoints, 1);
                Ok = true;
                S.SymbolColor = ColorParam(Tool, OGRSTSymbolColor, false, S.Symbol);
                S.SymbolSize = std::clamp(
                    static_cast<int>(std::lround(NumberParam(Tool, OGRSTSymbolSize, 0))), 0, 240);
                break;
            default:
                break;
            }
            OGR_ST_Destroy(Tool);
        }
    }
    FLastText = Text;
    FLastStyle = S;
    FLastOk = Ok;
    Style = S;
    return Ok;
}

std::string OgrStyleString(const TCustomMapObject& Object) {
    if (dynamic_cast<const TNoGeometry*>(&Object)) return {};
    if (const auto* T = dynamic_cast<const TText*>(&Object)) {
        // The height in ground units: the box the text fills on the map.
        std::string Label = "LABEL(f:" + Quoted(T->ReadFont()->Name()) + ",t:" + Quoted(T->Text()) +
                            ",c:" + Hex(T->ReadFont()->Color()) +
                            Format(",s:%gg", std::abs(T->Height()));
        if (T->Angle() != 0) Label += Format(",a:%g", T->Angle());
        return Label + ")";
    }
    const auto Symbol = [](const TFont& Font) {
        return "SYMBOL(id:\"ogr-sym-0\",c:" + Hex(Font.Color()) + Format(",s:%dpt)", Font.Size());
    };
    if (dynamic_cast<const TSymbol*>(&Object)) return Symbol(*Object.ReadFont());
    // The standard id of the pattern, where OGR has one for it.
    const auto Pen =
        std::find(std::begin(PenStyles), std::end(PenStyles), Object.ReadPen()->Style());
    const auto Brush =
        std::find(std::begin(BrushStyles), std::end(BrushStyles), Object.ReadBrush()->Style());
    std::string Style = "PEN(c:" + Hex(Object.ReadPen()->Color()) +
                        Format(",w:%dpx", std::max(1, Object.ReadPen()->Width()));
    if (Pen != std::end(PenStyles) && Pen != std::begin(PenStyles))
        Style += Format(",id:\"ogr-pen-%d\"", static_cast<int>(Pen - std::begin(PenStyles)));
    Style += ")";
    if (Object.ReadBrush()->Style() != bsClear) {
        Style += ";BRUSH(fc:" + Hex(Object.ReadBrush()->Color());
        if (Brush != std::end(BrushStyles) && Brush != std::begin(BrushStyles))
            Style +=
                Format(",id:\"ogr-brush-%d\"", static_cast<int>(Brush - std::begin(BrushStyles)));
        Style += ")";
    }
    if (dynamic_cast<const TMultiSymbolObject*>(&Object)) Style += ";" + Symbol(*Object.ReadFont());
    return Style;
}

} // namespace Mapobjects::Gdal
