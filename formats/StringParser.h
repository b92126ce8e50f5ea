#pragma once
// Splits one line of delimited text into items and joins items back into a
// line: the rows of a MID attribute file. There is no quoting: an item cannot
// hold the delimiter. Items keep their text as it stands and offer typed views
// of it that never raise.

#include "platform/Classes.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <string>

namespace Mapobjects {

// Fixed point with four decimals: 1.5 is held as 15000.
using TCurrency = std::int64_t;

class TParserItem : public Platform::TCollectionItem {
public:
    explicit TParserItem(Platform::TCollection* Collection)
        : Platform::TCollectionItem(Collection) {}

    const std::string& RawData() const { return FRawData; }
    void SetRawData(const std::string& Text) { FRawData = Text; }

    // Text that does not convert reads as 0, false, or the current date and time.
    const std::string& GetAsString() const { return FRawData; }
    void SetAsString(const std::string& Text) { FRawData = Text; }
    int GetAsInteger() const;
    void SetAsInteger(int Value);
    bool GetAsBoolean() const; // true only for the integer 1
    void SetAsBoolean(bool Value);
    double GetAsFloat() const;
    void SetAsFloat(double Value);
    TCurrency GetAsCurrency() const;
    void SetAsCurrency(TCurrency Value);
    Platform::TDateTime GetAsDate() const;
    void SetAsDate(Platform::TDateTime Value);
    Platform::TDateTime GetAsTime() const;
    void SetAsTime(Platform::TDateTime Value);

    // Dest, when not null, must be a TParserItem (Platform::EInvalidCast
    // otherwise); it receives this item's text.
    void AssignTo(Platform::TPersistent* Dest) const override;

private:
    std::string FRawData;
};

class TStringParser : public Platform::TCollectionOf<TParserItem> {
public:
    TStringParser() = default;

    const std::string& Delimiter() const { return FDelimiter; }
    // Existing items are left as they are.
    void SetDelimiter(const std::string& Value) { FDelimiter = Value; }

    // Replaces the items by the pieces of Text: always one more item than
    // there are delimiters in it.
    void FromString(std::string_view Text);
    // The items joined by the delimiter; "" for no items.
    std::string ToString() const;

    // Past the last item: shows "Error reading object properties from
    // string!" and returns null. A negative index raises EListError.
    TParserItem* GetItems(int Index) const;
    void SetItems(int Index, const TParserItem* Item) { SetItem(Index, Item); }

    // Dest, when not null, must be a TStringParser (Platform::EInvalidCast
    // otherwise); it is refilled with copies of these items. Its delimiter stays.
    void AssignTo(Platform::TPersistent* Dest) const override;

private:
    std::string FDelimiter = ";";
};

} // namespace Mapobjects
