#include "Style.h"

#include "mitab.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace Mitab {

namespace {

// GDAL gives a label's size as 0.69 of the height of one line of its box.
constexpr double LabelSizeRatio = 0.69;

struct TParam {
    std::string Key, Value;
};

struct TTool {
    std::string Name;
    std::vector<TParam> Params;

    const std::string* Find(std::string_view Key) const {
        for (const TParam& P : Params)
            if (P.Key == Key) return &P.Value;
        return nullptr;
    }
};

std::string Trimmed(std::string_view S) {
    while (!S.empty() && std::isspace(static_cast<unsigned char>(S.front())))
        S.remove_prefix(1);
    while (!S.empty() && std::isspace(static_cast<unsigned char>(S.back())))
        S.remove_suffix(1);
    return std::string(S);
}

// TOOL(key:value,key:"quoted, \"value\"");TOOL(...). Inside quotes a
// backslash escapes a quote or a backslash and is kept before anything else,
// as OGR's own parser does.
std::vector<TTool> Tools(std::string_view S) {
    std::vector<TTool> Result;
    size_t I = 0;
    while (I < S.size()) {
        size_t Open = S.find('(', I);
        if (Open == std::string_view::npos) break;
        TTool Tool;
        Tool.Name = Trimmed(S.substr(I, Open - I));
        I = Open + 1;
        while (I < S.size() && S[I] != ')') {
            size_t Colon = S.find_first_of(":,)", I);
            if (Colon == std::string_view::npos) {
                I = S.size();
                break;
            }
            if (S[Colon] != ':') { // a key without a value
                I = S[Colon] == ',' ? Colon + 1 : Colon;
                continue;
            }
            TParam P;
            P.Key = Trimmed(S.substr(I, Colon - I));
            I = Colon + 1;
            while (I < S.size() && S[I] == ' ')
                ++I;
            if (I < S.size() && S[I] == '"') {
                for (++I; I < S.size() && S[I] != '"'; ++I) {
                    if (S[I] == '\\' && I + 1 < S.size() && (S[I + 1] == '"' || S[I + 1] == '\\'))
                        ++I;
                    P.Value += S[I];
                }
                if (I < S.size()) ++I;
                while (I < S.size() && S[I] != ',' && S[I] != ')')
                    ++I;
            } else {
                size_t End = S.find_first_of(",)", I);
                if (End == std::string_view::npos) End = S.size();
                P.Value = Trimmed(S.substr(I, End - I));
                I = End;
            }
            Tool.Params.push_back(std::move(P));
            if (I < S.size() && S[I] == ',') ++I;
        }
        Result.push_back(std::move(Tool));
        size_t Next = S.find(';', I);
        if (Next == std::string_view::npos) break;
        I = Next + 1;
    }
    return Result;
}

// A number and the unit that follows it ("12pt", "3.45g", "-2").
bool Number(const std::string* V, double& Out, std::string* Unit = nullptr) {
    if (!V) return false;
    const char* B = V->data();
    const char* E = B + V->size();
    if (B != E && *B == '+') ++B;
    auto [Ptr, Ec] = std::from_chars(B, E, Out);
    if (Ec != std::errc() || !std::isfinite(Out)) return false;
    if (Unit) *Unit = Trimmed(std::string_view(Ptr, E - Ptr));
    return true;
}

bool Color(const std::string* V, int& Out) {
    if (!V || V->size() < 7 || (*V)[0] != '#') return false;
    unsigned Rgb = 0;
    auto [Ptr, Ec] = std::from_chars(V->data() + 1, V->data() + 7, Rgb, 16);
    if (Ec != std::errc() || Ptr != V->data() + 7) return false;
    Out = static_cast<int>(Rgb);
    return true;
}

// Points per unit; pixels count as points, as in OGR.
double PointsPer(const std::string& Unit) {
    if (Unit == "mm") return 72.0 / 25.4;
    if (Unit == "cm") return 72.0 / 2.54;
    if (Unit == "in") return 72.0;
    if (Unit == "g") return 72.0 / 0.0254; // ground units taken as metres
    return 1.0;
}

// The number after Prefix in a comma-separated id list ("mapinfo-pen-5,ogr-pen-3").
bool IdNumber(const std::string* Ids, std::string_view Prefix, int& Out, size_t* End = nullptr) {
    if (!Ids) return false;
    size_t At = Ids->find(Prefix);
    if (At == std::string::npos) return false;
    const char* B = Ids->data() + At + Prefix.size();
    auto [Ptr, Ec] = std::from_chars(B, Ids->data() + Ids->size(), Out);
    if (Ec != std::errc()) return false;
    if (End) *End = Ptr - Ids->data();
    return true;
}

int Rounded(double V, int Low, int High) {
    if (!(V > Low)) return Low;
    if (V >= High) return High;
    return static_cast<int>(std::lround(V));
}

void ReadPen(const TTool& T, TPen& Pen) {
    Color(T.Find("c"), Pen.Color);
    double W;
    std::string Unit;
    if (Number(T.Find("w"), W, &Unit)) {
        if (Unit.empty() || Unit == "px")
            Pen.Width = Rounded(W, 1, 10);
        else // a width in points
            Pen.Width = 10 + Rounded(W * PointsPer(Unit) * 10, 1, 2037);
    }
    int Id;
    if (IdNumber(T.Find("id"), "mapinfo-pen-", Id))
        Pen.Pattern = Id;
    else if (IdNumber(T.Find("id"), "ogr-pen-", Id))
        Pen.Pattern = Id == 1 ? 1 : 2;
}

void ReadBrush(const TTool& T, TBrush& Brush) {
    Color(T.Find("fc"), Brush.ForeColor);
    // The driver leaves the background out exactly when the fill is transparent.
    Brush.Transparent = Color(T.Find("bc"), Brush.BackColor) ? 0 : 1;
    int Id;
    if (IdNumber(T.Find("id"), "mapinfo-brush-", Id)) {
        Brush.Pattern = Id;
    } else if (IdNumber(T.Find("id"), "ogr-brush-", Id) && Id >= 0 && Id <= 7) {
        static constexpr int FromOgr[] = {2, 1, 3, 4, 6, 5, 7, 8};
        Brush.Pattern = FromOgr[Id];
    }
}

void ReadSymbol(const TTool& T, TStyle& Style) {
    TSymbol& S = Style.Symbol;
    S.Kind = TSymbolKind::Vector;
    Color(T.Find("c"), S.Color);
    double Size;
    std::string Unit;
    if (Number(T.Find("s"), Size, &Unit)) S.Size = Rounded(Size * PointsPer(Unit), 1, 240);
    if (double Angle; Number(T.Find("a"), Angle)) S.Angle = Angle;
    const std::string* Ids = T.Find("id");
    int Id;
    size_t End = 0;
    if (IdNumber(Ids, "mapinfo-custom-sym-", Id, &End)) {
        // mapinfo-custom-sym-<flags>-<file>,...
        S.Kind = TSymbolKind::Custom;
        S.CustomStyle = Id;
        if (End < Ids->size() && (*Ids)[End] == '-') {
            size_t Stop = Ids->find(',', End);
            Style.Font = Ids->substr(End + 1, Stop == std::string::npos ? Stop : Stop - End - 1);
        }
    } else if (IdNumber(Ids, "font-sym-", Id)) {
        S.Kind = TSymbolKind::Font;
        S.Number = Id;
        if (const std::string* F = T.Find("f")) Style.Font = *F;
    } else if (IdNumber(Ids, "mapinfo-sym-", Id)) {
        S.Number = Id;
    }
}

// MapInfo escapes a line break in a text as \n and a backslash as \\.
std::string Unescaped(const std::string& S) {
    std::string R;
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] == '\\' && I + 1 < S.size() && (S[I + 1] == 'n' || S[I + 1] == '\\')) {
            R += S[++I] == 'n' ? '\n' : '\\';
        } else {
            R += S[I];
        }
    }
    return R;
}

