#pragma once
// Compact attribute rows. A map object's row is one small heap block: a
// pointer to the columns it was made from, shared by every row made from
// the same state of a layer's columns, then a type byte and an 8-byte slot
// per value (numbers, dates, Booleans and texts of up to 8 bytes in place,
// longer texts on the heap). A value keeps its variant type exactly: a
// number read as text stays text. When the row is asked for as a field list
// (TCustomMapObject::Fields) it becomes a full TDataFields for good, so
// every field handed out behaves, and stays valid, as it always did.

#include "../core/ChartixExport.h"
#include "DataFields.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Mapobjects {

/// The columns rows are made from: an object's copy of a layer's list (names,
/// types, sizes, flags, defaults, and the layer's values as the first values
/// of each row). Never changed once made; counted by the rows that hold it.
class CHARTIX_EXPORT TRowColumns {
public:
    /// Copies Source the way an object's row copies its layer's list.
    explicit TRowColumns(const TDataFields& Source);
    TRowColumns(const TRowColumns&) = delete;
    TRowColumns& operator=(const TRowColumns&) = delete;
    /// The column definitions, with the layer's values as each new row's first values.
    const TDataFields& Fields() const { return FFields; }
    /// The number of columns.
    int Count() const { return FFields.Count(); }
    /// Whether copying Source would give these columns.
    bool Matches(const TDataFields& Source) const;

private:
    friend class TRowColumnsRef;
    TDataFields FFields;
    int FHolders = 0;
};

/// A counted hold on shared columns; the last holder frees them.
class CHARTIX_EXPORT TRowColumnsRef {
public:
    /// Holds nothing.
    TRowColumnsRef() = default;
    /// Takes V as the first holder (nothing for null).
    explicit TRowColumnsRef(std::unique_ptr<TRowColumns> V) : FColumns(V.release()) {
        if (FColumns) FColumns->FHolders = 1;
    }
    /// Another hold on the same columns.
    TRowColumnsRef(const TRowColumnsRef& Other) : FColumns(Other.FColumns) {
        if (FColumns) ++FColumns->FHolders;
    }
    /// Holds Other's columns instead, letting go of the current ones.
    TRowColumnsRef& operator=(TRowColumnsRef Other) noexcept {
        std::swap(FColumns, Other.FColumns);
        return *this;
    }
    /// Lets go; the last holder frees the columns.
    ~TRowColumnsRef() {
        if (FColumns && --FColumns->FHolders == 0) delete FColumns;
    }
    /// The columns held, or null.
    ///@{
    const TRowColumns* Get() const { return FColumns; }
    const TRowColumns* operator->() const { return FColumns; }
    ///@}
    /// Whether columns are held.
    explicit operator bool() const { return FColumns != nullptr; }

private:
    TRowColumns* FColumns = nullptr;
};

/// One object's values in one block, laid out after the columns' count.
class CHARTIX_EXPORT TDataRow {
public:
    /// The deleter of rows made by Make.
    struct TFree {
        /// Destroys and frees Row; nothing for null.
        void operator()(TDataRow* Row) const;
    };
    /// An owned row.
    using TPtr = std::unique_ptr<TDataRow, TFree>;

    /// A row of Columns holding their values.
    static TPtr Make(const TRowColumnsRef& Columns);
    TDataRow(const TDataRow&) = delete;
    TDataRow& operator=(const TDataRow&) = delete;

    /// The number of values, one per column.
    int Count() const { return FColumns->Count(); }
    /// The definition of column Index (its Value is the layer's, not the row's); EListError
    /// when out of range.
    const TDataField& Column(int Index) const { return *FColumns->Fields().GetFields(Index); }
    /// The value of column Index, with its variant type as stored; the setter copies V's
    /// type and value. EListError when out of range.
    ///@{
    Platform::TVariant Value(int Index) const;
    void SetValue(int Index, const Platform::TVariant& V);
    ///@}
    /// The columns with this row's values, as a field list of their own.
    std::unique_ptr<TDataFields> ToFields() const;
    /// Bytes of the row's block and of its long texts.
    size_t MemoryUsed() const;

private:
    explicit TDataRow(const TRowColumnsRef& Columns);
    ~TDataRow();
    unsigned char* Tags() { return reinterpret_cast<unsigned char*>(this + 1); }
    const unsigned char* Tags() const { return reinterpret_cast<const unsigned char*>(this + 1); }
    unsigned char* Slot(int Index);
    const unsigned char* Slot(int Index) const;
    static size_t SlotsOffset(int Count) { return (static_cast<size_t>(Count) + 7) & ~size_t(7); }
    void FreeSlot(int Index);

    TRowColumnsRef FColumns; // the only member: the values follow it
};

/// An object's row: none, compact, or a full field list once one was asked
/// for. One word, so that objects without columns pay nothing more.
class CHARTIX_EXPORT TObjectRow {
public:
    TObjectRow() = default;
    TObjectRow(const TObjectRow&) = delete;
    TObjectRow& operator=(const TObjectRow&) = delete;
    ~TObjectRow() { Reset(); }

    /// Whether the object has no row at all.
    bool Empty() const { return FBits == 0; }
    /// The field list, or null while the row is compact or missing.
    TDataFields* List() const {
        return (FBits & 1) ? reinterpret_cast<TDataFields*>(FBits & ~std::uintptr_t(1)) : nullptr;
    }
    /// The field list, made from the compact values (or empty) when needed.
    TDataFields& AsList();
    /// Holds V as the field list (nothing when V is null) and hands back the
    /// list held before, if any.
    std::unique_ptr<TDataFields> ReplaceList(std::unique_ptr<TDataFields> V);
    /// Holds a compact row of Columns with their values.
    void MakeCompact(const TRowColumnsRef& Columns);
    /// Drops the row in whichever form, leaving none.
    void Reset();

    /// Values in either form. Column gives the definition; its Value is not
    /// the row's: ask Value or Text.
    ///@{
    int Count() const;
    const TDataField& Column(int Index) const;
    Platform::TVariant Value(int Index) const;
    void SetValue(int Index, const Platform::TVariant& V);
    ///@}
    std::string Text(int Index) const; ///< as the field's AsString
    /// Approximate bytes used by the row.
    size_t MemoryUsed() const;

private:
    TDataRow* Compact() const { return (FBits & 1) ? nullptr : reinterpret_cast<TDataRow*>(FBits); }
    std::uintptr_t FBits = 0; // TDataRow*, or TDataFields* with the low bit set
};

} // namespace Mapobjects
