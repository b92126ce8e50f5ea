#include "formats/MifWriter.h"

#include "core/CoordinateSystems.h"
#include "core/MapObjects.h"
#include "formats/MifCharset.h"
#include "formats/MifForm.h"
#include "formats/MifStyles.h"
#include "formats/MifText.h"
#include "formats/PendingFile.h"
#include "formats/StringParser.h"
#include "objects/Multi.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>

namespace Mapobjects::Mif {

using namespace Platform;

namespace {

// What a layer made in code is written with: its text is the program's own
// (UTF-8), which "Neutral" tells readers to leave as it is. A layer without
// a coordinate system gets none: the file says no more than the layer knows.
constexpr const char* DefaultCharset = "Neutral";

// The header's system: a MapInfo clause as it stands; another form (WKT,
// "EPSG:n", a layer brought into a map's system) as the clause GDAL finds
// for it, and none when there is none or no module to ask.

template <class... Args>
void Put(TPendingFile& F, fmt::format_string<Args...> Pattern, Args&&... A) {
    fmt::format_to(std::back_inserter(F.Buffer()), Pattern, std::forward<Args>(A)...);
    F.Buffer().append(std::string_view(F.LineEnd()));
}

// Lines as they were read, with their own line ends (one added where the
// file ended without).
void PutRaw(TPendingFile& F, std::string_view Text) {
    F.Buffer().append(Text);
    if (!Text.empty() && Text.back() != '\n' && Text.back() != '\r')
        F.Buffer().append(std::string_view(F.LineEnd()));
}

// The statements' words where the file gives none.
constexpr std::array<std::string_view, mhCount> DefaultHeads = {
    "Point ", "Line ", "Pline ", "Pline Multiple ", "Region ", "Text", "Rect ", "Ellipse ", "None"};

// The shape a symbol has when no clause gives it one.
int DefaultShape() {
    static const int Shape = TSymbol().Shape();
    return Shape;
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
        : FLayer(Layer), FMap(Layer.Map()), FClassic(Dialect == mdClassic),
          FForm(FClassic ? nullptr : dynamic_cast<const TMifForm*>(Layer.FileForm())),
          FMif(MifName), FMid(ChangeFileExt(MifName, ".mid")),
          FEncoder(CodePageOf(FClassic ? std::string("WindowsCyrillic") : Layer.Charset())) {
        FRow.SetDelimiter(",");
        for (size_t I = 0; I < FHeads.size(); ++I)
            FHeads[I] = DefaultHeads[I];
        if (!FForm) return;
        // A file read is written back in its own form.
        FMif.SetLineEnd(FForm->LineEnd);
        FMid.SetLineEnd(FForm->MidLineEnd);
        FRow.SetDelimiter(std::string(1, FForm->Delimiter));
        for (size_t I = 0; I < FHeads.size(); ++I)
            if (!FForm->Heads[I].empty()) FHeads[I] = FForm->Heads[I];
        FColumnIndent = FForm->ColumnIndent;
        FCountIndent = FForm->CountIndent;
        FClauseIndent = FForm->ClauseIndent;
        FBodyIndent = FForm->BodyIndent;
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
            Spill(FMid, FMidDone);
            WriteObject(Obj);
            Spill(FMif, FMifDone);
        }
        Encode(FMif, FMifDone);
        Encode(FMid, FMidDone);
        FMif.Finish();
        FMid.Finish();
        CommitFilePair(FMif, FMid);
    }

private:
    // --- charset ---
    // The layer's strings are UTF-8 where the reader could make them so;
    // the files go out in the charset their header names. What is written
    // is turned as it goes, object by object, before the buffer is spilled.
    void Encode(TPendingFile& F, size_t& Done) {
        fmt::memory_buffer& B = F.Buffer();
        if (B.size() <= Done) return;
        const std::string_view Tail(B.data() + Done, B.size() - Done);
        if (FEncoder.Encode(Tail, FEncoded)) {
            B.resize(Done);
            B.append(std::string_view(FEncoded));
        }
        Done = B.size();
    }
    void Spill(TPendingFile& F, size_t& Done) {
        Encode(F, Done);
        F.Spill();
        if (F.Buffer().size() < Done) Done = F.Buffer().size();
    }

