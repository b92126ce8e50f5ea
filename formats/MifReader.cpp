#include "formats/MifReader.h"

#include "core/MapObjects.h"
#include "formats/MifCharset.h"
#include "formats/MifForm.h"
#include "formats/MifLines.h"
#include "formats/MifStyles.h"
#include "formats/MifText.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "formats/SyntaxParser.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <numbers>
#include <typeinfo>
#include <utility>
#include <vector>

namespace Mapobjects::Mif {

using namespace Platform;

namespace {

enum class TStatement {
    Unknown,
    // header
    Version,
    Charset,
    Delimiter,
    Unique,
    Index,
    CoordSys,
    Transform,
    Columns,
    Data,
    // objects
    Point,
    Line,
    Pline,
    Region,
    Arc,
    Text,
    Rect,
    RoundRect,
    Ellipse,
    Multipoint,
    Collection,
    None,
    // lines that belong to the object before them without being style clauses
    Angle,
    Justify,
    Spacing,
    Label,
    Smooth
};

struct TKeyword {
    std::string_view Word;
    TStatement Statement;
};

// In order of their first letters (see KeywordsByLetter).
constexpr TKeyword Keywords[] = {
    {"ARC", TStatement::Arc},
    {"ANGLE", TStatement::Angle},
    {"CHARSET", TStatement::Charset},
    {"COORDSYS", TStatement::CoordSys},
    {"COLUMNS", TStatement::Columns},
    {"COLLECTION", TStatement::Collection},
    {"DELIMITER", TStatement::Delimiter},
    {"DATA", TStatement::Data},
    {"ELLIPSE", TStatement::Ellipse},
    {"INDEX", TStatement::Index},
    {"JUSTIFY", TStatement::Justify},
    {"LINE", TStatement::Line},
    {"LABEL", TStatement::Label},
    {"MULTIPOINT", TStatement::Multipoint},
    {"NONE", TStatement::None},
    {"POINT", TStatement::Point},
    {"PLINE", TStatement::Pline},
    {"REGION", TStatement::Region},
    {"RECT", TStatement::Rect},
    {"ROUNDRECT", TStatement::RoundRect},
    {"SPACING", TStatement::Spacing},
    {"SMOOTH", TStatement::Smooth},
    {"TRANSFORM", TStatement::Transform},
    {"TEXT", TStatement::Text},
    {"UNIQUE", TStatement::Unique},
    {"VERSION", TStatement::Version},
};

// For each letter, the range of Keywords that start with it: every line of
// a file is classified, and most first words are told after one comparison.
struct TLetterRange {
    unsigned char Begin = 0, End = 0;
};
constexpr std::array<TLetterRange, 26> KeywordsByLetter = [] {
    std::array<TLetterRange, 26> Ranges{};
    for (size_t I = 0; I < std::size(Keywords); ++I) {
        TLetterRange& R = Ranges[static_cast<size_t>(Keywords[I].Word.front() - 'A')];
        if (R.End == 0) R.Begin = static_cast<unsigned char>(I);
        R.End = static_cast<unsigned char>(I + 1);
    }
    return Ranges;
}();

constexpr bool GroupedByLetter() {
    for (size_t I = 0; I < std::size(Keywords); ++I) {
        const TLetterRange R =
            KeywordsByLetter[static_cast<size_t>(Keywords[I].Word.front() - 'A')];
        if (I < R.Begin || I >= R.End) return false;
        for (size_t K = R.Begin; K < R.End; ++K)
            if (Keywords[K].Word.front() != Keywords[I].Word.front()) return false;
    }
    return true;
}
static_assert(GroupedByLetter(), "Keywords must be grouped by their first letter");

TStatement Classify(std::string_view Word) {
    if (Word.empty()) return TStatement::Unknown;
    const char First = UpChar(Word.front());
    if (First < 'A' || First > 'Z') return TStatement::Unknown;
    const TLetterRange R = KeywordsByLetter[static_cast<size_t>(First - 'A')];
    for (size_t I = R.Begin; I < R.End; ++I)
        if (IsWord(Word, Keywords[I].Word)) return Keywords[I].Statement;
    return TStatement::Unknown;
}

bool IsObjectStatement(TStatement S) {
    return S >= TStatement::Point && S <= TStatement::None;
}

// The statements that may stand as parts of a collection.
bool IsCollectionPart(TStatement S) {
    return S == TStatement::Region || S == TStatement::Pline || S == TStatement::Multipoint ||
           S == TStatement::Line || S == TStatement::Point;
}

bool IsModifier(TStatement S) {
    return S >= TStatement::Angle;
}

bool IsClauseWord(std::string_view Word) {
    for (std::string_view W : {"PEN", "BRUSH", "SYMBOL", "FONT", "CENTER"})
        if (IsWord(Word, W)) return true;
    return false;
}

// A coordinate or count line starts with a digit, a sign or a point.
bool StartsWithNumber(std::string_view Line) {
    size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    if (I == Line.size()) return false;
    const char C = Line[I];
    return (C >= '0' && C <= '9') || C == '-' || C == '+' || C == '.';
}

bool StartsWithWord(std::string_view Line) {
    size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    return I < Line.size() && std::isalpha(static_cast<unsigned char>(Line[I]));
}

bool IsBlankLine(std::string_view Line) {
    return TrimBlanks(Line).empty();
}

// A line that begins with a word the format knows: the body before it has
// ended, however many points it declared.
bool IsKeywordLine(std::string_view Line) {
    if (StartsWithNumber(Line)) return false;
    const std::string_view Word = FirstWord(Line);
    return Classify(Word) != TStatement::Unknown || IsClauseWord(Word);
}

bool IsObjectLine(std::string_view Line) {
    return IsObjectStatement(Classify(FirstWord(Line)));
}

// The declared count after a Region or Pline keyword, or -1 when the text
// gives none (a Pline with its count on the next line).
int DeclaredCount(TStatement S, std::string_view Rest) {
    std::string_view Token = NextToken(Rest);
    if (S == TStatement::Pline && IsWord(Token, "MULTIPLE")) Token = NextToken(Rest);
    int Value = 0;
    const auto [Ptr, Ec] = std::from_chars(Token.data(), Token.data() + Token.size(), Value);
    return Ec == std::errc() && !Token.empty() ? Value : -1;
}

TObjectAttribute ClauseKind(std::string_view Line) {
    return TSimpleMIFFormatProvider::IsObjAttrString(Line);
}

constexpr int ArcSegmentsPerTurn = 72; // 5 degrees a step for ellipses and arcs
// MapInfo draws symbols of 1 to 48 points; a file asking for far more than
// that is damaged, and would only fill the screen with one glyph.
constexpr int MaxSymbolSize = 240;
constexpr int MaxFontSize = 1000;

struct TColumnType {
    TDataType Type = dtFloat;
    int Size = 0;
    int Precision = 0;
};

bool IsTypeWord(std::string_view Word) {
    for (std::string_view W : {"CHAR", "FLOAT", "DECIMAL", "INTEGER", "LARGEINT", "INTEGER64",
                               "SMALLINT", "DATE", "DATETIME", "TIME", "LOGICAL"})
        if (IsWord(Word, W)) return true;
    return false;
}

// "(a" or "(a, b": the numbers in the parentheses after a type word.
void ReadTypeNumbers(std::string_view Rest, int& A, int& B) {
    A = B = 0;
    std::string Digits;
    int* Target = &A;
    for (char C : Rest) {
        if (C >= '0' && C <= '9') {
            Digits += C;
            continue;
        }
        if (!Digits.empty()) {
            *Target =
                static_cast<int>(std::min<long>(std::strtol(Digits.c_str(), nullptr, 10), 65535));
            Digits.clear();
            if (Target == &B) return;
            Target = &B;
        }
        if (C == ')') return;
    }
    if (!Digits.empty())
        *Target = static_cast<int>(std::min<long>(std::strtol(Digits.c_str(), nullptr, 10), 65535));
}

TColumnType ColumnType(std::string_view TypeText) {
    std::string_view Rest;
    const std::string_view Word = FirstWord(TypeText, &Rest);
    TColumnType T;
    int A, B;
    ReadTypeNumbers(Rest, A, B);
    // Widths and decimals are kept, so that the column is written back alike.
    if (IsWord(Word, "CHAR")) {
        T.Type = dtString;
        T.Size = A;
    } else if (IsWord(Word, "DECIMAL")) {
        T.Type = dtDecimal;
        T.Size = A;
        T.Precision = B;
    } else if (IsWord(Word, "INTEGER")) {
        T.Type = dtInteger;
    } else if (IsWord(Word, "LARGEINT") || IsWord(Word, "INTEGER64")) {
        T.Type = dtLargeInt;
    } else if (IsWord(Word, "SMALLINT")) {
        T.Type = dtSmallInt;
    } else if (IsWord(Word, "DATE")) {
        T.Type = dtDate;
    } else if (IsWord(Word, "DATETIME")) {
        T.Type = dtDateTime;
    } else if (IsWord(Word, "TIME")) {
        T.Type = dtTime;
    } else if (IsWord(Word, "LOGICAL")) {
        T.Type = dtBoolean;
    }
    return T;
}

// Reads the .mid rows. A value in double quotes may hold line ends, as
// MapInfo and GDAL write them: its row goes on over the next lines. A quote
// that is still open after MaxRowLines lines (or at the end) is damage: the
// row is its first line, and from then on rows are single lines, so that a
// damaged file is still read in one pass.
class TMidRows {
public:
    TMidRows(TLineCursor& Lines, char Delimiter) : FLines(Lines), FDelimiter(Delimiter) {}
    void SetDelimiter(char D) { FDelimiter = D; }
    // The next row, line ends inside quoted values included.
    bool Next(std::string_view& Row) {
        if (!FLines.Next(Row)) return false;
        if (FSingle) return true;
        TState State = sItemStart;
        if (Scan(Row, State) != sQuoted) return true;
        const TLineCursor::TMark M = FLines.Mark();
        std::string_view Line;
        for (int Extra = 0; Extra < MaxRowLines && FLines.Next(Line); ++Extra) {
            // The line end before Line belongs to the value.
            if (Scan(Line, State) != sQuoted) {
                Row = std::string_view(Row.data(), Line.data() + Line.size() - Row.data());
                return true;
            }
        }
        FLines.Restore(M);
        FSingle = FUnclosed = true;
        return true;
    }
    // Whether a quote was left open (rows are single lines since).
    bool Unclosed() const { return FUnclosed; }

private:
    static constexpr int MaxRowLines = 1024;
    enum TState { sItemStart, sQuoted, sApostrophed, sAfterQuote, sAfterApostrophe, sPlain };
    // Follows the row's items over Text; the state where Text ends.
    TState Scan(std::string_view Text, TState& State) const {
        for (char C : Text) {
            switch (State) {
            case sItemStart:
                if (C == '"')
                    State = sQuoted;
                else if (C == '\'')
                    State = sApostrophed;
                else if (C != ' ' && C != FDelimiter)
                    State = sPlain;
                break;
            case sQuoted:
                if (C == '"') State = sAfterQuote;
                break;
            case sApostrophed:
                if (C == '\'') State = sAfterApostrophe;
                break;
            case sAfterQuote:
            case sAfterApostrophe:
                // A doubled quote is one quote of the value.
                if ((C == '"' && State == sAfterQuote) || (C == '\'' && State == sAfterApostrophe))
                    State = State == sAfterQuote ? sQuoted : sApostrophed;
                else
                    State = C == FDelimiter ? sItemStart : sPlain;
                break;
            case sPlain:
                if (C == FDelimiter) State = sItemStart;
                break;
            }
        }
        // Only double quotes span lines; an apostrophe ends with its line.
        if (State == sApostrophed) State = sPlain;
        return State;
    }

