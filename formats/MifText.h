#pragma once
// The text rules that the MIF reader and writer share: blanks, words and
// tokens, numbers read without locale, double-quoted strings, and the forms
// of dates, times and logicals in ".mid" rows.

#include "platform/SysUtils.h"

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

namespace Mapobjects::Mif {

using Platform::TDateTime;

inline bool IsBlank(char C) {
    return C == ' ' || C == '\t' || C == '\r' || C == '\f' || C == '\v';
}

inline char UpChar(char C) {
    return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}

// The text helpers below run on every line of a file: inline.
inline std::string_view TrimBlanks(std::string_view S) {
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    while (!S.empty() && IsBlank(S.back()))
        S.remove_suffix(1);
    return S;
}
// Case-insensitive equality with an upper-case word. Inline: it runs on
// every line of a file, mostly to say no after comparing the lengths.
inline bool IsWord(std::string_view S, std::string_view Upper) {
    if (S.size() != Upper.size()) return false;
    for (size_t I = 0; I < S.size(); ++I)
        if (UpChar(S[I]) != Upper[I]) return false;
    return true;
}
// Case-insensitive search for an upper-case word anywhere in S.
bool ContainsWord(std::string_view S, std::string_view Upper);
// The next blank-separated token of S; S moves past it.
inline std::string_view NextToken(std::string_view& S) {
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
inline std::string_view FirstWord(std::string_view Line, std::string_view* Rest = nullptr) {
    size_t I = 0;
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    size_t J = I;
    // ASCII without the locale's table.
    auto IsWordChar = [](unsigned char C) {
        if (C >= 0x80) return std::isalnum(C) != 0;
        return (C >= '0' && C <= '9') || ((C | 0x20) >= 'a' && (C | 0x20) <= 'z') || C == '_';
    };
    while (J < Line.size() && IsWordChar(static_cast<unsigned char>(Line[J])))
        ++J;
    if (Rest) *Rest = Line.substr(J);
    return Line.substr(I, J - I);
}

// Numbers as the format writes them: "." decimals, an optional sign, no
// locale. EConvertError with the framework's message for anything else;
// non-finite values are refused, since nothing downstream can draw them.
double ToFloat(std::string_view Token);
std::int64_t ToInt64(std::string_view Token);
int ToInt(std::string_view Token);
// A count of polygons, sections or points: never negative.
int ToCount(std::string_view Token);
// The next token of S as a coordinate; EConvertError when there is none.
double NextFloat(std::string_view& S);

// The value of a numeric column: its text when it is a number, or with a lone
// "," taken as the decimal point (what programs writing their locale's
// separator produce). False when the text is no number; blank text is empty.
bool NormalizeNumber(std::string_view Text, std::string& Out);

// A string in double quotes, doubled quotes standing for one; text without a
// leading quote is taken as it stands.
std::string Unquote(std::string_view S);
// Text between Q characters, each Q inside doubled.
std::string Quote(std::string_view S, char Q);

// "YYYYMMDD", or the platform's own date text.
bool ParseMifDate(std::string_view S, TDateTime& Value);
// "hhmmss" or "hhmmssmmm".
bool ParseMifTime(std::string_view S, TDateTime& Value);
// "YYYYMMDDhhmmss[mmm]", or the platform's date and time texts.
bool ParseMifDateTime(std::string_view S, TDateTime& Value);
// T/F, TRUE/FALSE, Y/N, YES/NO, 1/0, without regard to case.
bool ParseLogical(std::string_view S, bool& Value);

std::string FormatMifDate(TDateTime Value);     // YYYYMMDD
std::string FormatMifTime(TDateTime Value);     // hhmmssmmm
std::string FormatMifDateTime(TDateTime Value); // YYYYMMDDhhmmssmmm

} // namespace Mapobjects::Mif
