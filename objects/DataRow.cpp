#include "objects/DataRow.h"

#include <cstring>
#include <new>
#include <string>

namespace Mapobjects {

using namespace Platform;

namespace {

// The type byte of a value. Texts of up to 8 bytes sit in the slot with
// their length in the type byte (ShortText + length).
enum : unsigned char { Empty, Null, Boolean, Integer, Double, Date, LongText, ShortText };
constexpr size_t ShortMax = 8;

template <class T> T Load(const unsigned char* Slot) {
    T V;
    std::memcpy(&V, Slot, sizeof V);
    return V;
}
template <class T> void Store(unsigned char* Slot, const T& V) {
    std::memcpy(Slot, &V, sizeof V);
}

} // namespace

TRowColumns::TRowColumns(const TDataFields& Source) {
    for (int I = 0; I < Source.Count(); ++I)
        Source.GetFields(I)->AssignTo(FFields.Add());
}

bool TRowColumns::Matches(const TDataFields& Source) const {
    if (Source.Count() != FFields.Count()) return false;
    for (int I = 0; I < Source.Count(); ++I) {
        const TDataField& S = *Source.GetFields(I);
        const TDataField& C = *FFields.GetFields(I);
        // A copy turns a string column of size 0 into one of 255.
        const int Size = S.DataType() == dtString && S.Size() == 0 ? 255 : S.Size();
        if (S.IsPrimaryKey() != C.IsPrimaryKey() || Size != C.Size() ||
            S.Precision() != C.Precision() || S.DataType() != C.DataType() ||
            S.Visible() != C.Visible() || S.Name() != C.Name() ||
            !(S.DefaultValue() == C.DefaultValue()) || !(S.Value() == C.Value()))
            return false;
    }
    return true;
}

// --- compact rows ----------------------------------------------------------------

void TDataRow::TFree::operator()(TDataRow* Row) const {
    if (!Row) return;
    Row->~TDataRow();
    ::operator delete(Row);
}

TDataRow::TPtr TDataRow::Make(const TRowColumnsRef& Columns) {
    const int N = Columns->Count();
    const size_t Bytes = sizeof(TDataRow) + SlotsOffset(N) + static_cast<size_t>(N) * 8;
    void* Memory = ::operator new(Bytes);
    TPtr Row(new (Memory) TDataRow(Columns));
    for (int I = 0; I < N; ++I)
        Row->SetValue(I, Columns->Fields().GetFields(I)->Value());
    return Row;
}

TDataRow::TDataRow(const TRowColumnsRef& Columns) : FColumns(Columns) {
    std::memset(Tags(), Empty, static_cast<size_t>(Count()));
}

TDataRow::~TDataRow() {
    for (int I = 0; I < Count(); ++I)
        FreeSlot(I);
}

unsigned char* TDataRow::Slot(int Index) {
    return Tags() + SlotsOffset(Count()) + static_cast<size_t>(Index) * 8;
}
const unsigned char* TDataRow::Slot(int Index) const {
    return Tags() + SlotsOffset(Count()) + static_cast<size_t>(Index) * 8;
}

// Long texts are the only values a slot owns.
void TDataRow::FreeSlot(int Index) {
    if (Tags()[Index] == LongText) delete Load<std::string*>(Slot(Index));
    Tags()[Index] = Empty;
}

TVariant TDataRow::Value(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    const unsigned char* S = Slot(Index);
    switch (const unsigned char Tag = Tags()[Index]) {
    case Empty:
        return TVariant();
    case Null:
        return TVariant::Null();
    case Boolean:
        return TVariant(S[0] != 0);
    case Integer:
        return TVariant(Load<std::int64_t>(S));
    case Double:
        return TVariant(Load<double>(S));
    case Date:
        return TVariant::FromDateTime(Load<double>(S));
    case LongText:
        return TVariant(*Load<const std::string*>(S));
    default:
        return TVariant(std::string(reinterpret_cast<const char*>(S), Tag - ShortText));
    }
}

void TDataRow::SetValue(int Index, const TVariant& V) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FreeSlot(Index);
    unsigned char* S = Slot(Index);
    unsigned char& Tag = Tags()[Index];
    if (const bool* B = V.Peek<bool>()) {
        S[0] = *B ? 1 : 0;
        Tag = Boolean;
    } else if (const std::int64_t* I = V.Peek<std::int64_t>()) {
        Store(S, *I);
        Tag = Integer;
    } else if (const double* D = V.Peek<double>()) {
        Store(S, *D);
        Tag = Double;
    } else if (const TVarDate* T = V.Peek<TVarDate>()) {
        Store(S, T->Value);
        Tag = Date;
    } else if (const std::string* Text = V.Peek<std::string>()) {
        if (Text->size() <= ShortMax) {
            std::memcpy(S, Text->data(), Text->size());
            Tag = static_cast<unsigned char>(ShortText + Text->size());
        } else {
            Store(S, new std::string(*Text));
            Tag = LongText;
        }
    } else {
        Tag = V.IsNull() ? Null : Empty;
    }
}

