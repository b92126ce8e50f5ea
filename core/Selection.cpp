#include "core/Selection.h"

#include "core/MapObjects.h"
#include "objects/MapObject.h"

#include <optional>

namespace Mapobjects {

// --- plain object lists ----------------------------------------------------------

int TMapObjectsList::CountOf(const TCustomMapObject* Item) const {
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

void TSelection::ToggleMarks(TCustomMapObject* MapObject, const TMapLayer* From) {
    // Marks of an object its layer does not draw would float over nothing.
    if (From && From->Drawn()) MapObject->DrawSelection();
}

void TSelection::Add(TCustomMapObject* MapObject, bool ClearFirst) {
    if (Contains(MapObject)) return;
    if (ClearFirst) Clear();
    TList::Add(MapObject);
    Added(MapObject);
}

void TSelection::Insert(TCustomMapObject* MapObject, int Index, bool ClearFirst) {
    if (Contains(MapObject)) return;
    if (ClearFirst) Clear();
    TList::Insert(Index, MapObject);
    Added(MapObject);
}

void TSelection::Added(TCustomMapObject* MapObject) {
    if (!FMap) return;
    if (FMap->FastSelection() && !FMap->InUpdate())
        ToggleMarks(MapObject, MapObject->Layer());
    else
        FMap->DoUpdate(true);
    if (FMap->OnAddSelection) FMap->OnAddSelection(FMap, MapObject);
    FMap->DataLinks().TraceMapEvent(mdlAddSelection, MapObject);
}

void TSelection::Delete(int Index) {
    TCustomMapObject* MapObject = Get(Index);
    TList::Delete(Index);
    Removed(MapObject, MapObject->Layer());
}

void TSelection::Removed(TCustomMapObject* MapObject, const TMapLayer* From) {
    if (!FMap) return;
    if (FMap->OnDelSelection) FMap->OnDelSelection(FMap, MapObject);
    // Inside an update the marks cannot be erased now: the repaint that
    // ends it must show the object plain, whatever the selection mode.
    if (FMap->FastSelection() && !FMap->InUpdate())
        ToggleMarks(MapObject, From);
    else
        FMap->DoUpdate(true);
    FMap->DataLinks().TraceMapEvent(mdlDelSelection, MapObject);
    if (FMap->FastSelection() && FMap->OnUpdate) FMap->OnUpdate(FMap);
}

void TSelection::Remove(TCustomMapObject* MapObject) {
    const int N = Occurrences(MapObject);
    if (N == 0) return;
    // The first entry; when there is only one, the search from the end finds
    // it sooner as objects are mostly removed in reverse order.
    Delete(N == 1 ? LastIndexOf(MapObject) : IndexOf(MapObject));
}

void TSelection::AnnounceRemoved(TCustomMapObject* MapObject, const TMapLayer* From) {
    Removed(MapObject, From);
}

void TSelection::Clear() {
    if (FMap)
        for (int I = Count() - 1; I >= 0; --I)
            if (I < Count()) Delete(I);
    TMapObjectsList::Clear();
}

void TSelection::RemoveLayer(TMapLayer* Layer) {
    std::optional<TUpdateBatch> Batch;
    if (FMap && !FMap->FastSelection()) Batch.emplace(*FMap);
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count() && Get(I)->Layer() == Layer) Delete(I);
}

void TSelection::Paint() {
    if (!FMap || !FMap->FastSelection()) return;
    for (int I = 0; I < Count(); ++I)
        ToggleMarks(Get(I), Get(I)->Layer());
}

void TSelection::Zoom() {
    if (Count() == 0 || !FMap) return;
    TBounds B;
    for (const TCustomMapObject* Obj : *this)
        WidenByObject(B, *Obj);
    FMap->ZoomToExtent(B);
}

} // namespace Mapobjects