    // --- header ---
    // Time columns came with a later version of the format, 64-bit
    // integers with a later one still.
    int NeededVersion() const {
        const TDataFields& Fields = FLayer.Fields();
        bool Timed = false, Large = false;
        for (int I = 0; I < Fields.Count(); ++I) {
            const TDataType T = Fields.GetFields(I)->DataType();
            Timed |= T == dtDateTime || T == dtTime;
            Large |= T == dtLargeInt;
        }
        if (FClassic) return 300;
        return Large ? 1520 : Timed ? 900 : 300;
    }

    bool SameColumns() const {
        const TDataFields& Fields = FLayer.Fields();
        if (static_cast<size_t>(Fields.Count()) != FForm->Columns.size()) return false;
        for (int I = 0; I < Fields.Count(); ++I) {
            const TDataField& F = *Fields.GetFields(I);
            if (!(TMifColumn{F.Name(), F.DataType(), F.Size(), F.Precision()} ==
                  FForm->Columns[static_cast<size_t>(I)]))
                return false;
        }
        return true;
    }

    void WriteColumns() {
        const TDataFields& Fields = FLayer.Fields();
        Put(FMif, "Columns {}", Fields.Count());
        for (int I = 0; I < Fields.Count(); ++I)
            WriteColumn(*Fields.GetFields(I));
    }

    // The header as it was read, item by item; what the layer has changed
    // since (its columns, charset or coordinate system) is written anew, and
    // nothing is added that the file did not have and the layer does not.
    void WriteFormHeader() {
        const std::string& Charset = FLayer.Charset();
        const std::string CoordSys = MapInfoCoordSys(FLayer.CoordSys());
        if (FForm->Header.empty()) {
            // None was kept: the file's values in the library's lines.
            Put(FMif, "Version {}", std::max(FForm->Version, NeededVersion()));
            if (!Charset.empty()) Put(FMif, "Charset \"{}\"", Charset);
            Put(FMif, "Delimiter \"{}\"", FForm->Delimiter);
            if (!CoordSys.empty()) Put(FMif, "{}", CoordSys);
            WriteColumns();
            Put(FMif, "Data");
            return;
        }
        bool HadCharset = false, HadCoordSys = false, HadColumns = false, HadData = false;
        // What the file lacked but the layer has now goes before the columns.
        auto Additions = [&] {
            if (!std::exchange(HadCharset, true) && !Charset.empty())
                Put(FMif, "Charset \"{}\"", Charset);
            if (!std::exchange(HadCoordSys, true) && !CoordSys.empty()) Put(FMif, "{}", CoordSys);
        };
        for (const TMifForm::TItem& Item : FForm->Header) {
            switch (Item.Kind) {
            case TMifForm::ikVersion:
                if (FForm->Version >= NeededVersion())
                    PutRaw(FMif, Item.Text);
                else
                    Put(FMif, "Version {}", NeededVersion());
                break;
            case TMifForm::ikCharset:
                HadCharset = true;
                if (Charset == FForm->Charset)
                    PutRaw(FMif, Item.Text);
                else if (!Charset.empty())
                    Put(FMif, "Charset \"{}\"", Charset);
                break;
            case TMifForm::ikCoordSys:
                HadCoordSys = true;
                if (CoordSys == FForm->CoordSys)
                    PutRaw(FMif, Item.Text);
                else if (!CoordSys.empty())
                    Put(FMif, "{}", CoordSys);
                break;
            case TMifForm::ikColumns:
                Additions();
                if (std::exchange(HadColumns, true)) break;
                if (SameColumns())
                    PutRaw(FMif, Item.Text);
                else
                    WriteColumns();
                break;
            case TMifForm::ikData:
                Additions();
                if (!std::exchange(HadColumns, true) && FLayer.Fields().Count() > 0) WriteColumns();
                HadData = true;
                PutRaw(FMif, Item.Text);
                break;
            default:
                PutRaw(FMif, Item.Text);
                break;
            }
        }
        if (HadData) return;
        Additions();
        if (!HadColumns) WriteColumns();
        Put(FMif, "Data");
    }