int LineCount(const std::string& Text) {
    return 1 + static_cast<int>(std::count(Text.begin(), Text.end(), '\n'));
}

// The label parameters of the font style bits.
constexpr std::pair<const char*, int> FontFlags[] = {{"bo", 1}, {"it", 2}, {"un", 4}, {"st", 8}};

void ReadLabel(const TTool& T, TStyle& Style) {
    TTextDisplay& D = Style.TextDisplay;
    Style.HasLabel = true;
    if (const std::string* Text = T.Find("t")) Style.Text = Unescaped(*Text);
    Number(T.Find("a"), D.Angle);
    double Size;
    std::string Unit;
    if (Number(T.Find("s"), Size, &Unit)) {
        // A size in print units is taken as that length on the ground, in metres.
        if (Unit != "g") Size *= PointsPer(Unit) * 0.0254 / 72.0;
        D.Height = Size / LabelSizeRatio * LineCount(Style.Text);
    }
    D.Width = EstimatedTextWidth(Style.Text, D.Height);
    Color(T.Find("c"), D.ForeColor);
    Color(T.Find("b"), D.BackColor);
    double Anchor;
    if (Number(T.Find("p"), Anchor) && Anchor >= 1 && Anchor <= 12)
        D.Justification = (static_cast<int>(Anchor) - 1) % 3;
    if (const std::string* F = T.Find("f")) Style.Font = *F;
    for (auto [Key, Bit] : FontFlags) {
        double On;
        if (Number(T.Find(Key), On) && On != 0) D.FontStyle |= Bit;
    }
}

// Numbers in style strings always with a point, whatever the C locale says.
std::string Num(double V) {
    char Buffer[64];
    auto [Ptr, Ec] = std::to_chars(Buffer, Buffer + sizeof Buffer, V);
    return Ec == std::errc() ? std::string(Buffer, Ptr) : std::string("0");
}

std::string Hex(int Rgb) {
    static constexpr char Digits[] = "0123456789abcdef";
    unsigned V = static_cast<unsigned>(std::clamp(Rgb, 0, 0xFFFFFF));
    std::string S = "#000000";
    for (int I = 6; I >= 1; --I, V >>= 4)
        S[I] = Digits[V & 15];
    return S;
}

