#include "formats/WorkspaceLoader.h"

#include "core/CoordinateSystems.h"

#include "core/CustomFormatProvider.h"
#include "core/MapObjects.h"
#include "formats/MifStyles.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <vector>

namespace Mapobjects {

using namespace Platform;

namespace {

constexpr size_t npos = std::string::npos;

struct TTable {
    std::string Alias, Path;
    int Line = 0; // of its Open Table statement, from 1
};

bool IsBlank(char C) {
    return std::isspace(static_cast<unsigned char>(C)) != 0;
}

// The workspace in its own case and in lower case, one position for both.
struct TWorkspace {
    std::string Text, Lower;
    std::string FileName;
    // Where the map window whose layers are loaded begins (its Map From):
    // its settings are the ones read, not those of an earlier window.
    size_t Window = 0;

    // The window's first Set Map statement.
    size_t SetMap(const char* Phrase = "set map") const { return Lower.find(Phrase, Window); }

    // Where "layer " followed by the number N starts, searched from the
    // window's first "set map"; a longer number (10 for 1) does not count.
    size_t LayerAt(int N, size_t From = npos) const {
        const size_t SetMap = this->SetMap();
        if (SetMap == npos) return npos;
        const std::string Key = "layer " + std::to_string(N);
        for (size_t P = Lower.find(Key, From == npos ? SetMap : std::max(From, SetMap)); P != npos;
             P = Lower.find(Key, P + 1)) {
            const size_t End = P + Key.size();
            if (End >= Lower.size() || !std::isdigit(static_cast<unsigned char>(Lower[End])))
                return P;
        }
        return npos;
    }

    // Where the next "layer <number>" or "set map" at or after From begins.
    size_t NextSection(size_t From) const {
        const size_t SetMap = Lower.find("set map", From);
        for (size_t P = Lower.find("layer ", From); P != npos && P < SetMap;
             P = Lower.find("layer ", P + 1))
            if (P + 6 < Lower.size() && std::isdigit(static_cast<unsigned char>(Lower[P + 6])))
                return P;
        return SetMap == npos ? Lower.size() : SetMap;
    }

    // The word that starts one character after Keyword (the first after
    // layer N) and runs up to white space.
    std::string WordAfter(int N, const std::string& Keyword) const {
        const size_t Layer = LayerAt(N);
        if (Layer == npos) return {};
        const size_t K = Lower.find(Keyword, Layer);
        if (K == npos) return {};
        const size_t Start = K + Keyword.size() + 1;
        if (Start >= Lower.size()) return {};
        size_t End = Start;
        while (End < Lower.size() && !IsBlank(Lower[End]))
            ++End;
        return Lower.substr(Start, End - Start);
    }

    // The text between the "(" and ")" that follow Keyword after layer N,
    // and where it starts; false when there is none.
    bool ClauseAfter(int N, const std::string& Keyword, std::string& Clause, size_t& At) const {
        const size_t Layer = LayerAt(N);
        if (Layer == npos) return false;
        const size_t K = Lower.find(Keyword, Layer);
        if (K == npos) return false;
        const size_t Open = Text.find('(', K);
        if (Open == npos) return false;
        const size_t Close = Text.find(')', Open);
        if (Close == npos) return false;
        Clause = Text.substr(Open + 1, Close - Open - 1);
        At = Open;
        return true;
    }

    // The stretches of text that speak of layer N: from each "layer N" after
    // the window's first "set map" up to the next layer or Set Map statement.
    std::vector<std::pair<size_t, size_t>> LayerSections(int N) const {
        std::vector<std::pair<size_t, size_t>> Sections;
        for (size_t P = LayerAt(N); P != npos;) {
            const size_t End = NextSection(P + 6);
            Sections.emplace_back(P, End);
            P = End < Lower.size() ? LayerAt(N, End) : npos;
        }
        return Sections;
    }

