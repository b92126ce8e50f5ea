#include "formats/SimpleMIFFormatProvider.h"

#include "core/MapObjects.h"
#include "formats/MifStyles.h"
#include "formats/StringParser.h"
#include "formats/SyntaxParser.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fmt/format.h>
#include <memory>
#include <numbers>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Mapobjects {

using namespace Platform;

namespace {

// --- text helpers ---------------------------------------------------------------

bool IsBlank(char C) {
    return C == ' ' || C == '\t' || C == '\r' || C == '\f' || C == '\v';
}

char UpChar(char C) {
    return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}

std::string_view TrimBlanks(std::string_view S) {
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    return S;
}

// Case-insensitive equality with an upper-case word.
bool IsWord(std::string_view S, std::string_view Upper) {
    if (S.size() != Upper.size()) return false;
    for (size_t I = 0; I < S.size(); ++I)
        if (UpChar(S[I]) != Upper[I]) return false;
    return true;
}

// Case-insensitive search for an upper-case word anywhere in S.
bool ContainsWord(std::string_view S, std::string_view Upper) {
    if (S.size() < Upper.size()) return false;
    for (size_t I = 0; I + Upper.size() <= S.size(); ++I) {
        size_t K = 0;
        while (K < Upper.size() && UpChar(S[I + K]) == Upper[K])
            ++K;
        if (K == Upper.size()) return true;
    }
    return false;
}

// The next blank-separated token of S; S moves past it.
std::string_view NextToken(std::string_view& S) {
    size_t I = 0;
    while (I < S.size() && IsBlank(S[I]))
        ++I;
    size_t J = I;
    while (J < S.size() && !IsBlank(S[J]))
        ++J;
    std::string_view Token = S.substr(I, J - I);
    S.remove_prefix(J);
    return Token;
}

// The leading word of a line (letters, digits, underscore) and what follows it.
std::string_view FirstWord(std::string_view Line, std::string_view* Rest = nullptr) {
    size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    size_t J = I;
    while (J < Line.size() && (std::isalnum(static_cast<unsigned char>(Line[J])) || Line[J] == '_'))
        ++J;
    if (Rest) *Rest = Line.substr(J);
    return Line.substr(I, J - I);
}

[[noreturn]] void NotAFloat(std::string_view Token) {
    throw EConvertError(Format("'%s' is not a valid floating point value", std::string(Token)));
}

[[noreturn]] void NotAnInteger(std::string_view Token) {
    throw EConvertError(Format("'%s' is not a valid integer value", std::string(Token)));
}

// Coordinates are parsed in place: no copies, no locale. Non-finite values
// are refused, since nothing downstream can draw or index them.
double ToFloat(std::string_view Token) {
    std::string_view S = Token;
    if (!S.empty() && S.front() == '+') S.remove_prefix(1);
    double Value = 0;
    const auto [Ptr, Ec] = std::from_chars(S.data(), S.data() + S.size(), Value);
    if (S.empty() || Ec != std::errc() || Ptr != S.data() + S.size() || !std::isfinite(Value))
        NotAFloat(Token);
    return Value;
}

std::int64_t ToInt64(std::string_view Token) {
    std::string_view S = Token;
    if (!S.empty() && S.front() == '+') S.remove_prefix(1);
    std::int64_t Value = 0;
    const auto [Ptr, Ec] = std::from_chars(S.data(), S.data() + S.size(), Value);
    if (S.empty() || Ec != std::errc() || Ptr != S.data() + S.size()) NotAnInteger(Token);
    return Value;
}

int ToInt(std::string_view Token) {
    const std::int64_t V = ToInt64(Token);
    if (V < INT_MIN || V > INT_MAX) NotAnInteger(Token);
    return static_cast<int>(V);
}

// A count of polygons, sections or points: never negative.
int ToCount(std::string_view Token) {
    const int V = ToInt(Token);
    if (V < 0) throw EConvertError(Format("Invalid count %d", V));
    return V;
}

double NextFloat(std::string_view& S) {
    const std::string_view Token = NextToken(S);
    if (Token.empty()) throw EConvertError("Coordinate expected");
    return ToFloat(Token);
}

// A string in double quotes, doubled quotes standing for one; text without a
// leading quote is taken as it stands.
std::string Unquote(std::string_view S) {
    S = TrimBlanks(S);
    if (S.empty() || S.front() != '"') return std::string(S);
    std::string Result;
    for (size_t I = 1; I < S.size(); ++I) {
        if (S[I] == '"') {
            if (I + 1 < S.size() && S[I + 1] == '"') {
                Result += '"';
                ++I;
                continue;
            }
            break;
        }
        Result += S[I];
    }
    return Result;
}

// --- statements -------------------------------------------------------------------

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

constexpr TKeyword Keywords[] = {
    {"VERSION", TStatement::Version},
    {"CHARSET", TStatement::Charset},
    {"DELIMITER", TStatement::Delimiter},
    {"UNIQUE", TStatement::Unique},
    {"INDEX", TStatement::Index},
    {"COORDSYS", TStatement::CoordSys},
    {"TRANSFORM", TStatement::Transform},
    {"COLUMNS", TStatement::Columns},
    {"DATA", TStatement::Data},
    {"POINT", TStatement::Point},
    {"LINE", TStatement::Line},
    {"PLINE", TStatement::Pline},
    {"REGION", TStatement::Region},
    {"ARC", TStatement::Arc},
    {"TEXT", TStatement::Text},
    {"RECT", TStatement::Rect},
    {"ROUNDRECT", TStatement::RoundRect},
    {"ELLIPSE", TStatement::Ellipse},
    {"MULTIPOINT", TStatement::Multipoint},
    {"COLLECTION", TStatement::Collection},
    {"NONE", TStatement::None},
    {"ANGLE", TStatement::Angle},
    {"JUSTIFY", TStatement::Justify},
    {"SPACING", TStatement::Spacing},
    {"LABEL", TStatement::Label},
    {"SMOOTH", TStatement::Smooth},
};

TStatement Classify(std::string_view Word) {
    if (Word.empty()) return TStatement::Unknown;
    for (const TKeyword& K : Keywords)
        if (IsWord(Word, K.Word)) return K.Statement;
    return TStatement::Unknown;
}

bool IsObjectStatement(TStatement S) {
    return S >= TStatement::Point && S <= TStatement::None;
}

bool IsModifier(TStatement S) {
    return S >= TStatement::Angle;
}

TObjectAttribute ClauseKind(std::string_view Line) {
    TObjectAttribute Result = oaNone;
    if (ContainsWord(Line, "PEN")) Result = oaPen;
    if (ContainsWord(Line, "BRUSH")) Result = oaBrush;
    if (ContainsWord(Line, "CENTER")) Result = oaCenter;
    if (ContainsWord(Line, "FONT")) Result = oaFont;
    if (ContainsWord(Line, "SYMBOL")) Result = oaSymbol;
    return Result;
}

// --- files ------------------------------------------------------------------------

std::string ErrorText(int Error) {
    return std::strerror(Error);
}

// One buffered read of the whole file.
std::string ReadWholeFile(const std::string& FileName) {
    std::FILE* F = std::fopen(FileName.c_str(), "rb");
    if (!F) throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, ErrorText(errno)));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> Closer(F, &std::fclose);
    std::string Data;
    struct stat St {};
    size_t Size = 0;
    if (fstat(fileno(F), &St) == 0 && S_ISREG(St.st_mode)) Size = static_cast<size_t>(St.st_size);
    // Straight into the string when the size is known; in chunks otherwise
    // (and for whatever a growing file adds meanwhile).
    Data.resize(Size);
    size_t Got = Size ? std::fread(Data.data(), 1, Size, F) : 0;
    Data.resize(Got);
    if (Got == Size) {
        char Chunk[65536];
        size_t N;
        while ((N = std::fread(Chunk, 1, sizeof Chunk, F)) > 0)
            Data.append(Chunk, N);
    }
    if (std::ferror(F))
        throw EFOpenError(Format("Cannot read file \"%s\". %s", FileName, ErrorText(errno)));
    return Data;
}

