#include "core/Selection.h"

#include "core/MapObjects.h"
#include "objects/MapObject.h"

namespace Mapobjects {

void TSelection::Add(TCustomMapObject* MapObject, bool ClearFirst) {
    if (IndexOf(MapObject) >= 0) return;
    if (ClearFirst) Clear();
    TList::Add(MapObject);
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
    if (FMap->OnDelSelection) FMap->OnDelSelection(FMap, MapObject);
    if (FMap->FastSelection() && !FMap->InUpdate())
        MapObject->DrawSelection();
    else if (!FMap->InUpdate())
        FMap->DoUpdate(true);
}

void TSelection::Remove(TCustomMapObject* MapObject) {
    int Index = IndexOf(MapObject);
    if (Index < 0) return;
    Delete(Index);
    FMap->DataLinks().TraceMapEvent(mdlDelSelection, MapObject);
    if (FMap->FastSelection() && FMap->OnUpdate) FMap->OnUpdate(FMap);
}

void TSelection::Clear() {
    if (FMap && FMap->Parent())
        for (int I = Count() - 1; I >= 0; --I)
            if (I < Count()) Remove(Get(I));
    TList::Clear();
}

void TSelection::Insert(TCustomMapObject* MapObject, int Index, bool ClearFirst) {
    if (ClearFirst) Clear();
    TList::Insert(Index, MapObject);
    if (FMap->FastSelection()) MapObject->DrawSelection();
}

void TSelection::RemoveLayer(TMapLayer* Layer) {
    bool Batch = !FMap->FastSelection();
    if (Batch) FMap->BeginUpdate();
    for (int I = Count() - 1; I >= 0; --I)
        if (I < Count() && Get(I)->Layer() == Layer) Remove(Get(I));
    if (Batch) FMap->EndUpdate(true);
}

void TSelection::Paint() {
    if (!FMap->FastSelection()) return;
    for (int I = 0; I < Count(); ++I)
        Get(I)->DrawSelection();
}

void TSelection::Zoom() {
    if (Count() == 0) return;
    TBounds B;
    for (const TCustomMapObject* Obj : *this)
        WidenByObject(B, *Obj);
    FMap->ZoomToExtent(B);
}

} // namespace Mapobjects
