#pragma once
// Attribute fields. One collection class serves twice: a layer's list
// describes its columns, and each object's copy of it carries the object's
// values.

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"
#include "../platform/Variants.h"

#include <string>

namespace Mapobjects {

enum TDataType {
    dtString,
    dtFloat,
    dtDecimal,
    dtInteger,
    dtSmallInt,
    dtDateTime,
    dtDate,
    dtTime,
    dtBoolean,
    /// A 64-bit integer column (MapInfo's LargeInt); values beyond 32 bits
    /// are kept whole, read with TVariant's 64-bit integer.
    dtLargeInt
};

/// A value as text the way a field of type Type shows it (AsString): null
/// and unassigned values are empty, and nothing raises.
CHARTIX_EXPORT std::string FieldText(TDataType Type, const Platform::TVariant& Value);

class CHARTIX_EXPORT TDataField : public Platform::TCollectionItem {
public:
    explicit TDataField(Platform::TCollection* Collection)
        : Platform::TCollectionItem(Collection) {}

    bool IsPrimaryKey() const { return FIsPrimaryKey; }
    void SetIsPrimaryKey(bool V) { FIsPrimaryKey = V; }
    int Size() const { return FSize; }
    void SetSize(int V) { FSize = V; }
    /// Decimal places of a decimal column (0: the format's default).
    int Precision() const { return FPrecision; }
    void SetPrecision(int V) { FPrecision = V; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    TDataType DataType() const { return FDataType; }
    /// A string column without a size gets the widest, 255.
    void SetDataType(TDataType V);
    const Platform::TVariant& DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(const Platform::TVariant& V) { FDefaultValue = V; }
    const Platform::TVariant& Value() const { return FValue; }
    void SetValue(const Platform::TVariant& V) { FValue = V; }
    /// No value: null or unassigned.
    bool IsNull() const { return FValue.IsNull() || FValue.IsEmpty(); }
    void SetNull() { FValue = Platform::TVariant::Null(); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool V) { FVisible = V; }

    /// "Char(n)", "Float", "Decimal", "Integer", "SmallInt", "DateTime",
    /// "Date", "Time", "LargeInt", or "" for Boolean.
    std::string GetDataTypeName() const;

    /// Typed views of Value. Reads other than AsString raise the platform's
    /// conversion errors when the value has no such form (a null included).
    std::string AsString() const;
    void SetAsString(const std::string& V) { FValue = V; }
    std::int32_t AsInteger() const { return FValue.ToInteger(); }
    void SetAsInteger(std::int32_t V) { FValue = V; }
    double AsFloat() const; ///< through the string form: "2.5" reads 2.5
    void SetAsFloat(double V) { FValue = V; }
    double AsDecimal() const { return FValue.ToDouble(); }
    void SetAsDecimal(double V) { FValue = V; }
    double AsDate() const { return FValue.ToDouble(); }
    void SetAsDate(double V) { FValue = V; }
    double AsTime() const { return FValue.ToDouble(); }
    void SetAsTime(double V) { FValue = V; }
    double AsDateTime() const { return FValue.ToDouble(); }
    void SetAsDateTime(double V) { FValue = Platform::TVariant::FromDateTime(V); }

    void AssignTo(Platform::TPersistent* Dest) const override;

private:
    bool FIsPrimaryKey = false;
    int FSize = 0;
    int FPrecision = 0;
    std::string FName;
    TDataType FDataType = dtString;
    Platform::TVariant FDefaultValue;
    Platform::TVariant FValue;
    bool FVisible = true;
};

class CHARTIX_EXPORT TDataFields : public Platform::TCollectionOf<TDataField> {
public:
    TDataField* GetFields(int Index) const { return Items(Index); }
    void SetFields(int Index, const TDataField* Field) { SetItem(Index, Field); }
    /// Appends; sets Name, Size, then DataType (a string field of size 0 gets 255).
    TDataField* Add(const std::string& Name, TDataType DataType, int Size);
    /// Inserts; sets Name, DataType, then Size (the given size always wins).
    TDataField* Insert(int Index, const std::string& Name, TDataType DataType, int Size);
    using Platform::TCollectionOf<TDataField>::Add;
    using Platform::TCollectionOf<TDataField>::Insert;
    TDataField* FieldByName(const std::string& Name) const; ///< case-insensitive; null if none
    int GetVisibleFieldCount() const;
    TDataField* GetDisplayed(int Index) const; ///< Index-th visible field, or null
};

} // namespace Mapobjects
