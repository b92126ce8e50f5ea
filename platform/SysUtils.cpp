#include "platform/SysUtils.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

namespace Platform {

TFormatSettings& FormatSettings() {
    static TFormatSettings Settings;
    return Settings;
}

namespace {

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}
bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}
char UpChar(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C;
}
char LowChar(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C;
}

std::string_view TrimView(std::string_view S) {
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    return S;
}

// Plain digits only: from_chars on its own would also take a minus sign.
bool ParseDigits(std::string_view S, int& Value) {
    if (S.empty()) return false;
    for (char C : S)
        if (!IsDigit(C)) return false;
    auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), Value);
    return Ec == std::errc() && End == S.data() + S.size();
}

} // namespace

// --- numbers -----------------------------------------------------------------

std::string IntToStr(std::int64_t Value) {
    return fmt::format("{}", Value);
}

bool TryStrToInt(std::string_view S, int& Value) {
    S = TrimView(S);
    bool Negative = false;
    if (!S.empty() && (S.front() == '+' || S.front() == '-')) {
        Negative = S.front() == '-';
        S.remove_prefix(1);
    }
    if (S.empty()) return false;
    for (char C : S)
        if (!IsDigit(C)) return false;
    // Parse the magnitude wide so that INT_MIN survives the sign step.
    std::int64_t Magnitude = 0;
    auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), Magnitude);
    if (Ec != std::errc() || End != S.data() + S.size()) return false;
    std::int64_t Result = Negative ? -Magnitude : Magnitude;
    if (Result < std::numeric_limits<int>::min() || Result > std::numeric_limits<int>::max())
        return false;
    Value = static_cast<int>(Result);
    return true;
}

int StrToInt(std::string_view S) {
    int Value = 0;
    if (!TryStrToInt(S, Value))
        throw EConvertError(Format("'%s' is not a valid integer value", std::string(S)));
    return Value;
}

std::string FloatToStr(double Value) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    if (Value == 0) return "0";

    // Let {fmt} round to 15 significant digits; the exponent it reports already
    // accounts for a carry such as 9.99...e14 -> 1e15.
    std::string Sci = fmt::format("{:.14e}", std::fabs(Value));
    auto EPos = Sci.find('e');
    std::string Digits = Sci.substr(0, 1) + Sci.substr(2, EPos - 2);
    int Exponent = 0;
    std::from_chars(Sci.data() + EPos + (Sci[EPos + 1] == '+' ? 2 : 1), Sci.data() + Sci.size(),
                    Exponent);
    while (Digits.size() > 1 && Digits.back() == '0')
        Digits.pop_back();

    const char Sep = FormatSettings().DecimalSeparator;
    std::string Result = Value < 0 ? "-" : "";
    if (Exponent < -5 || Exponent > 14) {
        Result += Digits[0];
        if (Digits.size() > 1) {
            Result += Sep;
            Result.append(Digits, 1);
        }
        Result += 'E';
        Result += fmt::format("{}", Exponent);
    } else if (Exponent < 0) {
        Result += '0';
        Result += Sep;
        Result.append(static_cast<size_t>(-Exponent - 1), '0');
        Result += Digits;
    } else {
        auto IntDigits = static_cast<size_t>(Exponent) + 1;
        if (Digits.size() <= IntDigits) {
            Result += Digits;
            Result.append(IntDigits - Digits.size(), '0');
        } else {
            Result.append(Digits, 0, IntDigits);
            Result += Sep;
            Result.append(Digits, IntDigits);
        }
    }
    return Result;
}

bool TryStrToFloat(std::string_view S, double& Value) {
    S = TrimView(S);
    const char Sep = FormatSettings().DecimalSeparator;
    // Check the grammar ourselves and hand from_chars a "." form of it, so the
    // configured separator is honoured and "inf", "nan", hex floats stay out.
    std::string Buffer;
    size_t I = 0;
    if (I < S.size() && (S[I] == '+' || S[I] == '-')) {
        if (S[I] == '-') Buffer += '-';
        ++I;
    }
    int MantissaDigits = 0;
    while (I < S.size() && IsDigit(S[I])) {
        Buffer += S[I++];
        ++MantissaDigits;
    }
    if (I < S.size() && S[I] == Sep) {
        Buffer += '.';
        ++I;
        while (I < S.size() && IsDigit(S[I])) {
            Buffer += S[I++];
            ++MantissaDigits;
        }
    }
    if (MantissaDigits == 0) return false;
    if (I < S.size() && (S[I] == 'e' || S[I] == 'E')) {
        Buffer += 'e';
        ++I;
        if (I < S.size() && (S[I] == '+' || S[I] == '-')) Buffer += S[I++];
        int ExponentDigits = 0;
        while (I < S.size() && IsDigit(S[I])) {
            Buffer += S[I++];
            ++ExponentDigits;
        }
        if (ExponentDigits == 0) return false;
    }
    if (I != S.size()) return false;
    double Result = 0;
    auto [End, Ec] = std::from_chars(Buffer.data(), Buffer.data() + Buffer.size(), Result);
    if (Ec != std::errc() || End != Buffer.data() + Buffer.size()) return false;
    Value = Result;
    return true;
}