// A quoted value for OGR's parser.
std::string Quoted(std::string_view S) {
    std::string R = "\"";
    for (char C : S) {
        if (C == '"' || C == '\\') R += '\\';
        R += C;
    }
    return R + '"';
}

std::string Escaped(const std::string& Text) {
    std::string R;
    for (char C : Text) {
        if (C == '\n')
            R += "\\n";
        else if (C == '\\')
            R += "\\\\";
        else
            R += C;
    }
    return R;
}

std::string PenString(const TPen& Pen) {
    // The driver reads widths up to 10 as pixels and wider ones as points.
    std::string Width = Pen.Width > 10 ? Num((Pen.Width - 10) / 10.0) + "pt"
                                       : std::to_string(std::max(Pen.Width, 1)) + "px";
    return "PEN(w:" + Width + ",c:" + Hex(Pen.Color) + ",id:\"mapinfo-pen-" +
           std::to_string(Pen.Pattern) + "\")";
}

std::string BrushString(const TBrush& Brush) {
    std::string S = "BRUSH(fc:" + Hex(Brush.ForeColor);
    if (!Brush.Transparent) S += ",bc:" + Hex(Brush.BackColor);
    return S + ",id:\"mapinfo-brush-" + std::to_string(Brush.Pattern) + "\")";
}

std::string SymbolString(const TStyle& Style, int FeatureClass) {
    const TSymbol& S = Style.Symbol;
    // Only font symbols turn; the driver ignores an angle on the others.
    std::string Common = "SYMBOL(";
    if (FeatureClass == TABFC_FontPoint && S.Angle != 0) Common += "a:" + Num(S.Angle) + ",";
    Common += "c:" + Hex(S.Color) + ",s:" + std::to_string(S.Size) + "pt,id:";
    if (FeatureClass == TABFC_FontPoint)
        return Common + "\"font-sym-" + std::to_string(S.Number) + "\",f:" + Quoted(Style.Font) +
               ")";
    if (FeatureClass == TABFC_CustomPoint)
        return Common +
               Quoted("mapinfo-custom-sym-" + std::to_string(S.CustomStyle) + "-" + Style.Font) +
               ")";
    return Common + "\"mapinfo-sym-" + std::to_string(S.Number) + "\")";
}

std::string LabelString(const TStyle& Style) {
    const TTextDisplay& D = Style.TextDisplay;
    std::string S = "LABEL(t:" + Quoted(Escaped(Style.Text)) + ",a:" + Num(D.Angle) +
                    ",s:" + Num(D.Height * LabelSizeRatio / LineCount(Style.Text)) +
                    "g,c:" + Hex(D.ForeColor);
    // Read back, a text without a background has a white one.
    if (D.BackColor != 0xFFFFFF) S += ",b:" + Hex(D.BackColor);
    S += ",p:" + std::to_string(std::clamp(D.Justification, 0, 2) + 1) + ",f:" + Quoted(Style.Font);
    for (auto [Key, Bit] : FontFlags)
        if (D.FontStyle & Bit) S += std::string(",") + Key + ":1";
    return S + ")";
}

} // namespace

TStyle ParseStyle(std::string_view OgrStyle) {
    TStyle Style;
    for (const TTool& T : Tools(OgrStyle)) {
        if (T.Name == "PEN")
            ReadPen(T, Style.Pen);
        else if (T.Name == "BRUSH")
            ReadBrush(T, Style.Brush);
        else if (T.Name == "SYMBOL")
            ReadSymbol(T, Style);
        else if (T.Name == "LABEL")
            ReadLabel(T, Style);
    }
    return Style;
}

std::string ComposeStyle(const TStyle& Style, int FeatureClass) {
    switch (FeatureClass) {
    case TABFC_Point:
    case TABFC_FontPoint:
    case TABFC_CustomPoint:
        return SymbolString(Style, FeatureClass);
    case TABFC_Text:
        return LabelString(Style);
    case TABFC_Polyline:
        return PenString(Style.Pen);
    case TABFC_Region:
    case TABFC_Rectangle:
        return BrushString(Style.Brush) + ";" + PenString(Style.Pen);
    // A multipoint's points are symbols, a font's when its symbol is one.
    case TABFC_MultiPoint:
        return SymbolString(Style,
                            Style.Symbol.Kind == TSymbolKind::Font ? TABFC_FontPoint : TABFC_Point);
    // Each part takes the tools of its kind from the one string.
    case TABFC_Collection:
        return BrushString(Style.Brush) + ";" + PenString(Style.Pen) + ";" +
               ComposeStyle(Style, TABFC_MultiPoint);
    default:
        return {};
    }
}

double EstimatedTextWidth(const std::string& Text, double Height) {
    size_t Longest = 0, Line = 0;
    for (char C : Text) {
        Line = C == '\n' ? 0 : Line + 1;
        Longest = std::max(Longest, Line);
    }
    return 0.6 * Height / LineCount(Text) * static_cast<double>(Longest);
}

} // namespace Mitab
