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
    /// An exception carrying Message.
    explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
    /// The message text.
    std::string Message() const { return what(); }
};

class CHARTIX_PLATFORM_EXPORT EListError : public Exception {
    using Exception::Exception;
}; ///< list index errors
class CHARTIX_PLATFORM_EXPORT EConvertError : public Exception {
    using Exception::Exception;
}; ///< text/number/assign conversion
/// Raised when a variant has no form of the type asked for.
class CHARTIX_PLATFORM_EXPORT EVariantTypeCastError : public Exception {
    using Exception::Exception;
};
/// Raised for a value outside the range its target can hold.
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
/// Raised when a file's contents are not a readable image.
class CHARTIX_PLATFORM_EXPORT EInvalidGraphic : public Exception {
    using Exception::Exception;
};
/// Raised for a cast between types that do not convert.
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
    char DecimalSeparator = '.'; ///< the decimal separator of number text, '.' unless changed
    std::string ShortDateFormat = "yyyy-mm-dd"; ///< DateToStr and StrToDate; tokens yyyy mm dd
    std::string LongTimeFormat = "hh:nn:ss";    ///< TimeToStr; tokens hh nn ss
};
/// The process-wide settings, created on first use.
CHARTIX_PLATFORM_EXPORT TFormatSettings& FormatSettings();

// --- numbers ---------------------------------------------------------------
/// The decimal text of Value.
CHARTIX_PLATFORM_EXPORT std::string IntToStr(std::int64_t Value);
CHARTIX_PLATFORM_EXPORT int StrToInt(std::string_view S); ///< EConvertError when not an integer
/// Parses a decimal integer (blanks and a sign allowed); false when S is not one or out of range.
CHARTIX_PLATFORM_EXPORT bool TryStrToInt(std::string_view S, int& Value);
CHARTIX_PLATFORM_EXPORT std::string FloatToStr(double Value);  ///< shortest general form, 15 digits
CHARTIX_PLATFORM_EXPORT double StrToFloat(std::string_view S); ///< EConvertError when not a number
CHARTIX_PLATFORM_EXPORT bool TryStrToFloat(std::string_view S,
                                           double& Value); ///< blanks around the number are allowed

// --- strings ---------------------------------------------------------------
/// S with the ASCII letters in upper or lower case; other bytes unchanged.
///@{
CHARTIX_PLATFORM_EXPORT std::string UpperCase(std::string_view S);
CHARTIX_PLATFORM_EXPORT std::string LowerCase(std::string_view S);
///@}
/// S without leading and trailing blanks (control characters and spaces).
CHARTIX_PLATFORM_EXPORT std::string Trim(std::string_view S);
CHARTIX_PLATFORM_EXPORT bool SameText(std::string_view A,
                                      std::string_view B); ///< case-insensitive equality
/// Compares ASCII case-insensitively: negative, 0 or positive as A sorts before, with or after B.
CHARTIX_PLATFORM_EXPORT int CompareText(std::string_view A, std::string_view B);

// --- files -------------------------------------------------------------------
/// The last part of Path, after the last '/'.
CHARTIX_PLATFORM_EXPORT std::string ExtractFileName(std::string_view Path);
CHARTIX_PLATFORM_EXPORT std::string
ExtractFileExt(std::string_view Path); ///< from the last dot, dot included
CHARTIX_PLATFORM_EXPORT std::string
ExtractFilePath(std::string_view Path); ///< directory with trailing '/'
/// Path with its extension replaced by Ext (which carries its dot); added when there is none.
CHARTIX_PLATFORM_EXPORT std::string ChangeFileExt(std::string_view Path, std::string_view Ext);
/// The absolute, normalised form of Path; Path itself when that fails.
CHARTIX_PLATFORM_EXPORT std::string ExpandFileName(std::string_view Path);
/// True when Path names an existing regular file.
CHARTIX_PLATFORM_EXPORT bool FileExists(std::string_view Path);

// --- dates: days since 30 December 1899 plus the fraction of the day ---------
/// A date and time: days since 30 December 1899 plus the fraction of the day.
using TDateTime = double;
CHARTIX_PLATFORM_EXPORT TDateTime EncodeDate(int Year, int Month,
                                             int Day); ///< EConvertError for an invalid date
/// The time of day as a fraction of a day; EConvertError for an invalid time.
CHARTIX_PLATFORM_EXPORT TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
/// Encodes a date of years 1 to 9999; false for an invalid date.
CHARTIX_PLATFORM_EXPORT bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
/// Splits a date-time into its calendar date.
CHARTIX_PLATFORM_EXPORT void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
/// Splits a date-time into its time of day.
CHARTIX_PLATFORM_EXPORT void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
/// Formats Value by Pattern: yyyy/yy, m/mm, d/dd, h/hh, n/nn (minutes), s/ss, zzz; quoted text
/// copied as it is.
CHARTIX_PLATFORM_EXPORT std::string FormatDateTime(std::string_view Pattern, TDateTime Value);
/// The date by FormatSettings().ShortDateFormat.
CHARTIX_PLATFORM_EXPORT std::string DateToStr(TDateTime Value);
/// The time by FormatSettings().LongTimeFormat.
CHARTIX_PLATFORM_EXPORT std::string TimeToStr(TDateTime Value);
CHARTIX_PLATFORM_EXPORT std::string
DateTimeToStr(TDateTime Value);                                  ///< time part left out at midnight
CHARTIX_PLATFORM_EXPORT TDateTime StrToDate(std::string_view S); ///< EConvertError on failure
/// Parses a time "h:n[:s[.zzz]]"; EConvertError on failure.
CHARTIX_PLATFORM_EXPORT TDateTime StrToTime(std::string_view S);
/// Parses a date in the order of ShortDateFormat; false on failure.
CHARTIX_PLATFORM_EXPORT bool TryStrToDate(std::string_view S, TDateTime& Value);
/// Parses a time "h:n[:s[.zzz]]"; false on failure.
CHARTIX_PLATFORM_EXPORT bool TryStrToTime(std::string_view S, TDateTime& Value);
/// The current local date and time, to the millisecond.
CHARTIX_PLATFORM_EXPORT TDateTime Now();
/// The current local date, midnight.
CHARTIX_PLATFORM_EXPORT TDateTime Date();

/// Round half to even, as the framework's Round does.
CHARTIX_PLATFORM_EXPORT std::int64_t Round(double Value);

} // namespace Platform
