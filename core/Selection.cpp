#include "core/Selection.h"

#include "core/MapObjects.h"
#include "objects/MapObject.h"

namespace Mapobjects {

// --- plain object lists ----------------------------------------------------------

int TMapObjectsList::Occurrences(const TCustomMapObject* Item) const {
    if (!FCounted) {
        FCounts.reserve(FItems.size());
        for (const TCustomMapObject* Each : FItems)
            ++FCounts[Each];
        FCounted = true;
    }
    auto It = FCounts.find(Item);
    return It == FCounts.end() ? 0 : It->second;
}

void TMapObjectsList::Notify(TCustomMapObject* Item, Platform::TListNotification Action) {
    if (!FCounted) return;
    if (Action == Platform::lnAdded) {
        ++FCounts[Item];
        return;
    }
    auto It = FCounts.find(Item);
    if (It != FCounts.end() && --It->second == 0) FCounts.erase(It);
}

void TMapObjectsList::RemoveAll(const TCustomMapObject* Item) {
    int Left = Occurrences(Item);
    for (int I = Count() - 1; I >= 0 && Left > 0; --I)
        if (FItems[static_cast<size_t>(I)] == Item) {
            TList::Delete(I);
            --Left;
        }
}

void TMapObjectsList::RemoveIf(const std::function<bool(const TCustomMapObject*)>& Which) {
    size_t Kept = 0;
    for (size_t I = 0; I < FItems.size(); ++I) {
        TCustomMapObject* Item = FItems[I];
        if (Which(Item))
            Notify(Item, Platform::lnDeleted);
        else
            FItems[Kept++] = Item;
    }
    FItems.resize(Kept);
}

void TMapObjectsList::Clear() {
    // The counts go all at once: Displayed is emptied at every rebuild.
    FItems.clear();
    FCounts.clear();
    FCounted = false;
}

// --- the selection ---------------------------------------------------------------

void TSelection::Add(TCustomMapObject* MapObject, bool ClearFirst) {
    if (Contains(MapObject)) return;
    if (ClearFirst) Clear();
    TList::Add(MapObject);
    if (!FMap) return;
    if (FMap->FastSelection() && !FMap->InUpdate())
        MapObject->DrawSelection();
    else
        FMap->DoUpdate(true);
    if (FMap->OnAddSelection) FMap->OnAddSelection(FMap, MapObject);
    FMap->DataLinks().TraceMapEvent(mdlAddSelection, MapObject);
}

void TSelection::Delete(int Index) {
    TCustomMapObject* MapObject = Get(Index);
    TList::Delete(Index);
    Deleted(MapObject);
}

void TSelection::Deleted(TCustomMapObject* MapObject) {
    if (!FMap) return;
    if (FMap->OnDelSelection) FMap->OnDelSelection(FMap, MapObject);
    if (FMap->FastSelection() && !FMap->InUpdate())
        MapObject->DrawSelection();
    else if (!FMap->InUpdate())
        FMap->DoUpdate(true);
}

void TSelection::Remove(TCustomMapObject* MapObject) {
    const int N = Occurrences(MapObject);
    if (N == 0) return;
    // The first entry; when there is only one, the search from the end finds
    // it sooner as objects are mostly removed in reverse order.
    Delete(N == 1 ? LastIndexOf(MapObject) : IndexOf(MapObject));
    Removed(MapObject);
}

void TSelection::Removed(TCustomMapObject* MapObject) {
    if (!FMap) return;
    FMap->DataLinks().TraceMapEvent(mdlDelSelection, MapObject);
    if (FMap->FastSelection() && FMap->OnUpdate) FMap->OnUpdate(FMap);
}

void TSelection::AnnounceRemoved(TCustomMapObject* MapObject) {
    Deleted(MapObject);
    Removed(MapObject);
}

void TSelection::Clear() {
    if (FMap && FMap->Parent())
        for (int I = Count() - 1; I >= 0; --I)
            if (I < Count()) Remove(Get(I));
    TMapObjectsList::Clear();
}

void TSelection::Insert(TCustomMapObject* MapObject, int Index, bool ClearFirst) {
    if (ClearFirst) Clear();
    TList::Insert(Index, MapObject);
    if (FMap && FMap->FastSelection()) MapObject->DrawSelection();
}

void TSelection::RemoveLayer(TMapLayer* Layer) {
    const bool Batch = FMap && !FMap->FastSelection();
    if (Batch) FMap->BeginUpdate();
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count() && Get(I)->Layer() == Layer) Remove(Get(I));
    if (Batch) FMap->EndUpdate(true);
}

void TSelection::Paint() {
    if (!FMap || !FMap->FastSelection()) return;
    for (int I = 0; I < Count(); ++I)
        Get(I)->DrawSelection();
}

void TSelection::Zoom() {
    if (Count() == 0 || !FMap) return;
    TBounds B;
    for (const TCustomMapObject* Obj : *this)
        WidenByObject(B, *Obj);
    FMap->ZoomToExtent(B);
}

} // namespace Mapobjects
