#include "formats/StringParser.h"

#include "platform/Dialogs.h"

namespace Mapobjects {

namespace {

[[noreturn]] void InvalidCast() {
    throw Platform::EInvalidCast("Invalid class typecast");
}

} // namespace

// --- TParserItem ---------------------------------------------------------------

int TParserItem::GetAsInteger() const {
    int Value = 0;
    return Platform::TryStrToInt(FRawData, Value) ? Value : 0;
}

void TParserItem::SetAsInteger(int Value) {
    FRawData = Platform::IntToStr(Value);
}

bool TParserItem::GetAsBoolean() const {
    int Value = 0;
    return Platform::TryStrToInt(FRawData, Value) && Value == 1;
}

void TParserItem::SetAsBoolean(bool Value) {
    FRawData.assign(1, Value ? '1' : '0');
}

double TParserItem::GetAsFloat() const {
    double Value = 0;
    return Platform::TryStrToFloat(FRawData, Value) ? Value : 0;
}

void TParserItem::SetAsFloat(double Value) {
    FRawData = Platform::FloatToStr(Value);
}

TCurrency TParserItem::GetAsCurrency() const {
    double Value = 0;
    if (!Platform::TryStrToFloat(FRawData, Value)) return 0;
    try {
        return Platform::Round(Value * 10000.0);
    } catch (const Platform::Exception&) {
        return 0; // beyond the currency range
    }
}

void TParserItem::SetAsCurrency(TCurrency Value) {
    FRawData = Platform::FloatToStr(static_cast<double>(Value) / 10000.0);
}

Platform::TDateTime TParserItem::GetAsDate() const {
    Platform::TDateTime Value = 0;
    return Platform::TryStrToDate(FRawData, Value) ? Value : Platform::Now();
}

void TParserItem::SetAsDate(Platform::TDateTime Value) {
    FRawData = Platform::DateToStr(Value);
}

Platform::TDateTime TParserItem::GetAsTime() const {
    Platform::TDateTime Value = 0;
    return Platform::TryStrToTime(FRawData, Value) ? Value : Platform::Now();
}

void TParserItem::SetAsTime(Platform::TDateTime Value) {
    FRawData = Platform::TimeToStr(Value);
}

void TParserItem::AssignTo(Platform::TPersistent* Dest) const {
    if (!Dest) return;
    auto* Item = dynamic_cast<TParserItem*>(Dest);
    if (!Item) InvalidCast();
    Item->FRawData = FRawData;
}

// --- TStringParser -------------------------------------------------------------

// Only the first character of Delimiter separates items, when splitting and
// when joining alike, so ToString and FromString stay inverse for a longer
// delimiter too. An empty delimiter neither splits nor separates.

void TStringParser::FromString(std::string_view Text) {
    Clear();
    if (!FDelimiter.empty()) {
        const char D = FDelimiter[0];
        for (size_t P = Text.find(D); P != std::string_view::npos; P = Text.find(D)) {
            Add()->SetRawData(std::string(Text.substr(0, P)));
            Text.remove_prefix(P + 1);
        }
    }
    Add()->SetRawData(std::string(Text));
}

std::string TStringParser::ToString() const {
    std::string Result;
    for (int I = 0; I < Count(); ++I) {
        if (I > 0 && !FDelimiter.empty()) Result += FDelimiter[0];
        Result += Items(I)->RawData();
    }
    return Result;
}

TParserItem* TStringParser::GetItems(int Index) const {
    if (Index <= Count() - 1) return Items(Index);
    Platform::MessageDlg("Error reading object properties from string!", Platform::mtError,
                         Platform::mbOK);
    return nullptr;
}

void TStringParser::AssignTo(Platform::TPersistent* Dest) const {
    if (!Dest) return;
    auto* Parser = dynamic_cast<TStringParser*>(Dest);
    if (!Parser) InvalidCast();
    if (Parser == this) return;
    Parser->Clear();
    for (int I = 0; I < Count(); ++I)
        Parser->Add()->SetRawData(Items(I)->RawData());
}

} // namespace Mapobjects
