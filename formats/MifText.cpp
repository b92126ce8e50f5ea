#include "formats/MifText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <fmt/format.h>

namespace Mapobjects::Mif {

using namespace Platform;

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

namespace {

[[noreturn]] void NotAFloat(std::string_view Token) {
    throw EConvertError(Format("'%s' is not a valid floating point value", std::string(Token)));
}

[[noreturn]] void NotAnInteger(std::string_view Token) {
    throw EConvertError(Format("'%s' is not a valid integer value", std::string(Token)));
}

// Plain decimals ("-12.345678"), nearly every number of a file. With at most
// 15 digits the digits make an exact integer and the power of ten is exact
// too, so one division rounds exactly as the full conversion does. Reads
// from P on and gives the end of the number, or null when what stands there
// is no such decimal (more digits, no digit at all) so that the full
// conversion has to judge it; an exponent or any other character simply ends
// the number.
const char* ScanPlainDecimal(const char* P, const char* End, double& Value) {
    static constexpr double Powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool Negative = P != End && *P == '-';
    if (Negative) ++P;
    std::uint64_t Digits = 0;
    auto ReadDigits = [&] {
        const char* const Start = P;
        for (unsigned D; P != End && (D = static_cast<unsigned char>(*P) - '0') <= 9; ++P)
            Digits = Digits * 10 + D;
        return P - Start;
    };
    const std::ptrdiff_t Whole = ReadDigits();
    std::ptrdiff_t Decimals = 0;
    if (P != End && *P == '.') {
        ++P;
        Decimals = ReadDigits();
    }
    if (Whole + Decimals == 0 || Whole + Decimals > 15) return nullptr;
    const double Magnitude = static_cast<double>(Digits) / Powers[Decimals];
    Value = Negative ? -Magnitude : Magnitude;
    return P;
}

bool ParseDouble(std::string_view S, double& Value) {
    if (!S.empty() && S.front() == '+') S.remove_prefix(1);
    const char* const End = S.data() + S.size();
    const char* const Stop = ScanPlainDecimal(S.data(), End, Value);
    if (Stop && Stop == End) return true;
    const auto [Ptr, Ec] = std::from_chars(S.data(), End, Value);
    return !S.empty() && Ec == std::errc() && Ptr == End && std::isfinite(Value);
}

} // namespace

double ToFloat(std::string_view Token) {
    double Value = 0;
    if (!ParseDouble(Token, Value)) NotAFloat(Token);
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

int ToCount(std::string_view Token) {
    const int V = ToInt(Token);
    if (V < 0) throw EConvertError(Format("Invalid count %d", V));
    return V;
}

double NextFloat(std::string_view& S) {
    // A plain decimal is read where it stands, without cutting out its token
    // first; whatever else is left to ToFloat.
    size_t I = 0;
    while (I < S.size() && IsBlank(S[I]))
        ++I;
    const char* const End = S.data() + S.size();
    double Value;
    const char* Stop = ScanPlainDecimal(S.data() + I, End, Value);
    if (Stop && (Stop == End || IsBlank(*Stop))) {
        S.remove_prefix(static_cast<size_t>(Stop - S.data()));
        return Value;
    }
    const std::string_view Token = NextToken(S);
    if (Token.empty()) throw EConvertError("Coordinate expected");
    return ToFloat(Token);
}

bool NormalizeNumber(std::string_view Text, std::string& Out) {
    const std::string_view S = TrimBlanks(Text);
    Out.assign(S);
    if (S.empty()) return true;
    double V;
    if (ParseDouble(S, V)) return true;
    const size_t Comma = S.find(',');
    if (Comma == std::string_view::npos || S.find(',', Comma + 1) != std::string_view::npos ||
        S.find('.') != std::string_view::npos)
        return false;
    Out[Comma] = '.';
    return ParseDouble(Out, V);
}

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

std::string Quote(std::string_view S, char Q) {
    std::string R(1, Q);
    R.reserve(S.size() + 2);
    for (char C : S) {
        R += C;
        if (C == Q) R += Q;
    }
    R += Q;
    return R;
}

namespace {

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

} // namespace

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

bool ParseMifDate(std::string_view S, TDateTime& Value) {
    int Y, M, D;
    if (S.size() == 8 && AllDigits(S) && ReadDigits(S, 0, 4, Y) && ReadDigits(S, 4, 2, M) &&
        ReadDigits(S, 6, 2, D))
        return TryEncodeDate(Y, M, D, Value);
    return TryStrToDate(S, Value);
}

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

std::string FormatMifDate(TDateTime Value) {
    int Y, M, D;
    DecodeDate(Value, Y, M, D);
    return fmt::format("{:04}{:02}{:02}", Y, M, D);
}

std::string FormatMifTime(TDateTime Value) {
    int H, N, S, Ms;
    DecodeTime(Value, H, N, S, Ms);
    return fmt::format("{:02}{:02}{:02}{:03}", H, N, S, Ms);
}

std::string FormatMifDateTime(TDateTime Value) {
    return FormatMifDate(Value) + FormatMifTime(Value);
}

} // namespace Mapobjects::Mif