    TLineCursor& FLines;
    char FDelimiter;
    bool FSingle = false, FUnclosed = false;
};

using TObjects = std::vector<std::unique_ptr<TCustomMapObject>>;

// What a user is told of a failure: the library's own messages as they are,
// never the standard library's internal texts.
std::string Reworded(const std::exception& E) {
    if (dynamic_cast<const Platform::Exception*>(&E)) return E.what();
    if (dynamic_cast<const std::bad_alloc*>(&E)) return "Not enough memory to read this statement";
    return "This statement cannot be read";
}

// The line end a text uses first (Otherwise when it has none).
std::string LineEndOf(std::string_view Text, const std::string& Otherwise) {
    const size_t Nl = Text.find('\n');
    const size_t Cr = Text.substr(0, Nl).find('\r');
    if (Cr != std::string_view::npos) return Cr + 1 == Nl ? "\r\n" : "\r";
    return Nl == std::string_view::npos ? Otherwise : "\n";
}

std::string_view LeadingBlanks(std::string_view Line) {
    size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    return Line.substr(0, I);
}

bool IsHeaderStatement(TStatement S) {
    return S >= TStatement::Version && S <= TStatement::Data;
}

// How far a body was read.
enum class TBody {
    Complete,
    Partial, // cut short after some of its geometry
    Missing  // cut short before any of it: the next line is a statement
};

// The tokens of a style clause, cut as the syntax parser cuts them with the
// reader's settings (blanks, tabs, parentheses and commas separate and are
// dropped; signs and points stay in numbers; a double-quoted string is one
// token; an apostrophe starts a comment that runs to the end), but as views
// of the line: a clause per object makes no allocation.
class TClauseTokens {
public:
    void Read(std::string_view Text) {
        FTokens.clear();
        const size_t N = Text.size();
        size_t Start = 0;
        bool InString = false;
        auto Emit = [&](size_t End) {
            if (End > Start) FTokens.push_back(Text.substr(Start, End - Start));
        };
        for (size_t I = 0; I < N; ++I) {
            const char C = Text[I];
            if (!InString && C == '\'') {
                Emit(I);
                FTokens.push_back(Text.substr(I));
                return;
            }
            if (C == '"') {
                Emit(InString ? I + 1 : I);
                Start = InString ? I + 1 : I;
                InString = !InString;
                continue;
            }
            if (!InString && IsSeparator(C)) {
                Emit(I);
                if (!IsDropped(C)) FTokens.push_back(Text.substr(I, 1));
                Start = I + 1;
            }
        }
        Emit(N);
    }
    int Count() const { return static_cast<int>(FTokens.size()); }
    std::string_view operator[](int Index) const { return FTokens[static_cast<size_t>(Index)]; }

private:
    static bool IsSeparator(char C) {
        switch (C) {
        case '\t':
        case '\n':
        case '\r':
        case ' ':
        case '(':
        case ')':
        case '*':
        case ',':
        case '/':
        case ':':
        case ';':
        case '=':
            return true;
        default:
            return false;
        }
    }
    static bool IsDropped(char C) {
        return C == ' ' || C == '(' || C == ')' || C == '\t' || C == ',';
    }

    std::vector<std::string_view> FTokens;
};

class TReader {
public:
    TReader(TMapLayer& Layer, const TMifInput& In, TReadProblems& Problems)
        : FLayer(&Layer), FMap(Layer.Map()), FIn(In), FMif(In.Mif), FMid(In.Mid),
          FHasMid(!In.MidName.empty()), FProblems(Problems), FForm(std::make_unique<TMifForm>()) {
        FProgressDivisor = In.Mif.size() / INT_MAX + 1;
        FForm->LineEnd = LineEndOf(In.Mif, "\n");
        FForm->MidLineEnd = LineEndOf(In.Mid, FForm->LineEnd);
    }

    void Run() {
        FMap->StartProgress(0, ProgressAt(FIn.Mif.size()), "Loading file");
        FLayer->SetCharset(std::string());
        FLayer->SetCoordSys(std::string());
        ReserveObjects();
        try {
            ReadLines();
        } catch (const std::exception& E) {
            // Nothing reads past a failure outside the file's content (no
            // memory): the objects read so far stay.
            Problem(FMif.Lines(), Reworded(E) + "; reading stopped here");
        }
        CheckRowCount();
        FForm->Delimiter = FDelimiter;
        if (FDecimals >= 0 && FDecimalZero) FForm->Decimals = FDecimals;
        FLayer->SetFileForm(std::move(FForm));
    }

private:
    void ReadLines() {
        std::string_view Line;
        bool Have = FMif.Next(Line);
        bool InHeader = true;
        // Unlike a loop that tests for the end before each line, the last line
        // is examined too: a final "Point x y" without a line end is an object.
        while (Have) {
            FMap->ShowProgress(ProgressAt(FMif.Position()));
            std::string_view Rest;
            const TStatement S = StatementOf(Line, Rest);
            if (IsObjectStatement(S)) {
                InHeader = false;
                Have = ReadStatement(S, Rest, Line);
                continue;
            }
            const size_t Begin = OffsetOf(Line);
            try {
                switch (S) {
                case TStatement::Version: {
                    int V = 0;
                    std::string_view Number = NextToken(Rest);
                    std::from_chars(Number.data(), Number.data() + Number.size(), V);
                    if (InHeader) FForm->Version = V;
                    break;
                }
                case TStatement::Delimiter:
                    SetDelimiter(Rest);
                    break;
                case TStatement::Charset:
                    FLayer->SetCharset(Unquote(Rest));
                    if (InHeader) FForm->Charset = FLayer->Charset();
                    break;
                case TStatement::CoordSys:
                    Have = ReadCoordSys(Line);
                    if (InHeader) {
                        FForm->CoordSys = FLayer->CoordSys();
                        NoteHeader(S, Begin, Have ? OffsetOf(Line) : FIn.Mif.size());
                    }
                    continue;
                case TStatement::Columns:
                    ReadColumns(Rest);
                    break;
                default:
                    if (InHeader && IsBareCoordSys(Line)) {
                        Have = ReadBareCoordSys(Line, Begin);
                        continue;
                    }
                    break;
                }
            } catch (const std::exception& E) {
                Problem(FMif.Lines(), Reworded(E));
            }
            if (InHeader) NoteHeader(S, Begin, FMif.Position());
            Have = FMif.Next(Line);
        }
    }

    size_t OffsetOf(std::string_view Line) const {
        return static_cast<size_t>(Line.data() - FIn.Mif.data());
    }