    void WriteHeader() {
        if (FForm) return WriteFormHeader();
        Put(FMif, "Version {}", NeededVersion());
        if (FClassic) {
            Put(FMif, "Charset \"WindowsCyrillic\"");
            Put(FMif, "Delimiter \",\"");
            Put(FMif, "CoordSys Earth Projection 1, 0");
        } else {
            const std::string& Charset = FLayer.Charset();
            Put(FMif, "Charset \"{}\"", Charset.empty() ? DefaultCharset : Charset);
            Put(FMif, "Delimiter \",\"");
            const std::string CoordSys = MapInfoCoordSys(FLayer.CoordSys());
            if (!CoordSys.empty()) Put(FMif, "{}", CoordSys);
        }
        WriteColumns();
        Put(FMif, "Data");
    }

    void WriteColumn(const TDataField& Field) {
        const std::string Name = FColumnIndent + Field.Name();
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
        case dtLargeInt:
            Put(FMif, "{} {}", Name, FClassic ? "Integer" : "LargeInt");
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
            return Quote(MidLines(Row.Text(K)), '"');
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
            return NormalizeNumber(Text, Number) ? Number : Quote(MidLines(Text), '"');
        }
        }
    }

    // A .mid value keeps its line ends: a quoted value may span lines, which
    // MapInfo and GDAL read back as the one value (the two characters \n
    // would come back as themselves). They are the .mid's own line ends.
    std::string MidLines(const std::string& S) const {
        if (S.find_first_of("\r\n") == std::string::npos) return S;
        std::string R;
        for (size_t I = 0; I < S.size(); ++I) {
            if (S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n') continue;
            if (S[I] == '\r' || S[I] == '\n')
                R += FMid.LineEnd();
            else
                R += S[I];
        }
        return R;
    }

    // A text object's string is one line of the .mif: line breaks in it
    // are written as \n, as other writers of the format do.
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
        else if (FForm && FForm->Decimals >= 0)
            Put(FMif, "{} {}", Coordinate(X, FX), Coordinate(Y, FY));
        else
            Put(FMif, "{} {}", X, Y); // the shortest text that reads back the same
    }

    // A coordinate with the file's fixed decimals when they read back as the
    // same number, else in the shortest form: nothing is rounded away.
    std::string_view Coordinate(double V, std::array<char, 48>& Buf) const {
        const auto R = fmt::format_to_n(Buf.data(), Buf.size(), "{:.{}f}", V, FForm->Decimals);
        double Back;
        if (R.size <= Buf.size()) {
            const auto [End, Ec] = std::from_chars(Buf.data(), R.out, Back);
            if (Ec == std::errc() && End == R.out && Back == V) return {Buf.data(), R.size};
        }
        const auto S = fmt::format_to_n(Buf.data(), Buf.size(), "{}", V);
        return {Buf.data(), std::min(S.size, Buf.size())};
    }

    void WritePoints(const TMapPoints& Points) {
        for (const TMapPoint& P : Points) {
            PutPoint(P.X, P.Y);
            FMif.Spill();
        }
    }

    // --- styles ---
    // A clause the object's file did not have is left out while the object
    // still has the style that its absence gives (the map's default).
    bool Unwritten(const TCustomMapObject& Obj, std::uint8_t Bit) const {
        return FForm && (Obj.FileStyle() & Bit) != 0;
    }
    const TChartixOptions* Options() const { return FMap ? &FMap->Options() : nullptr; }
    template <class T> static bool IsDefault(const T* Tool, const T* Default) {
        return !Default || Tool->Equals(*Default);
    }

    void WritePen(const TCustomMapObject& Obj) {
        const TPen* Pen = Obj.ReadPen();
        if (Unwritten(Obj, fsNoOutline) &&
            IsDefault(Pen, Options() ? Options()->DefaultPen() : nullptr))
            return;
        int Width = Pen->Width();
        // Widths above 10 are tenths of a point (plus 10) to other readers.
        if (!FClassic && Width > 10)
            Width = 10 + static_cast<int>(std::lround(Width * 72.0 / 96.0 * 10));
        const int Pattern = FClassic ? MifPenPattern(Pen->Style())
                                     : PenPatternToWrite(Obj.KeptPenPattern(), Pen->Style());
        Put(FMif, "{}Pen ({},{},{})", FClauseIndent, Width, Pattern, ColorToMifColor(Pen->Color()));
    }

    void WriteBrush(const TCustomMapObject& Obj, bool WithBack) {
        const TBrush* Brush = Obj.ReadBrush();
        if (Unwritten(Obj, fsNoFill)) {
            const TChartixOptions* O = Options();
            const bool Plain =
                !O || (IsDefault(Brush, O->DefaultBrush()) && Obj.UseBGColor() == O->UseBGColor() &&
                       (!Obj.UseBGColor() || Obj.BGColor() == O->DefaultBGColor()));
            if (Plain) return;
        }
        // A back colour the file gave though the fill does not draw it.
        WithBack |= Unwritten(Obj, fsKept);
        const int Pattern = FClassic ? MifBrushPattern(Brush->Style())
                                     : BrushPatternToWrite(Obj.KeptBrushPattern(), Brush->Style());
        if (WithBack)
            Put(FMif, "{}Brush ({},{},{})", FClauseIndent, Pattern, ColorToMifColor(Brush->Color()),
                ColorToMifColor(Obj.BGColor()));
        else
            Put(FMif, "{}Brush ({},{})", FClauseIndent, Pattern, ColorToMifColor(Brush->Color()));
    }

    void WriteText(TText& Text) {
        const double X = Text.X(), Y = Text.Y();
        double X2, Y2;
        if (!FClassic && (Text.FileStyle() & fsKept)) {
            // The box as the file (a .mif or a table) gave it.
            X2 = X + Text.Width();
            Y2 = Y + Text.Height();
        } else if (FMap) {
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
        const std::string_view Head = FHeads[mhText];
        if (FClassic) {
            Put(FMif, "Text");
            Put(FMif, "\"{}\"", Text.Text());
        } else if (FForm && FForm->TextOnStatementLine) {
            Put(FMif, "{}{}{}", Head, Head.ends_with(' ') ? "" : " ",
                Quote(OneLine(Text.Text()), '"'));
        } else {
            Put(FMif, "{}", TrimBlanks(Head));
            Put(FMif, "{}{}", FBodyIndent, Quote(OneLine(Text.Text()), '"'));
        }
        if (FClassic)
            Put(FMif, "{:.6f} {:.6f} {:.6f} {:.6f}", X, Y, X2, Y2);
        else
            Put(FMif, "{}{} {} {} {}", FBodyIndent, X, Y, X2, Y2);
        const TFont* Default = Options() ? Options()->DefaultTextFont() : nullptr;
        if (!Unwritten(Text, fsNoOutline) || !IsDefault(Font, Default)) {
            // A size the file left to the box stays so while it is the default's.
            const int Size =
                Unwritten(Text, fsNoFill) && (!Default || Font->Size() == Default->Size())
                    ? 0
                    : Font->Size();
            Put(FMif, "{}Font (\"{}\",{},{},{})", FClauseIndent, Font->Name(),
                MifFontStyle(Font->Style()), Size, ColorToMifColor(Font->Color()));
        }
        if (!FClassic) WriteTextLines(Text);
    }

    // What a text has beyond the defaults, in the order GDAL writes it.
    void WriteTextLines(const TText& Text) {
        if (Text.Spacing() != tsSingle)
            Put(FMif, "{}Spacing {}", FClauseIndent, Text.Spacing() == tsDouble ? "2.0" : "1.5");
        if (Text.Justify() != tjLeft)
            Put(FMif, "{}Justify {}", FClauseIndent,
                Text.Justify() == tjCenter ? "Center" : "Right");
        if (Text.Angle() != 0) Put(FMif, "{}Angle {}", FClauseIndent, Text.Angle());
        if (Text.LabelLine() != llNone)
            Put(FMif, "{}Label Line {} {} {}", FClauseIndent,
                Text.LabelLine() == llArrow ? "Arrow" : "Simple", Text.LabelX(), Text.LabelY());
    }

    void WriteSymbol(TSymbol& Symbol) {
        const TFont* Font = Symbol.ReadFont();
        if (FClassic)
            Put(FMif, "Point {:.6f} {:.6f}", Symbol.X(), Symbol.Y());
        else if (FForm && FForm->Decimals >= 0)
            Put(FMif, "{}{} {}", FHeads[mhPoint], Coordinate(Symbol.X(), FX),
                Coordinate(Symbol.Y(), FY));
        else
            Put(FMif, "{}{} {}", FHeads[mhPoint], Symbol.X(), Symbol.Y());
        // A point the file gave no Symbol clause gets none while it looks
        // as such a point does (or as the map's default symbol).
        if (Unwritten(Symbol, fsNoOutline) &&
            (IsNoClauseSymbol(Symbol.Shape(), *Font) ||
             ((Symbol.Shape() == DefaultShape() || Symbol.Shape() == NoClauseSymbolShape) &&
              IsDefault(Font, Options() ? Options()->DefaultSymbolFont() : nullptr))))
            return;
        if (FClassic) {
            Put(FMif, "Symbol ({},{},{},\"{}\",{},{})", Symbol.Shape(),
                ColorToMifColor(Font->Color()), Font->Size(), Font->Name(),
                MifFontStyle(Font->Style()), 0);
        } else if (Symbol.IsPicture()) {
            Put(FMif, "{}Symbol ({},{},{},{})", FClauseIndent, Quote(Font->Name(), '"'),
                ColorToMifColor(Font->Color()), Font->Size(), Symbol.KeptSymbolStyle());
        } else if (SameText(Font->Name(), "MapInfo Symbol")) {
            // The format's own symbol set is named by its number alone; a
            // font name would make readers take it for a symbol of that font.
            Put(FMif, "{}Symbol ({},{},{})", FClauseIndent, Symbol.Shape(),
                ColorToMifColor(Font->Color()), Font->Size());
        } else {
            Put(FMif, "{}Symbol ({},{},{},\"{}\",{},{})", FClauseIndent, Symbol.Shape(),
                ColorToMifColor(Font->Color()), Font->Size(), Font->Name(),
                SymbolStyleToWrite(Symbol.KeptSymbolStyle(), Font->Style()),
                AngleOfEscapement(Font->Escapement()));
        }
    }

    // A region's Center clause as the file gave it.
    void WriteCentre(const TCustomMapObject& Obj) {
        if (FClassic || !FForm || !Obj.KeptFlag()) return;
        const auto It = FForm->Centres.find(&Obj);
        if (It != FForm->Centres.end())
            Put(FMif, "{}Center {} {}", FClauseIndent, It->second.X, It->second.Y);
    }

    // A statement and its number (of parts or points), in the file's words.
    void PutHead(TMifHead Head, int Count) { Put(FMif, "{}{}", FHeads[Head], Count); }
    void PutCount(int Count) { Put(FMif, "{}{}", FCountIndent, Count); }
    // A statement and a box, in the file's words.
    void PutBox(TMifHead Head, double X0, double Y0, double X1, double Y1) {
        if (FClassic)
            Put(FMif, "{}{:.6f} {:.6f} {:.6f} {:.6f}", FHeads[Head], X0, Y0, X1, Y1);
        else
            Put(FMif, "{}{} {} {} {}", FHeads[Head], X0, Y0, X1, Y1);
    }

    void WriteObject(TCustomMapObject* Obj) {
        if (auto* Region = dynamic_cast<TRegion*>(Obj)) {
            TParts& Parts = Region->Parts();
            PutHead(mhRegion, Parts.Count());
            for (int I = 0; I < Parts.Count(); ++I) {
                const TMapPoints& Points = Parts.Items(I)->Points();
                PutCount(Points.Count());
                WritePoints(Points);
            }
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor() && Obj->ReadBrush()->Style() != bsClear);
            WriteCentre(*Obj);
        } else if (auto* Polyline = dynamic_cast<TPolyline*>(Obj)) {
            WritePolyline(*Polyline);
        } else if (auto* Rect = dynamic_cast<TRectangle*>(Obj)) {
            const double X0 = Rect->GetX0(), Y0 = Rect->GetY0(), X1 = Rect->GetX1(),
                         Y1 = Rect->GetY1();
            if (Rect->CornerDiameter() > 0 && !FClassic) {
                Put(FMif, "RoundRect {} {} {} {} {}", X0, Y0, X1, Y1, Rect->CornerDiameter());
            } else if (FForm && !FForm->Heads[mhRect].empty()) {
                // A file that has rectangles gets them back as such.
                PutBox(mhRect, X0, Y0, X1, Y1);
            } else {
                PutHead(mhRegion, 1);
                PutCount(5);
                PutPoint(X0, Y0);
                PutPoint(X1, Y0);
                PutPoint(X1, Y1);
                PutPoint(X0, Y1);
                PutPoint(X0, Y0);
            }
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor());
        } else if (auto* Circle = dynamic_cast<TCircle*>(Obj)) {
            // The bounding box of the circle; it reads back as a circle.
            const double X = Circle->X(), Y = Circle->Y(), R = Circle->Radius();
            PutBox(mhEllipse, X - R, Y - R, X + R, Y + R);
            WritePen(*Obj);
            WriteBrush(*Obj, Obj->UseBGColor() && Obj->ReadBrush()->Style() != bsClear);
        } else if (auto* Text = dynamic_cast<TText*>(Obj)) {
            WriteText(*Text);
        } else if (auto* Symbol = dynamic_cast<TSymbol*>(Obj)) {
            WriteSymbol(*Symbol);
        } else if (auto* Multi = dynamic_cast<TMultiPoint*>(Obj); Multi && Multi->PointCount()) {
            WriteMultiPoint(*Multi);
        } else if (auto* Coll = dynamic_cast<TCollectionObject*>(Obj); Coll && Coll->HasPoints()) {
            WriteCollection(*Coll);
        } else {
            // A kind the format cannot hold: its row still needs a statement.
            Put(FMif, "{}", FHeads[mhNone]);
        }
    }

    // --- several geometries in one statement ---
    void WriteMultiSymbol(const TMultiSymbolObject& Obj) {
        const TFont* Font = Obj.ReadFont();
        if (SameText(Font->Name(), "MapInfo Symbol"))
            Put(FMif, "{}Symbol ({},{},{})", FClauseIndent, Obj.Shape(),
                ColorToMifColor(Font->Color()), Font->Size());
        else
            Put(FMif, "{}Symbol ({},{},{},\"{}\",{},{})", FClauseIndent, Obj.Shape(),
                ColorToMifColor(Font->Color()), Font->Size(), Font->Name(),
                MifFontStyle(Font->Style()), 0);
    }

    // The points of Parts from part First on, each on its line.
    void WritePointsFrom(const TParts& Parts, int First) {
        for (int I = First; I < Parts.Count(); ++I)
            WritePoints(Parts.Items(I)->Points());
    }

    void WriteMultiPoint(TMultiPoint& Multi) {
        Put(FMif, "Multipoint {}", Multi.PointCount());
        WritePointsFrom(Multi.Parts(), 0);
        // Read without a Symbol clause and still so: none written.
        if (Unwritten(Multi, fsNoOutline) && Multi.Shape() == TMultiPoint().Shape() &&
            IsDefault(Multi.ReadFont(), Options() ? Options()->DefaultSymbolFont() : nullptr))
            return;
        WriteMultiSymbol(Multi);
    }

    // "Collection n" and its parts in MapInfo's order (region, polyline,
    // points), each with its clauses; empty groups are left out.
    void WriteCollection(TCollectionObject& Coll) {
        const TParts& Parts = Coll.Parts();
        const int Rings = Coll.RingCount(), Sections = Coll.SectionCount();
        const int Points = Coll.PointCount();
        Put(FMif, "Collection {}", (Rings > 0) + (Sections > 0) + (Points > 0));
        if (Rings > 0) {
            Put(FMif, "  Region {}", Rings);
            for (int I = 0; I < Rings; ++I) {
                PutCount(Parts.Items(I)->Points().Count());
                WritePoints(Parts.Items(I)->Points());
            }
            WritePen(Coll);
            WriteBrush(Coll, Coll.UseBGColor() && Coll.ReadBrush()->Style() != bsClear);
        }
        if (Sections == 1) {
            Put(FMif, "  Pline {}", Parts.Items(Rings)->Points().Count());
            WritePoints(Parts.Items(Rings)->Points());
        } else if (Sections > 1) {
            Put(FMif, "  Pline Multiple {}", Sections);
            for (int I = Rings; I < Rings + Sections; ++I) {
                PutCount(Parts.Items(I)->Points().Count());
                WritePoints(Parts.Items(I)->Points());
            }
        }
        if (Sections > 0) {
            if (const TPen* Pen = Coll.LinePen())
                Put(FMif, "{}Pen ({},{},{})", FClauseIndent, MifPenWidth(Pen->Width()),
                    MifPenPattern(Pen->Style()), ColorToMifColor(Pen->Color()));
            else
                WritePen(Coll);
            if (Coll.Smooth()) Put(FMif, "{}Smooth", FClauseIndent);
        }
        if (Points > 0) {
            Put(FMif, "  Multipoint {}", Points);
            WritePointsFrom(Parts, Rings + Sections);
            WriteMultiSymbol(Coll);
        }
    }

    void WritePolyline(TPolyline& Polyline) {
        TParts& Parts = Polyline.Parts();
        if (FClassic) {
            // The first part alone, as this provider always wrote it.
            const int N = Parts.Count() > 0 ? Parts.Items(0)->Points().Count() : 0;
            PutHead(mhPline, N);
            if (N > 0) WritePoints(Parts.Items(0)->Points());
        } else if (Parts.Count() == 0) {
            Put(FMif, "{}", FHeads[mhNone]); // nothing to draw, but the row keeps its place
            return;
        } else if (Parts.Count() == 1 && Parts.Items(0)->Points().Count() == 2 && FForm &&
                   !FForm->Heads[mhLine].empty()) {
            // A file that writes two-point lines as Line gets them so.
            const TMapPoints& P = Parts.Items(0)->Points();
            PutBox(mhLine, P.GetPoint(0).X, P.GetPoint(0).Y, P.GetPoint(1).X, P.GetPoint(1).Y);
        } else if (Parts.Count() == 1) {
            PutHead(mhPline, Parts.Items(0)->Points().Count());
            WritePoints(Parts.Items(0)->Points());
        } else {
            PutHead(mhPlineMultiple, Parts.Count());
            for (int I = 0; I < Parts.Count(); ++I) {
                PutCount(Parts.Items(I)->Points().Count());
                WritePoints(Parts.Items(I)->Points());
            }
        }
        WritePen(Polyline);
        if (!FClassic && Polyline.KeptFlag()) Put(FMif, "{}Smooth", FClauseIndent);
    }

    TMapLayer& FLayer;
    TChartix* FMap;
    bool FClassic;
    const TMifForm* FForm; // null: the library's own layout
    TPendingFile FMif;
    TPendingFile FMid;
    TCodePageEncoder FEncoder;         // into the charset the header names
    size_t FMifDone = 0, FMidDone = 0; // how much of each buffer is in the code page
    std::string FEncoded;
    TStringParser FRow;
    std::array<std::string_view, mhCount> FHeads;
    mutable std::array<char, 48> FX, FY; // coordinates being written
    std::string FColumnIndent, FCountIndent, FClauseIndent, FBodyIndent;
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
