#pragma once
// Attribute fields. One collection class serves twice: a layer's list
// describes its columns, and each object's copy of it carries the object's
// values.

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"
#include "../platform/Variants.h"

#include <string>

namespace Mapobjects {

/// The type of an attribute column.
enum TDataType {
    dtString,   ///< Text of up to Size characters.
    dtFloat,    ///< A double-precision number.
    dtDecimal,  ///< A fixed-point number of Size digits and Precision decimals.
    dtInteger,  ///< A 32-bit integer.
    dtSmallInt, ///< A 16-bit integer.
    dtDateTime, ///< A date and time of day (a TDateTime number).
    dtDate,     ///< A date (a TDateTime number).
    dtTime,     ///< A time of day (a TDateTime fraction).
    dtBoolean,  ///< True or false.
    /// A 64-bit integer column (MapInfo's LargeInt); values beyond 32 bits
    /// are kept whole, read with TVariant's 64-bit integer.
    dtLargeInt
};

/// A value as text the way a field of type Type shows it (AsString): null
/// and unassigned values are empty, and nothing raises.
CHARTIX_EXPORT std::string FieldText(TDataType Type, const Platform::TVariant& Value);

/// One attribute column: its definition (name, type, size, flags, default) and, in an
/// object's list, the object's value.
class CHARTIX_EXPORT TDataField : public Platform::TCollectionItem {
public:
    /// Creates a visible string column with no name, size or value in Collection.
    explicit TDataField(Platform::TCollection* Collection)
        : Platform::TCollectionItem(Collection) {}

    /// Whether the column is flagged as the table's primary key.
    ///@{
    bool IsPrimaryKey() const { return FIsPrimaryKey; }
    void SetIsPrimaryKey(bool V) { FIsPrimaryKey = V; }
    ///@}
    /// The column width: characters for a string, digits for a decimal; 0 when unset.
    ///@{
    int Size() const { return FSize; }
    void SetSize(int V) { FSize = V; }
    ///@}
    /// Decimal places of a decimal column (0: the format's default).
    ///@{
    int Precision() const { return FPrecision; }
    void SetPrecision(int V) { FPrecision = V; }
    ///@}
    /// The column name; looked up without regard to case (see TDataFields::FieldByName).
    ///@{
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    ///@}
    /// The column type; a string column without a size gets the widest, 255.
    ///@{
    TDataType DataType() const { return FDataType; }
    /// A string column without a size gets the widest, 255.
    void SetDataType(TDataType V);
    ///@}
    /// A default value kept with the definition (copied with it); nothing applies it.
    ///@{
    const Platform::TVariant& DefaultValue() const { return FDefaultValue; }
    void SetDefaultValue(const Platform::TVariant& V) { FDefaultValue = V; }
    ///@}
    /// The field's value, kept with whatever variant type it was given.
    ///@{
    const Platform::TVariant& Value() const { return FValue; }
    void SetValue(const Platform::TVariant& V) { FValue = V; }
    ///@}
    /// No value: null or unassigned.
    bool IsNull() const { return FValue.IsNull() || FValue.IsEmpty(); }
    /// Makes the value null.
    void SetNull() { FValue = Platform::TVariant::Null(); }
    /// Whether the column counts as visible (GetVisibleFieldCount, GetDisplayed); true by
    /// default. The data browser shows every column whatever this says.
    ///@{
    bool Visible() const { return FVisible; }
    void SetVisible(bool V) { FVisible = V; }
    ///@}

    /// "Char(n)", "Float", "Decimal", "Integer", "SmallInt", "DateTime",
    /// "Date", "Time", "LargeInt", or "" for Boolean.
    std::string GetDataTypeName() const;

    /// Typed views of Value. Reads other than AsString raise the platform's
    /// conversion errors when the value has no such form (a null included).
    ///@{
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
    ///@}

    /// Copies the whole definition and the value into Dest when it is a TDataField.
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

/// A list of attribute columns: a layer's column definitions, or an object's values.
class CHARTIX_EXPORT TDataFields : public Platform::TCollectionOf<TDataField> {
public:
    /// The field at Index; the setter copies Field's definition and value into it (Assign).
    /// EListError when out of range.
    ///@{
    TDataField* GetFields(int Index) const { return Items(Index); }
    void SetFields(int Index, const TDataField* Field) { SetItem(Index, Field); }
    ///@}
    /// Appends; sets Name, Size, then DataType (a string field of size 0 gets 255).
    TDataField* Add(const std::string& Name, TDataType DataType, int Size);
    /// Inserts; sets Name, DataType, then Size (the given size always wins).
    TDataField* Insert(int Index, const std::string& Name, TDataType DataType, int Size);
    using Platform::TCollectionOf<TDataField>::Add;
    using Platform::TCollectionOf<TDataField>::Insert;
    TDataField* FieldByName(const std::string& Name) const; ///< case-insensitive; null if none
    /// The number of visible fields.
    int GetVisibleFieldCount() const;
    TDataField* GetDisplayed(int Index) const; ///< Index-th visible field, or null
};

} // namespace Mapobjects
