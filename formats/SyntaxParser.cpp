#include "formats/SyntaxParser.h"

#include "core/Progress.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <vector>

namespace Mapobjects {

namespace {

// The hooks may have been emptied by a host; a missing hook is a silent one.
void DoStartProgress(int Min, int Max, const std::string& Title) {
    if (StartProgress) StartProgress(Min, Max, Title);
}
void DoShowProgress(int Progress) {
    if (ShowProgress) ShowProgress(Progress);
}
void DoStopProgress() {
    if (StopProgress) StopProgress();
}

} // namespace

TSetOfChar CharSet(std::string_view Chars) {
    TSetOfChar Result;
    for (char C : Chars)
        Result.set(static_cast<unsigned char>(C));
    return Result;
}

// --- TSyntaxItem ---------------------------------------------------------------

TSyntaxParser* TSyntaxItem::SyntaxParser() const {
    return static_cast<TSyntaxParser*>(Collection());
}

TSyntaxItemKind TSyntaxItem::GetKind() const {
    const TSyntaxParser* Parser = SyntaxParser();
    if (FValue.size() == 1 && FValue[0] == ' ') return sikWhiteSpace;
    if (FValue.size() == 1 && InCharSet(Parser->FDelimiters, FValue[0])) return sikDelimiter;
    if (FValue.starts_with(Parser->FCommentsFlag)) return sikComment;
    if (!FValue.empty() && FValue[0] == Parser->FQuote) return sikString;
    double Number;
    TSyntaxItemKind Kind = Platform::TryStrToFloat(FValue, Number) ? sikNumber : sikIdentifier;
    if (Parser->FReservedWords->IndexOf(FValue) >= 0) Kind = sikReservedWord;
    return Kind;
}

bool TSyntaxItem::Equal(std::string_view Text) const {
    return Platform::SameText(Text, FValue);
}

void TSyntaxItem::Assign(const Platform::TPersistent* Source) {
    if (auto* Other = dynamic_cast<const TSyntaxItem*>(Source)) {
        FOffset = Other->FOffset;
        FValue = Other->FValue;
        FLine = Other->FLine;
        return;
    }
    Platform::TCollectionItem::Assign(Source);
}

// --- TSyntaxParser -------------------------------------------------------------

TSyntaxParser::TSyntaxParser()
    : FDelimiters(CharSet("\t\n\r \"'()*+,-./:;=")),
      FReservedWords(std::make_unique<Platform::TStrings>()) {}

TSyntaxParser::~TSyntaxParser() = default;

TSyntaxItem* TSyntaxParser::Add(std::string Value, int Offset, int Line) {
    auto* Item = static_cast<TSyntaxItem*>(AddItem());
    // A tab token reads as a blank, so blanks and tabs pack away alike.
    if (Value.size() == 1 && Value[0] == '\t')
        Item->FValue.assign(1, ' ');
    else
        Item->FValue = std::move(Value);
    Item->FOffset = Offset;
    Item->FLine = Line;
    return Item;
}

void TSyntaxParser::Read(std::string_view Text, int Line, bool Plain, bool ClearItems) {
    if (ClearItems) Clear();

    // The pending token is always a run of the line that starts at Start, so
    // it is cut out once when emitted instead of being built a character at a
    // time. Its offset is then simply Start.
    const size_t N = Text.size();
    size_t Start = 0;
    bool InString = false;
    // A longer comment mark never matches a single character while reading.
    const bool CommentByChar = !Plain && FCommentsFlag.size() == 1;
    const char CommentChar = CommentByChar ? FCommentsFlag[0] : '\0';
    const bool Quotes = !Plain;

    auto EmitPending = [&](size_t End) {
        if (End > Start)
            Add(std::string(Text.substr(Start, End - Start)), static_cast<int>(Start), Line);
    };

    for (size_t I = 0; I < N; ++I) {
        const char C = Text[I];
        if (CommentByChar && !InString && C == CommentChar) {
            EmitPending(I);
            if (!FSkipKinds.Contains(sikComment))
                Add(std::string(Text.substr(I)), static_cast<int>(I), Line);
            return;
        }
        if (Quotes && C == FQuote) {
            if (InString) {
                EmitPending(I + 1); // the closing quote belongs to the string
                Start = I + 1;
                InString = false;
            } else {
                EmitPending(I);
                Start = I;
                InString = true;
            }
            continue;
        }
        if (!InString && InCharSet(FDelimiters, C)) {
            EmitPending(I);
            if (!InCharSet(FSkipChars, C)) Add(std::string(1, C), static_cast<int>(I), Line);
            Start = I + 1;
        }
    }
    EmitPending(N);
}

void TSyntaxParser::ReadFromStrings(const Platform::TStrings& Lines) {
    DoStartProgress(0, Lines.Count() - 1, "Reading source");
    try {
        for (int I = 0; I < Lines.Count(); ++I) {
            DoShowProgress(I);
            Read(Lines[I], I, false, I == 0);
        }
    } catch (...) {
        DoStopProgress();
        throw;
    }
    DoStopProgress();
}

void TSyntaxParser::ReadFromFile(const std::string& FileName) {
    Platform::TStrings Lines;
    Lines.LoadFromFile(FileName);
    ReadFromStrings(Lines);
}

void TSyntaxParser::Write(std::string& Text) const {
    size_t Size = 0;
    for (const Platform::TCollectionItem* Item : FItems)
        Size += static_cast<const TSyntaxItem*>(Item)->FValue.size();
    Text.clear();
    Text.reserve(Size);
    for (const Platform::TCollectionItem* Item : FItems)
        Text += static_cast<const TSyntaxItem*>(Item)->FValue;
}

bool TSyntaxParser::IsComment(const std::string& Value) const {
    // The same tests, in the same order, as GetKind up to the comment check;
    // the number and reserved-word tests after it cannot make a comment.
    if (Value.size() == 1 && (Value[0] == ' ' || InCharSet(FDelimiters, Value[0]))) return false;
    return Value.starts_with(FCommentsFlag);
}

void TSyntaxParser::Pack() {
    // Items are freed as they are found and the list is closed up once at
    // the end, even when a progress hook raises: deleting one by one from a
    // large list would move the tail again for every blank.
    struct TCompactor {
        std::vector<Platform::TCollectionItem*>& Items;
        ~TCompactor() {
            Items.erase(std::remove(Items.begin(), Items.end(), nullptr), Items.end());
        }
    };

    const int Total = Count();
    DoStartProgress(0, Total - 1, "Packing Data");
    try {
        TCompactor Compactor{FItems};
        int Deleted = 0;
        for (int I = Total - 1; I >= 0; --I) {
            // The count as it stands now: everything dropped so far lay above I.
            DoShowProgress(Total - Deleted - I - 1);
            auto*& Slot = FItems[static_cast<size_t>(I)];
            const std::string& Value = static_cast<TSyntaxItem*>(Slot)->FValue;
            if ((Value.size() == 1 && Value[0] == ' ') || IsComment(Value)) {
                delete Slot;
                Slot = nullptr;
                ++Deleted;
            }
        }
    } catch (...) {
        DoStopProgress();
        throw;
    }
    DoStopProgress();
}

TSyntaxItem* TSyntaxParser::ItemFromOffset(int Offset) const {
    for (Platform::TCollectionItem* Base : FItems) {
        auto* Item = static_cast<TSyntaxItem*>(Base);
        if (Item->FOffset <= Offset && Offset < Item->FOffset + Item->Length()) return Item;
    }
    return nullptr;
}

} // namespace Mapobjects
