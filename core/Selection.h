#pragma once
// Lists of map objects that own nothing: the objects drawn by the last paint
// (Displayed) and the ordered selection.

#include "platform/Classes.h"

#include <functional>
#include <unordered_map>

namespace Mapobjects {

class TChartix;
class TCustomMapObject;
class TMapLayer;

// Keeps a count of each object's entries besides the list, so that asking
// whether an object is listed costs the same however long the list is. The
// counts are made at the first question after a Clear, so that filling a
// list nobody asks (Displayed during a repaint) costs no more than a vector.
class TMapObjectsList : public Platform::TList<TCustomMapObject> {
public:
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map) { FMap = Map; }
    // Null instead of an index error for an index outside the list.
    TCustomMapObject* GetItem(int Index) const {
        return Index < 0 || Index >= Count() ? nullptr : FItems[static_cast<size_t>(Index)];
    }
    void SetItem(int Index, TCustomMapObject* Item) { Put(Index, Item); }
    bool Contains(const TCustomMapObject* Item) const { return Occurrences(Item) > 0; }
    int Occurrences(const TCustomMapObject* Item) const;
    // Removes every entry of Item, looking from the end (where the objects
    // drawn or selected last are).
    void RemoveAll(const TCustomMapObject* Item);
    // Removes every entry for which Which holds, in one pass.
    void RemoveIf(const std::function<bool(const TCustomMapObject*)>& Which);
    void Clear() override;

protected:
    void Notify(TCustomMapObject* Item, Platform::TListNotification Action) override;

    TChartix* FMap = nullptr;

private:
    mutable std::unordered_map<const TCustomMapObject*, int> FCounts;
    mutable bool FCounted = true; // FCounts holds every entry
};

// Without a map the selection is a plain list: nothing is drawn or announced.
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
    // Sends what Remove sends, for an object that has already been taken out
    // of the list along with others (bulk deletion).
    void AnnounceRemoved(TCustomMapObject* MapObject);

private:
    // The announcements of Delete and of Remove after it.
    void Deleted(TCustomMapObject* MapObject);
    void Removed(TCustomMapObject* MapObject);
};

} // namespace Mapobjects
