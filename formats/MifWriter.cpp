#include "formats/MifWriter.h"

#include "core/MapObjects.h"
#include "formats/MifStyles.h"
#include "formats/MifText.h"
#include "formats/PendingFile.h"
#include "formats/StringParser.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Mapobjects::Mif {

using namespace Platform;

namespace {

// What a layer made in code is written with: its text is the program's own
// (UTF-8), which "Neutral" tells readers to leave as it is, and its
// coordinates are longitude and latitude on WGS 84.
constexpr const char* DefaultCharset = "Neutral";
constexpr const char* DefaultCoordSys = "CoordSys Earth Projection 1, 104";

template <class... Args>
void Put(TPendingFile& F, fmt::format_string<Args...> Pattern, Args&&... A) {
    fmt::format_to(std::back_inserter(F.Buffer()), Pattern, std::forward<Args>(A)...);
    F.Buffer().append(std::string_view("\r\n"));
}

// A null, an unassigned value and blank text are all written as an empty
// cell, which readers take for a null.
bool HasValue(const TVariant& V) {
    if (const std::string* S = V.Peek<std::string>()) return !TrimBlanks(*S).empty();
    return !V.IsEmpty() && !V.IsNull();
}

bool FieldDateTime(const TVariant& V, TDateTime& Value) {
    if (!HasValue(V)) return false;
    if (V.Type() == TVarType::varString) {
        const std::string S = V.ToString();
        return ParseMifDateTime(S, Value) || ParseMifTime(S, Value) || TryStrToTime(S, Value);
    }
    try {
        Value = V.ToDouble();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

class TWriter {
public:
    TWriter(TMapLayer& Layer, const std::string& MifName, TMifDialect Dialect)
        : FLayer(Layer), FMap(Layer.Map()), FClassic(Dialect == mdClassic), FMif(MifName),
          FMid(ChangeFileExt(MifName, ".mid")) {
        FRow.SetDelimiter(",");
    }

    void Run() {
        WriteHeader();
        const TDataFields& Fields = FLayer.Fields();
        for (int I = 0; I < FLayer.ObjectCount(); ++I) {
            TCustomMapObject* Obj = FLayer.Objects(I);
            FRow.Clear();
            const TObjectRow& Values = Obj->Row();
            for (int K = 0; K < Fields.Count(); ++K)
                FRow.Add()->SetAsString(ValueText(*Fields.GetFields(K), Values, K));
            Put(FMid, "{}", FRow.ToString());
            FMid.Spill();
            WriteObject(Obj);
            FMif.Spill();
        }
        FMif.Finish();
        FMid.Finish();
        CommitFilePair(FMif, FMid);
    }

private:
    // --- header ---
    void WriteHeader() {
        const TDataFields& Fields = FLayer.Fields();
        bool Timed = false;
        for (int I = 0; I < Fields.Count(); ++I)
            Timed |= Fields.GetFields(I)->DataType() == dtDateTime ||
                     Fields.GetFields(I)->DataType() == dtTime;
        // Time columns came with a later version of the format.
        Put(FMif, "Version {}", Timed && !FClassic ? 900 : 300);
        if (FClassic) {
            Put(FMif, "Charset \"WindowsCyrillic\"");
            Put(FMif, "Delimiter \",\"");
            Put(FMif, "CoordSys Earth Projection 1, 0");
        } else {
            const std::string& Charset = FLayer.Charset();
            Put(FMif, "Charset \"{}\"", Charset.empty() ? DefaultCharset : Charset);
            Put(FMif, "Delimiter \",\"");
            const std::string& CoordSys = FLayer.CoordSys();
            Put(FMif, "{}", CoordSys.empty() ? DefaultCoordSys : CoordSys);
        }
        Put(FMif, "Columns {}", Fields.Count());
        for (int I = 0; I < Fields.Count(); ++I)
            WriteColumn(*Fields.GetFields(I));
        Put(FMif, "Data");
    }

    void WriteColumn(const TDataField& Field) {
        const std::string& Name = Field.Name();
        switch (Field.DataType()) {
        case dtString:
            // The format's widest is 254 (a column made without a width has 255).
            Put(FMif, "{} Char({})", Name,
                FClassic ? Field.Size() : std::clamp(Field.Size(), 1, 254));
            break;
        case dtFloat:
            Put(FMif, "{} Float", Name);
            break;
        case dtDecimal:
            if (FClassic || Field.Size() <= 0)
                Put(FMif, "{} Decimal({}, {})", Name, 9, 2);
            else
                Put(FMif, "{} Decimal({}, {})", Name, Field.Size(), Field.Precision());
            break;
        case dtInteger:
            Put(FMif, "{} Integer", Name);
            break;
        case dtSmallInt:
            Put(FMif, "{} SmallInt", Name);
            break;
        case dtDateTime:
            Put(FMif, "{} {}", Name, FClassic ? "Date" : "DateTime");
            break;
        case dtDate:
            Put(FMif, "{} Date", Name);
            break;
        case dtTime:
            Put(FMif, "{} {}", Name, FClassic ? "Date" : "Time");
            break;
        // The format's logical type, so that the column count holds every
        // column.
        case dtBoolean:
            Put(FMif, "{} Logical", Name);
            break;
        }
    }

    // --- .mid values ---
    // A row never loses its shape: strings are quoted, and a numeric column
    // holding something that is no number gets it quoted too rather than
    // raw, where a comma in it would start another column.
    // Column K of the layer with the object's value from Row (none when
    // the row is shorter); the value reads as text by the row's own type.
    std::string ValueText(const TDataField& Column, const TObjectRow& Row, int K) {
        const TDataType Type = Column.DataType();
        const bool Present = K < Row.Count();
        if (FClassic) {
            if (Type == dtString) return Quote(Present ? Row.Text(K) : std::string(), '\'');
            return Present ? Row.Text(K) : std::string();
        }
        if (!Present) return Type == dtString ? "\"\"" : std::string();
        switch (Type) {
        case dtString:
            return Quote(OneLine(Row.Text(K)), '"');
        case dtDate:
        case dtDateTime:
        case dtTime: {
            const TVariant Value = Row.Value(K);
            TDateTime V;
            if (!FieldDateTime(Value, V)) return HasValue(Value) ? Quote(Row.Text(K), '"') : "";
            try {
                return Type == dtDate       ? FormatMifDate(V)
                       : Type == dtDateTime ? FormatMifDateTime(V)
                                            : FormatMifTime(V);
            } catch (const EConvertError&) {
                // Beyond the years 1 to 9999: kept as its number, quoted
                // like any value that is not of its column's type.
                return Quote(Row.Text(K), '"');
            }
        }
        case dtBoolean: {
            const TVariant V = Row.Value(K);
            if (!HasValue(V)) return std::string();
            bool B;
            if (V.Type() == TVarType::varString && ParseLogical(V.ToString(), B))
                return B ? "T" : "F";
            try {
                return V.ToBoolean() ? "T" : "F";
            } catch (const Exception&) {
                return Quote(V.ToString(), '"');
            }
        }
        default: {
            if (!HasValue(Row.Value(K))) return std::string();
            const std::string Text = Row.Text(K);
            std::string Number;
            return NormalizeNumber(Text, Number) ? Number : Quote(OneLine(Text), '"');
        }
        }
    }

    // A value spans one row: line breaks in it are written as \n, as other
    // writers of the format do.
    static std::string OneLine(const std::string& S) {
        if (S.find_first_of("\r\n") == std::string::npos) return S;
        std::string R;
        for (size_t I = 0; I < S.size(); ++I) {
            if (S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n') continue;
            if (S[I] == '\r' || S[I] == '\n')
                R += "\\n";
            else
                R += S[I];
        }
        return R;
    }

    // --- geometry ---
    void PutPoint(double X, double Y) {
        if (FClassic)
            Put(FMif, "{:.6f} {:.6f}", X, Y);
        else
            Put(FMif, "{} {}", X, Y); // the shortest text that reads back the same
    }

    void WritePoints(const TMapPoints& Points) {
        for (const TMapPoint& P : Points) {
            PutPoint(P.X, P.Y);
            FMif.Spill();
        }
    }

    void WritePen(const TCustomMapObject& Obj) {
        const TPen* Pen = Obj.ReadPen();
        int Width = Pen->Width();
        // Widths above 10 are tenths of a point (plus 10) to other readers.
        if (!FClassic && Width > 10)
            Width = 10 + static_cast<int>(std::lround(Width * 72.0 / 96.0 * 10));
        Put(FMif, "Pen ({},{},{})", Width, MifPenPattern(Pen->Style()),
            ColorToMifColor(Pen->Color()));
    }

    void WriteBrush(const TCustomMapObject& Obj, bool WithBack) {
        const TBrush* Brush = Obj.ReadBrush();
        const int Pattern = MifBrushPattern(Brush->Style());
        if (WithBack)
            Put(FMif, "Brush ({},{},{})", Pattern, ColorToMifColor(Brush->Color()),
                ColorToMifColor(Obj.BGColor()));
        else
            Put(FMif, "Brush ({},{})", Pattern, ColorToMifColor(Brush->Color()));
    }

    void WriteText(TText& Text) {
        const double X = Text.X(), Y = Text.Y();
        double X2, Y2;
        if (FMap) {
            // The far corner of the text as the map shows it now.
            TCanvas* C = FMap->Canvas();
            C->Font()->Assign(Text.Font());
            int SX, SY;
            FMap->MapToScreen(X, Y, SX, SY, false);
            SX += C->TextWidth(Text.Text());
            SY += C->TextHeight(Text.Text());
            FMap->ScreenToMap(SX, SY, X2, Y2);
        } else {
            X2 = X + Text.Width();
            Y2 = Y - Text.Height();
        }
        const TFont* Font = Text.ReadFont();
        Put(FMif, "Text");
        if (FClassic)
            Put(FMif, "\"{}\"", Text.Text());
        else
            Put(FMif, "{}", Quote(OneLine(Text.Text()), '"'));
        if (FClassic)
            Put(FMif, "{:.6f} {:.6f} {:.6f} {:.6f}", X, Y, X2, Y2);
        else
            Put(FMif, "{} {} {} {}", X, Y, X2, Y2);
        Put(FMif, "Font (\"{}\",{},{},{})", Font->Name(), MifFontStyle(Font->Style()), Font->Size(),
            ColorToMifColor(Font->Color()));
        // Only a turned text needs its angle.
        if (!FClassic && Text.Angle() != 0) Put(FMif, "Angle {}", Text.Angle());
    }

    void WriteSymbol(TSymbol& Symbol) {
        const TFont* Font = Symbol.ReadFont();
        if (FClassic)
            Put(FMif, "Point {:.6f} {:.6f}", Symbol.X(), Symbol.Y());
        else
            Put(FMif, "Point {} {}", Symbol.X(), Symbol.Y());
        // The format's own symbol set is named by its number alone; a font
        // name would make readers take it for a symbol of that font.
        if (!FClassic && SameText(Font->Name(), "MapInfo Symbol"))
            Put(FMif, "Symbol ({},{},{})", Symbol.Shape(), ColorToMifColor(Font->Color()),
                Font->Size());
        else
            Put(FMif, "Symbol ({},{},{},\"{}\",{},{})", Symbol.Shape(),
                ColorToMifColor(Font->Color()), Font->Size(), Font->Name(),
                MifFontStyle(Font->Style()), 0);
    }

    void WriteObject(TCustomMapObject* Obj) {
        if (auto* Region = dynamic_cast<TRegion*>(Obj)) {
            TParts& Parts = Region->Parts();
            Put(FMif, "Region {}", Parts.Count());
            for (int I = 0; I < Parts.Count(); ++I) {
                const TMapPoints& Points = Parts.Items(I)->Points();
                Put(FMif, "{}", Points.Count());
                WritePoints(Points);
            }
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor() && Obj->ReadBrush()->Style() != bsClear);
        } else if (auto* Polyline = dynamic_cast<TPolyline*>(Obj)) {
            WritePolyline(*Polyline);
        } else if (auto* Rect = dynamic_cast<TRectangle*>(Obj)) {
            const double X0 = Rect->GetX0(), Y0 = Rect->GetY0(), X1 = Rect->GetX1(),
                         Y1 = Rect->GetY1();
            Put(FMif, "Region 1");
            Put(FMif, "5");
            PutPoint(X0, Y0);
            PutPoint(X1, Y0);
            PutPoint(X1, Y1);
            PutPoint(X0, Y1);
            PutPoint(X0, Y0);
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor());
        } else if (auto* Circle = dynamic_cast<TCircle*>(Obj)) {
            // The bounding box of the circle; it reads back as a circle.
            const double X = Circle->X(), Y = Circle->Y(), R = Circle->Radius();
            if (FClassic)
                Put(FMif, "Ellipse {:.6f} {:.6f} {:.6f} {:.6f}", X - R, Y - R, X + R, Y + R);
            else
                Put(FMif, "Ellipse {} {} {} {}", X - R, Y - R, X + R, Y + R);
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor() && Obj->ReadBrush()->Style() != bsClear);
        } else if (auto* Text = dynamic_cast<TText*>(Obj)) {
            WriteText(*Text);
        } else if (auto* Symbol = dynamic_cast<TSymbol*>(Obj)) {
            WriteSymbol(*Symbol);
        } else {
            // A kind the format cannot hold: its row still needs a statement.
            Put(FMif, "None");
        }
    }

    void WritePolyline(TPolyline& Polyline) {
        TParts& Parts = Polyline.Parts();
        if (FClassic) {
            // The first part alone, as this provider always wrote it.
            const int N = Parts.Count() > 0 ? Parts.Items(0)->Points().Count() : 0;
            Put(FMif, "Pline {}", N);
            if (N > 0) WritePoints(Parts.Items(0)->Points());
        } else if (Parts.Count() == 0) {
            Put(FMif, "None"); // nothing to draw, but the row keeps its place
            return;
        } else if (Parts.Count() == 1) {
            Put(FMif, "Pline {}", Parts.Items(0)->Points().Count());
            WritePoints(Parts.Items(0)->Points());
        } else {
            Put(FMif, "Pline Multiple {}", Parts.Count());
            for (int I = 0; I < Parts.Count(); ++I) {
                Put(FMif, "{}", Parts.Items(I)->Points().Count());
                WritePoints(Parts.Items(I)->Points());
            }
        }
        WritePen(Polyline);
    }

    TMapLayer& FLayer;
    TChartix* FMap;
    bool FClassic;
    TPendingFile FMif;
    TPendingFile FMid;
    TStringParser FRow;
};

// Stops the map's progress however the save ends.
struct TSaveProgress {
    TChartix* Map;
    ~TSaveProgress() {
        if (Map) Map->StopProgress();
    }
};

} // namespace

void WriteMifPair(TMapLayer& Layer, const std::string& MifName, TMifDialect Dialect) {
    TWriter Writer(Layer, MifName, Dialect);
    TChartix* Map = Layer.Map();
    TSaveProgress Progress{Map};
    if (Map) Map->StartProgress(0, Layer.ObjectCount(), "Saving...");
    Writer.Run();
}

} // namespace Mapobjects::Mif
