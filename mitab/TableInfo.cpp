#include "TableInfo.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <strings.h>

namespace Mitab {

namespace {

std::string Trimmed(const char* Line) {
    std::string S = Line ? Line : "";
    const size_t B = S.find_first_not_of(" \t\r\n");
    if (B == std::string::npos) return {};
    const size_t E = S.find_last_not_of(" \t\r\n");
    return S.substr(B, E - B + 1);
}

bool StartsWith(const std::string& S, const char* Word) {
    return strncasecmp(S.c_str(), Word, strlen(Word)) == 0;
}

// The first word of a line ends at a blank or a quote.
bool FirstWordIs(const std::string& S, const char* Word) {
    const size_t N = strlen(Word);
    return StartsWith(S, Word) &&
           (S.size() == N || !std::isalnum(static_cast<unsigned char>(S[N])));
}

std::string Unquoted(std::string S) {
    S = Trimmed(S.c_str());
    if (S.size() >= 2 && S.front() == '"' && S.back() == '"') S = S.substr(1, S.size() - 2);
    return S;
}

bool IsMif(const char* FileName) {
    return strcasecmp(CPLGetExtension(FileName), "mif") == 0;
}

// Walks the header lines of a .tab (all of it: a few lines) or of a .mif (up
// to its Data line) until Visit answers true.
template <class F> void EachHeaderLine(const char* FileName, F&& Visit) {
    VSILFILE* File = FileName ? VSIFOpenL(FileName, "rb") : nullptr;
    if (!File) return;
    const bool Mif = IsMif(FileName);
    for (int N = 0; N < 100000; ++N) {
        const char* Raw = CPLReadLineL(File);
        if (!Raw) break;
        const std::string Line = Trimmed(Raw);
        if (Mif && FirstWordIs(Line, "Data")) break;
        if (Visit(Line, File)) break;
    }
    VSIFCloseL(File);
}

bool ReadNumber(const char*& P, const char* End, double& V) {
    while (P < End && (*P == ' ' || *P == '\t' || *P == ',' || *P == '(' || *P == ')'))
        ++P;
    if (P < End && *P == '+') ++P;
    auto [Next, Ec] = std::from_chars(P, End, V);
    if (Ec != std::errc()) return false;
    P = Next;
    return true;
}

std::optional<TBounds> MapFileBounds(const std::string& MapName) {
    VSILFILE* File = VSIFOpenL(MapName.c_str(), "rb");
    if (!File) return std::nullopt;
    std::array<unsigned char, 0x200> Block{};
    const size_t Got = VSIFReadL(Block.data(), 1, Block.size(), File);
    VSIFCloseL(File);
    if (Got < 0x190) return std::nullopt;
    auto Int32At = [&](size_t Offset) {
        std::int32_t V;
        std::memcpy(&V, Block.data() + Offset, sizeof V);
        CPL_LSBPTR32(&V);
        return V;
    };
    auto DoubleAt = [&](size_t Offset) {
        double V;
        std::memcpy(&V, Block.data() + Offset, sizeof V);
        CPL_LSBPTR64(&V);
        return V;
    };
    // The header block: its magic number, the quadrant of the origin, and
    // the scale and displacement from the integer grid to coordinates.
    if (Int32At(0x100) != 42424242) return std::nullopt;
    const int Quadrant = Block[0x161];
    const double XScale = DoubleAt(0x170), YScale = DoubleAt(0x178);
    const double XDispl = DoubleAt(0x180), YDispl = DoubleAt(0x188);
    if (XScale == 0 || YScale == 0 || !std::isfinite(XScale) || !std::isfinite(YScale) ||
        !std::isfinite(XDispl) || !std::isfinite(YDispl))
        return std::nullopt;
    const bool FlipX = Quadrant == 0 || Quadrant == 2 || Quadrant == 3;
    const bool FlipY = Quadrant == 0 || Quadrant == 3 || Quadrant == 4;
    auto X = [&](double N) { return FlipX ? -(N + XDispl) / XScale : (N - XDispl) / XScale; };
    auto Y = [&](double N) { return FlipY ? -(N + YDispl) / YScale : (N - YDispl) / YScale; };
    // The grid's integers run from -1e9 to 1e9 on both axes.
    const double X1 = X(-1e9), X2 = X(1e9), Y1 = Y(-1e9), Y2 = Y(1e9);
    return TBounds{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

std::optional<TBounds> TabBounds(const char* FileName) {
    for (const char* Ext : {"map", "MAP", "Map"}) {
        const std::string MapName = CPLResetExtension(FileName, Ext);
        VSIStatBufL Stat;
        if (VSIStatL(MapName.c_str(), &Stat) == 0) return MapFileBounds(MapName);
    }
    return std::nullopt;
}

// The CoordSys clause of a .mif header, with a Bounds line after it.
std::string MifCoordSys(const char* FileName) {
    std::string Clause;
    EachHeaderLine(FileName, [&](const std::string& Line, VSILFILE*) {
        if (!Clause.empty()) {
            if (FirstWordIs(Line, "Bounds")) Clause += " " + Line;
            return true;
        }
        if (FirstWordIs(Line, "CoordSys")) Clause = Line;
        return false;
    });
    return Clause;
}

} // namespace

std::string DeclaredCharset(const char* FileName) {
    std::string Charset;
    EachHeaderLine(FileName, [&](const std::string& Line, VSILFILE*) {
        // ".tab": "!charset WindowsLatin1"; ".mif": Charset "WindowsLatin1".
        if (FirstWordIs(Line, "!charset"))
            Charset = Trimmed(Line.c_str() + strlen("!charset"));
        else if (FirstWordIs(Line, "Charset"))
            Charset = Unquoted(Line.substr(strlen("Charset")));
        return !Charset.empty();
    });
    return Charset;
}

std::string EncodingOf(const std::string& Charset) {
    // The driver's own table, so that text is recoded exactly where it does.
    static const char* const Table[][2] = {
        {"ISO8859_1", "ISO-8859-1"},     {"ISO8859_2", "ISO-8859-2"},
        {"ISO8859_3", "ISO-8859-3"},     {"ISO8859_4", "ISO-8859-4"},
        {"ISO8859_5", "ISO-8859-5"},     {"ISO8859_6", "ISO-8859-6"},
        {"ISO8859_7", "ISO-8859-7"},     {"ISO8859_8", "ISO-8859-8"},
        {"ISO8859_9", "ISO-8859-9"},     {"PackedEUCJapaese", "EUC-JP"},
        {"WindowsLatin1", "CP1252"},     {"WindowsLatin2", "CP1250"},
        {"WindowsArabic", "CP1256"},     {"WindowsCyrillic", "CP1251"},
        {"WindowsBalticRim", "CP1257"},  {"WindowsGreek", "CP1253"},
        {"WindowsHebrew", "CP1255"},     {"WindowsTurkish", "CP1254"},
        {"WindowsTradChinese", "CP950"}, {"WindowsSimpChinese", "CP936"},
        {"WindowsJapanese", "CP932"},    {"WindowsKorean", "CP949"},
        {"CodePage437", "CP437"},        {"CodePage850", "CP850"},
        {"CodePage852", "CP852"},        {"CodePage855", "CP855"},
        {"CodePage857", "CP857"},        {"CodePage860", "CP860"},
        {"CodePage861", "CP861"},        {"CodePage863", "CP863"},
        {"CodePage864", "CP864"},        {"CodePage865", "CP865"},
        {"CodePage869", "CP869"},
    };
    for (const auto& Row : Table)
        if (strcasecmp(Row[0], Charset.c_str()) == 0) return Row[1];
    return {};
}

std::string Recoded(const std::string& Text, const std::string& From, const std::string& To) {
    if (From.empty() || To.empty() || strcasecmp(From.c_str(), To.c_str()) == 0) return Text;
    // Plain ASCII reads the same in every encoding the driver knows.
    if (std::all_of(Text.begin(), Text.end(), [](char C) { return (C & 0x80) == 0; })) return Text;
    char* R = CPLRecode(Text.c_str(), From.c_str(), To.c_str());
    std::string Result = R ? R : Text;
    CPLFree(R);
    return Result;
}

std::optional<TBounds> ClauseBounds(const std::string& Clause) {
    const char* Begin = Clause.c_str();
    const char* End = Begin + Clause.size();
    for (const char* P = Begin; (P = strcasestr(P, "Bounds")) != nullptr; P += 6) {
        const char* Q = P + 6;
        double V[4];
        bool Ok = true;
        for (double& D : V)
            Ok = Ok && ReadNumber(Q, End, D);
        if (Ok)
            return TBounds{std::min(V[0], V[2]), std::min(V[1], V[3]), std::max(V[0], V[2]),
                           std::max(V[1], V[3])};
    }
    return std::nullopt;
}

std::optional<TBounds> TableBounds(const char* FileName) {
    if (!FileName) return std::nullopt;
    if (IsMif(FileName)) return ClauseBounds(MifCoordSys(FileName));
    return TabBounds(FileName);
}

std::optional<TBounds> DefaultBounds(OGRSpatialReferenceH Srs) {
    GDALDriverH Driver = GDALGetDriverByName("MapInfo File");
    if (!Driver) return std::nullopt;
    // A scratch table in memory, made as the driver makes any.
    static std::atomic<int> Counter{0};
    const std::string Folder = CPLSPrintf("/vsimem/mitab-bounds-%d", Counter++);
    const std::string Name = Folder + "/t.tab";
    GDALDatasetH Ds = GDALCreate(Driver, Name.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    std::optional<TBounds> Result;
    if (Ds) {
        const bool Made = GDALDatasetCreateLayer(Ds, "t", Srs, wkbUnknown, nullptr) != nullptr;
        GDALClose(Ds);
        if (Made) Result = TabBounds(Name.c_str());
    }
    VSIRmdirRecursive(Folder.c_str());
    return Result;
}

bool SameBounds(const TBounds& A, const TBounds& B) {
    const double Span = std::max({std::fabs(A.MaxX - A.MinX), std::fabs(A.MaxY - A.MinY), 1e-300});
    const double Tolerance = Span * 1e-9;
    return std::fabs(A.MinX - B.MinX) <= Tolerance && std::fabs(A.MinY - B.MinY) <= Tolerance &&
           std::fabs(A.MaxX - B.MaxX) <= Tolerance && std::fabs(A.MaxY - B.MaxY) <= Tolerance;
}

} // namespace Mitab