    int LineOf(size_t Position) const {
        Position = std::min(Position, Text.size());
        return 1 + static_cast<int>(std::count(Text.begin(), Text.begin() + Position, '\n'));
    }
    // "FILE:LINE: What" for the position.
    std::string Where(size_t Position, const std::string& What) const {
        return Format("%s:%d: %s", FileName, LineOf(Position), What);
    }
};

// Comma-separated items; an item in double quotes may hold commas.
std::vector<std::string> SplitItems(const std::string& Clause) {
    std::vector<std::string> Items(1);
    bool Quoted = false;
    for (char C : Clause) {
        if (C == '"')
            Quoted = !Quoted;
        else if (C == ',' && !Quoted)
            Items.emplace_back();
        else
            Items.back() += C;
    }
    for (std::string& I : Items)
        I = Trim(I);
    return Items;
}

// The items of a style clause of the workspace; what does not read raises
// the conversion or list error, naming the file, the line and what the
// clause should hold.
struct TClause {
    const TWorkspace& W;
    size_t At;        // the clause's "("
    const char* Name; // the keyword
    const char* Form; // its items, as the message tells them
    std::vector<std::string> Items;

    TClause(const TWorkspace& W, size_t At, const std::string& Text, const char* Name,
            const char* Form)
        : W(W), At(At), Name(Name), Form(Form), Items(SplitItems(Text)) {}