double StrToFloat(std::string_view S) {
    double Value = 0;
    if (!TryStrToFloat(S, Value))
        throw EConvertError(Format("'%s' is not a valid floating point value", std::string(S)));
    return Value;
}

std::int64_t Round(double Value) {
    // Beyond 2^63 there is no int64 to give; the framework raises here too.
    if (!(Value > -9.2233720368547758e18 && Value < 9.2233720368547758e18))
        throw EInvalidOp("Invalid floating point operation");
    double Floor = std::floor(Value);
    double Diff = Value - Floor;
    auto Result = static_cast<std::int64_t>(Floor);
    if (Diff > 0.5 || (Diff == 0.5 && (Result & 1) != 0)) ++Result;
    return Result;
}

// --- strings -----------------------------------------------------------------

std::string UpperCase(std::string_view S) {
    std::string Result(S);
    for (char& C : Result)
        C = UpChar(C);
    return Result;
}

std::string LowerCase(std::string_view S) {
    std::string Result(S);
    for (char& C : Result)
        C = LowChar(C);
    return Result;
}

std::string Trim(std::string_view S) {
    return std::string(TrimView(S));
}

bool SameText(std::string_view A, std::string_view B) {
    return CompareText(A, B) == 0;
}

int CompareText(std::string_view A, std::string_view B) {
    size_t N = std::min(A.size(), B.size());
    for (size_t I = 0; I < N; ++I) {
        int CA = static_cast<unsigned char>(UpChar(A[I]));
        int CB = static_cast<unsigned char>(UpChar(B[I]));
        if (CA != CB) return CA - CB;
    }
    return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

// --- files -------------------------------------------------------------------

namespace {

// Position of the extension's dot, or npos when the last name has none.
size_t ExtDot(std::string_view Path) {
    size_t Dot = Path.rfind('.');
    if (Dot == std::string_view::npos) return Dot;
    size_t Slash = Path.rfind('/');
    return Slash != std::string_view::npos && Slash > Dot ? std::string_view::npos : Dot;
}

} // namespace

std::string ExtractFileName(std::string_view Path) {
    size_t Slash = Path.rfind('/');
    return std::string(Slash == std::string_view::npos ? Path : Path.substr(Slash + 1));
}

std::string ExtractFileExt(std::string_view Path) {
    size_t Dot = ExtDot(Path);
    return Dot == std::string_view::npos ? std::string() : std::string(Path.substr(Dot));
}

std::string ExtractFilePath(std::string_view Path) {
    size_t Slash = Path.rfind('/');
    return Slash == std::string_view::npos ? std::string() : std::string(Path.substr(0, Slash + 1));
}

std::string ChangeFileExt(std::string_view Path, std::string_view Ext) {
    size_t Dot = ExtDot(Path);
    std::string Result(Dot == std::string_view::npos ? Path : Path.substr(0, Dot));
    Result += Ext;
    return Result;
}

std::string ExpandFileName(std::string_view Path) {
    if (Path.empty()) return std::string();
    std::error_code Ec;
    auto Absolute = std::filesystem::absolute(std::filesystem::path(Path), Ec);
    if (Ec) return std::string(Path);
    return Absolute.lexically_normal().string();
}

bool FileExists(std::string_view Path) {
    std::error_code Ec;
    return std::filesystem::is_regular_file(std::filesystem::path(Path), Ec);
}

// --- dates -------------------------------------------------------------------

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month) {
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t Y, int M, int D) {
    Y -= M <= 2;
    std::int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
    std::int64_t Yoe = Y - Era * 400;
    std::int64_t Doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
    std::int64_t Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
    return Era * 146097 + Doe - 719468;
}

void CivilFromDays(std::int64_t Z, int& Year, int& Month, int& Day) {
    Z += 719468;
    std::int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    std::int64_t Doe = Z - Era * 146097;
    std::int64_t Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
    std::int64_t Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
    std::int64_t Mp = (5 * Doy + 2) / 153;
    Day = static_cast<int>(Doy - (153 * Mp + 2) / 5 + 1);
    Month = static_cast<int>(Mp < 10 ? Mp + 3 : Mp - 9);
    Year = static_cast<int>(Yoe + Era * 400 + (Month <= 2));
}

const std::int64_t DateDelta = DaysFromCivil(1899, 12, 30);

