#include "Fields.h"

#include "mitab.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cpl_error.h>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace Mitab {

namespace {

std::vector<std::string> Words(const std::string& Line) {
    // Names and types are separated by blanks, brackets and semicolons:
    // "name Char (10) ;" in a .tab, "name Char(10)" in a .mif.
    std::vector<std::string> W;
    std::string Cur;
    for (char C : Line) {
        if (std::isspace(static_cast<unsigned char>(C)) || C == '(' || C == ')' || C == ';' ||
            C == ',') {
            if (!Cur.empty()) W.push_back(std::move(Cur));
            Cur.clear();
        } else {
            Cur += C;
        }
    }
    if (!Cur.empty()) W.push_back(std::move(Cur));
    return W;
}

int TypeOfKeyword(const std::string& K) {
    static constexpr std::pair<const char*, int> Known[] = {
        {"char", TABFT_Char},         {"integer", TABFT_Integer},    {"smallint", TABFT_SmallInt},
        {"decimal", TABFT_Decimal},   {"float", TABFT_Float},        {"date", TABFT_Date},
        {"logical", TABFT_Logical},   {"time", TABFT_Time},          {"datetime", TABFT_DateTime},
        {"largeint", TABFT_LargeInt}, {"integer64", TABFT_LargeInt},
    };
    for (auto [Name, Code] : Known)
        if (strcasecmp(K.c_str(), Name) == 0) return Code;
    return 0;
}

bool AllDigits(const std::string& S) {
    return !S.empty() &&
           std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

std::string CompactDate(const std::string& S) {
    return S.substr(0, 4) + "-" + S.substr(4, 2) + "-" + S.substr(6, 2);
}

std::string CompactTime(const std::string& S) {
    std::string T = S.substr(0, 2) + ":" + S.substr(2, 2) + ":" + S.substr(4, 2);
    return S.size() > 6 ? T + "." + S.substr(6) : T;
}

// MapInfo's compact dates and times in the form OGR parses; anything else as given.
std::string ForOgr(int Type, const std::string& V) {
    if (!AllDigits(V)) return V;
    if (Type == TABFT_Date && V.size() == 8) return CompactDate(V);
    if (Type == TABFT_Time && (V.size() == 6 || V.size() == 9)) return CompactTime(V);
    if (Type == TABFT_DateTime && (V.size() == 14 || V.size() == 17))
        return CompactDate(V) + " " + CompactTime(V.substr(8));
    return V;
}

} // namespace

int TypeFromOgr(OGRFieldDefnH Field) {
    switch (OGR_Fld_GetType(Field)) {
    case OFTInteger:
        if (OGR_Fld_GetSubType(Field) == OFSTBoolean) return TABFT_Logical;
        if (OGR_Fld_GetSubType(Field) == OFSTInt16) return TABFT_SmallInt;
        return TABFT_Integer;
    case OFTInteger64:
        return TABFT_LargeInt;
    case OFTReal:
        // Decimal columns carry a width; Float columns none.
        return OGR_Fld_GetWidth(Field) > 0 ? TABFT_Decimal : TABFT_Float;
    case OFTDate:
        return TABFT_Date;
    case OFTTime:
        return TABFT_Time;
    case OFTDateTime:
        return TABFT_DateTime;
    default:
        return TABFT_Char;
    }
}

std::vector<TDeclaredField> DeclaredFields(const std::string& FileName) {
    std::ifstream In(FileName);
    std::string Line;
    long Count = -1;
    // The list follows "Fields N" in a .tab and "Columns N" in a .mif, both
    // before any data.
    for (int Read = 0; Count < 0 && Read < 1000 && std::getline(In, Line); ++Read) {
        std::vector<std::string> W = Words(Line);
        if (W.size() == 2 &&
            (strcasecmp(W[0].c_str(), "fields") == 0 || strcasecmp(W[0].c_str(), "columns") == 0)) {
            auto [Ptr, Ec] = std::from_chars(W[1].data(), W[1].data() + W[1].size(), Count);
            if (Ec != std::errc() || Count > 10000) Count = -1;
        }
        if (!W.empty() && strcasecmp(W[0].c_str(), "data") == 0) break;
    }
    std::vector<TDeclaredField> Fields;
    while (Count > 0 && static_cast<long>(Fields.size()) < Count && std::getline(In, Line)) {
        std::vector<std::string> W = Words(Line);
        if (W.empty()) continue;
        if (W.size() < 2) return {};
        Fields.push_back({W[0], TypeOfKeyword(W[1])});
    }
    if (static_cast<long>(Fields.size()) != Count) return {};
    return Fields;
}

OGRFieldDefnH NewField(const char* Name, int Type, int Width, int Precision) {
    OGRFieldType OgrType;
    switch (Type) {
    case TABFT_Char:
    case TABFT_Logical:
        OgrType = OFTString;
        break;
    case TABFT_Integer:
    case TABFT_SmallInt:
        OgrType = OFTInteger;
        break;
    case TABFT_LargeInt:
        OgrType = OFTInteger64;
        break;
    case TABFT_Decimal:
    case TABFT_Float:
        OgrType = OFTReal;
        break;
    case TABFT_Date:
        OgrType = OFTDate;
        break;
    case TABFT_Time:
        OgrType = OFTTime;
        break;
    case TABFT_DateTime:
        OgrType = OFTDateTime;
        break;
    default:
        return nullptr;
    }
    OGRFieldDefnH F = OGR_Fld_Create(Name, OgrType);
    if (Type == TABFT_Char) {
        OGR_Fld_SetWidth(F, Width > 0 && Width <= 254 ? Width : 254);
    } else if (Type == TABFT_Logical) {
        OGR_Fld_SetWidth(F, 1);
    } else if (Type == TABFT_SmallInt) {
        OGR_Fld_SetSubType(F, OFSTInt16);
    } else if (Type == TABFT_Decimal) {
        // A Decimal needs a width, else the driver makes it a Float.
        int W = Width > 0 && Width <= 99 ? Width : 20;
        OGR_Fld_SetWidth(F, W);
        OGR_Fld_SetPrecision(F, std::clamp(Precision, 0, W - 1));
    }
    return F;
}

namespace {

// A number in the plain form MapInfo and OGR write (an optional sign, digits,
// a decimal point, an exponent), blanks around it allowed.
bool ParseNumber(const std::string& Text, double& Value) {
    size_t B = Text.find_first_not_of(' '), E = Text.find_last_not_of(' ');
    if (B == std::string::npos) return false;
    if (Text[B] == '+') ++B;
    const char* First = Text.data() + B;
    const char* Last = Text.data() + E + 1;
    auto [Ptr, Ec] = std::from_chars(First, Last, Value);
    return Ec == std::errc() && Ptr == Last && std::isfinite(Value);
}

bool Refuse(OGRFeatureH Feature, int Index, const std::string& Value, const char* What) {
    OGRFieldDefnH F = OGR_F_GetFieldDefnRef(Feature, Index);
    CPLError(CE_Failure, CPLE_AppDefined, "'%s' is not %s for column %s", Value.c_str(), What,
             F ? OGR_Fld_GetNameRef(F) : "?");
    return false;
}

} // namespace

bool SetOgrField(OGRFeatureH Feature, int Index, int Type, const std::string& Value) {
    if (Type == TABFT_Char) {
        OGR_F_SetFieldString(Feature, Index, Value.c_str());
        return true;
    }
    const size_t B = Value.find_first_not_of(' ');
    if (B == std::string::npos) return true; // blank: no value
    const std::string V = Value.substr(B, Value.find_last_not_of(' ') - B + 1);
    double Number;
    switch (Type) {
    case TABFT_Logical: {
        const char C = static_cast<char>(std::toupper(static_cast<unsigned char>(V[0])));
        if (std::string("TY1").find(C) != std::string::npos)
            OGR_F_SetFieldString(Feature, Index, "T");
        else if (std::string("FN0").find(C) != std::string::npos)
            OGR_F_SetFieldString(Feature, Index, "F");
        else
            return Refuse(Feature, Index, V, "a logical value");
        return true;
    }
    case TABFT_Integer:
    case TABFT_SmallInt: {
        // OGR would store what it cannot read as 0, and cut wider numbers.
        const double Limit = Type == TABFT_SmallInt ? 32767 : 2147483647;
        if (!ParseNumber(V, Number) || Number != std::floor(Number) || Number < -Limit - 1 ||
            Number > Limit)
            return Refuse(Feature, Index, V,
                          Type == TABFT_SmallInt ? "a small integer" : "an integer");
        OGR_F_SetFieldInteger(Feature, Index, static_cast<int>(Number));
        return true;
    }
    case TABFT_LargeInt: {
        // Whole: a double would round numbers beyond 2^53.
        long long Whole = 0;
        const char* End = V.data() + V.size();
        const char* First = V[0] == '+' ? V.data() + 1 : V.data();
        auto [Ptr, Ec] = std::from_chars(First, End, Whole);
        if (Ec != std::errc() || Ptr != End) {
            if (!ParseNumber(V, Number) || Number != std::floor(Number) ||
                std::abs(Number) >= 9223372036854775807.0)
                return Refuse(Feature, Index, V, "an integer");
            Whole = static_cast<long long>(Number);
        }
        OGR_F_SetFieldInteger64(Feature, Index, Whole);
        return true;
    }
    case TABFT_Decimal:
    case TABFT_Float:
        if (!ParseNumber(V, Number)) return Refuse(Feature, Index, V, "a number");
        OGR_F_SetFieldDouble(Feature, Index, Number);
        return true;
    default:
        // Dates and times: OGR leaves the field unset when it cannot read one.
        OGR_F_SetFieldString(Feature, Index, ForOgr(Type, V).c_str());
        if (!OGR_F_IsFieldSetAndNotNull(Feature, Index))
            return Refuse(Feature, Index, V,
                          Type == TABFT_Date   ? "a date"
                          : Type == TABFT_Time ? "a time"
                                               : "a date and time");
        return true;
    }
}

} // namespace Mitab