    void Need(size_t Count) const {
        if (Items.size() < Count)
            throw EListError(W.Where(At, Format("%s: expected (%s), found %d item(s)", Name, Form,
                                                static_cast<int>(Items.size()))));
    }
    int Int(size_t Index) const {
        int Value;
        if (!TryStrToInt(Items[Index], Value))
            throw EConvertError(
                W.Where(At, Format("%s: expected (%s), item %d is \"%s\"", Name, Form,
                                   static_cast<int>(Index) + 1, Items[Index])));
        return Value;
    }
    TColor Color(size_t Index) const { return MifColorToColor(Int(Index)); }
};

void ReadBrush(const TClause& C, TMapStyle& Style) {
    C.Need(2);
    const int Pattern = C.Int(0);
    const int Fore = C.Int(1);
    Style.BrushColor = MifColorToColor(Fore);
    Style.BrushStyle = BrushStyleFromMif(Pattern);
    Style.UseBGColor = false;
    if (C.Items.size() >= 3) {
        const int Back = C.Int(2);
        if (Pattern > 0 && Fore > 0 && Back > 0) {
            Style.BGColor = MifColorToColor(Back);
            Style.UseBGColor = true;
        }
    }
}

void ReadPen(const TClause& C, TMapStyle& Style) {
    C.Need(3);
    int Width = C.Int(0);
    Style.PenStyle = PenStyleFromMif(C.Int(1));
    Style.PenColor = C.Color(2);
    // Widths in points (above 7) become at most one pixel.
    if (Width > 7) Width = std::min(1, static_cast<int>(std::nearbyint(Width / 20.0)));
    Style.PenWidth = Width;
}

void ReadFont(const TClause& C, TMapStyle& Style) {
    C.Need(4);
    Style.FontName = C.Items[0];
    Style.FontColor = C.Color(3);
    if (C.Items.size() == 5) Style.TextBGColor = C.Color(4);
}

// The words of a Label clause: a parenthesised or quoted group is one word.
struct TWord {
    std::string Text, Lower;
    size_t At; // in the workspace's text
};

std::vector<TWord> WordsOf(const TWorkspace& W, size_t Begin, size_t End) {
    std::vector<TWord> Words;
    size_t P = Begin;
    while (P < End) {
        if (IsBlank(W.Text[P])) {
            ++P;
            continue;
        }
        size_t Q = P + 1;
        if (W.Text[P] == '(' || W.Text[P] == '"') {
            const size_t Close = W.Text.find(W.Text[P] == '(' ? ')' : '"', P + 1);
            Q = Close == npos || Close >= End ? End : Close + 1;
        } else {
            while (Q < End && !IsBlank(W.Text[Q]) && W.Text[Q] != '(')
                ++Q;
        }
        Words.push_back({W.Text.substr(P, Q - P), W.Lower.substr(P, Q - P), P});
        P = Q;
    }
    return Words;
}

// Position [Center] [Above | Below] [Left | Right], from Words[I] on; I is
// left on the last word read. False when no such word follows.
bool ReadPosition(const std::vector<TWord>& Words, size_t& I, TLabelPosition& Position) {
    int Vertical = 0, Horizontal = 0; // -1 above or left, 1 below or right
    bool Read = false;
    auto Next = [&](std::initializer_list<std::pair<const char*, int>> Choices, int& Into) {
        if (I + 1 >= Words.size()) return;
        for (auto [Word, Value] : Choices)
            if (Words[I + 1].Lower == Word) {
                Into = Value;
                Read = true;
                ++I;
                return;
            }
    };
    int Centre = 0;
    Next({{"center", 1}, {"centre", 1}}, Centre);
    Next({{"above", -1}, {"below", 1}}, Vertical);
    Next({{"left", -1}, {"right", 1}}, Horizontal);
    static const TLabelPosition Table[3][3] = {{lpAboveLeft, lpAbove, lpAboveRight},
                                               {lpLeft, lpCenter, lpRight},
                                               {lpBelowLeft, lpBelow, lpBelowRight}};
    Position = Table[Vertical + 1][Horizontal + 1];
    return Read;
}

// Layer N's Label clauses (a later one adds to an earlier one): the label
// settings, the label font, and the column of "With", returned for after
// the table is loaded. A word that does not read is told in Problems and
// leaves that setting alone.
std::string ReadLabels(const TWorkspace& W, int N, TMapLayer& Layer, TReadProblems* Problems) {
    std::string Column;
    TLabelSettings Settings = Layer.LabelSettings();
    auto Bad = [&](const TWord& At, const std::string& What) {
        if (Problems) Problems->Add(W.FileName, W.LineOf(At.At), "Label: " + What);
    };
    for (auto [Begin, End] : W.LayerSections(N)) {
        size_t L = W.Lower.find("label", Begin);
        // The word Label, not a part of another.
        while (L != npos && L < End &&
               ((L > 0 && !IsBlank(W.Lower[L - 1])) || (L + 5 < End && !IsBlank(W.Lower[L + 5]))))
            L = W.Lower.find("label", L + 1);
        if (L == npos || L >= End) continue;
        const std::vector<TWord> Words = WordsOf(W, L + 5, End);
        for (size_t I = 0; I < Words.size(); ++I) {
            const std::string& Key = Words[I].Lower;
            const bool HasNext = I + 1 < Words.size();
            if (Key == "position") {
                if (!ReadPosition(Words, I, Settings.Position))
                    Bad(Words[I], "Position: expected center, above, below, left or right");
            } else if (Key == "offset") {
                int Offset = -1;
                if (HasNext && TryStrToInt(Words[I + 1].Text, Offset) && Offset >= 0) {
                    Settings.Offset = Offset;
                    ++I;
                } else {
                    Bad(Words[I], "Offset: expected a number of pixels");
                }
            } else if (Key == "overlap") {
                if (HasNext && (Words[I + 1].Lower == "on" || Words[I + 1].Lower == "off")) {
                    Settings.Overlap = Words[++I].Lower == "on";
                } else {
                    Bad(Words[I], "Overlap: expected On or Off");
                }
            } else if (Key == "with") {
                if (HasNext) {
                    Column = Words[++I].Text;
                    // A quoted name, or one in back quotes.
                    if (Column.size() >= 2 && (Column[0] == '"' || Column[0] == '`'))
                        Column = Column.substr(1, Column.size() - 2);
                }
            } else if (Key == "font") {
                const char* Form = "name, style, size, colour[, background]";
                if (!HasNext || Words[I + 1].Text.front() != '(' ||
                    Words[I + 1].Text.back() != ')') {
                    Bad(Words[I], Format("Font: expected (%s)", Form));
                    continue;
                }
                const TWord& Clause = Words[++I];
                const std::vector<std::string> Items =
                    SplitItems(Clause.Text.substr(1, Clause.Text.size() - 2));
                int Numbers[4] = {0, 0, 0, 0};
                bool Read = Items.size() == 4 || Items.size() == 5;
                for (size_t K = 1; Read && K < Items.size(); ++K)
                    Read = TryStrToInt(Items[K], Numbers[K - 1]);
                if (!Read) {
                    Bad(Clause, Format("Font: expected (%s), found \"%s\"", Form, Clause.Text));
                    continue;
                }
                TFont* Font = Layer.AutoLabelFont();
                if (!Items[0].empty()) Font->SetName(Items[0]);
                if (Numbers[1] > 0) Font->SetSize(Numbers[1]);
                Font->SetColor(MifColorToColor(Numbers[2]));
                // Style bit 256 draws a halo in the background colour.
                Settings.Halo = (Numbers[0] & 256) != 0;
                if (Items.size() == 5) Settings.HaloColor = MifColorToColor(Numbers[3]);
            }
        }
    }
    Layer.SetLabelSettings(Settings);
    return Column;
}

// Metres in one of MapInfo's distance units; 0 for a unit not known.
double MetresPer(const std::string& Unit) {
    static const std::pair<const char*, double> Units[] = {
        {"m", 1},         {"km", 1000},
        {"mi", 1609.344}, {"nmi", 1852},
        {"ft", 0.3048},   {"yd", 0.9144},
        {"in", 0.0254},   {"cm", 0.01},
        {"mm", 0.001},    {"survey ft", 1200.0 / 3937},
        {"li", 0.201168}, {"ch", 20.1168},
        {"rd", 5.0292},
    };
    for (auto [Name, Metres] : Units)
        if (Unit == Name) return Metres;
    return 0;
}

// Layer N's zoom range as MinZoom and MaxZoom of the map: MapInfo shows a
// layer while the window's width lies in the range, and the window of a
// map at Zoom is its world width / Zoom wide. False when the range is not on.
bool ReadZoom(const TWorkspace& W, int N, const TChartix& Map, bool Degrees, double& MinZoom,
              double& MaxZoom) {
    const size_t Layer = W.LayerAt(N);
    if (Layer == npos) return false;
    // Within layer N's own statement only: zoom ranges are rare, and one of
    // another layer must not be taken for this one's.
    size_t End = W.Lower.find("set map", Layer);
    if (End == npos) End = W.Lower.size();
    const size_t Z = W.Lower.find("zoom (", Layer);
    if (Z == npos || Z > End) return false;
    const size_t Close = W.Lower.find(')', Z);
    if (Close == npos || Close > End) return false;
    const std::vector<std::string> Items = SplitItems(W.Lower.substr(Z + 6, Close - Z - 6));
    double Low, High;
    if (Items.size() != 2 || !TryStrToFloat(Items[0], Low) || !TryStrToFloat(Items[1], High))
        return false;
    // Then Units "unit" and On or Off.
    std::istringstream Rest(W.Lower.substr(Close + 1, End - Close - 1));
    std::string Word, Unit = "mi", State;
    Rest >> Word;
    if (Word == "units") {
        std::string Quoted;
        std::getline(Rest, Quoted, '"');
        std::getline(Rest, Unit, '"');
        Rest >> State;
    } else {
        State = Word;
    }
    if (State != "on") return false;
    double Scale = MetresPer(Unit);
    if (Scale == 0) return false;
    // A degree of longitude at the equator.
    if (Degrees) Scale /= 111319.49079327357;
    const double World = Map.MaxX() - Map.MinX();
    MinZoom = High > 0 ? World / (High * Scale) : DBL_MIN;
    MaxZoom = Low > 0 ? World / (Low * Scale) : DBL_MAX;
    return true;
}

std::string ReadText(const std::string& FileName) {
    std::ifstream In(FileName, std::ios::binary);
    if (!In)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, std::strerror(errno)));
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

// The tables of the Open Table statements; a later one of the same alias
// replaces the path. A statement that is cut short or garbled names no table:
// it is told in Problems and left out.
std::vector<TTable> OpenedTables(const TWorkspace& W, TReadProblems* Problems) {
    std::vector<TTable> Tables;
    const std::string Phrase = "open table \"";
    auto Bad = [&](int Line, const char* What) {
        if (Problems) Problems->Add(W.FileName, Line, Format("Open Table: expected %s", What));
    };
    size_t LineStart = 0;
    int Line = 1;
    while (LineStart <= W.Text.size()) {
        size_t LineEnd = W.Text.find('\n', LineStart);
        if (LineEnd == npos) LineEnd = W.Text.size();
        const std::string_view Lower(W.Lower.data() + LineStart, LineEnd - LineStart);
        const std::string_view Original(W.Text.data() + LineStart, LineEnd - LineStart);
        const size_t P = Lower.find(Phrase);
        if (P != npos) {
            const size_t PathStart = P + Phrase.size();
            const size_t PathEnd = Lower.find("\" as", PathStart);
            // The alias starts one character after "as" and runs up to a blank.
            const size_t AliasStart = PathEnd == npos ? npos : PathEnd + 5;
            size_t AliasEnd = AliasStart;
            while (AliasEnd < Lower.size() && !IsBlank(Lower[AliasEnd]))
                ++AliasEnd;
            if (PathEnd == npos) {
                Bad(Line, "the table's path in double quotes, then As and an alias");
            } else if (AliasStart >= Lower.size() || AliasEnd == AliasStart) {
                Bad(Line, "an alias after As");
            } else {
                TTable T{std::string(Original.substr(AliasStart, AliasEnd - AliasStart)),
                         std::string(Original.substr(PathStart, PathEnd - PathStart)), Line};
                auto Same = std::find_if(Tables.begin(), Tables.end(), [&](const TTable& E) {
                    return SameText(E.Alias, T.Alias);
                });
                if (Same != Tables.end()) {
                    Same->Path = T.Path;
                    Same->Line = Line;
                } else {
                    Tables.push_back(T);
                }
            }
        }
        LineStart = LineEnd + 1;
        ++Line;
    }
    return Tables;
}

// The tables of the window's Map From statement, bottom first.
std::vector<TTable> MapOrder(const TWorkspace& W, const std::vector<TTable>& Tables) {
    const std::string Phrase = "map from ";
    const size_t Last = W.Lower.find(Phrase, W.Window);
    if (Last == npos) return {};
    std::vector<TTable> TopFirst;
    size_t P = Last + Phrase.size();
    for (;;) {
        size_t Comma = W.Lower.find(',', P);
        std::string Alias = Trim(W.Lower.substr(P, Comma == npos ? npos : Comma - P));
        // The last alias of the statement ends at white space.
        const auto Blank = std::find_if(Alias.begin(), Alias.end(), IsBlank);
        const bool LastOne = Blank != Alias.end() || Comma == npos;
        Alias.erase(Blank, Alias.end());
        auto Table = std::find_if(Tables.begin(), Tables.end(),
                                  [&](const TTable& T) { return SameText(T.Alias, Alias); });
        if (Table == Tables.end()) break;
        if (std::none_of(TopFirst.begin(), TopFirst.end(),
                         [&](const TTable& T) { return SameText(T.Alias, Alias); }))
            TopFirst.push_back(*Table);
        if (LastOne) break;
        P = Comma + 1;
    }
    return {TopFirst.rbegin(), TopFirst.rend()};
}

// The table's file: its path with ".tab" (unless it has it), as it stands
// or beside the workspace; empty when neither exists. Workspaces written on
// Windows separate folders with backslashes and name "ROADS.TAB" as "roads".
std::string TableFile(const TTable& T, const std::string& Workspace) {
    std::string Path = T.Path;
    std::replace(Path.begin(), Path.end(), '\\', '/');
    const bool HasExt = SameText(ExtractFileExt(Path), ".tab");
    for (const std::string& Folder : {std::string(), ExtractFilePath(Workspace)})
        for (const char* Ext : {".tab", ".TAB", ".Tab"}) {
            const std::string File = Folder + (HasExt ? Path : Path + Ext);
            if (FileExists(File)) return File;
            if (HasExt) break;
        }
    return {};
}

bool IsLonLat(const std::string& Definition) {
    // A layer reprojected on load holds WKT: its MapInfo form tells.
    std::string C = LowerCase(Definition.empty() ? Definition : MapInfoCoordSys(Definition));
    C.erase(std::remove_if(C.begin(), C.end(), IsBlank), C.end());
    return C.find("earthprojection1,") != npos || C.empty();
}

} // namespace

