#include "objects/DataFields.h"

namespace Mapobjects {

using namespace Platform;

void TDataField::SetDataType(TDataType V) {
    FDataType = V;
    if (V == dtString && FSize == 0) FSize = 255;
}

std::string TDataField::GetDataTypeName() const {
    switch (FDataType) {
    case dtString:
        return Format("Char(%d)", FSize);
    case dtFloat:
        return "Float";
    case dtDecimal:
        return "Decimal";
    case dtInteger:
        return "Integer";
    case dtSmallInt:
        return "SmallInt";
    case dtDateTime:
        return "DateTime";
    case dtDate:
        return "Date";
    case dtTime:
        return "Time";
    case dtBoolean:
        return "";
    case dtLargeInt:
        return "LargeInt";
    }
    return "";
}

namespace {

// A date-time as text by Print, or its number where it has no calendar
// form (beyond the years 1 to 9999): showing a value never fails.
template <class F> std::string DateText(F Print, double Value) {
    try {
        return Print(Value);
    } catch (const EConvertError&) {
        return FloatToStr(Value);
    }
}

} // namespace

std::string FieldText(TDataType Type, const TVariant& Value) {
    // A null or unassigned date reads as empty text rather than the zero
    // date, so a missing value does not show as 30 December 1899. Text that
    // is no date (a reader keeps what it could not convert) shows as it is.
    if (Value.IsEmpty() || Value.IsNull()) return std::string();
    if (Value.Type() == TVarType::varString) return Value.ToString();
    switch (Type) {
    case dtDateTime:
        return DateText(DateTimeToStr, Value.ToDouble());
    case dtDate:
        return DateText(DateToStr, Value.ToDouble());
    case dtTime:
        return DateText(TimeToStr, Value.ToDouble());
    default:
        if (Value.Type() == TVarType::varDate) return DateText(DateTimeToStr, Value.ToDouble());
        return Value.ToString();
    }
}

std::string TDataField::AsString() const {
    return FieldText(FDataType, FValue);
}

double TDataField::AsFloat() const {
    return StrToFloat(FValue.ToString());
}

void TDataField::AssignTo(TPersistent* Dest) const {
    auto* D = dynamic_cast<TDataField*>(Dest);
    if (!D) {
        TCollectionItem::AssignTo(Dest);
        return;
    }
    D->SetIsPrimaryKey(FIsPrimaryKey);
    D->SetSize(FSize);
    D->SetPrecision(FPrecision);
    D->SetName(FName);
    D->SetDataType(FDataType);
    D->SetDefaultValue(FDefaultValue);
    D->SetValue(FValue);
    D->SetVisible(FVisible);
}

TDataField* TDataFields::Add(const std::string& Name, TDataType DataType, int Size) {
    TDataField* F = Add();
    F->SetName(Name);
    F->SetSize(Size);
    F->SetDataType(DataType);
    return F;
}

TDataField* TDataFields::Insert(int Index, const std::string& Name, TDataType DataType, int Size) {
    TDataField* F = Insert(Index);
    F->SetName(Name);
    F->SetDataType(DataType);
    F->SetSize(Size);
    return F;
}

TDataField* TDataFields::FieldByName(const std::string& Name) const {
    for (int I = 0; I < Count(); ++I)
        if (SameText(Items(I)->Name(), Name)) return Items(I);
    return nullptr;
}

int TDataFields::GetVisibleFieldCount() const {
    int N = 0;
    for (int I = 0; I < Count(); ++I)
        N += Items(I)->Visible() ? 1 : 0;
    return N;
}

TDataField* TDataFields::GetDisplayed(int Index) const {
    if (Index < 0) return nullptr;
    for (int I = 0; I < Count(); ++I) {
        if (!Items(I)->Visible()) continue;
        if (Index-- == 0) return Items(I);
    }
    return nullptr;
}

} // namespace Mapobjects