    // A header line (or a statement of several lines) as it stands in the
    // file, to be written back as it was while the layer keeps its value.
    void NoteHeader(TStatement S, size_t Begin, size_t End) {
        TMifForm::TItemKind Kind = TMifForm::ikOther;
        switch (S) {
        case TStatement::Version:
            Kind = TMifForm::ikVersion;
            break;
        case TStatement::Charset:
            Kind = TMifForm::ikCharset;
            break;
        case TStatement::Delimiter:
            Kind = TMifForm::ikDelimiter;
            break;
        case TStatement::CoordSys:
            Kind = TMifForm::ikCoordSys;
            break;
        case TStatement::Columns:
            Kind = TMifForm::ikColumns;
            break;
        case TStatement::Data:
            Kind = TMifForm::ikData;
            break;
        default:
            break;
        }
        // A header of thousands of lines is no header: it is written anew.
        if (FForm->Header.size() >= MaxHeaderItems) {
            FForm->Header.clear();
            FHeaderDropped = true;
        }
        if (!FHeaderDropped)
            FForm->Header.push_back({Kind, std::string(FIn.Mif.substr(Begin, End - Begin))});
    }
    static constexpr size_t MaxHeaderItems = 10000;

    // The statement word a line starts with, and the text after it. The line
    // that ends an object's clauses is asked about again by the caller: the
    // last answer is kept (the text never changes while it is read).
    TStatement StatementOf(std::string_view Line, std::string_view& Rest) {
        if (Line.data() != FClassified.Line.data() || Line.size() != FClassified.Line.size()) {
            FClassified.Line = Line;
            FClassified.Statement = Classify(FirstWord(Line, &FClassified.Rest));
        }
        Rest = FClassified.Rest;
        return FClassified.Statement;
    }

    // A position in the file as the progress counts it (an int). Told for
    // every statement: no division for the files that fit as they are.
    int ProgressAt(size_t Position) const {
        return static_cast<int>(FProgressDivisor == 1 ? Position : Position / FProgressDivisor);
    }

    void Problem(int Line, const std::string& Message) {
        FProblems.Add(FIn.MifName, Line, Message);
    }
    void MidProblem(const std::string& Message) {
        FProblems.Add(FIn.MidName, FMid.Lines(), Message);
    }

    // A row a statement: the rows tell how many objects are coming, near
    // enough, for the price of counting line ends. The shortest statement
    // ("None" and its line end) bounds the guess by the file's size.
    void ReserveObjects() {
        if (!FHasMid) return;
        const size_t Rows = static_cast<size_t>(std::count(FIn.Mid.begin(), FIn.Mid.end(), '\n'));
        const size_t Most = std::min(Rows, FIn.Mif.size() / 5);
        if (Most < 1024) return; // not worth it
        const size_t Total = std::min<size_t>(FLayer->ObjectCount() + Most, INT_MAX);
        FLayer->ReserveObjects(static_cast<int>(Total));
    }

    // --- header ---
    void SetDelimiter(std::string_view Rest) {
        // The delimiter stands in quotes: "," or a real tab between them.
        std::string_view S = TrimBlanks(Rest);
        if (S.size() >= 3 && (S.front() == '"' || S.front() == '\''))
            FDelimiter = S[1];
        else if (S.size() == 1)
            FDelimiter = S[0];
        else
            throw EConvertError(Format("'%s' is not a delimiter", std::string(S)));
    }

    // The whole clause is kept as written, with a Bounds clause that some
    // programs put on a line of its own.
    bool ReadCoordSys(std::string_view& Line) {
        std::string Clause(TrimBlanks(Line));
        bool Have;
        while ((Have = FMif.Next(Line)) && IsWord(FirstWord(Line), "BOUNDS")) {
            Clause += ' ';
            Clause += TrimBlanks(Line);
        }
        FLayer->SetCoordSys(Clause);
        return Have;
    }

    // Earlier versions of the library wrote a table's system without its
    // keyword ("Earth Projection 8, ..."), which other readers pass over.
    static bool IsBareCoordSys(std::string_view Line) {
        std::string_view Rest;
        const std::string_view First = FirstWord(Line, &Rest);
        return IsWord(First, "NONEARTH") ||
               (IsWord(First, "EARTH") && IsWord(FirstWord(Rest), "PROJECTION"));
    }

    // Read as the clause it is, reported, and written back whole.
    bool ReadBareCoordSys(std::string_view& Line, size_t Begin) {
        const int At = FMif.Lines();
        const bool Have = ReadCoordSys(Line);
        const std::string Bare = FLayer->CoordSys();
        FLayer->SetCoordSys("CoordSys " + Bare);
        FForm->CoordSys = Bare;
        NoteHeader(TStatement::CoordSys, Begin, Have ? OffsetOf(Line) : FIn.Mif.size());
        Problem(At, "a coordinate system without its CoordSys keyword, read as one");
        return Have;
    }

    // "Columns n" and the declarations after it, up to the Data line. A
    // count that does not match the declarations is reported, and the
    // declarations win: every column keeps its values.
    void ReadColumns(std::string_view Rest) {
        const int StatementLine = FMif.Lines();
        const int N = ToCount(NextToken(Rest));
        TDataFields& Fields = FLayer->Fields();
        Fields.Clear();
        int Found = 0;
        for (;;) {
            const TLineCursor::TMark M = FMif.Mark();
            std::string_view Line;
            if (!FMif.Next(Line)) break;
            std::string_view Decl = TrimBlanks(Line);
            if (Decl.empty()) continue;
            const std::string_view Name = NextToken(Decl);
            const std::string_view TypeText = TrimBlanks(Decl);
            const bool LooksLikeColumn = !TypeText.empty() && IsTypeWord(FirstWord(TypeText));
            const bool IsData = TypeText.empty() && IsWord(Name, "DATA");
            if (IsData || (Found >= N && !LooksLikeColumn)) {
                FMif.Restore(M);
                break;
            }
            if (Found == 0) FForm->ColumnIndent = LeadingBlanks(Line);
            const TColumnType T = ColumnType(TypeText);
            Fields.Add(std::string(Name), T.Type, T.Size)->SetPrecision(T.Precision);
            ++Found;
        }
        if (Found != N)
            Problem(StatementLine,
                    Format("Columns declares %d columns but %d are listed", N, Found));
        FForm->Columns.clear();
        for (int I = 0; I < Fields.Count(); ++I) {
            const TDataField& F = *Fields.GetFields(I);
            FForm->Columns.push_back({F.Name(), F.DataType(), F.Size(), F.Precision()});
        }
        if (!FHasMid && Found > 0 && !std::exchange(FToldNoMid, true))
            Problem(StatementLine,
                    Format("%s, which holds the values of the columns, is missing: the "
                           "objects are read without values",
                           ExtractFileName(ChangeFileExt(FIn.MifName, ".mid"))));
    }

    // --- .mid rows ---
    // Every statement takes its row, whether or not it makes an object, so
    // that rows stay with the objects they belong to. The one exception is a
    // body missing altogether, which is what a writer leaves when it fails on
    // an empty geometry after writing the keyword: when the .mid has exactly
    // one row fewer for each such statement, those take none.
    void TakeRow(bool Missing) {
        FRowValues = false;
        if (!FHasMid) return;
        if (Missing && SkipRowsOfMissingBodies()) return;
        ++FRowsNeeded;
        std::string_view Row;
        FMidRows.SetDelimiter(FDelimiter);
        const bool WasClosed = !FMidRows.Unclosed();
        if (!FMidRows.Next(Row)) {
            if (FFirstRowless == 0) FFirstRowless = FStatementLine;
            return;
        }
        if (WasClosed && FMidRows.Unclosed())
            MidProblem("a value in quotes is not closed: its row ends with its line");
        SplitRow(Row);
        FRowValues = true;
        FRowFresh = true;
    }

    bool SkipRowsOfMissingBodies() {
        if (FRowPolicy == 0) FRowPolicy = DecideRowPolicy();
        return FRowPolicy == 2;
    }

    // 1: every statement has a row; 2: missing bodies have none.
    int DecideRowPolicy() const {
        int Statements = 0, Missing = 0, CollectionParts = 0;
        bool InData = false;
        TStatement Previous = TStatement::Unknown;
        TLineCursor Mif(FIn.Mif);
        std::string_view Line;
        while (Mif.Next(Line)) {
            // Coordinates are most of the file; only words matter here.
            if (InData && !StartsWithWord(Line)) {
                if (!IsBlankLine(Line)) Previous = TStatement::Unknown;
                continue;
            }
            std::string_view Rest;
            const std::string_view Word = FirstWord(Line, &Rest);
            if (!InData) {
                InData = IsWord(Word, "DATA") && TrimBlanks(Rest).empty();
                continue;
            }
            if (IsBlankLine(Line)) continue;
            const TStatement S = Classify(Word);
            const bool IsObject = IsObjectStatement(S);
            if (IsObject && Previous != TStatement::Unknown) ++Missing;
            Previous = TStatement::Unknown;
            if (!IsObject) continue;
            if (CollectionParts > 0 && IsCollectionPart(S)) {
                --CollectionParts;
                continue;
            }
            ++Statements;
            if (S == TStatement::Collection) CollectionParts = std::max(0, DeclaredCount(S, Rest));
            if ((S == TStatement::Region || S == TStatement::Pline) && DeclaredCount(S, Rest) != 0)
                Previous = S;
        }
        // A stray blank line at the end may or may not be a row.
        int Total = 0, Trimmed = 0;
        TLineCursor Mid(FIn.Mid);
        for (TMidRows Rows(Mid, FDelimiter); Rows.Next(Line);)
            if (++Total, !Line.empty()) Trimmed = Total;
        const int Wanted = Statements - Missing;
        return Missing > 0 && Trimmed <= Wanted && Wanted <= Total ? 2 : 1;
    }