namespace {
// The map reads workspaces through this from start-up on.
[[maybe_unused]] const bool Registered = (TChartix::SetWorkspaceReader(&LoadWorkspace), true);
} // namespace

void LoadWorkspace(TChartix& Map, const std::string& FileName, TReadProblems* Problems) {
    TWorkspace W;
    W.FileName = FileName;
    W.Text = ReadText(FileName);
    W.Lower = LowerCase(W.Text);
    // Of several map windows the last one counts, its layers and its settings.
    if (const size_t Last = W.Lower.rfind("map from "); Last != npos) W.Window = Last;
    TMapStyle Style;
    Style.InForce = true;

    const std::vector<TTable> Tables = MapOrder(W, OpenedTables(W, Problems));
    const int Count = static_cast<int>(Tables.size());

    int Editable = -1;
    if (const size_t P = W.SetMap("set map layer"); P != npos) {
        const size_t E = W.Lower.find("editable", P + 13);
        int N;
        if (E != npos && TryStrToInt(Trim(W.Lower.substr(P + 13, E - P - 13)), N))
            Editable = Count - N;
    }

    for (int I = 0; I < Count; ++I) {
        const TTable& T = Tables[I];
        const int N = Count - I;
        const std::string File = TableFile(T, FileName);
        if (File.empty()) {
            if (Problems) Problems->Add(FileName, T.Line, Format("table %s.tab not found", T.Path));
            continue;
        }
        TMapLayer* Layer = Map.Layers().Add("", T.Alias);
        const std::string Display = W.WordAfter(N, "display");
        if (Display == "off") {
            Layer->SetVisible(false);
        } else if (Display == "global") {
            std::string Text;
            size_t At;
            if (W.ClauseAfter(N, "brush", Text, At))
                ReadBrush(TClause(W, At, Text, "Brush", "pattern, colour[, background]"), Style);
            if (W.ClauseAfter(N, "pen", Text, At))
                ReadPen(TClause(W, At, Text, "Pen", "width, pattern, colour"), Style);
            if (W.ClauseAfter(N, "font", Text, At))
                ReadFont(TClause(W, At, Text, "Font", "name, style, size, colour[, background]"),
                         Style);
            Layer->SetWorkspaceStyle(Style);
        }
        Layer->SetAutoLabel(W.WordAfter(N, "auto") == "on");
        const std::string LabelColumn = ReadLabels(W, N, *Layer, Problems);
        TCustomFormatProvider* Provider =
            FormatProviders() ? FormatProviders()->FindSuitableProvider(File) : nullptr;
        if (!Layer->LoadFromFile(File, T.Alias)) {
            std::string Why = "table " + File + " did not load";
            if (Provider && !Provider->Problems().Empty())
                Why += ": " + TReadProblems::Describe(Provider->Problems().Items().front());
            if (Problems) Problems->Add(FileName, T.Line, Why);
        } else if (Provider && Problems) {
            // What the provider read past names the table's own files.
            for (const TReadProblem& P : Provider->Problems().Items())
                Problems->Add(P.FileName, P.Line, P.Message);
        }
        if (const TDataField* F = Layer->Fields().FieldByName(LabelColumn))
            Layer->SetLabelFieldIndex(F->Index());
        double MinZoom = 0, MaxZoom = 0;
        if (ReadZoom(W, N, Map, IsLonLat(Layer->CoordSys()), MinZoom, MaxZoom)) {
            Layer->SetMinZoom(MinZoom);
            Layer->SetMaxZoom(MaxZoom);
        }
        if (I == Editable) Layer->SetEditable(true);
    }

    const size_t SetMap = W.SetMap();
    const size_t Center = SetMap == npos ? npos : W.Lower.find("center", SetMap);
    if (Center != npos) {
        const size_t Open = W.Lower.find('(', Center);
        const size_t Close = Open == npos ? npos : W.Lower.find(')', Open);
        double X = 0, Y = 0;
        bool Read = false;
        if (Close != npos) {
            const std::string Inside = W.Lower.substr(Open + 1, Close - Open - 1);
            const size_t Comma = Inside.find(',');
            Read = Comma != npos && TryStrToFloat(Inside.substr(0, Comma), X) &&
                   TryStrToFloat(Inside.substr(Comma + 1), Y);
        }
        // A centre that does not read leaves the map's as it is.
        if (!Read && Problems)
            Problems->Add(FileName, W.LineOf(Center), "Center: expected (x, y), two numbers");
        if (Read && X != 0 && Y != 0) {
            Map.BeginUpdate();
            Map.SetCenterX(X);
            Map.SetCenterY(Y);
            Map.EndUpdate(true);
        }
    }
}

} // namespace Mapobjects