// The attribute file beside a .mif: ".mid" as the format names it, or the
// upper- and mixed-case spellings that files from other systems carry.
std::string FindMidFile(const std::string& MifName) {
    for (const char* Ext : {".mid", ".MID", ".Mid"}) {
        std::string Name = ChangeFileExt(MifName, Ext);
        if (FileExists(Name)) return Name;
    }
    return std::string();
}

// A cursor over a text held in memory, one line at a time; line ends are
// LF or CR LF.
class TLineCursor {
public:
    explicit TLineCursor(std::string_view Text) : FText(Text) {}

    bool Next(std::string_view& Line) {
        if (FPos >= FText.size()) return false;
        const char* Begin = FText.data() + FPos;
        const size_t Left = FText.size() - FPos;
        const void* Nl = std::memchr(Begin, '\n', Left);
        size_t Len = Nl ? static_cast<size_t>(static_cast<const char*>(Nl) - Begin) : Left;
        FPos += Nl ? Len + 1 : Len;
        if (Len > 0 && Begin[Len - 1] == '\r') --Len;
        Line = std::string_view(Begin, Len);
        ++FLines;
        return true;
    }
    size_t Position() const { return FPos; }
    size_t Remaining() const { return FText.size() - FPos; }
    int Lines() const { return FLines; }

    struct TMark {
        size_t Pos;
        int Lines;
    };
    TMark Mark() const { return {FPos, FLines}; }
    void Restore(TMark M) {
        FPos = M.Pos;
        FLines = M.Lines;
    }

private:
    std::string_view FText;
    size_t FPos = 0;
    int FLines = 0;
};

// --- .mid values --------------------------------------------------------------------

// Digits only, exactly Count of them, from S at Pos.
bool ReadDigits(std::string_view S, size_t Pos, size_t Count, int& Value) {
    if (Pos + Count > S.size()) return false;
    Value = 0;
    for (size_t I = Pos; I < Pos + Count; ++I) {
        if (S[I] < '0' || S[I] > '9') return false;
        Value = Value * 10 + (S[I] - '0');
    }
    return true;
}