    // Splits a row at the delimiter. Quoted items may hold the delimiter; a
    // doubled quote is one quote. MapInfo quotes with double quotes, older
    // writers with apostrophes: both are read.
    void SplitRow(std::string_view Row) {
        FItemCount = 0;
        ++FRowsRead;
        // An empty line is one empty value (all a one-column row can be).
        if (Row.empty()) {
            if (FLayer->Fields().Count() > 0) NextItem();
            return;
        }
        size_t I = 0;
        for (;;) {
            std::string& Item = NextItem();
            size_t J = I;
            while (J < Row.size() && Row[J] == ' ' && Row[J] != FDelimiter)
                ++J;
            if (J < Row.size() && (Row[J] == '"' || Row[J] == '\'')) {
                const char Q = Row[J];
                size_t K = J + 1;
                for (; K < Row.size(); ++K) {
                    if (Row[K] == Q) {
                        if (K + 1 < Row.size() && Row[K + 1] == Q) {
                            Item += Q;
                            ++K;
                            continue;
                        }
                        ++K;
                        break;
                    }
                    if (Row[K] == '\r') {
                        // Line ends inside a value are read as LF, whatever the file's.
                        Item += '\n';
                        if (K + 1 < Row.size() && Row[K + 1] == '\n') ++K;
                        continue;
                    }
                    Item += Row[K];
                }
                // Whatever stands between the closing quote and the delimiter
                // is passed over.
                while (K < Row.size() && Row[K] != FDelimiter)
                    ++K;
                I = K;
            } else {
                size_t K = I;
                while (K < Row.size() && Row[K] != FDelimiter)
                    ++K;
                Item.assign(Row.data() + I, K - I);
                I = K;
            }
            if (I >= Row.size()) break;
            ++I; // the delimiter
        }
    }

    std::string& NextItem() {
        if (FItemCount == FItems.size()) FItems.emplace_back();
        std::string& Item = FItems[FItemCount++];
        Item.clear();
        return Item;
    }

    void ApplyRow(TCustomMapObject* Obj) {
        if (!FRowValues) return;
        // Value by value into the row, compact as the layer made it.
        TObjectRow& Row = Obj->Row();
        const int Count = Row.Count();
        const size_t N = std::min(FItemCount, static_cast<size_t>(Count));
        // Told once per row, however many objects share it.
        const bool Report = std::exchange(FRowFresh, false);
        if (Report && FItemCount != static_cast<size_t>(Count))
            MidProblem(
                Format("row has %d values for %d columns", static_cast<int>(FItemCount), Count));
        for (size_t I = 0; I < N; ++I) {
            const int K = static_cast<int>(I);
            const TDataField& F = Row.Column(K);
            const std::string& Item = FItems[I];
            if (F.DataType() == dtString) {
                // Quotes are removed only where there are quotes: an unquoted
                // text keeps all its characters.
                Row.SetValue(K, Item);
                continue;
            }
            const std::string_view Text = TrimBlanks(Item);
            // An empty cell of a number, date or logical column is a null.
            if (Text.empty()) {
                Row.SetValue(K, TVariant::Null());
                continue;
            }
            TDateTime DT;
            bool B;
            bool Ok = true;
            switch (F.DataType()) {
            case dtFloat:
            case dtDecimal:
            case dtInteger:
            case dtSmallInt:
            case dtLargeInt:
                Ok = NormalizeNumber(Text, FNumber);
                if (Ok) Row.SetValue(K, FNumber);
                break;
            case dtDate:
                // Files that declared every date column a Date hold times too.
                Ok = ParseMifDate(Text, DT) || ParseMifDateTime(Text, DT);
                if (Ok) Row.SetValue(K, DT); // as AsDate stores it: a double
                break;
            case dtDateTime:
                Ok = ParseMifDateTime(Text, DT);
                if (Ok) Row.SetValue(K, TVariant::FromDateTime(DT));
                break;
            case dtTime:
                Ok = ParseMifTime(Text, DT) || TryStrToTime(Text, DT);
                if (Ok) Row.SetValue(K, DT);
                break;
            case dtBoolean:
                Ok = ParseLogical(Text, B);
                if (Ok) Row.SetValue(K, B);
                break;
            case dtString:
                break;
            }
            if (!Ok && Report)
                MidProblem(Format("'%s' is not a valid value for column %s (%s)", std::string(Text),
                                  F.Name(), F.GetDataTypeName()));
        }
    }

    // Rows missing or left over mean that values and objects may not belong
    // together: said once, at the end, at the first statement without a row
    // or the first row without a statement. Blank lines after the last row
    // needed are no rows.
    void CheckRowCount() {
        if (!FHasMid) return;
        FMidRows.SetDelimiter(FDelimiter);
        const int Used = FRowsRead;
        const int NextLine = FMid.Lines() + 1;
        int Left = 0, Blank = 0;
        std::string_view Row;
        while (FMidRows.Next(Row)) {
            if (Row.empty()) {
                ++Blank;
                continue;
            }
            Left += Blank + 1;
            Blank = 0;
        }
        const int Rows = Used + Left;
        if (FRowsNeeded > Used)
            Problem(FFirstRowless,
                    Format("%s has %d rows for %d statements: this statement and the %d after it "
                           "have no values",
                           ExtractFileName(FIn.MidName), Used, FRowsNeeded,
                           FRowsNeeded - Used - 1));
        else if (Left > 0)
            FProblems.Add(FIn.MidName, NextLine,
                          Format("%d rows for %d statements: this row and the %d after it belong "
                                 "to no object (is the .mif cut short?)",
                                 Rows, FRowsNeeded, Left - 1));
    }

    // --- bodies ---
    // No more room is asked for than the rest of the file could fill: a point
    // takes at least four bytes ("0 0" and a line end).
    void ReservePoints(TMapPoints& Points, int Count) const {
        const size_t Room = FMif.Remaining() / 4 + 1;
        Points.Reserve(static_cast<int>(std::min<size_t>(static_cast<size_t>(Count), Room)));
    }

    // Reads Count lines of "x y". A line that starts with a keyword ends the
    // body early and stays unread (true is returned); the end of the file
    // ends it too, keeping what was read, and says what was still expected.
    bool ReadPoints(TMapPoints& Points, int Count) {
        ReservePoints(Points, Count);
        std::string_view Line;
        for (int K = 0; K < Count;) {
            const TLineCursor::TMark M = FMif.Mark();
            if (!FMif.Next(Line)) {
                FEndedShort = Format("%d more of its %d points expected", Count - K, Count);
                return false;
            }
            if (!StartsWithNumber(Line)) {
                if (IsBlankLine(Line)) continue;
                if (IsKeywordLine(Line)) {
                    FMif.Restore(M);
                    return true;
                }
            }
            if (!FDecimalsKnown) NoteDecimals(Line);
            const double X = NextFloat(Line);
            const double Y = NextFloat(Line);
            Points.Add(X, Y);
            ++K;
        }
        return false;
    }

    enum class TCount { Read, CutShort, End };

    // A line that holds a count first.
    TCount ReadCountLine(int& Count) {
        std::string_view Line;
        for (;;) {
            const TLineCursor::TMark M = FMif.Mark();
            if (!FMif.Next(Line)) {
                FEndedShort = "a point count expected";
                return TCount::End;
            }
            if (StartsWithNumber(Line)) break;
            if (IsBlankLine(Line)) continue;
            if (IsKeywordLine(Line)) {
                FMif.Restore(M);
                return TCount::CutShort;
            }
            break; // not a number: the conversion below says so
        }
        if (!std::exchange(FCountIndentKnown, true)) FForm->CountIndent = LeadingBlanks(Line);
        const std::string_view Token = NextToken(Line);
        if (Token.empty()) throw EConvertError("Count expected");
        Count = ToCount(Token);
        return TCount::Read;
    }

    // Count sections, each a count line and its points.
    TBody ReadSections(TParts& Parts, int Count) {
        for (int P = 0; P < Count; ++P) {
            int N;
            const TCount C = ReadCountLine(N);
            if (C == TCount::End) return TBody::Complete;
            if (C == TCount::CutShort) return P == 0 ? TBody::Missing : TBody::Partial;
            if (ReadPoints(Parts.Add()->Points(), N)) return TBody::Partial;
        }
        return TBody::Complete;
    }

    // "Pline n" and its points, "Pline" with the count on the next line, or
    // "Pline Multiple s" with a count line before each section.
    TBody ReadPline(std::string_view Rest, TParts& Parts) {
        const std::string_view First = NextToken(Rest);
        if (IsWord(First, "MULTIPLE")) return ReadSections(Parts, ToCount(NextToken(Rest)));
        if (First.empty()) return ReadSections(Parts, 1);
        const int Count = ToCount(First);
        if (ReadPoints(Parts.Add()->Points(), Count))
            return Parts.GetFirst()->Points().Count() == 0 && Count > 0 ? TBody::Missing
                                                                        : TBody::Partial;
        return TBody::Complete;
    }

    // Four numbers after the keyword: two corners.
    static void ReadBox(std::string_view& Rest, double Box[4]) {
        for (int I = 0; I < 4; ++I)
            Box[I] = NextFloat(Rest);
    }

