#pragma once
// A variant value as the framework's variants know it: unassigned, null,
// Boolean, integer, double, date-time or string, with the framework's
// conversions between them and its conversion errors.

#include "PlatformExport.h"
#include "SysUtils.h"

#include <cstdint>
#include <string>
#include <variant>

namespace Platform {

/// The type of value a variant holds, in the order of its alternatives.
enum class TVarType { varEmpty, varNull, varBoolean, varInteger, varDouble, varDate, varString };

/// A date-time value, kept apart from plain doubles so that a variant knows it is a date.
struct CHARTIX_PLATFORM_EXPORT TVarDate {
    double Value; ///< days since 30 December 1899 plus the fraction of the day
    /// True for the same date-time.
    bool operator==(const TVarDate&) const = default;
};

/// A value of one of the TVarType types, with the framework's conversions between them.
class CHARTIX_PLATFORM_EXPORT TVariant {
public:
    TVariant() = default; ///< unassigned
    /// A variant holding V: Boolean, integer (widened to 64 bits), double, date-time or string.
    ///@{
    TVariant(bool V) : FValue(V) {}
    TVariant(int V) : FValue(static_cast<std::int64_t>(V)) {}
    TVariant(std::int64_t V) : FValue(V) {}
    TVariant(double V) : FValue(V) {}
    TVariant(TVarDate V) : FValue(V) {}
    TVariant(const std::string& V) : FValue(V) {}
    TVariant(std::string&& V) : FValue(std::move(V)) {}
    TVariant(const char* V) : FValue(std::string(V)) {}
    ///@}
    /// A null variant (not the same as an unassigned one).
    static TVariant Null();
    /// A date-time variant of V.
    static TVariant FromDateTime(double V) { return TVariant(TVarDate{V}); }

    /// The type of the value held.
    TVarType Type() const;
    /// True when unassigned.
    bool IsEmpty() const { return Type() == TVarType::varEmpty; }
    /// True when null.
    bool IsNull() const { return Type() == TVarType::varNull; }
    const char*
    TypeName() const; ///< "Empty", "Null", "Boolean", "Integer", "Double", "Date", "String"

    /// Own string form: numbers with ".", Booleans "True"/"False", dates as
    /// date-time text, unassigned and null as the empty string.
    std::string ToString() const;
    /// The value as a number (True is -1, unassigned 0); EVariantTypeCastError for
    /// null and for strings that are no number.
    double ToDouble() const;
    std::int32_t ToInteger() const; ///< doubles are rounded, half to even
    /// False for unassigned, zero numbers and "False"; true for other numbers and "True";
    /// EVariantTypeCastError for null and other strings.
    bool ToBoolean() const;

    /// True when both hold the same type and value (1 and 1.0 differ).
    bool operator==(const TVariant& Other) const { return FValue == Other.FValue; }
    /// The stored value when it is of type T (bool, std::int64_t, double,
    /// TVarDate, std::string), else null: for exact copies into other stores.
    template <class T> const T* Peek() const { return std::get_if<T>(&FValue); }

private:
    struct NullTag {
        bool operator==(const NullTag&) const { return true; }
    };
    TVariant(NullTag N) : FValue(N) {}
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, TVarDate, std::string> FValue;
    [[noreturn]] void CastError(const char* Target) const;
};

} // namespace Platform
