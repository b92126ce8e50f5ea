#include "formats/MifCharset.h"

#include "formats/MifText.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace Mapobjects::Mif {

namespace {

struct TCharsetName {
    std::string_view MapInfo;
    const char* CodePage;
};

constexpr TCharsetName CharsetNames[] = {
    {"WINDOWSLATIN1", "CP1252"},  {"WINDOWSLATIN2", "CP1250"},     {"WINDOWSCYRILLIC", "CP1251"},
    {"WINDOWSGREEK", "CP1253"},   {"WINDOWSTURKISH", "CP1254"},    {"WINDOWSHEBREW", "CP1255"},
    {"WINDOWSARABIC", "CP1256"},  {"WINDOWSBALTICRIM", "CP1257"},  {"WINDOWSVIETNAMESE", "CP1258"},
    {"WINDOWSTHAI", "CP874"},     {"WINDOWSSIMPCHINESE", "CP936"}, {"WINDOWSTRADCHINESE", "CP950"},
    {"WINDOWSJAPANESE", "CP932"}, {"WINDOWSKOREAN", "CP949"},      {"CODEPAGE437", "CP437"},
    {"CODEPAGE850", "CP850"},     {"CODEPAGE852", "CP852"},        {"CODEPAGE855", "CP855"},
    {"CODEPAGE857", "CP857"},     {"CODEPAGE860", "CP860"},        {"CODEPAGE861", "CP861"},
    {"CODEPAGE863", "CP863"},     {"CODEPAGE864", "CP864"},        {"CODEPAGE865", "CP865"},
    {"CODEPAGE869", "CP869"},     {"ISO8859_1", "ISO-8859-1"},     {"ISO8859_2", "ISO-8859-2"},
    {"ISO8859_3", "ISO-8859-3"},  {"ISO8859_4", "ISO-8859-4"},     {"ISO8859_5", "ISO-8859-5"},
    {"ISO8859_6", "ISO-8859-6"},  {"ISO8859_7", "ISO-8859-7"},     {"ISO8859_8", "ISO-8859-8"},
    {"ISO8859_9", "ISO-8859-9"},  {"MACROMAN", "MACINTOSH"},
};

bool AllAscii(std::string_view S) {
    return std::all_of(S.begin(), S.end(), [](char C) { return (C & 0x80) == 0; });
}

void PutUtf8(std::string& Out, unsigned char Byte) {
    if (Byte < 0x80) {
        Out += static_cast<char>(Byte);
        return;
    }
    Out += static_cast<char>(0xC0 | (Byte >> 6));
    Out += static_cast<char>(0x80 | (Byte & 0x3F));
}

// Converts In with an open descriptor; Stuck is called where the converter
// cannot go on and says how many input bytes it used up.
template <class TStuck>
void Convert(iconv_t Cd, std::string_view In, std::string& Out, TStuck&& Stuck) {
    Out.clear();
    Out.reserve(In.size() + In.size() / 2);
    char* Src = const_cast<char*>(In.data());
    size_t Left = In.size();
    char Chunk[4096];
    while (Left > 0) {
        char* Dst = Chunk;
        size_t Room = sizeof Chunk;
        const size_t R = iconv(Cd, &Src, &Left, &Dst, &Room);
        Out.append(Chunk, static_cast<size_t>(Dst - Chunk));
        if (R != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL: an undefined byte, or a sequence cut at the end.
        const size_t Used = Stuck(std::string_view(Src, Left), Out);
        Src += Used;
        Left -= Used;
        iconv(Cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
    }
}

class TIconv {
public:
    TIconv(const char* To, const char* From) : FCd(iconv_open(To, From)) {}
    ~TIconv() {
        if (Ok()) iconv_close(FCd);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Ok() const { return FCd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return FCd; }

private:
    iconv_t FCd;
};

// The length of the UTF-8 sequence at the start of S, or 0 when it is none.
size_t Utf8Length(std::string_view S) {
    const auto B = static_cast<unsigned char>(S[0]);
    const size_t N = B < 0x80 ? 1 : (B >> 5) == 6 ? 2 : (B >> 4) == 14 ? 3 : (B >> 3) == 30 ? 4 : 0;
    if (N == 0 || N > S.size()) return 0;
    for (size_t I = 1; I < N; ++I)
        if ((static_cast<unsigned char>(S[I]) & 0xC0) != 0x80) return 0;
    return N;
}

} // namespace

bool IsUtf8(std::string_view S) {
    for (size_t I = 0; I < S.size();) {
        const size_t N = Utf8Length(S.substr(I));
        if (N == 0) return false;
        I += N;
    }
    return true;
}

const char* CodePageOf(std::string_view Charset) {
    Charset = TrimBlanks(Charset);
    for (const TCharsetName& N : CharsetNames)
        if (IsWord(Charset, N.MapInfo)) return N.CodePage;
    return nullptr;
}

std::string HeaderCharset(std::string_view Mif) {
    // The header is short; the first lines hold it.
    size_t Pos = 0;
    for (int Lines = 0; Pos < Mif.size() && Lines < 1000; ++Lines) {
        size_t End = Mif.find('\n', Pos);
        if (End == std::string_view::npos) End = Mif.size();
        std::string_view Rest;
        const std::string_view Word = FirstWord(Mif.substr(Pos, End - Pos), &Rest);
        if (IsWord(Word, "DATA")) break;
        if (IsWord(Word, "CHARSET")) return Unquote(Rest);
        Pos = End + 1;
    }
    return {};
}

bool CodePageToUtf8(std::string_view In, const char* CodePage, std::string& Out) {
    if (!CodePage || AllAscii(In)) return false;
    TIconv Cd("UTF-8", CodePage);
    if (!Cd.Ok()) return false;
    std::string Result;
    Convert(Cd.Get(), In, Result, [](std::string_view Rest, std::string& O) {
        PutUtf8(O, static_cast<unsigned char>(Rest[0]));
        return size_t{1};
    });
    Out = std::move(Result);
    return true;
}

bool Utf8ToCodePage(std::string_view In, const char* CodePage, std::string& Out) {
    return TCodePageEncoder(CodePage).Encode(In, Out);
}

TCodePageEncoder::TCodePageEncoder(const char* CodePage) : FCodePage(CodePage) {}

TCodePageEncoder::~TCodePageEncoder() {
    if (FCd && FCd != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(FCd));
}

bool TCodePageEncoder::Encode(std::string_view In, std::string& Out) {
    if (!FCodePage || AllAscii(In)) return false;
    // Opened on the first text that needs it, then kept for the others.
    if (!FCd) FCd = iconv_open(FCodePage, "UTF-8");
    if (FCd == reinterpret_cast<void*>(-1)) return false;
    std::string Result;
    Convert(static_cast<iconv_t>(FCd), In, Result, [](std::string_view Rest, std::string& O) {
        const size_t N = Utf8Length(Rest);
        // A control character U+0080 to U+009F stood for a byte the code
        // page leaves undefined (see CodePageToUtf8): that byte goes back.
        if (N == 2) {
            const unsigned C = ((static_cast<unsigned char>(Rest[0]) & 0x1F) << 6) |
                               (static_cast<unsigned char>(Rest[1]) & 0x3F);
            if (C >= 0x80 && C <= 0x9F) {
                O += static_cast<char>(C);
                return size_t{2};
            }
        }
        const size_t Take = N ? N : 1;
        O.append(Rest.substr(0, Take));
        return Take;
    });
    Out = std::move(Result);
    return true;
}

} // namespace Mapobjects::Mif