    // The next line when it holds Count more numbers; otherwise the cursor
    // stays.
    bool ReadOptionalNumbers(double* Values, int Count) {
        const TLineCursor::TMark M = FMif.Mark();
        std::string_view Line;
        if (FMif.Next(Line) && StartsWithNumber(Line)) {
            for (int I = 0; I < Count; ++I)
                Values[I] = NextFloat(Line);
            return true;
        }
        FMif.Restore(M);
        return false;
    }

    // Corners so far apart that their centre or size overflows are refused.
    static void CheckBox(const double Box[4]) {
        if (!std::isfinite(Box[2] - Box[0]) || !std::isfinite(Box[3] - Box[1]) ||
            !std::isfinite(Box[0] + Box[2]) || !std::isfinite(Box[1] + Box[3]))
            throw EConvertError("Coordinates out of range");
    }

    // Points along the ellipse inscribed in the box, counter-clockwise from
    // angle A to angle B (degrees).
    static void AddEllipsePoints(TMapPoints& Points, const double Box[4], double A, double B) {
        const double CX = (Box[0] + Box[2]) / 2, CY = (Box[1] + Box[3]) / 2;
        const double RX = std::abs(Box[2] - Box[0]) / 2, RY = std::abs(Box[3] - Box[1]) / 2;
        CheckBox(Box);
        if (!std::isfinite(B - A)) throw EConvertError("Angles out of range");
        double Sweep = std::fmod(B - A, 360.0);
        if (Sweep <= 0) Sweep += 360;
        const int Steps =
            std::max(2, static_cast<int>(std::ceil(Sweep / 360 * ArcSegmentsPerTurn)));
        Points.Reserve(Steps + 1);
        for (int I = 0; I <= Steps; ++I) {
            const double T = (A + Sweep * I / Steps) * std::numbers::pi / 180;
            Points.Add(CX + RX * std::cos(T), CY + RY * std::sin(T));
        }
    }

    template <class T> T* Make(TObjects& Made) {
        auto Obj = std::make_unique<T>();
        T* Raw = Obj.get();
        Made.push_back(std::move(Obj));
        return Raw;
    }

    static TSymbol* MakePoint(TObjects& Made, double X, double Y) {
        auto Symbol = std::make_unique<TSymbol>();
        Symbol->SetPoint(X, Y);
        TSymbol* Raw = Symbol.get();
        Made.push_back(std::move(Symbol));
        return Raw;
    }

    // Reads the body of one statement (or one part of a collection) into
    // new objects that are not yet on the layer.
    TBody ReadBody(TStatement S, std::string_view Rest, TObjects& Made) {
        switch (S) {
        case TStatement::Point: {
            if (!FDecimalsKnown) NoteDecimals(Rest);
            const double X = NextFloat(Rest), Y = NextFloat(Rest);
            MakePoint(Made, X, Y);
            return TBody::Complete;
        }
        case TStatement::Line: {
            double Box[4];
            ReadBox(Rest, Box);
            TMapPoints& Points = Make<TPolyline>(Made)->Parts().Add()->Points();
            Points.Add(Box[0], Box[1]);
            Points.Add(Box[2], Box[3]);
            return TBody::Complete;
        }
        case TStatement::Pline:
            return ReadPline(Rest, Make<TPolyline>(Made)->Parts());
        case TStatement::Region:
            return ReadSections(Make<TRegion>(Made)->Parts(), ToCount(NextToken(Rest)));
        case TStatement::Arc: {
            // Read as the polyline it draws; the angles follow on the same
            // line or on the next one.
            double Box[4], Angles[2] = {0, 360};
            ReadBox(Rest, Box);
            std::string_view More = Rest;
            if (!NextToken(More).empty()) {
                Angles[0] = NextFloat(Rest);
                Angles[1] = NextFloat(Rest);
            } else {
                ReadOptionalNumbers(Angles, 2);
            }
            AddEllipsePoints(Make<TPolyline>(Made)->Parts().Add()->Points(), Box, Angles[0],
                             Angles[1]);
            return TBody::Complete;
        }
        case TStatement::Text:
            ReadText(Rest, Made);
            return TBody::Complete;
        case TStatement::Rect:
        case TStatement::RoundRect: {
            double Box[4], Diameter = 0;
            ReadBox(Rest, Box);
            // The corner rounding of a RoundRect stands on the same line or
            // on the next one.
            if (S == TStatement::RoundRect) {
                std::string_view More = Rest;
                if (!NextToken(More).empty())
                    Diameter = NextFloat(Rest);
                else
                    ReadOptionalNumbers(&Diameter, 1);
            }
            auto* Rect = Make<TRectangle>(Made);
            Rect->SetCornerDiameter(Diameter);
            Rect->SetX0(Box[0]);
            Rect->SetY0(Box[1]);
            Rect->SetX1(Box[2]);
            Rect->SetY1(Box[3]);
            Rect->UpdateBounds();
            return TBody::Complete;
        }
        case TStatement::Ellipse: {
            double Box[4];
            ReadBox(Rest, Box);
            CheckBox(Box);
            const double W = std::abs(Box[2] - Box[0]), H = std::abs(Box[3] - Box[1]);
            if (std::abs(W - H) <= 1e-9 * std::max(W, H)) {
                auto* Circle = Make<TCircle>(Made);
                Circle->SetX((Box[0] + Box[2]) / 2);
                Circle->SetY((Box[1] + Box[3]) / 2);
                Circle->SetRadius(W / 2);
                Circle->UpdateBounds();
            } else {
                // An oval has no object kind of its own: it becomes the
                // region that outlines it.
                AddEllipsePoints(Make<TRegion>(Made)->Parts().Add()->Points(), Box, 0, 360);
            }
            return TBody::Complete;
        }
        case TStatement::Multipoint: {
            // One object, drawn as a symbol at each point.
            TMapPoints Points;
            const bool Cut = ReadMultipointBody(Rest, Points);
            auto* Multi = Make<TMultiPoint>(Made);
            for (const TMapPoint& P : Points)
                Multi->AddPoint(P.X, P.Y);
            return Cut ? TBody::Partial : TBody::Complete;
        }
        default:
            // None: a row without geometry, kept as an object of its own.
            Make<TNoGeometry>(Made);
            return TBody::Complete;
        }
    }

    void ReadText(std::string_view Rest, TObjects& Made) {
        // The text stands on the Text line or on the next; the corners follow.
        std::string_view TextLine = TrimBlanks(Rest);
        const bool OnStatementLine = !TextLine.empty();
        if (TextLine.empty()) {
            const TLineCursor::TMark M = FMif.Mark();
            if (!FMif.Next(TextLine) || IsObjectLine(TextLine)) {
                FMif.Restore(M);
                Problem(FStatementLine, "Text statement without its text");
                return;
            }
        }
        const std::string Value = Unquote(TextLine);
        const TLineCursor::TMark M = FMif.Mark();
        std::string_view Corners;
        if (!FMif.Next(Corners) || !StartsWithNumber(Corners)) {
            FMif.Restore(M);
            Problem(FStatementLine, "Text statement without its corner coordinates");
            return;
        }
        if (!std::exchange(FTextFormKnown, true)) {
            FForm->TextOnStatementLine = OnStatementLine;
            FForm->BodyIndent = LeadingBlanks(Corners);
        }
        double Box[4];
        ReadBox(Corners, Box);
        CheckBox(Box);
        // The box is written back as read when the object gives it exactly.
        if (Box[0] + std::abs(Box[2] - Box[0]) == Box[2] &&
            Box[1] + std::abs(Box[3] - Box[1]) == Box[3])
            FSeen |= SeenBox;
        auto* Text = Make<TText>(Made);
        Text->SetX(Box[0]);
        Text->SetY(Box[1]);
        Text->SetWidth(std::abs(Box[2] - Box[0]));
        Text->SetHeight(std::abs(Box[3] - Box[1]));
        Text->SetText(Value);
        Text->UpdateBounds();
    }

    // Puts the objects of a statement on the layer, with the statement's
    // values; they take the clauses that follow.
    void Adopt(TObjects& Made) {
        FCurrent.clear();
        for (std::unique_ptr<TCustomMapObject>& Obj : Made) {
            TCustomMapObject* Raw = Obj.get();
            FLayer->AddObject(std::move(Obj), false);
            ApplyRow(Raw);
            FCurrent.push_back(Raw);
        }
        Made.clear();
    }

    // After a statement that could not be read: on to the next statement.
    bool SkipToStatement(std::string_view& Line) {
        while (FMif.Next(Line))
            if (IsObjectLine(Line)) return true;
        return false;
    }

