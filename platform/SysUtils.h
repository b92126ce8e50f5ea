#pragma once
// Exceptions, number and date conversion, file-name helpers and formatting.
// Numbers always use "." as the decimal separator: text formats must not
// depend on the user's locale.

#include <cstdint>
#include <fmt/printf.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Platform {

// Base of every error the library raises; carries a human-readable message.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
    std::string Message() const { return what(); }
};

class EListError : public Exception { using Exception::Exception; };     // list index errors
class EConvertError : public Exception { using Exception::Exception; };  // text/number/assign conversion
class EVariantTypeCastError : public Exception { using Exception::Exception; };
class ERangeError : public Exception { using Exception::Exception; };
class EInOutError : public Exception { using Exception::Exception; };    // file creation and writing
class EFOpenError : public Exception { using Exception::Exception; };    // file opening
class EFCreateError : public Exception { using Exception::Exception; };  // file creation
class EReadError : public Exception { using Exception::Exception; };     // stream read past end
class EInvalidGraphic : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EZeroDivide : public Exception { using Exception::Exception; };    // floating-point division by zero
class EInvalidOp : public Exception { using Exception::Exception; };     // invalid floating-point operation

// printf-style formatting without locale surprises ("%d", "%s", "%.6f").
template <class... Args> std::string Format(std::string_view Pattern, const Args&... args) {
    return fmt::sprintf(Pattern, args...);
}

// Process-wide number and date settings, set once at library start-up.
struct TFormatSettings {
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "yyyy-mm-dd"; // tokens: yyyy mm dd
    std::string LongTimeFormat = "hh:nn:ss";    // tokens: hh nn ss
};
TFormatSettings& FormatSettings();

// --- numbers ---------------------------------------------------------------
std::string IntToStr(std::int64_t Value);
int StrToInt(std::string_view S);                         // EConvertError when not an integer
bool TryStrToInt(std::string_view S, int& Value);
std::string FloatToStr(double Value);                     // shortest general form, 15 digits
double StrToFloat(std::string_view S);                    // EConvertError when not a number
bool TryStrToFloat(std::string_view S, double& Value);    // blanks around the number are allowed

// --- strings ---------------------------------------------------------------
std::string UpperCase(std::string_view S);
std::string LowerCase(std::string_view S);
std::string Trim(std::string_view S);
bool SameText(std::string_view A, std::string_view B);    // case-insensitive equality
int CompareText(std::string_view A, std::string_view B);

// --- files -------------------------------------------------------------------
std::string ExtractFileName(std::string_view Path);
std::string ExtractFileExt(std::string_view Path);        // from the last dot, dot included
std::string ExtractFilePath(std::string_view Path);       // directory with trailing '/'
std::string ChangeFileExt(std::string_view Path, std::string_view Ext);
std::string ExpandFileName(std::string_view Path);
bool FileExists(std::string_view Path);

// --- dates: days since 30 December 1899 plus the fraction of the day ---------
using TDateTime = double;
TDateTime EncodeDate(int Year, int Month, int Day);       // EConvertError for an invalid date
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
std::string FormatDateTime(std::string_view Pattern, TDateTime Value);
std::string DateToStr(TDateTime Value);
std::string TimeToStr(TDateTime Value);
std::string DateTimeToStr(TDateTime Value);               // time part left out at midnight
TDateTime StrToDate(std::string_view S);                  // EConvertError on failure
TDateTime StrToTime(std::string_view S);
bool TryStrToDate(std::string_view S, TDateTime& Value);
bool TryStrToTime(std::string_view S, TDateTime& Value);
TDateTime Now();
TDateTime Date();

// Round half to even, as the framework's Round does.
std::int64_t Round(double Value);

} // namespace Platform
