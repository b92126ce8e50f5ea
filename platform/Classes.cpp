#include "platform/Classes.h"

#include <cxxabi.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <typeinfo>

namespace Platform {

std::string TObject::ClassName() const {
    int Status = 0;
    std::unique_ptr<char, void (*)(void*)> Name(
        abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &Status), std::free);
    std::string S = Status == 0 && Name ? Name.get() : typeid(*this).name();
    // Drop the namespace at the outer level only: a "::" inside template
    // arguments or a function scope belongs to the name.
    size_t Start = 0;
    int Depth = 0;
    for (size_t I = 0; I + 1 < S.size(); ++I) {
        char C = S[I];
        if (C == '<' || C == '(')
            ++Depth;
        else if (C == '>' || C == ')')
            --Depth;
        else if (Depth == 0 && C == ':' && S[I + 1] == ':')
            Start = I + 2;
    }
    return S.substr(Start);
}

void ListIndexError(int Index) { throw EListError(Format("List index out of bounds (%d)", Index)); }

void TPersistent::Assign(const TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
    std::string SourceName = Source ? Source->ClassName() : std::string("nil");
    throw EConvertError(Format("Cannot assign a %s to a %s", SourceName, ClassName()));
}

// --- collections ---------------------------------------------------------------

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOfItem(this) : -1; }

TCollection::~TCollection() {
    for (auto It = FItems.rbegin(); It != FItems.rend(); ++It) delete *It;
}

TCollectionItem* TCollection::AddItem() {
    TCollectionItem* Item = FFactory(this);
    Item->FCollection = this;
    FItems.push_back(Item);
    return Item;
}

TCollectionItem* TCollection::InsertItem(int Index) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    TCollectionItem* Item = FFactory(this);
    Item->FCollection = this;
    FItems.insert(FItems.begin() + Index, Item);
    return Item;
}

TCollectionItem* TCollection::GetItem(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, const TCollectionItem* Item) { GetItem(Index)->Assign(Item); }

void TCollection::Delete(int Index) {
    TCollectionItem* Item = GetItem(Index);
    FItems.erase(FItems.begin() + Index);
    delete Item;
}

void TCollection::Clear() {
    std::vector<TCollectionItem*> Items;
    Items.swap(FItems);
    for (auto It = Items.rbegin(); It != Items.rend(); ++It) delete *It;
}

int TCollection::IndexOfItem(const TCollectionItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

void TCollection::Assign(const TPersistent* Source) {
    auto* Other = dynamic_cast<const TCollection*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this) return;
    Clear();
    for (TCollectionItem* Item : Other->FItems) AddItem()->Assign(Item);
}

// --- components ------------------------------------------------------------------

TComponent::TComponent(TComponent* Owner) : FOwner(Owner) {
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
    // Owned components go first, last created first; each unlinks itself.
    while (!FComponents.empty()) delete FComponents.back();
    if (FOwner) {
        auto& List = FOwner->FComponents;
        List.erase(std::remove(List.begin(), List.end(), this), List.end());
    }
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
    return FComponents[static_cast<size_t>(Index)];
}

// --- strings -----------------------------------------------------------------------

const std::string& TStrings::Get(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<size_t>(Index)];
}

void TStrings::Put(int Index, const std::string& S) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FItems[static_cast<size_t>(Index)] = S;
}

int TStrings::Add(const std::string& S) {
    FItems.push_back(S);
    return Count() - 1;
}

void TStrings::Insert(int Index, const std::string& S) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FItems.insert(FItems.begin() + Index, S);
}

void TStrings::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

int TStrings::IndexOf(std::string_view S) const {
    for (int I = 0; I < Count(); ++I)
        if (SameText(FItems[static_cast<size_t>(I)], S)) return I;
    return -1;
}

std::string TStrings::Text() const {
    std::string Result;
    for (const auto& S : FItems) {
        Result += S;
        Result += '\n';
    }
    return Result;
}

void TStrings::SetText(std::string_view Text) {
    FItems.clear();
    size_t Start = 0, I = 0;
    while (I < Text.size()) {
        char C = Text[I];
        if (C == '\r' || C == '\n') {
            FItems.emplace_back(Text.substr(Start, I - Start));
            if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
            Start = ++I;
        } else {
            ++I;
        }
    }
    if (Start < Text.size()) FItems.emplace_back(Text.substr(Start));
}

void TStrings::LoadFromFile(const std::string& FileName) {
    std::ifstream In(FileName, std::ios::binary);
    if (!In) throw EFOpenError(Format("Cannot open file \"%s\". No such file or directory", FileName));
    std::ostringstream Buffer;
    Buffer << In.rdbuf();
    SetText(Buffer.str());
}

void TStrings::SaveToFile(const std::string& FileName) const {
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    if (!Out) throw EFCreateError(Format("Cannot create file \"%s\"", FileName));
    for (const auto& S : FItems) Out << S << "\r\n";
    if (!Out) throw EInOutError(Format("Cannot write file \"%s\"", FileName));
}

void TStrings::Assign(const TPersistent* Source) {
    if (auto* Other = dynamic_cast<const TStrings*>(Source)) {
        if (Other != this) FItems = Other->FItems;
        return;
    }
    TPersistent::Assign(Source);
}

} // namespace Platform