std::unique_ptr<TDataFields> TDataRow::ToFields() const {
    auto Fields = std::make_unique<TDataFields>();
    for (int I = 0; I < Count(); ++I) {
        TDataField* F = Fields->Add();
        Column(I).AssignTo(F);
        F->SetValue(Value(I));
    }
    return Fields;
}

size_t TDataRow::MemoryUsed() const {
    size_t N = sizeof(TDataRow) + SlotsOffset(Count()) + static_cast<size_t>(Count()) * 8;
    for (int I = 0; I < Count(); ++I)
        if (Tags()[I] == LongText)
            N += sizeof(std::string) + Load<const std::string*>(Slot(I))->capacity();
    return N;
}

// --- an object's row ---------------------------------------------------------------

TDataFields& TObjectRow::AsList() {
    if (TDataFields* L = List()) return *L;
    std::unique_ptr<TDataFields> L =
        Compact() ? Compact()->ToFields() : std::make_unique<TDataFields>();
    ReplaceList(std::move(L));
    return *List();
}

std::unique_ptr<TDataFields> TObjectRow::ReplaceList(std::unique_ptr<TDataFields> V) {
    std::unique_ptr<TDataFields> Old(List());
    if (!Old) TDataRow::TPtr Doomed(Compact()); // a compact row goes
    FBits = V ? reinterpret_cast<std::uintptr_t>(V.release()) | 1 : 0;
    return Old;
}

void TObjectRow::MakeCompact(const TRowColumnsRef& Columns) {
    TDataRow::TPtr Row = TDataRow::Make(Columns);
    Reset();
    FBits = reinterpret_cast<std::uintptr_t>(Row.release());
}

void TObjectRow::Reset() {
    ReplaceList(nullptr);
}

int TObjectRow::Count() const {
    if (TDataFields* L = List()) return L->Count();
    return Compact() ? Compact()->Count() : 0;
}

const TDataField& TObjectRow::Column(int Index) const {
    if (TDataFields* L = List()) return *L->GetFields(Index);
    if (!Compact()) ListIndexError(Index);
    return Compact()->Column(Index);
}

TVariant TObjectRow::Value(int Index) const {
    if (TDataFields* L = List()) return L->GetFields(Index)->Value();
    if (!Compact()) ListIndexError(Index);
    return Compact()->Value(Index);
}

void TObjectRow::SetValue(int Index, const TVariant& V) {
    if (TDataFields* L = List()) return L->GetFields(Index)->SetValue(V);
    if (!Compact()) ListIndexError(Index);
    Compact()->SetValue(Index, V);
}

std::string TObjectRow::Text(int Index) const {
    if (TDataFields* L = List()) return L->GetFields(Index)->AsString();
    return FieldText(Column(Index).DataType(), Value(Index));
}

size_t TObjectRow::MemoryUsed() const {
    if (TDataFields* L = List())
        return sizeof(TDataFields) + static_cast<size_t>(L->Count()) * (sizeof(TDataField) + 16);
    return Compact() ? Compact()->MemoryUsed() : 0;
}

} // namespace Mapobjects
