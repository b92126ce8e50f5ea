#pragma once
// The text rules that the MIF reader and writer share: blanks, words and
// tokens, numbers read without locale, double-quoted strings, and the forms
// of dates, times and logicals in ".mid" rows.

#include "platform/SysUtils.h"

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

std::string_view TrimBlanks(std::string_view S);
// Case-insensitive equality with an upper-case word.
bool IsWord(std::string_view S, std::string_view Upper);
// Case-insensitive search for an upper-case word anywhere in S.
bool ContainsWord(std::string_view S, std::string_view Upper);
// The next blank-separated token of S; S moves past it.
std::string_view NextToken(std::string_view& S);
// The leading word of a line (letters, digits, underscore) and what follows it.
std::string_view FirstWord(std::string_view Line, std::string_view* Rest = nullptr);

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
