#pragma once
// Exceptions, number and date conversion, file-name helpers and formatting.
// Numbers always use "." as the decimal separator: text formats must not
// depend on the user's locale.

#include "PlatformExport.h"
#include <cstdint>
#include <fmt/printf.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Platform {

/// Base of every error the library raises; carries a human-readable message.
class CHARTIX_PLATFORM_EXPORT Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
    std::string Message() const { return what(); }
};

class CHARTIX_PLATFORM_EXPORT EListError : public Exception {
    using Exception::Exception;
}; ///< list index errors
class CHARTIX_PLATFORM_EXPORT EConvertError : public Exception {
    using Exception::Exception;
}; ///< text/number/assign conversion
class CHARTIX_PLATFORM_EXPORT EVariantTypeCastError : public Exception {
    using Exception::Exception;
};
class CHARTIX_PLATFORM_EXPORT ERangeError : public Exception {
    using Exception::Exception;
};
class CHARTIX_PLATFORM_EXPORT EInOutError : public Exception {
    using Exception::Exception;
}; ///< file creation and writing
class CHARTIX_PLATFORM_EXPORT EFOpenError : public Exception {
    using Exception::Exception;
}; ///< file opening
class CHARTIX_PLATFORM_EXPORT EFCreateError : public Exception {
    using Exception::Exception;
}; ///< file creation
class CHARTIX_PLATFORM_EXPORT EReadError : public Exception {
    using Exception::Exception;
}; ///< stream read past end
class CHARTIX_PLATFORM_EXPORT EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class CHARTIX_PLATFORM_EXPORT EInvalidCast : public Exception {
    using Exception::Exception;
};
class CHARTIX_PLATFORM_EXPORT EZeroDivide : public Exception {
    using Exception::Exception;
}; ///< floating-point division by zero
class CHARTIX_PLATFORM_EXPORT EInvalidOp : public Exception {
    using Exception::Exception;
}; ///< invalid floating-point operation

/// printf-style formatting without locale surprises ("%d", "%s", "%.6f").
template <class... Args> std::string Format(std::string_view Pattern, const Args&... args) {
    return fmt::sprintf(Pattern, args...);
}

/// Process-wide number and date settings, set once at library start-up.
struct CHARTIX_PLATFORM_EXPORT TFormatSettings {
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "yyyy-mm-dd"; // tokens: yyyy mm dd
    std::string LongTimeFormat = "hh:nn:ss";    // tokens: hh nn ss
};
CHARTIX_PLATFORM_EXPORT TFormatSettings& FormatSettings();

// --- numbers ---------------------------------------------------------------
CHARTIX_PLATFORM_EXPORT std::string IntToStr(std::int64_t Value);
CHARTIX_PLATFORM_EXPORT int StrToInt(std::string_view S); ///< EConvertError when not an integer
CHARTIX_PLATFORM_EXPORT bool TryStrToInt(std::string_view S, int& Value);
CHARTIX_PLATFORM_EXPORT std::string FloatToStr(double Value);  ///< shortest general form, 15 digits
CHARTIX_PLATFORM_EXPORT double StrToFloat(std::string_view S); ///< EConvertError when not a number
CHARTIX_PLATFORM_EXPORT bool TryStrToFloat(std::string_view S,
                                           double& Value); ///< blanks around the number are allowed

// --- strings ---------------------------------------------------------------
CHARTIX_PLATFORM_EXPORT std::string UpperCase(std::string_view S);
CHARTIX_PLATFORM_EXPORT std::string LowerCase(std::string_view S);
CHARTIX_PLATFORM_EXPORT std::string Trim(std::string_view S);
CHARTIX_PLATFORM_EXPORT bool SameText(std::string_view A,
                                      std::string_view B); ///< case-insensitive equality
CHARTIX_PLATFORM_EXPORT int CompareText(std::string_view A, std::string_view B);

// --- files -------------------------------------------------------------------
CHARTIX_PLATFORM_EXPORT std::string ExtractFileName(std::string_view Path);
CHARTIX_PLATFORM_EXPORT std::string
ExtractFileExt(std::string_view Path); ///< from the last dot, dot included
CHARTIX_PLATFORM_EXPORT std::string
ExtractFilePath(std::string_view Path); ///< directory with trailing '/'
CHARTIX_PLATFORM_EXPORT std::string ChangeFileExt(std::string_view Path, std::string_view Ext);
CHARTIX_PLATFORM_EXPORT std::string ExpandFileName(std::string_view Path);
CHARTIX_PLATFORM_EXPORT bool FileExists(std::string_view Path);

// --- dates: days since 30 December 1899 plus the fraction of the day ---------
using TDateTime = double;
CHARTIX_PLATFORM_EXPORT TDateTime EncodeDate(int Year, int Month,
                                             int Day); ///< EConvertError for an invalid date
CHARTIX_PLATFORM_EXPORT TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
CHARTIX_PLATFORM_EXPORT bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
CHARTIX_PLATFORM_EXPORT void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
CHARTIX_PLATFORM_EXPORT void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
CHARTIX_PLATFORM_EXPORT std::string FormatDateTime(std::string_view Pattern, TDateTime Value);
CHARTIX_PLATFORM_EXPORT std::string DateToStr(TDateTime Value);
CHARTIX_PLATFORM_EXPORT std::string TimeToStr(TDateTime Value);
CHARTIX_PLATFORM_EXPORT std::string
DateTimeToStr(TDateTime Value);                                  ///< time part left out at midnight
CHARTIX_PLATFORM_EXPORT TDateTime StrToDate(std::string_view S); ///< EConvertError on failure
CHARTIX_PLATFORM_EXPORT TDateTime StrToTime(std::string_view S);
CHARTIX_PLATFORM_EXPORT bool TryStrToDate(std::string_view S, TDateTime& Value);
CHARTIX_PLATFORM_EXPORT bool TryStrToTime(std::string_view S, TDateTime& Value);
CHARTIX_PLATFORM_EXPORT TDateTime Now();
CHARTIX_PLATFORM_EXPORT TDateTime Date();

/// Round half to even, as the framework's Round does.
CHARTIX_PLATFORM_EXPORT std::int64_t Round(double Value);

} // namespace Platform
