#pragma once
// A small configurable tokenizer. It cuts text, line by line, into one flat
// list of tokens that remember their line and their offset in it; the kind of
// a token is worked out only when asked, from the parser's current settings.
// The MIF reader runs every line of a file through Read, so Read stays lean.

#include "platform/Classes.h"

#include <bitset>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace Mapobjects {

enum TSyntaxItemKind {
    sikWhiteSpace,
    sikDelimiter,
    sikComment,
    sikReservedWord,
    sikIdentifier,
    sikSymbol, // never produced by GetKind; kept for callers that classify themselves
    sikNumber,
    sikString
};

// A set of token kinds, one bit per kind.
class TSyntaxItemKinds {
public:
    constexpr TSyntaxItemKinds() = default;
    constexpr TSyntaxItemKinds(std::initializer_list<TSyntaxItemKind> Kinds) {
        for (TSyntaxItemKind K : Kinds)
            Include(K);
    }
    constexpr bool Contains(TSyntaxItemKind Kind) const { return (FMask & Bit(Kind)) != 0; }
    constexpr TSyntaxItemKinds& Include(TSyntaxItemKind Kind) {
        FMask |= Bit(Kind);
        return *this;
    }
    constexpr TSyntaxItemKinds& Exclude(TSyntaxItemKind Kind) {
        FMask &= ~Bit(Kind);
        return *this;
    }
    constexpr bool Empty() const { return FMask == 0; }
    constexpr bool operator==(const TSyntaxItemKinds&) const = default;

private:
    static constexpr unsigned Bit(TSyntaxItemKind Kind) {
        return 1u << static_cast<unsigned>(Kind);
    }
    unsigned FMask = 0;
};

// Sets of single-byte characters.
using TSetOfChar = std::bitset<256>;
using TDelimiters = TSetOfChar;

// The set of the characters of Chars.
TSetOfChar CharSet(std::string_view Chars);
inline bool InCharSet(const TSetOfChar& Set, char C) {
    return Set[static_cast<unsigned char>(C)];
}

class TSyntaxParser;

class TSyntaxItem : public Platform::TCollectionItem {
public:
    explicit TSyntaxItem(Platform::TCollection* Collection)
        : Platform::TCollectionItem(Collection) {}

    int Offset() const { return FOffset; }
    void SetOffset(int Value) { FOffset = Value; }
    const std::string& Value() const { return FValue; }
    void SetValue(const std::string& Value) { FValue = Value; }
    int Line() const { return FLine; }
    void SetLine(int Value) { FLine = Value; }
    int Length() const { return static_cast<int>(FValue.size()); }

    // Classified on every call against the owning parser's settings.
    TSyntaxItemKind GetKind() const;
    TSyntaxItemKind Kind() const { return GetKind(); }
    TSyntaxParser* SyntaxParser() const;
    // Case-insensitive comparison with the token text.
    bool Equal(std::string_view Text) const;

    // Copies value, offset and line from another token.
    void Assign(const Platform::TPersistent* Source) override;

private:
    friend class TSyntaxParser;
    int FOffset = 0;
    std::string FValue;
    int FLine = 0;
};

class TSyntaxParser : public Platform::TCollectionOf<TSyntaxItem> {
public:
    TSyntaxParser();
    ~TSyntaxParser() override;

    // Tokenizes one line. Plain switches off quote and comment recognition;
    // ClearItems empties the token list first.
    virtual void Read(std::string_view Text, int Line, bool Plain, bool ClearItems);
    // Every line in turn, numbered from 0; only the first line clears the list.
    virtual void ReadFromStrings(const Platform::TStrings& Lines);
    // Raises Platform::EFOpenError when the file cannot be read.
    virtual void ReadFromFile(const std::string& FileName);
    // All token values joined without separators.
    virtual void Write(std::string& Text) const;

    // Drops blank and comment tokens.
    void Pack();
    // First token, from index 0, whose text covers the offset; null when none.
    TSyntaxItem* ItemFromOffset(int Offset) const;
    // Index 0 counts as invalid: callers look at tokens after the leading one.
    bool ValidIndex(int Index) const { return Index >= 1 && Index < Count(); }
    TSyntaxItem* Add(std::string Value, int Offset, int Line);
    using Platform::TCollectionOf<TSyntaxItem>::Add;

    TSyntaxItem* GetItems(int Index) const { return Items(Index); }
    void SetItems(int Index, const TSyntaxItem* Item) { SetItem(Index, Item); }

    char Quote() const { return FQuote; }
    void SetQuote(char Value) { FQuote = Value; }
    const std::string& CommentsFlag() const { return FCommentsFlag; }
    void SetCommentsFlag(const std::string& Value) { FCommentsFlag = Value; }
    const TDelimiters& Delimiters() const { return FDelimiters; }
    void SetDelimiters(const TDelimiters& Value) { FDelimiters = Value; }
    Platform::TStrings& ReservedWords() const { return *FReservedWords; }
    void SetReservedWords(const Platform::TStrings& List) { FReservedWords->Assign(&List); }
    TSyntaxItemKinds SkipKinds() const { return FSkipKinds; }
    void SetSkipKinds(TSyntaxItemKinds Value) { FSkipKinds = Value; }
    const TSetOfChar& SkipChars() const { return FSkipChars; }
    void SetSkipChars(const TSetOfChar& Value) { FSkipChars = Value; }

private:
    friend class TSyntaxItem;
    bool IsComment(const std::string& Value) const;

    char FQuote = '"';
    std::string FCommentsFlag = "'";
    TDelimiters FDelimiters;
    std::unique_ptr<Platform::TStrings> FReservedWords;
    TSyntaxItemKinds FSkipKinds;
    TSetOfChar FSkipChars;
};

} // namespace Mapobjects