    // Reads one statement with its body, row and clauses. Line becomes the
    // line after them; false when the file has ended.
    bool ReadStatement(TStatement S, std::string_view Rest, std::string_view& Line) {
        FStatementLine = FMif.Lines();
        FSeen = 0;
        FEndedShort.clear();
        NoteHead(S, Line, Rest);
        if (S == TStatement::Collection) return ReadCollection(Rest, Line);
        TObjects& Made = FMade; // kept: no list made per statement
        Made.clear();
        TBody Body;
        try {
            Body = ReadBody(S, Rest, Made);
        } catch (const std::exception& E) {
            Made.clear();
            // Which statement the line belongs to, and what it had there.
            const std::string Where =
                FMif.Lines() == FStatementLine
                    ? Format("%s statement", KeywordOf(S))
                    : Format("%s statement at line %d", KeywordOf(S), FStatementLine);
            Problem(FMif.Lines(), Where + ": " + Reworded(E));
            TakeRow(false);
            return SkipToStatement(Line);
        }
        if (!FEndedShort.empty())
            Problem(FMif.Lines(), Format("%s statement at line %d cut short by the end of the "
                                         "file: %s",
                                         KeywordOf(S), FStatementLine,
                                         std::exchange(FEndedShort, std::string())));
        bool Missing = false;
        if (Body != TBody::Complete) {
            // A body cut short by a clause still has its row; one cut short by
            // the next statement may not (see TakeRow).
            const TLineCursor::TMark M = FMif.Mark();
            std::string_view Next;
            Missing = Body == TBody::Missing && FMif.Next(Next) && IsObjectLine(Next);
            FMif.Restore(M);
            Problem(FStatementLine,
                    Format("%s statement cut short by the next statement", KeywordOf(S)));
        }
        TakeRow(Missing);
        Adopt(Made);
        return ReadClauses(Line);
    }

    // Whether the first coordinates have a fixed number of decimals, trailing
    // zeros and all ("1.500000 2.000000"), which the shortest form would not
    // write back. A few dozen lines tell.
    void NoteDecimals(std::string_view Line) {
        FDecimalsKnown = --FDecimalLines <= 0;
        for (int I = 0; I < 2 && FDecimals != -2; ++I) {
            const std::string_view Token = NextToken(Line);
            const size_t Dot = Token.find('.');
            const std::string_view Digits =
                Dot == std::string_view::npos ? std::string_view() : Token.substr(Dot + 1);
            const bool Plain =
                !Digits.empty() && std::all_of(Digits.begin(), Digits.end(),
                                               [](char C) { return C >= '0' && C <= '9'; });
            const int N = static_cast<int>(Digits.size());
            if (!Plain || (FDecimals >= 0 && N != FDecimals)) {
                FDecimals = -2; // not fixed
                FDecimalsKnown = true;
                return;
            }
            FDecimals = N;
            FDecimalZero |= Digits.back() == '0';
        }
    }

    static int HeadOf(TStatement S) {
        switch (S) {
        case TStatement::Point:
            return mhPoint;
        case TStatement::Line:
            return mhLine;
        case TStatement::Pline:
            return mhPline;
        case TStatement::Region:
            return mhRegion;
        case TStatement::Text:
            return mhText;
        case TStatement::Rect:
            return mhRect;
        case TStatement::Ellipse:
            return mhEllipse;
        case TStatement::None:
            return mhNone;
        default:
            return -1;
        }
    }

    // The words of a statement as the file spells them, and the blanks after
    // them, the first time each statement comes.
    void NoteHead(TStatement S, std::string_view Line, std::string_view Rest) {
        int H = HeadOf(S);
        if (H < 0) return;
        if (H == mhPline) {
            if (!FForm->Heads[mhPline].empty() && !FForm->Heads[mhPlineMultiple].empty()) return;
            std::string_view Probe = Rest;
            if (IsWord(NextToken(Probe), "MULTIPLE")) {
                H = mhPlineMultiple;
                Rest = Probe;
            }
        }
        std::string& Head = FForm->Heads[static_cast<size_t>(H)];
        // "Pline" with its count on the next line has no head to copy.
        if (!Head.empty() || (TrimBlanks(Rest).empty() && H != mhNone && H != mhText)) return;
        const size_t End =
            static_cast<size_t>(Rest.data() - Line.data()) + LeadingBlanks(Rest).size();
        Head.assign(Line.substr(0, End));
    }

    static std::string KeywordOf(TStatement S) {
        for (const TKeyword& K : Keywords)
            if (K.Statement == S) {
                std::string W(K.Word);
                for (size_t I = 1; I < W.size(); ++I)
                    W[I] = static_cast<char>(std::tolower(static_cast<unsigned char>(W[I])));
                return W;
            }
        return "?";
    }

    // "Multipoint n" and its points; true when the next statement cut it short.
    bool ReadMultipointBody(std::string_view Rest, TMapPoints& Points) {
        std::string_view Probe = Rest;
        int Count = 0;
        if (!NextToken(Probe).empty()) Count = ToCount(NextToken(Rest));
        return ReadPoints(Points, Count);
    }

    // "Collection n" and its n parts, each with its clauses: one object with
    // one row, whose parts may be any of Region, Pline, Multipoint and, as
    // other writers put them there, Line and Point. The clauses of every part
    // go to the whole object.
    bool ReadCollection(std::string_view Rest, std::string_view& Line) {
        int Parts;
        try {
            Parts = ToCount(NextToken(Rest));
        } catch (const std::exception& E) {
            Problem(FStatementLine, Reworded(E));
            TakeRow(false);
            return SkipToStatement(Line);
        }
        TakeRow(false);
        TObjects& Made = FMade;
        Made.clear();
        auto* Collection = Make<TCollectionObject>(Made);
        // On the layer before its clauses, which it would otherwise lose to
        // the layer's defaults.
        Adopt(Made);
        TPen RingPen, LinePen;
        bool HasLines = false;
        bool Have = FMif.Next(Line);
        int Found = 0;
        for (; Found < Parts && Have; ++Found) {
            while (Have && IsBlankLine(Line))
                Have = FMif.Next(Line);
            if (!Have) break;
            std::string_view PartRest;
            const TStatement S = StatementOf(Line, PartRest);
            if (!IsCollectionPart(S)) break; // not a part: the next statement
            try {
                if (ReadCollectionPart(S, PartRest, *Collection) != TBody::Complete)
                    Problem(FMif.Lines(),
                            Format("%s part cut short by the next statement", KeywordOf(S)));
                if (!FEndedShort.empty())
                    Problem(FMif.Lines(),
                            Format("%s part cut short by the end of the file: %s", KeywordOf(S),
                                   std::exchange(FEndedShort, std::string())));
            } catch (const std::exception& E) {
                Problem(FMif.Lines(), Format("%s part: %s", KeywordOf(S), Reworded(E)));
                return SkipToStatement(Line);
            }
            Have = ReadClauseLines(Line);
            // Each part's pen as its clauses left it.
            if (S == TStatement::Region) RingPen.Assign(*Collection->ReadPen());
            if (S == TStatement::Pline || S == TStatement::Line) {
                LinePen.Assign(*Collection->ReadPen());
                HasLines = true;
            }
        }
        // The rings keep their pen and the lines get theirs when the two differ.
        if (Collection->RingCount() > 0 && HasLines && !LinePen.Equals(RingPen)) {
            auto Own = std::make_unique<TPen>();
            Own->Assign(LinePen);
            Collection->SetLinePen(std::move(Own));
            Collection->SharePen(FStyles.Pen(RingPen));
        }
        NoteFileStyle();
        if (Found < Parts) {
            // Which line ended it tells more than the count alone.
            std::string_view Word;
            const std::string Ended =
                !Have
                    ? std::string("the end of the file")
                    : Format("'%s' at line %d", std::string(FirstWord(Line, &Word)), FMif.Lines());
            Problem(FStatementLine,
                    Format("Collection declares %d parts but %d are there before %s", Parts, Found,
                           Ended));
        }
        return Have;
    }

    // One part's geometry into the collection's group of its kind.
    TBody ReadCollectionPart(TStatement S, std::string_view Rest, TCollectionObject& Into) {
        TParts Read;
        TBody Body = TBody::Complete;
        switch (S) {
        case TStatement::Region:
            Body = ReadSections(Read, ToCount(NextToken(Rest)));
            for (int I = 0; I < Read.Count(); ++I)
                CopyPoints(Read.Items(I)->Points(), Into.AddRing());
            break;
        case TStatement::Pline:
            Body = ReadPline(Rest, Read);
            for (int I = 0; I < Read.Count(); ++I)
                CopyPoints(Read.Items(I)->Points(), Into.AddSection());
            break;
        case TStatement::Line: {
            double Box[4];
            ReadBox(Rest, Box);
            TMapPoints& Section = Into.AddSection();
            Section.Add(Box[0], Box[1]);
            Section.Add(Box[2], Box[3]);
            break;
        }
        case TStatement::Multipoint: {
            TMapPoints Points;
            if (ReadMultipointBody(Rest, Points)) Body = TBody::Partial;
            for (const TMapPoint& P : Points)
                Into.AddPoint(P.X, P.Y);
            break;
        }
        case TStatement::Point: {
            const double X = NextFloat(Rest), Y = NextFloat(Rest);
            Into.AddPoint(X, Y);
            break;
        }
        default:
            break;
        }
        return Body;
    }

    static void CopyPoints(const TMapPoints& From, TMapPoints& To) {
        To.Reserve(From.Count());
        for (const TMapPoint& P : From)
            To.Add(P.X, P.Y);
    }

    // --- clauses ---
    // Style clauses and the lines that belong to the object (Angle, Justify,
    // Spacing, Label, Smooth) are read until another line comes; blank lines
    // between them are passed over. A line that starts with a statement word
    // is never a clause, whatever it holds, so a text or value that mentions
    // a pen cannot swallow the next statement.
    bool ReadClauses(std::string_view& Line) {
        const bool Have = ReadClauseLines(Line);
        NoteFileStyle();
        return Have;
    }

