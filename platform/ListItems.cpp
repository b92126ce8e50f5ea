#include "platform/ListItems.h"

namespace Platform {

void TListItems::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

const std::string& TListItems::Get(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Text;
}

void TListItems::Put(int Index, const std::string& S) {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].Text = S;
    Changed(licChanged, Index);
}

TObject* TListItems::Objects(int Index) const {
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)].Object;
}

void TListItems::PutObject(int Index, TObject* Object) {
    CheckIndex(Index);
    FItems[static_cast<size_t>(Index)].Object = Object;
}

int TListItems::AddObject(const std::string& S, TObject* Object) {
    FItems.push_back(TItem{S, Object});
    Changed(licInserted, Count() - 1);
    return Count() - 1;
}

void TListItems::InsertObject(int Index, const std::string& S, TObject* Object) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FItems.insert(FItems.begin() + Index, TItem{S, Object});
    Changed(licInserted, Index);
}

void TListItems::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Changed(licDeleted, Index);
}

void TListItems::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed(licCleared, -1);
}

void TListItems::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    TItem Item = std::move(FItems[static_cast<size_t>(CurIndex)]);
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, std::move(Item));
    Changed(licChanged, -1);
}

void TListItems::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
    Changed(licChanged, -1);
}

int TListItems::IndexOf(std::string_view S) const {
    for (int I = 0; I < Count(); ++I)
        if (SameText(FItems[static_cast<size_t>(I)].Text, S)) return I;
    return -1;
}

int TListItems::IndexOfObject(const TObject* Object) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[static_cast<size_t>(I)].Object == Object) return I;
    return -1;
}

void TListItems::Assign(const TPersistent* Source) {
    if (auto* Other = dynamic_cast<const TListItems*>(Source)) {
        if (Other == this) return;
        FItems = Other->FItems;
        Changed(licCleared, -1);
        for (int I = 0; I < Count(); ++I)
            Changed(licInserted, I);
        return;
    }
    TPersistent::Assign(Source);
}

} // namespace Platform