bool AllDigits(std::string_view S) {
    return !S.empty() &&
           std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

// "hhmmss" or "hhmmssmmm".
bool ParseMifTime(std::string_view S, TDateTime& Value) {
    int H, N, Sec, Ms = 0;
    if (!AllDigits(S) || (S.size() != 6 && S.size() != 9)) return false;
    if (!ReadDigits(S, 0, 2, H) || !ReadDigits(S, 2, 2, N) || !ReadDigits(S, 4, 2, Sec))
        return false;
    if (S.size() == 9 && !ReadDigits(S, 6, 3, Ms)) return false;
    if (H > 23 || N > 59 || Sec > 59) return false;
    Value = EncodeTime(H, N, Sec, Ms);
    return true;
}

// MIF writes YYYYMMDD; the platform's own date text is taken too.
bool ParseMifDate(std::string_view S, TDateTime& Value) {
    int Y, M, D;
    if (S.size() == 8 && AllDigits(S) && ReadDigits(S, 0, 4, Y) && ReadDigits(S, 4, 2, M) &&
        ReadDigits(S, 6, 2, D))
        return TryEncodeDate(Y, M, D, Value);
    return TryStrToDate(S, Value);
}

// "YYYYMMDDhhmmss[mmm]", or the platform's date and time texts.
bool ParseMifDateTime(std::string_view S, TDateTime& Value) {
    TDateTime D, T = 0;
    if (AllDigits(S) && (S.size() == 14 || S.size() == 17))
        if (ParseMifDate(S.substr(0, 8), D) && ParseMifTime(S.substr(8), T)) {
            Value = D + T;
            return true;
        }
    const size_t Blank = S.find(' ');
    if (Blank != std::string_view::npos) {
        if (TryStrToDate(S.substr(0, Blank), D) && TryStrToTime(TrimBlanks(S.substr(Blank)), T)) {
            Value = D + T;
            return true;
        }
        return false;
    }
    if (ParseMifDate(S, D)) {
        Value = D;
        return true;
    }
    return false;
}

bool ParseLogical(std::string_view S, bool& Value) {
    for (std::string_view W : {"T", "TRUE", "1", "Y", "YES"})
        if (IsWord(S, W)) return Value = true, true;
    for (std::string_view W : {"F", "FALSE", "0", "N", "NO"})
        if (IsWord(S, W)) return Value = false, true;
    return false;
}

// --- the reader ----------------------------------------------------------------------

constexpr int ArcSegmentsPerTurn = 72; // 5 degrees a step for ellipses and arcs

class TMifReader {
public:
    TMifReader(TMapLayer* Layer, std::string_view Mif, std::string_view Mid, bool HasMid)
        : FLayer(Layer), FMap(Layer->Map()), FMif(Mif), FMid(Mid), FHasMid(HasMid) {
        // Signs and decimal points stay inside numbers; blanks, parentheses,
        // commas (and tabs, which some hand-edited files indent with) only
        // separate tokens.
        TDelimiters D = FParser.Delimiters();
        for (char C : {'+', '-', '.'})
            D.reset(static_cast<unsigned char>(C));
        FParser.SetDelimiters(D);
        FParser.SetSkipChars(CharSet(" ()\t,"));
        FProgressDivisor = Mif.size() / INT_MAX + 1;
    }

    int ProgressMax() const { return static_cast<int>(FMif.Remaining() / FProgressDivisor); }
    int LineNo() const { return FMif.Lines(); }

    void Run() {
        std::string_view Line;
        bool Have = FMif.Next(Line);
        // Unlike a loop that tests for the end before each line, the last line
        // is examined too: a final "Point x y" without a line end is an object.
        while (Have) {
            FMap->ShowProgress(static_cast<int>(FMif.Position() / FProgressDivisor));
            std::string_view Rest;
            const TStatement S = Classify(FirstWord(Line, &Rest));
            if (S == TStatement::Delimiter) {
                SetDelimiter(Rest);
            } else if (S == TStatement::Columns) {
                ReadColumns(Rest);
            } else if (IsObjectStatement(S)) {
                Have = ReadObject(S, Rest, Line);
                continue;
            }
            Have = FMif.Next(Line);
        }
    }

private:
    // --- header ---
    void SetDelimiter(std::string_view Rest) {
        // The delimiter stands in quotes: "," or a real tab between them.
        std::string_view S = TrimBlanks(Rest);
        if (S.size() >= 3 && (S.front() == '"' || S.front() == '\''))
            FDelimiter = S[1];
        else if (S.size() == 1)
            FDelimiter = S[0];
    }

    static TDataType ColumnType(std::string_view TypeText, int& Size) {
        std::string_view Rest;
        const std::string_view Word = FirstWord(TypeText, &Rest);
        Size = 0;
        if (IsWord(Word, "CHAR")) {
            // The declared width is kept, so the column is written back alike.
            std::string_view W = TrimBlanks(Rest);
            if (!W.empty() && W.front() == '(') W.remove_prefix(1);
            int Width = 0;
            const auto [Ptr, Ec] = std::from_chars(W.data(), W.data() + W.size(), Width);
            if (Ec == std::errc() && Width > 0) Size = Width;
            return dtString;
        }
        if (IsWord(Word, "FLOAT")) return dtFloat;
        if (IsWord(Word, "DECIMAL")) return dtDecimal;
        if (IsWord(Word, "INTEGER") || IsWord(Word, "LARGEINT") || IsWord(Word, "INTEGER64"))
            return dtInteger;
        if (IsWord(Word, "SMALLINT")) return dtSmallInt;
        if (IsWord(Word, "DATE")) return dtDate;
        if (IsWord(Word, "DATETIME")) return dtDateTime;
        if (IsWord(Word, "TIME")) return dtTime;
        if (IsWord(Word, "LOGICAL")) return dtBoolean;
        return dtFloat;
    }

    void ReadColumns(std::string_view Rest) {
        const int N = ToCount(NextToken(Rest));
        TDataFields& Fields = FLayer->Fields();
        Fields.Clear();
        std::string_view Line;
        for (int I = 0; I < N && FMif.Next(Line); ++I) {
            std::string_view Decl = TrimBlanks(Line);
            const std::string_view Name = NextToken(Decl);
            if (Name.empty()) throw EConvertError("Column declaration expected");
            int Size = 0;
            const TDataType Type = ColumnType(TrimBlanks(Decl), Size);
            Fields.Add(std::string(Name), Type, Size);
        }
    }

    // --- .mid rows ---
    // Every object statement takes its row, whether or not it makes an
    // object, so that the rows stay with the objects they belong to.
    void ReadRow() {
        FItemCount = 0;
        std::string_view Row;
        if (!FHasMid || !FMid.Next(Row)) return;
        size_t I = 0;
        for (;;) {
            std::string& Item = NextItem();
            // Quoted items may hold the delimiter; a doubled quote is one
            // quote. MapInfo quotes with double quotes, our writer with
            // apostrophes: both are read.
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
        TDataFields& Fields = Obj->Fields();
        const size_t N = std::min(FItemCount, static_cast<size_t>(Fields.Count()));
        for (size_t I = 0; I < N; ++I) {
            TDataField* F = Fields.GetFields(static_cast<int>(I));
            const std::string& Item = FItems[I];
            if (F->DataType() == dtString) {
                // Quotes are removed only where there are quotes: an unquoted
                // text keeps all its characters.
                F->SetValue(Item);
                continue;
            }
            const std::string_view Text = TrimBlanks(Item);
            TDateTime DT;
            bool B;
            switch (F->DataType()) {
            case dtFloat:
            case dtDecimal:
            case dtInteger:
            case dtSmallInt:
                F->SetValue(std::string(Text));
                break;
            case dtDate:
                if (ParseMifDate(Text, DT)) F->SetAsDate(DT);
                break;
            case dtDateTime:
                if (ParseMifDateTime(Text, DT)) F->SetAsDateTime(DT);
                break;
            case dtTime:
                if (ParseMifTime(Text, DT) || TryStrToTime(Text, DT)) F->SetAsTime(DT);
                break;
            case dtBoolean:
                if (ParseLogical(Text, B)) F->SetValue(B);
                break;
            case dtString:
                break;
            }
        }
    }

    // --- bodies ---
    // No more room is asked for than the rest of the file could fill: a point
    // takes at least four bytes ("0 0" and a line end).
    void ReservePoints(TMapPoints& Points, int Count) const {
        const size_t Room = FMif.Remaining() / 4 + 1;
        Points.Reserve(static_cast<int>(std::min<size_t>(static_cast<size_t>(Count), Room)));
    }

    // Count lines of "x y"; a body cut short by the end of the file keeps
    // what it has.
    void ReadPoints(TMapPoints& Points, int Count) {
        ReservePoints(Points, Count);
        std::string_view Line;
        for (int K = 0; K < Count && FMif.Next(Line); ++K) {
            const double X = NextFloat(Line);
            const double Y = NextFloat(Line);
            Points.Add(X, Y);
        }
    }

    // A line that holds a count first; false at the end of the file.
    bool ReadCountLine(int& Count) {
        std::string_view Line;
        if (!FMif.Next(Line)) return false;
        const std::string_view Token = NextToken(Line);
        if (Token.empty()) throw EConvertError("Count expected");
        Count = ToCount(Token);
        return true;
    }

    void ReadRings(TParts& Parts, int Polygons) {
        for (int P = 0; P < Polygons; ++P) {
            int Count;
            if (!ReadCountLine(Count)) return;
            ReadPoints(Parts.Add()->Points(), Count);
        }
    }

    // "Pline n", "Pline" with the count on the next line, or
    // "Pline Multiple s" with a count line before each section.
    void ReadPlineHead(std::string_view Rest, bool& Multiple, int& Count) {
        const std::string_view First = NextToken(Rest);
        if (IsWord(First, "MULTIPLE")) {
            Multiple = true;
            Count = ToCount(NextToken(Rest));
        } else if (!First.empty()) {
            Count = ToCount(First);
        } else if (!ReadCountLine(Count)) {
            Count = -1;
        }
    }

    void ReadPlineParts(TParts& Parts, bool Multiple, int Count) {
        if (Count < 0) return;
        if (!Multiple) {
            ReadPoints(Parts.Add()->Points(), Count);
            return;
        }
        for (int S = 0; S < Count; ++S) {
            int N;
            if (!ReadCountLine(N)) return;
            ReadPoints(Parts.Add()->Points(), N);
        }
    }

    // Four numbers after the keyword: two corners.
    static void ReadBox(std::string_view& Rest, double Box[4]) {
        for (int I = 0; I < 4; ++I)
            Box[I] = NextFloat(Rest);
    }

    // The next line when it is one more number; otherwise the cursor stays.
    bool ReadOptionalNumbers(double* Values, int Count) {
        const TLineCursor::TMark M = FMif.Mark();
        std::string_view Line;
        if (FMif.Next(Line)) {
            std::string_view Probe = Line;
            const std::string_view First = NextToken(Probe);
            double V;
            if (!First.empty() &&
                std::from_chars(First.data(), First.data() + First.size(), V).ec == std::errc()) {
                for (int I = 0; I < Count; ++I)
                    Values[I] = NextFloat(Line);
                return true;
            }
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

    template <class T> T* NewObject() {
        T* Obj = FLayer->template NewObject<T>();
        ApplyRow(Obj);
        return Obj;
    }

    // Reads one statement with its body and clauses. Line becomes the line
    // after them; false when the file has ended.
    bool ReadObject(TStatement S, std::string_view Rest, std::string_view& Line) {
        ReadRow();
        TCustomMapObject* Obj = nullptr;
        switch (S) {
        case TStatement::Point: {
            const double X = NextFloat(Rest), Y = NextFloat(Rest);
            auto* Symbol = NewObject<TSymbol>();
            Symbol->SetX(X);
            Symbol->SetY(Y);
            Symbol->UpdateBounds();
            Obj = Symbol;
            break;
        }
        case TStatement::Line: {
            double Box[4];
            ReadBox(Rest, Box);
            auto* Polyline = NewObject<TPolyline>();
            TMapPoints& Points = Polyline->Parts().Add()->Points();
            Points.Add(Box[0], Box[1]);
            Points.Add(Box[2], Box[3]);
            Obj = Polyline;
            break;
        }
        case TStatement::Pline: {
            bool Multiple = false;
            int Count = 0;
            auto* Polyline = NewObject<TPolyline>();
            ReadPlineHead(Rest, Multiple, Count);
            ReadPlineParts(Polyline->Parts(), Multiple, Count);
            Obj = Polyline;
            break;
        }
        case TStatement::Region: {
            const int Polygons = ToCount(NextToken(Rest));
            auto* Region = NewObject<TRegion>();
            ReadRings(Region->Parts(), Polygons);
            Obj = Region;
            break;
        }
        case TStatement::Arc: {
            // Read as the polyline it draws; the angles follow on the same
            // line or on the next one.
            double Box[4], Angles[2];
            ReadBox(Rest, Box);
            std::string_view More = Rest;
            if (!NextToken(More).empty()) {
                Angles[0] = NextFloat(Rest);
                Angles[1] = NextFloat(Rest);
            } else if (!ReadOptionalNumbers(Angles, 2)) {
                Angles[0] = 0;
                Angles[1] = 360;
            }
            auto* Polyline = NewObject<TPolyline>();
            AddEllipsePoints(Polyline->Parts().Add()->Points(), Box, Angles[0], Angles[1]);
            Obj = Polyline;
            break;
        }
        case TStatement::Text:
            Obj = ReadText(Rest);
            break;
        case TStatement::Rect:
        case TStatement::RoundRect: {
            double Box[4], Radius;
            ReadBox(Rest, Box);
            // The corner rounding of a RoundRect is dropped; it stands on the
            // same line or on the next one.
            if (S == TStatement::RoundRect && NextToken(Rest).empty())
                ReadOptionalNumbers(&Radius, 1);
            auto* Rect = NewObject<TRectangle>();
            Rect->SetX0(Box[0]);
            Rect->SetY0(Box[1]);
            Rect->SetX1(Box[2]);
            Rect->SetY1(Box[3]);
            Rect->UpdateBounds();
            Obj = Rect;
            break;
        }
        case TStatement::Ellipse: {
            double Box[4];
            ReadBox(Rest, Box);
            CheckBox(Box);
            const double W = std::abs(Box[2] - Box[0]), H = std::abs(Box[3] - Box[1]);
            if (std::abs(W - H) <= 1e-9 * std::max(W, H)) {
                auto* Circle = NewObject<TCircle>();
                Circle->SetX((Box[0] + Box[2]) / 2);
                Circle->SetY((Box[1] + Box[3]) / 2);
                Circle->SetRadius(W / 2);
                Circle->UpdateBounds();
                Obj = Circle;
            } else {
                // An oval has no object kind of its own: it becomes the
                // region that outlines it.
                auto* Region = NewObject<TRegion>();
                AddEllipsePoints(Region->Parts().Add()->Points(), Box, 0, 360);
                Obj = Region;
            }
            break;
        }
        case TStatement::Multipoint: {
            // No object kind holds several points: the points are passed
            // over, the row with them.
            std::string_view Probe = Rest;
            int Count = 0;
            if (!NextToken(Probe).empty()) Count = ToCount(NextToken(Rest));
            TMapPoints Scratch;
            ReadPoints(Scratch, Count);
            break;
        }
        case TStatement::Collection:
            return ReadCollection(Rest, Line);
        default:
            break; // None: a row without geometry
        }
        return ReadClauses(Obj, Line);
    }

    TText* ReadText(std::string_view Rest) {
        // The text stands on the Text line or on the next; the corners follow.
        std::string_view TextLine = TrimBlanks(Rest);
        if (TextLine.empty() && !FMif.Next(TextLine)) return nullptr;
        std::string Value = Unquote(TextLine);
        std::string_view Corners;
        if (!FMif.Next(Corners)) return nullptr;
        double Box[4];
        ReadBox(Corners, Box);
        auto* Text = NewObject<TText>();
        Text->SetX(Box[0]);
        Text->SetY(Box[1]);
        Text->SetWidth(std::abs(Box[2] - Box[0]));
        Text->SetHeight(std::abs(Box[3] - Box[1]));
        Text->SetText(Value);
        Text->UpdateBounds();
        return Text;
    }

    // "Collection n" and its parts (Region, Pline, Multipoint, each with its
    // clauses). The layer gets one object: the region when there is one,
    // else the polyline.
    bool ReadCollection(std::string_view Rest, std::string_view& Line) {
        const int Parts = ToCount(NextToken(Rest));
        std::unique_ptr<TRegion> Region;
        std::unique_ptr<TPolyline> Polyline;
        bool Have = FMif.Next(Line);
        for (int P = 0; P < Parts && Have; ++P) {
            std::string_view PartRest;
            const TStatement S = Classify(FirstWord(Line, &PartRest));
            TCustomMapObject* Part = nullptr;
            if (S == TStatement::Region) {
                const int Polygons = ToCount(NextToken(PartRest));
                Region = std::make_unique<TRegion>();
                ReadRings(Region->Parts(), Polygons);
                Part = Region.get();
            } else if (S == TStatement::Pline) {
                bool Multiple = false;
                int Count = 0;
                Polyline = std::make_unique<TPolyline>();
                ReadPlineHead(PartRest, Multiple, Count);
                ReadPlineParts(Polyline->Parts(), Multiple, Count);
                Part = Polyline.get();
            } else if (S == TStatement::Multipoint) {
                TMapPoints Scratch;
                ReadPoints(Scratch, ToCount(NextToken(PartRest)));
            } else {
                break; // not a part: the next statement
            }
            Have = ReadClauses(Part, Line);
        }
        TCustomMapObject* Source = Region ? static_cast<TCustomMapObject*>(Region.get())
                                          : static_cast<TCustomMapObject*>(Polyline.get());
        if (Source) {
            TCustomMapObject* Obj = Region ? static_cast<TCustomMapObject*>(NewObject<TRegion>())
                                           : static_cast<TCustomMapObject*>(NewObject<TPolyline>());
            Obj->SetParts(Source->SetParts(std::make_unique<TParts>()));
            Obj->Pen()->Assign(Source->Pen());
            Obj->Brush()->Assign(Source->Brush());
            Obj->SetUseBGColor(Source->UseBGColor());
            Obj->SetBGColor(Source->BGColor());
        }
        return Have;
    }

    // --- clauses ---
    // Style clauses and the lines that belong to the object (Angle, Justify,
    // Spacing, Label, Smooth) are read until another line comes. A line that
    // starts with a statement word is never a clause, whatever it holds, so a
    // text or value that mentions a pen cannot swallow the next statement.
    bool ReadClauses(TCustomMapObject* Obj, std::string_view& Line) {
        for (;;) {
            if (!FMif.Next(Line)) return false;
            std::string_view Rest;
            const TStatement S = Classify(FirstWord(Line, &Rest));
            if (IsModifier(S)) {
                if (S == TStatement::Angle)
                    if (auto* Text = dynamic_cast<TText*>(Obj)) Text->SetAngle(NextFloat(Rest));
                continue;
            }
            if (S != TStatement::Unknown) return true;
            const TObjectAttribute A = ClauseKind(Line);
            if (A == oaNone) return true;
            if (Obj) ApplyClause(Obj, A, Line);
        }
    }

    const std::string& Token(int Index) const {
        if (Index >= FParser.Count()) throw EConvertError("Style clause is incomplete");
        return FParser.Items(Index)->Value();
    }
    int IntToken(int Index) const { return ToInt(Token(Index)); }
    TColor ColorToken(int Index) const { return MifColorToColor(ToInt64(Token(Index))); }

    void ApplyClause(TCustomMapObject* Obj, TObjectAttribute A, std::string_view Line) {
        FParser.Read(Line, 0, false, true);
        switch (A) {
        case oaPen: {
            // Width and pattern are kept as well: what the file draws thick or
            // dashed stays so.
            TPen* Pen = Obj->Pen();
            Pen->SetColor(ColorToken(3));
            Pen->SetWidth(PenWidthFromMif(IntToken(1)));
            Pen->SetStyle(PenStyleFromMif(IntToken(2)));
            break;
        }
        case oaBrush: {
            // A hollow fill (pattern 1) stays hollow; a hatch with a back
            // colour is drawn over that colour.
            TBrush* Brush = Obj->Brush();
            const int Pattern = IntToken(1);
            Brush->SetColor(ColorToken(2));
            Brush->SetStyle(BrushStyleFromMif(Pattern));
            if (FParser.Count() > 3 && Pattern >= 3) {
                Obj->SetUseBGColor(true);
                Obj->SetBGColor(ColorToken(3));
            }
            break;
        }
        case oaSymbol: {
            auto* Symbol = dynamic_cast<TSymbol*>(Obj);
            if (!Symbol || dynamic_cast<TText*>(Obj)) break;
            TFont* Font = Symbol->Font();
            const std::string& Shape = Token(1);
            if (!Shape.empty() && Shape.front() == '"') {
                // A picture symbol ("pin.bmp"): no picture here, so the
                // common MapInfo point stands in for it rather than nothing.
                Symbol->SetShape(35);
            } else {
                Symbol->SetShape(ToInt(Shape));
            }
            Font->SetColor(ColorToken(2));
            Font->SetSize(IntToken(3));
            if (FParser.Count() > 5) {
                Font->SetName(Unquote(Token(4)));
                Font->SetStyle(FontStyleFromMif(IntToken(5)));
            } else {
                Font->SetName("MapInfo Symbol");
            }
            break;
        }
        case oaFont: {
            // Font ("name", style, size, colour[, back colour]) of a text; the
            // size is left to the box when the file gives none.
            auto* Text = dynamic_cast<TText*>(Obj);
            if (!Text) break;
            TFont* Font = Text->Font();
            Font->SetName(Unquote(Token(1)));
            Font->SetStyle(FontStyleFromMif(IntToken(2)));
            const int Size = IntToken(3);
            if (Size > 0) Font->SetSize(Size);
            Font->SetColor(ColorToken(4));
            break;
        }
        case oaCenter:
        case oaNone:
            break;
        }
    }

    TMapLayer* FLayer;
    TChartix* FMap;
    TLineCursor FMif;
    TLineCursor FMid;
    bool FHasMid;
    char FDelimiter = ';';
    TSyntaxParser FParser;
    std::vector<std::string> FItems; // reused from row to row
    size_t FItemCount = 0;
    size_t FProgressDivisor = 1;
};

// Stops the progress and lifts the update and text-sizing guards however the
// load ends.
class TLoadGuard {
public:
    explicit TLoadGuard(TChartix* Map) : FMap(Map) {
        Map->BeginUpdate();
        Map->SetTextSizing(true);
    }
    ~TLoadGuard() {
        FMap->StopProgress();
        FMap->EndUpdate(true);
        FMap->SetTextSizing(false);
    }
    TLoadGuard(const TLoadGuard&) = delete;
    TLoadGuard& operator=(const TLoadGuard&) = delete;

private:
    TChartix* FMap;
};

} // namespace

// --- provider -------------------------------------------------------------------------

TSimpleMIFFormatProvider::TSimpleMIFFormatProvider(TComponent* Owner)
    : TCustomFormatProvider(Owner) {}

std::string TSimpleMIFFormatProvider::GetDescription() const {
    return "MapInfo Interchange Format (MIF) Provider (simple edition)";
}

std::string TSimpleMIFFormatProvider::GetFilter() const {
    return "MapInfo Interchange Format Files (*.mif)|*.mif";
}

TGUID TSimpleMIFFormatProvider::GetGUID() const {
    static const TGUID Guid = StringToGUID("{830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}");
    return Guid;
}

bool TSimpleMIFFormatProvider::CanProcessFile(const std::string& FileName) const {
    return SameText(ExtractFileExt(FileName), ".mif");
}

TObjectAttribute TSimpleMIFFormatProvider::IsObjAttrString(std::string_view Line) {
    return ClauseKind(Line);
}

bool TSimpleMIFFormatProvider::Load(TMapLayer* Layer, const std::string& FileName) {
    if (!Layer || !Layer->Map() || !FileExists(FileName)) return false;
    TChartix* Map = Layer->Map();
    TLoadGuard Guard(Map);

    const std::string Mif = ReadWholeFile(FileName);
    const std::string MidName = FindMidFile(FileName);
    const std::string Mid = MidName.empty() ? std::string() : ReadWholeFile(MidName);

    TMifReader Reader(Layer, Mif, Mid, !MidName.empty());
    Map->StartProgress(0, Reader.ProgressMax(), "Loading file");
    try {
        Reader.Run();
    } catch (const std::exception& E) {
        MessageDlg(Format("Error reading mif-file at line %d with message: %s!", Reader.LineNo(),
                          std::string(E.what())),
                   mtError, mbOK);
    }
    return true;
}

// --- the writer -------------------------------------------------------------------------

namespace {

// A file written beside its target under a temporary name; it takes the
// target's place only through Commit, and is removed when it never does.
class TPendingFile {
public:
    explicit TPendingFile(std::string Target)
        : FTarget(std::move(Target)), FTemp(FTarget + ".tmp") {
        FFile = std::fopen(FTemp.c_str(), "wb");
        if (!FFile)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", FTemp, ErrorText(errno)));
    }
    ~TPendingFile() {
        if (FFile) std::fclose(FFile);
        if (!FCommitted) std::remove(FTemp.c_str());
    }
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;

    fmt::memory_buffer& Buffer() { return FBuffer; }
    // Hands full buffers to the file as the writing goes on.
    void Spill() {
        if (FBuffer.size() >= (1u << 20)) Flush();
    }
    // Everything written and the file closed; raises on any write error.
    void Finish() {
        Flush();
        std::FILE* F = FFile;
        FFile = nullptr;
        if (std::fclose(F) != 0) WriteError();
    }
    const std::string& Target() const { return FTarget; }
    const std::string& Temp() const { return FTemp; }
    void SetCommitted() { FCommitted = true; }

private:
    void Flush() {
        if (FBuffer.size() > 0 &&
            std::fwrite(FBuffer.data(), 1, FBuffer.size(), FFile) != FBuffer.size())
            WriteError();
        FBuffer.clear();
    }
    [[noreturn]] void WriteError() {
        throw EInOutError(Format("Cannot write file \"%s\". %s", FTemp, ErrorText(errno)));
    }

    std::string FTarget;
    std::string FTemp;
    std::FILE* FFile = nullptr;
    fmt::memory_buffer FBuffer;
    bool FCommitted = false;
};

// Puts both finished files in place of the old pair. The .mid goes first; if
// the .mif then cannot follow, the old .mid is put back, so a failed save
// leaves the previous pair as it was.
void CommitPair(TPendingFile& Mif, TPendingFile& Mid) {
    const std::string Backup = Mid.Target() + ".bak";
    bool HaveBackup = false;
    const bool OldMid = FileExists(Mid.Target());
    if (OldMid) {
        std::remove(Backup.c_str());
        HaveBackup = link(Mid.Target().c_str(), Backup.c_str()) == 0;
    }
    if (std::rename(Mid.Temp().c_str(), Mid.Target().c_str()) != 0) {
        const int Error = errno;
        if (HaveBackup) std::remove(Backup.c_str());
        throw EInOutError(Format("Cannot replace file \"%s\". %s", Mid.Target(), ErrorText(Error)));
    }
    Mid.SetCommitted();
    if (std::rename(Mif.Temp().c_str(), Mif.Target().c_str()) != 0) {
        const int Error = errno;
        if (HaveBackup)
            std::rename(Backup.c_str(), Mid.Target().c_str());
        else if (!OldMid)
            std::remove(Mid.Target().c_str());
        throw EInOutError(Format("Cannot replace file \"%s\". %s", Mif.Target(), ErrorText(Error)));
    }
    Mif.SetCommitted();
    if (HaveBackup) std::remove(Backup.c_str());
}

template <class... Args>
void Put(TPendingFile& F, fmt::format_string<Args...> Pattern, Args&&... A) {
    fmt::format_to(std::back_inserter(F.Buffer()), Pattern, std::forward<Args>(A)...);
    F.Buffer().append(std::string_view("\r\n"));
}

std::string QuoteApostrophes(const std::string& S) {
    std::string R = "'";
    for (char C : S) {
        R += C;
        if (C == '\'') R += '\'';
    }
    R += '\'';
    return R;
}

bool FieldDateTime(const TDataField& F, TDateTime& Value) {
    const TVariant& V = F.Value();
    if (V.IsEmpty() || V.IsNull()) return false;
    if (V.Type() == TVarType::varString) {
        const std::string S = V.ToString();
        return ParseMifDateTime(S, Value) || TryStrToTime(S, Value);
    }
    try {
        Value = V.ToDouble();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// The .mid text of one value. Dates go as YYYYMMDD and logicals as T or F,
// the forms MapInfo and GDAL read; the rest as the value's own text.
std::string ValueText(TDataType LayerType, const TDataField* F) {
    if (!F) return LayerType == dtString ? "''" : std::string();
    switch (LayerType) {
    case dtString:
        return QuoteApostrophes(F->AsString());
    case dtDate:
    case dtDateTime:
    case dtTime: {
        TDateTime V;
        if (!FieldDateTime(*F, V)) return F->Value().ToString();
        int Y, M, D;
        DecodeDate(V, Y, M, D);
        return fmt::format("{:04}{:02}{:02}", Y, M, D);
    }
    case dtBoolean: {
        const TVariant& V = F->Value();
        if (V.IsEmpty() || V.IsNull()) return std::string();
        bool B;
        if (V.Type() == TVarType::varString && ParseLogical(V.ToString(), B)) return B ? "T" : "F";
        try {
            return V.ToBoolean() ? "T" : "F";
        } catch (const Exception&) {
            return V.ToString();
        }
    }
    default:
        return F->AsString();
    }
}

void WriteColumn(TPendingFile& F, const TDataField& Field) {
    const std::string& Name = Field.Name();
    switch (Field.DataType()) {
    case dtString:
        Put(F, "{} Char({})", Name, Field.Size());
        break;
    case dtFloat:
        Put(F, "{} Float", Name);
        break;
    case dtDecimal:
        Put(F, "{} Decimal({}, {})", Name, 9, 2);
        break;
    case dtInteger:
        Put(F, "{} Integer", Name);
        break;
    case dtSmallInt:
        Put(F, "{} SmallInt", Name);
        break;
    case dtDateTime:
    case dtDate:
    case dtTime:
        Put(F, "{} Date", Name);
        break;
    // MIF's logical type, so that the column count holds every column.
    case dtBoolean:
        Put(F, "{} Logical", Name);
        break;
    }
}

void WritePoints(TPendingFile& F, const TMapPoints& Points) {
    for (const TMapPoint& P : Points) {
        Put(F, "{:.6f} {:.6f}", P.X, P.Y);
        F.Spill();
    }
}

void WritePen(TPendingFile& F, const TCustomMapObject& Obj) {
    const TPen* Pen = Obj.Pen();
    Put(F, "Pen ({},{},{})", Pen->Width(), MifPenPattern(Pen->Style()),
        ColorToMifColor(Pen->Color()));
}

void WriteBrush(TPendingFile& F, const TCustomMapObject& Obj, bool WithBack) {
    const TBrush* Brush = Obj.Brush();
    const int Pattern = MifBrushPattern(Brush->Style());
    if (WithBack)
        Put(F, "Brush ({},{},{})", Pattern, ColorToMifColor(Brush->Color()),
            ColorToMifColor(Obj.BGColor()));
    else
        Put(F, "Brush ({},{})", Pattern, ColorToMifColor(Brush->Color()));
}

void WriteText(TPendingFile& F, TText& Text, TChartix* Map) {
    const double X = Text.X(), Y = Text.Y();
    double X2, Y2;
    if (Map) {
        // The far corner of the text as the map shows it now.
        TCanvas* C = Map->Canvas();
        C->Font()->Assign(Text.Font());
        int SX, SY;
        Map->MapToScreen(X, Y, SX, SY, false);
        SX += C->TextWidth(Text.Text());
        SY += C->TextHeight(Text.Text());
        Map->ScreenToMap(SX, SY, X2, Y2);
    } else {
        X2 = X + Text.Width();
        Y2 = Y - Text.Height();
    }
    std::string Quoted;
    for (char C : Text.Text()) {
        Quoted += C;
        if (C == '"') Quoted += '"';
    }
    const TFont* Font = Text.Font();
    Put(F, "Text");
    Put(F, "\"{}\"", Quoted);
    Put(F, "{:.6f} {:.6f} {:.6f} {:.6f}", X, Y, X2, Y2);
    Put(F, "Font (\"{}\",{},{},{})", Font->Name(), MifFontStyle(Font->Style()), Font->Size(),
        ColorToMifColor(Font->Color()));
    // Only a turned text needs its angle; MIF readers take the clause.
    if (Text.Angle() != 0) Put(F, "Angle {:.6f}", Text.Angle());
}

void WriteObject(TPendingFile& F, TCustomMapObject* Obj, TChartix* Map) {
    if (auto* Region = dynamic_cast<TRegion*>(Obj)) {
        TParts& Parts = Region->Parts();
        Put(F, "Region {}", Parts.Count());
        for (int I = 0; I < Parts.Count(); ++I) {
            const TMapPoints& Points = Parts.Items(I)->Points();
            Put(F, "{}", Points.Count());
            WritePoints(F, Points);
        }
        WritePen(F, *Obj);
        WriteBrush(F, *Obj, Obj->UseBGColor() && Obj->Brush()->Style() != bsClear);
    } else if (auto* Polyline = dynamic_cast<TPolyline*>(Obj)) {
        TParts& Parts = Polyline->Parts();
        if (Parts.Count() == 0) {
            Put(F, "None"); // nothing to draw, but the row keeps its place
            return;
        }
        // Several parts are written as sections, so none is lost.
        if (Parts.Count() == 1) {
            Put(F, "Pline {}", Parts.Items(0)->Points().Count());
            WritePoints(F, Parts.Items(0)->Points());
        } else {
            Put(F, "Pline Multiple {}", Parts.Count());
            for (int I = 0; I < Parts.Count(); ++I) {
                Put(F, "{}", Parts.Items(I)->Points().Count());
                WritePoints(F, Parts.Items(I)->Points());
            }
        }
        WritePen(F, *Obj);
    } else if (auto* Rect = dynamic_cast<TRectangle*>(Obj)) {
        const double X0 = Rect->GetX0(), Y0 = Rect->GetY0(), X1 = Rect->GetX1(), Y1 = Rect->GetY1();
        Put(F, "Region 1");
        Put(F, "5");
        Put(F, "{:.6f} {:.6f}", X0, Y0);
        Put(F, "{:.6f} {:.6f}", X1, Y0);
        Put(F, "{:.6f} {:.6f}", X1, Y1);
        Put(F, "{:.6f} {:.6f}", X0, Y1);
        Put(F, "{:.6f} {:.6f}", X0, Y0);
        WritePen(F, *Obj);
        WriteBrush(F, *Obj, Obj->UseBGColor());
    } else if (auto* Circle = dynamic_cast<TCircle*>(Obj)) {
        // The bounding box of the circle; it reads back as a circle.
        const double X = Circle->X(), Y = Circle->Y(), R = Circle->Radius();
        Put(F, "Ellipse {:.6f} {:.6f} {:.6f} {:.6f}", X - R, Y - R, X + R, Y + R);
        WritePen(F, *Obj);
        WriteBrush(F, *Obj, Obj->UseBGColor() && Obj->Brush()->Style() != bsClear);
    } else if (auto* Text = dynamic_cast<TText*>(Obj)) {
        WriteText(F, *Text, Map);
    } else if (auto* Symbol = dynamic_cast<TSymbol*>(Obj)) {
        const TFont* Font = Symbol->Font();
        Put(F, "Point {:.6f} {:.6f}", Symbol->X(), Symbol->Y());
        Put(F, "Symbol ({},{},{},\"{}\",{},{})", Symbol->Shape(), ColorToMifColor(Font->Color()),
            Font->Size(), Font->Name(), MifFontStyle(Font->Style()), 0);
    } else {
        // A kind the format cannot hold: its row still needs a statement.
        Put(F, "None");
    }
}

// Stops the map's progress however the save ends.
struct TSaveProgress {
    TChartix* Map;
    ~TSaveProgress() {
        if (Map) Map->StopProgress();
    }
};

} // namespace

bool TSimpleMIFFormatProvider::Save(TMapLayer* Layer, const std::string& FileName) {
    if (!Layer) return false;
    TStringParser Row;
    Row.SetDelimiter(",");
    if (!FileName.empty()) Layer->SetFileName(FileName);
    const std::string MifName = FileName.empty() ? Layer->FileName() : FileName;
    if (MifName.empty()) throw EFCreateError("Cannot create file \"\". No file name");

    TPendingFile Mif(MifName);
    TPendingFile Mid(ChangeFileExt(MifName, ".mid"));
    TChartix* Map = Layer->Map();
    TSaveProgress Progress{Map};
    if (Map) Map->StartProgress(0, Layer->ObjectCount(), "Saving...");

    const TDataFields& Fields = Layer->Fields();
    Put(Mif, "Version 300");
    Put(Mif, "Charset \"WindowsCyrillic\"");
    Put(Mif, "Delimiter \",\"");
    Put(Mif, "CoordSys Earth Projection 1, 0");
    Put(Mif, "Columns {}", Fields.Count());
    for (int I = 0; I < Fields.Count(); ++I)
        WriteColumn(Mif, *Fields.GetFields(I));
    Put(Mif, "Data");

    for (int I = 0; I < Layer->ObjectCount(); ++I) {
        TCustomMapObject* Obj = Layer->Objects(I);
        Row.Clear();
        const TDataFields& Values = Obj->Fields();
        for (int K = 0; K < Fields.Count(); ++K) {
            const TDataField* Value = K < Values.Count() ? Values.GetFields(K) : nullptr;
            Row.Add()->SetAsString(ValueText(Fields.GetFields(K)->DataType(), Value));
        }
        Put(Mid, "{}", Row.ToString());
        Mid.Spill();
        WriteObject(Mif, Obj, Map);
        Mif.Spill();
    }

    Mif.Finish();
    Mid.Finish();
    CommitPair(Mif, Mid);
    return true;
}

} // namespace Mapobjects