    bool ReadClauseLines(std::string_view& Line) {
        for (;;) {
            if (!FMif.Next(Line)) return false;
            if (IsBlankLine(Line)) continue;
            std::string_view Rest;
            const TStatement S = StatementOf(Line, Rest);
            if (IsModifier(S)) {
                if (S == TStatement::Smooth) {
                    ApplySmooth();
                    ApplyToCurrent([](TCustomMapObject* Obj) {
                        if (auto* C = dynamic_cast<TCollectionObject*>(Obj)) C->SetSmooth(true);
                    });
                } else {
                    ApplyToCurrent([&](TCustomMapObject* Obj) {
                        if (auto* Text = dynamic_cast<TText*>(Obj)) ApplyTextLine(Text, S, Rest);
                    });
                }
                continue;
            }
            if (S != TStatement::Unknown) return true;
            const TObjectAttribute A = ClauseKind(Line);
            if (A == oaNone) return true;
            if (!std::exchange(FClauseIndentKnown, true)) FForm->ClauseIndent = LeadingBlanks(Line);
            FSeen |= SeenOf(A);
            ApplyToCurrent([&](TCustomMapObject* Obj) { ApplyClause(Obj, A, Line); });
        }
    }

    // Angle, Justify, Spacing and Label Line of a text; a value that is
    // none of the format's is reported and the text keeps what it had.
    static void ApplyTextLine(TText* Text, TStatement S, std::string_view Rest) {
        const std::string_view Word = NextToken(Rest);
        switch (S) {
        case TStatement::Angle: {
            // Turns of any size come down to one turn.
            std::string_view All = Word;
            Text->SetAngle(std::fmod(NextFloat(All), 360.0));
            break;
        }
        case TStatement::Justify:
            if (IsWord(Word, "LEFT"))
                Text->SetJustify(tjLeft);
            else if (IsWord(Word, "CENTER"))
                Text->SetJustify(tjCenter);
            else if (IsWord(Word, "RIGHT"))
                Text->SetJustify(tjRight);
            else
                throw EConvertError(
                    Format("Justify %s: Left, Center or Right expected", std::string(Word)));
            break;
        case TStatement::Spacing: {
            const double V = ToFloat(Word);
            if (V == 1.0)
                Text->SetSpacing(tsSingle);
            else if (V == 1.5)
                Text->SetSpacing(tsOneAndHalf);
            else if (V == 2.0)
                Text->SetSpacing(tsDouble);
            else
                throw EConvertError(
                    Format("Spacing %s: 1.0, 1.5 or 2.0 expected", std::string(Word)));
            break;
        }
        case TStatement::Label: {
            // Label Line Simple|Arrow x y; "Label Line None" has no point.
            const std::string_view Kind = NextToken(Rest);
            if (!IsWord(Word, "LINE") || Kind.empty())
                throw EConvertError("Label Line Simple, Arrow or None expected");
            if (IsWord(Kind, "NONE")) {
                Text->SetLabelLine(llNone, 0, 0);
                break;
            }
            const bool Arrow = IsWord(Kind, "ARROW");
            if (!Arrow && !IsWord(Kind, "SIMPLE"))
                throw EConvertError(
                    Format("Label Line %s: Simple, Arrow or None expected", std::string(Kind)));
            const double X = NextFloat(Rest), Y = NextFloat(Rest);
            Text->SetLabelLine(Arrow ? llArrow : llSimple, X, Y);
            break;
        }
        default:
            break;
        }
    }

    // What the file's clauses for the object were (FSeen).
    enum : unsigned {
        SeenPen = 1,
        SeenBrush = 2,
        SeenSymbol = 4,
        SeenFont = 8,
        SeenBack = 16,       // a back colour the fill does not draw
        SeenFontNoSize = 32, // a Font clause of size 0
        SeenBox = 64         // a text's corners, lower left first
    };
    static unsigned SeenOf(TObjectAttribute A) {
        switch (A) {
        case oaPen:
            return SeenPen;
        case oaBrush:
            return SeenBrush;
        case oaSymbol:
            return SeenSymbol;
        case oaFont:
            return SeenFont;
        default:
            return 0;
        }
    }

    // Smooth draws a polyline as a curve; we draw it straight but keep the
    // word to write it back.
    void ApplySmooth() {
        for (TCustomMapObject* Obj : FCurrent)
            if (dynamic_cast<TPolyline*>(Obj)) Obj->SetKeptFlag(true);
    }

    // Which clauses the objects lacked, so that saving them unchanged adds
    // none (see TMifForm).
    void NoteFileStyle() {
        for (TCustomMapObject* Obj : FCurrent) {
            std::uint8_t Bits = 0;
            if (TSymbol* Symbol = PlainSymbol(Obj)) {
                if (!(FSeen & SeenSymbol)) {
                    Bits |= fsNoOutline;
                    // What MapInfo draws a point without a Symbol clause with.
                    if (!FNoClauseFont) FNoClauseFont = FStyles.Font(NoClauseSymbolFont());
                    Symbol->SetShape(NoClauseSymbolShape);
                    Symbol->ShareFont(FNoClauseFont);
                }
            } else if (dynamic_cast<TMultiPoint*>(Obj)) {
                if (!(FSeen & SeenSymbol)) Bits |= fsNoOutline;
            } else if (dynamic_cast<TText*>(Obj)) {
                if (!(FSeen & SeenFont)) Bits |= fsNoOutline;
                if (FSeen & SeenFontNoSize) Bits |= fsNoFill;
                if (FSeen & SeenBox) Bits |= fsKept;
            } else {
                if (!(FSeen & SeenPen)) Bits |= fsNoOutline;
                if (!(FSeen & SeenBrush)) Bits |= fsNoFill;
                if (FSeen & SeenBack) Bits |= fsKept;
            }
            Obj->SetFileStyle(Bits);
        }
    }

    // A clause that cannot be read is reported and passed over; the object
    // keeps what the earlier clauses gave it.
    template <class F> void ApplyToCurrent(F&& Apply) {
        try {
            for (TCustomMapObject* Obj : FCurrent)
                Apply(Obj);
        } catch (const std::exception& E) {
            Problem(FMif.Lines(), Reworded(E));
        }
    }

    std::string_view Token(int Index) const {
        if (Index >= FParser.Count())
            throw EConvertError(Format("%s clause has %d values where %d were expected",
                                       std::string(FParser[0]), FParser.Count() - 1, Index));
        return FParser[Index];
    }
    int IntToken(int Index) const { return ToInt(Token(Index)); }
    TColor ColorToken(int Index) const { return MifColorToColor(ToInt64(Token(Index))); }

    static int CheckedSize(int Size, int Max, const char* What) {
        if (Size < 0 || Size > Max)
            throw EConvertError(Format("%s size %d is out of range (0 to %d)", What, Size, Max));
        return Size;
    }

    // The same Symbol clause on a symbol whose font was the same as last time
    // gives the same result: most points of a file repeat their neighbour's.
    bool RepeatSymbolClause(TCustomMapObject* Obj, std::string_view Line) {
        if (!FLastSymbol.After || Line != FLastSymbol.Line) return false;
        TSymbol* Symbol = PlainSymbol(Obj);
        if (!Symbol || !Symbol->ReadFont()->Equals(FLastSymbol.Before)) return false;
        Symbol->SetShape(FLastSymbol.Shape);
        Symbol->ShareFont(FLastSymbol.After);
        Symbol->SetKeptSymbolStyle(FLastSymbol.Style);
        Symbol->SetKeptFlag(FLastSymbol.Picture);
        return true;
    }

    // Obj as a symbol that is not a text, or null; points, most of a large
    // file, are told by their exact type without a search of the hierarchy.
    static TSymbol* PlainSymbol(TCustomMapObject* Obj) {
        if (typeid(*Obj) == typeid(TSymbol)) return static_cast<TSymbol*>(Obj);
        auto* Symbol = dynamic_cast<TSymbol*>(Obj);
        return Symbol && !dynamic_cast<TText*>(Obj) ? Symbol : nullptr;
    }