// Splits a date-time into whole days and milliseconds of the day. Rounding
// happens once, on the whole value, so 23:59:59.9999 becomes the next
// midnight rather than a time of 24:00. Before 1899-12-30 the day count is
// negative while the time of day still counts forward from midnight.
void SplitDateTime(TDateTime Value, std::int64_t& Days, std::int64_t& MSecs) {
    // Only years 1 to 9999 have a calendar form; far beyond them (or for a
    // NaN) the count of milliseconds would not even fit in 64 bits.
    static const double First = static_cast<double>(DaysFromCivil(1, 1, 1) - DateDelta);
    static const double End = static_cast<double>(DaysFromCivil(10000, 1, 1) - DateDelta);
    if (!(Value >= First && Value < End))
        throw EConvertError(fmt::format("{} is not a date and time of the years 1 to 9999", Value));
    std::int64_t Total = std::llround(Value * static_cast<double>(MSecsPerDay));
    Days = Total / MSecsPerDay;
    MSecs = (Total < 0 ? -Total : Total) % MSecsPerDay;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        return false;
    Value = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) /
            static_cast<double>(MSecsPerDay);
    return true;
}

std::string Pad(int Value, int Width) {
    return fmt::format("{:0{}d}", Value, Width);
}

} // namespace

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        return false;
    Value = static_cast<double>(DaysFromCivil(Year, Month, Day) - DateDelta);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime Value = 0;
    if (!TryEncodeDate(Year, Month, Day, Value))
        throw EConvertError("Invalid argument to date encode");
    return Value;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime Value = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, Value))
        throw EConvertError("Invalid argument to time encode");
    return Value;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
    std::int64_t Days = 0, MSecs = 0;
    SplitDateTime(Value, Days, MSecs);
    CivilFromDays(Days + DateDelta, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
    std::int64_t Days = 0, MSecs = 0;
    SplitDateTime(Value, Days, MSecs);
    auto T = static_cast<int>(MSecs);
    MSec = T % 1000;
    T /= 1000;
    Sec = T % 60;
    T /= 60;
    Min = T % 60;
    Hour = T / 60;
}

std::string FormatDateTime(std::string_view Pattern, TDateTime Value) {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Min, Sec, MSec);
    std::string Result;
    size_t I = 0;
    auto Run = [&](char Token) {
        size_t N = 0;
        while (I + N < Pattern.size() && LowChar(Pattern[I + N]) == Token)
            ++N;
        return N;
    };
    while (I < Pattern.size()) {
        char C = LowChar(Pattern[I]);
        if (Pattern[I] == '\'' || Pattern[I] == '"') {
            // Quoted text is copied as it is, so letters can appear literally.
            size_t Close = Pattern.find(Pattern[I], I + 1);
            if (Close == std::string_view::npos) Close = Pattern.size();
            Result.append(Pattern.substr(I + 1, Close - I - 1));
            I = Close + 1;
            continue;
        }
        size_t N = 0;
        switch (C) {
        case 'y':
            N = Run('y');
            if (N >= 4) {
                Result += Pad(Year, 4);
                N = 4;
            } else if (N >= 2) {
                Result += Pad(Year % 100, 2);
                N = 2;
            } else {
                Result += Pattern[I];
            }
            break;
        case 'm':
        case 'd':
        case 'h':
        case 'n':
        case 's': {
            int Part = C == 'm' ? Month : C == 'd' ? Day : C == 'h' ? Hour : C == 'n' ? Min : Sec;
            N = std::min<size_t>(Run(C), 2);
            Result += N == 2 ? Pad(Part, 2) : std::to_string(Part);
            break;
        }
        case 'z':
            N = Run('z');
            if (N >= 3) {
                Result += Pad(MSec, 3);
                N = 3;
            } else {
                Result += Pattern[I];
                N = 1;
            }
            break;
        default:
            Result += Pattern[I];
            N = 1;
        }
        I += N == 0 ? 1 : N;
    }
    return Result;
}

std::string DateToStr(TDateTime Value) {
    return FormatDateTime(FormatSettings().ShortDateFormat, Value);
}

std::string TimeToStr(TDateTime Value) {
    return FormatDateTime(FormatSettings().LongTimeFormat, Value);
}

std::string DateTimeToStr(TDateTime Value) {
    std::int64_t Days = 0, MSecs = 0;
    SplitDateTime(Value, Days, MSecs);
    std::string Result = DateToStr(Value);
    if (MSecs != 0) {
        Result += ' ';
        Result += TimeToStr(Value);
    }
    return Result;
}

