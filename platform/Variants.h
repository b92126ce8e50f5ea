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

enum class TVarType { varEmpty, varNull, varBoolean, varInteger, varDouble, varDate, varString };

struct CHARTIX_PLATFORM_EXPORT TVarDate {
    double Value;
    bool operator==(const TVarDate&) const = default;
};

class CHARTIX_PLATFORM_EXPORT TVariant {
public:
    TVariant() = default; ///< unassigned
    TVariant(bool V) : FValue(V) {}
    TVariant(int V) : FValue(static_cast<std::int64_t>(V)) {}
    TVariant(std::int64_t V) : FValue(V) {}
    TVariant(double V) : FValue(V) {}
    TVariant(TVarDate V) : FValue(V) {}
    TVariant(const std::string& V) : FValue(V) {}
    TVariant(std::string&& V) : FValue(std::move(V)) {}
    TVariant(const char* V) : FValue(std::string(V)) {}
    static TVariant Null();
    static TVariant FromDateTime(double V) { return TVariant(TVarDate{V}); }

    TVarType Type() const;
    bool IsEmpty() const { return Type() == TVarType::varEmpty; }
    bool IsNull() const { return Type() == TVarType::varNull; }
    const char*
    TypeName() const; ///< "Empty", "Null", "Boolean", "Integer", "Double", "Date", "String"

    /// Own string form: numbers with ".", Booleans "True"/"False", dates as
    /// date-time text, unassigned and null as the empty string.
    std::string ToString() const;
    /// Conversions raise EVariantTypeCastError when the value has no number form.
    double ToDouble() const;
    std::int32_t ToInteger() const; ///< doubles are rounded, half to even
    bool ToBoolean() const;

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