    void ApplyClause(TCustomMapObject* Obj, TObjectAttribute A, std::string_view Line) {
        if (A == oaSymbol && RepeatSymbolClause(Obj, Line)) return;
        FParser.Read(Line);
        switch (A) {
        case oaPen: {
            // Width and pattern are kept as well: what the file draws thick or
            // dashed stays so.
            const TColor Color = ColorToken(3);
            const int Width = PenWidthFromMif(IntToken(1));
            // The platform draws few of MapInfo's patterns; the number is
            // kept to be written back.
            const int Pattern = IntToken(2);
            const TPenStyle Style = PenStyleFromMif(Pattern);
            Obj->SetKeptPenPattern(Pattern);
            // Objects of one look share their tools (FStyles).
            TPen Pen;
            Pen.Assign(*Obj->ReadPen());
            Pen.SetColor(Color);
            Pen.SetWidth(Width);
            Pen.SetStyle(Style);
            Obj->SharePen(FStyles.Pen(Pen));
            break;
        }
        case oaBrush: {
            // A hollow fill (pattern 1) stays hollow; a hatch with a back
            // colour is drawn over that colour, and a solid fill keeps its
            // (hidden) back colour in use too, as MITAB reads it.
            const int Pattern = IntToken(1);
            const TColor Fore = ColorToken(2);
            const bool WithBack = FParser.Count() > 3 && Pattern >= 2;
            const TColor Back = WithBack ? ColorToken(3) : 0;
            TBrush Brush;
            Brush.Assign(*Obj->ReadBrush());
            Brush.SetColor(Fore);
            Brush.SetStyle(BrushStyleFromMif(Pattern));
            Obj->SetKeptBrushPattern(Pattern);
            Obj->ShareBrush(FStyles.Brush(Brush));
            if (WithBack) {
                Obj->SetUseBGColor(true);
                Obj->SetBGColor(Back);
            } else if (FParser.Count() > 3) {
                // Not drawn, but kept to be written back.
                Obj->SetBGColor(ColorToken(3));
                FSeen |= SeenBack;
            }
            break;
        }
        case oaSymbol: {
            if (auto* Multi = dynamic_cast<TMultiSymbolObject*>(Obj)) {
                ApplyMultiSymbol(*Multi);
                break;
            }
            TSymbol* Symbol = PlainSymbol(Obj);
            if (!Symbol) break;
            const std::string_view Shape = Token(1);
            // A picture symbol ("pin.bmp", colour, size, style): the file's
            // name stands in the font's place (see TSymbol::IsPicture), and
            // the common MapInfo point is its shape for whoever draws glyphs.
            const bool Picture = !Shape.empty() && Shape.front() == '"';
            const int ShapeNo = Picture ? NoClauseSymbolShape : ToInt(Shape);
            const TColor Color = ColorToken(2);
            const int Size = CheckedSize(IntToken(3), MaxSymbolSize, "Symbol");
            const bool WithFont = !Picture && FParser.Count() > 5;
            std::string FontName = WithFont ? Unquote(Token(4)) : "MapInfo Symbol";
            int Style = WithFont ? IntToken(5) : 0;
            // A font symbol's turn, counter-clockwise in degrees, is the
            // font's escapement.
            const double Angle = WithFont && FParser.Count() > 6 ? ToFloat(Token(6)) : 0;
            if (Picture) {
                FontName = Unquote(Shape);
                Style = FParser.Count() > 4 ? IntToken(4) : 0;
            }
            TFont Font;
            Font.Assign(*Symbol->ReadFont());
            Symbol->SetShape(ShapeNo);
            Font.SetColor(Color);
            Font.SetSize(Size);
            Font.SetName(FontName);
            if (WithFont) Font.SetStyle(FontStyleFromMif(Style));
            Font.SetEscapement(EscapementOf(Angle));
            Symbol->SetKeptSymbolStyle(Style);
            Symbol->SetKeptFlag(Picture);
            FLastSymbol.Before.Assign(*Symbol->ReadFont());
            FLastSymbol.Line.assign(Line);
            FLastSymbol.Shape = ShapeNo;
            FLastSymbol.Style = Symbol->KeptSymbolStyle();
            FLastSymbol.Picture = Picture;
            FLastSymbol.After = FStyles.Font(Font);
            Symbol->ShareFont(FLastSymbol.After);
            break;
        }
        case oaFont: {
            // Font ("name", style, size, colour[, back colour]) of a text; the
            // size is left to the box when the file gives none.
            auto* Text = dynamic_cast<TText*>(Obj);
            if (!Text) break;
            const std::string Name = Unquote(Token(1));
            const int Style = IntToken(2);
            const int Size = CheckedSize(IntToken(3), MaxFontSize, "Font");
            const TColor Color = ColorToken(4);
            TFont* Font = Text->Font();
            Font->SetName(Name);
            Font->SetStyle(FontStyleFromMif(Style));
            if (Size > 0)
                Font->SetSize(Size);
            else
                FSeen |= SeenFontNoSize;
            Font->SetColor(Color);
            break;
        }
        case oaCenter: {
            // Where MapInfo puts a region's label; kept to be written back.
            if (!dynamic_cast<TRegion*>(Obj)) break;
            const double X = ToFloat(Token(1)), Y = ToFloat(Token(2));
            FForm->Centres[Obj] = TMapPoint{X, Y};
            Obj->SetKeptFlag(true);
            break;
        }
        case oaNone:
            break;
        }
    }

    // A Symbol clause (already tokenized) on a multipoint or collection: its
    // shape, colour, size and font, as on a symbol.
    void ApplyMultiSymbol(TMultiSymbolObject& Obj) {
        const std::string_view Shape = Token(1);
        const TColor Color = ColorToken(2);
        const int Size = CheckedSize(IntToken(3), MaxSymbolSize, "Symbol");
        const bool WithFont = FParser.Count() > 5;
        TFont Font;
        Font.Assign(*Obj.ReadFont());
        Font.SetColor(Color);
        Font.SetSize(Size);
        Font.SetName(WithFont ? Unquote(Token(4)) : "MapInfo Symbol");
        if (WithFont) Font.SetStyle(FontStyleFromMif(IntToken(5)));
        Obj.SetShape(!Shape.empty() && Shape.front() == '"' ? 35 : ToInt(Shape));
        Obj.ShareFont(FStyles.Font(Font));
    }

    TMapLayer* FLayer;
    TChartix* FMap;
    const TMifInput& FIn;
    TStylePool FStyles;
    TLineCursor FMif;
    TLineCursor FMid;
    TMidRows FMidRows{FMid, ';'};
    bool FHasMid;
    TReadProblems& FProblems;
    std::unique_ptr<TMifForm> FForm; // handed to the layer at the end
    bool FClauseIndentKnown = false;
    bool FCountIndentKnown = false;
    bool FTextFormKnown = false;
    bool FToldNoMid = false;
    int FRowsRead = 0; // .mid rows taken by statements
    bool FHeaderDropped = false;
    bool FDecimalsKnown = false;
    int FDecimalLines = 64; // coordinate lines still to look at
    int FDecimals = -1;     // their decimals so far; -2: not fixed
    bool FDecimalZero = false;
    unsigned FSeen = 0;      // the clauses of the statement being read
    std::string FEndedShort; // what the end of the file cut off
    int FFirstRowless = 0;   // the line of the first statement without a row
    char FDelimiter = ';';
    TClauseTokens FParser;
    TObjects FMade; // the objects of the statement being read
    struct {
        std::string Line;
        TFont Before; // the symbol's font before the clause
        TShared<TFont> After;
        int Shape = 0;
        int Style = 0;
        bool Picture = false;
    } FLastSymbol;
    TShared<TFont> FNoClauseFont; // of the points without a Symbol clause                   // the
                                  // last Symbol clause read in full
    std::vector<std::string> FItems; // reused from row to row
    size_t FItemCount = 0;
    bool FRowValues = false; // the current statement has a row
    bool FRowFresh = false;  // not yet applied to an object
    int FRowsNeeded = 0;
    int FRowPolicy = 0; // decided at the first missing body
    std::string FNumber;
    std::vector<TCustomMapObject*> FCurrent; // the objects the clauses go to
    int FStatementLine = 0;
    size_t FProgressDivisor = 1;
    struct {
        std::string_view Line; // empty view of no text at first
        std::string_view Rest;
        TStatement Statement = TStatement::Unknown;
    } FClassified; // see StatementOf
};

} // namespace

void ReadMifPair(TMapLayer& Layer, const TMifInput& In, TReadProblems& Problems) {
    // A file in a code page is read as UTF-8, labels and values alike; the
    // writer turns it back (see MifCharset.h). A file that is UTF-8
    // throughout already is, whatever its header says: code page text is
    // almost never valid UTF-8, and files that name a code page but hold
    // UTF-8 exist (older saves of this library among them).
    const char* CodePage = CodePageOf(HeaderCharset(In.Mif));
    std::string Mif, Mid;
    TMifInput Recoded = In;
    if (CodePage && !IsUtf8(In.Mif) && CodePageToUtf8(In.Mif, CodePage, Mif)) Recoded.Mif = Mif;
    if (CodePage && !In.MidName.empty() && !IsUtf8(In.Mid) && CodePageToUtf8(In.Mid, CodePage, Mid))
        Recoded.Mid = Mid;
    TReader(Layer, Recoded, Problems).Run();
}

std::string NotMifReason(std::string_view Mif, int& Line) {
    Line = 0;
    if (Mif.empty()) return "The file is empty";
    // A text file has no NUL bytes; the start of the file tells.
    const std::string_view Start = Mif.substr(0, 64 * 1024);
    if (const size_t Nul = Start.find('\0'); Nul != std::string_view::npos) {
        Line = static_cast<int>(std::count(Start.begin(), Start.begin() + Nul, '\n')) + 1;
        return "Binary data where text was expected: this is not a MIF file";
    }
    // A byte order mark is no reason to refuse a file.
    TLineCursor Cursor(Mif.starts_with("\xEF\xBB\xBF") ? Mif.substr(3) : Mif);
    std::string_view Text;
    while (Cursor.Next(Text)) {
        if (IsBlankLine(Text)) continue;
        if (IsHeaderStatement(Classify(FirstWord(Text)))) return std::string();
        Line = Cursor.Lines();
        std::string Shown(TrimBlanks(Text).substr(0, 40));
        for (char& C : Shown)
            if (static_cast<unsigned char>(C) < ' ') C = ' ';
        return Format("'%s' where the header (Version, Charset, Delimiter, CoordSys, Columns "
                      "or Data) was expected: this is not a MIF file",
                      Shown);
    }
    Line = Cursor.Lines();
    return "Only blank lines: this is not a MIF file";
}

} // namespace Mapobjects::Mif