bool TryStrToDate(std::string_view S, TDateTime& Value) {
    S = TrimView(S);
    if (S.empty() || !IsDigit(S.front()) || !IsDigit(S.back())) return false;
    std::string_view Groups[3];
    int Count = 0;
    size_t I = 0;
    while (I < S.size()) {
        size_t Start = I;
        while (I < S.size() && IsDigit(S[I]))
            ++I;
        if (Count == 3) return false;
        Groups[Count++] = S.substr(Start, I - Start);
        while (I < S.size() && !IsDigit(S[I]))
            ++I;
    }
    int Year = 0, Month = 0, Day = 0;
    if (Count == 1 && Groups[0].size() == 8) {
        if (!ParseDigits(Groups[0].substr(0, 4), Year) ||
            !ParseDigits(Groups[0].substr(4, 2), Month) ||
            !ParseDigits(Groups[0].substr(6, 2), Day))
            return false;
        return TryEncodeDate(Year, Month, Day, Value);
    }
    if (Count != 3) return false;

    // The order of the parts follows the short date format's first y, m and d.
    const std::string& Fmt = FormatSettings().ShortDateFormat;
    auto PosOf = [&](char Token) {
        for (size_t K = 0; K < Fmt.size(); ++K)
            if (LowChar(Fmt[K]) == Token) return K;
        return Fmt.size();
    };
    size_t PY = PosOf('y'), PM = PosOf('m'), PD = PosOf('d');
    int YIndex = (PM < PY) + (PD < PY);
    int MIndex = (PY < PM) + (PD < PM);
    int DIndex = (PY < PD) + (PM < PD);
    if (YIndex == MIndex || YIndex == DIndex || MIndex == DIndex) return false;

    std::string_view YearText = Groups[YIndex];
    if (YearText.size() > 4 || Groups[MIndex].size() > 2 || Groups[DIndex].size() > 2) return false;
    if (!ParseDigits(YearText, Year) || !ParseDigits(Groups[MIndex], Month) ||
        !ParseDigits(Groups[DIndex], Day))
        return false;
    if (YearText.size() <= 2) {
        // A two-digit year means the one nearest to now: within 50 years back
        // and 49 ahead of the current year.
        int This = 0, M = 0, D = 0;
        DecodeDate(Date(), This, M, D);
        int Candidate = This - This % 100 + Year;
        if (Candidate > This + 49) Candidate -= 100;
        if (Candidate < This - 50) Candidate += 100;
        Year = Candidate;
    }
    return TryEncodeDate(Year, Month, Day, Value);
}

TDateTime StrToDate(std::string_view S) {
    TDateTime Value = 0;
    if (!TryStrToDate(S, Value))
        throw EConvertError(Format("'%s' is not a valid date", std::string(S)));
    return Value;
}

bool TryStrToTime(std::string_view S, TDateTime& Value) {
    S = TrimView(S);
    int Parts[3] = {0, 0, 0};
    int Count = 0;
    size_t I = 0;
    for (;;) {
        size_t Start = I;
        while (I < S.size() && IsDigit(S[I]))
            ++I;
        if (I == Start || I - Start > 2 || !ParseDigits(S.substr(Start, I - Start), Parts[Count]))
            return false;
        ++Count;
        if (I < S.size() && S[I] == ':' && Count < 3) {
            ++I;
            continue;
        }
        break;
    }
    if (Count < 2) return false;
    int MSec = 0;
    if (Count == 3 && I < S.size() && S[I] == FormatSettings().DecimalSeparator) {
        // The digits are a fraction of the second: ".5" is half a second.
        size_t Start = ++I;
        while (I < S.size() && IsDigit(S[I]))
            ++I;
        size_t N = I - Start;
        if (N == 0 || N > 3 || !ParseDigits(S.substr(Start, N), MSec)) return false;
        for (; N < 3; ++N)
            MSec *= 10;
    }
    if (I != S.size()) return false;
    return TryEncodeTime(Parts[0], Parts[1], Parts[2], MSec, Value);
}

TDateTime StrToTime(std::string_view S) {
    TDateTime Value = 0;
    if (!TryStrToTime(S, Value))
        throw EConvertError(Format("'%s' is not a valid time", std::string(S)));
    return Value;
}

TDateTime Now() {
    auto Stamp = std::chrono::system_clock::now();
    std::time_t Seconds = std::chrono::system_clock::to_time_t(Stamp);
    auto MSec =
        std::chrono::duration_cast<std::chrono::milliseconds>(Stamp.time_since_epoch()).count() %
        1000;
    if (MSec < 0) MSec += 1000;
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday) +
           EncodeTime(Local.tm_hour, Local.tm_min, std::min(Local.tm_sec, 59),
                      static_cast<int>(MSec));
}

TDateTime Date() {
    std::time_t Seconds = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Seconds, &Local);
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday);
}

} // namespace Platform
