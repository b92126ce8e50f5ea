#pragma once
// Lists of map objects that own nothing: the objects drawn by the last paint
// (Displayed) and the ordered selection.

#include "platform/Classes.h"

namespace Mapobjects {

class TChartix;
class TCustomMapObject;
class TMapLayer;

class TMapObjectsList : public Platform::TList<TCustomMapObject> {
public:
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map) { FMap = Map; }
    // Null instead of an index error for an index outside the list.
    TCustomMapObject* GetItem(int Index) const {
        return Index < 0 || Index >= Count() ? nullptr : FItems[static_cast<size_t>(Index)];
    }
    void SetItem(int Index, TCustomMapObject* Item) { Put(Index, Item); }

protected:
    TChartix* FMap = nullptr;
};

class TSelection : public TMapObjectsList {
public:
    void Add(TCustomMapObject* MapObject, bool ClearFirst);
    void Delete(int Index);
    void Remove(TCustomMapObject* MapObject);
    void Clear() override;
    void Insert(TCustomMapObject* MapObject, int Index, bool ClearFirst);
    void RemoveLayer(TMapLayer* Layer);
    void Paint();
    void Zoom();
};

} // namespace Mapobjects
