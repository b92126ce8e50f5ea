#include "platform/Variants.h"

#include <cmath>
#include <limits>

namespace Platform {

TVariant TVariant::Null() {
    return TVariant(NullTag{});
}

TVarType TVariant::Type() const {
    // The alternatives are declared in the order of TVarType.
    return static_cast<TVarType>(FValue.index());
}

const char* TVariant::TypeName() const {
    static const char* const Names[] = {"Empty",  "Null", "Boolean", "Integer",
                                        "Double", "Date", "String"};
    return Names[FValue.index()];
}

void TVariant::CastError(const char* Target) const {
    throw EVariantTypeCastError(
        Format("Could not convert variant of type (%s) into type (%s)", TypeName(), Target));
}

std::string TVariant::ToString() const {
    switch (Type()) {
    case TVarType::varEmpty:
    case TVarType::varNull:
        return std::string();
    case TVarType::varBoolean:
        return std::get<bool>(FValue) ? "True" : "False";
    case TVarType::varInteger:
        return IntToStr(std::get<std::int64_t>(FValue));
    case TVarType::varDouble:
        return FloatToStr(std::get<double>(FValue));
    case TVarType::varDate:
        return DateTimeToStr(std::get<TVarDate>(FValue).Value);
    case TVarType::varString:
        return std::get<std::string>(FValue);
    }
    return std::string();
}

double TVariant::ToDouble() const {
    switch (Type()) {
    case TVarType::varEmpty:
        return 0;
    case TVarType::varNull:
        break;
    case TVarType::varBoolean:
        // The framework's True is all bits set: -1.
        return std::get<bool>(FValue) ? -1 : 0;
    case TVarType::varInteger:
        return static_cast<double>(std::get<std::int64_t>(FValue));
    case TVarType::varDouble:
        return std::get<double>(FValue);
    case TVarType::varDate:
        return std::get<TVarDate>(FValue).Value;
    case TVarType::varString: {
        double Value = 0;
        if (TryStrToFloat(std::get<std::string>(FValue), Value)) return Value;
        break;
    }
    }
    CastError("Double");
}

std::int32_t TVariant::ToInteger() const {
    constexpr std::int64_t Min = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
    double Value = 0;
    switch (Type()) {
    case TVarType::varEmpty:
        return 0;
    case TVarType::varNull:
        CastError("Integer");
    case TVarType::varBoolean:
        return std::get<bool>(FValue) ? -1 : 0;
    case TVarType::varInteger: {
        std::int64_t Result = std::get<std::int64_t>(FValue);
        if (Result < Min || Result > Max) CastError("Integer");
        return static_cast<std::int32_t>(Result);
    }
    case TVarType::varDouble:
        Value = std::get<double>(FValue);
        break;
    case TVarType::varDate:
        Value = std::get<TVarDate>(FValue).Value;
        break;
    case TVarType::varString: {
        int Direct = 0;
        if (TryStrToInt(std::get<std::string>(FValue), Direct)) return Direct;
        if (!TryStrToFloat(std::get<std::string>(FValue), Value)) CastError("Integer");
        break;
    }
    }
    // A coarse check keeps Round within int64 (and rejects NaN); the exact
    // one follows the rounding, since 2147483647.5 rounds up and out.
    if (!(Value >= static_cast<double>(Min) - 0.5 && Value <= static_cast<double>(Max) + 0.5))
        CastError("Integer");
    std::int64_t Result = Round(Value);
    if (Result < Min || Result > Max) CastError("Integer");
    return static_cast<std::int32_t>(Result);
}

bool TVariant::ToBoolean() const {
    switch (Type()) {
    case TVarType::varEmpty:
        return false;
    case TVarType::varNull:
        break;
    case TVarType::varBoolean:
        return std::get<bool>(FValue);
    case TVarType::varInteger:
        return std::get<std::int64_t>(FValue) != 0;
    case TVarType::varDouble:
        return std::get<double>(FValue) != 0;
    case TVarType::varDate:
        return std::get<TVarDate>(FValue).Value != 0;
    case TVarType::varString: {
        const std::string& S = std::get<std::string>(FValue);
        if (SameText(S, "True")) return true;
        if (SameText(S, "False")) return false;
        double Value = 0;
        if (TryStrToFloat(S, Value)) return Value != 0;
        break;
    }
    }
    CastError("Boolean");
}

} // namespace Platform
