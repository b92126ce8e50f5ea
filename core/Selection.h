#pragma once
// Lists of map objects that own nothing: the objects drawn by the last paint
// (Displayed) and the ordered selection.

#include "../platform/Classes.h"
#include "ChartixExport.h"

#include <functional>
#include <unordered_map>

namespace Mapobjects {

class TChartix;
class TCustomMapObject;
class TMapLayer;

/// Keeps a count of each object's entries besides the list, so that asking
/// whether an object is listed costs the same however long the list is. The
/// counts are made at the first question after a Clear, so that filling a
/// list nobody asks (Displayed during a repaint) costs no more than a vector.
class CHARTIX_EXPORT TMapObjectsList : public Platform::TList<TCustomMapObject> {
public:
    /// The map the list belongs to, set by the map that owns it; null for a free list.
    ///@{
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map) { FMap = Map; }
    ///@}
    /// Null instead of an index error for an index outside the list.
    TCustomMapObject* GetItem(int Index) const {
        return Index < 0 || Index >= Count() ? nullptr : FItems[static_cast<size_t>(Index)];
    }
    /// Replaces the entry at Index (the list's Put: checked, and not announced).
    void SetItem(int Index, TCustomMapObject* Item) { Put(Index, Item); }
    /// Whether Item is listed at least once.
    bool Contains(const TCustomMapObject* Item) const { return Occurrences(Item) > 0; }
    /// How many entries of Item the list holds.
    int Occurrences(const TCustomMapObject* Item) const {
        // Asked for every object painted: an empty list answers without a call.
        return FItems.empty() ? 0 : CountOf(Item);
    }
    /// Removes every entry of Item, looking from the end (where the objects
    /// drawn or selected last are).
    void RemoveAll(const TCustomMapObject* Item);
    /// Removes every entry for which Which holds, in one pass.
    void RemoveIf(const std::function<bool(const TCustomMapObject*)>& Which);
    /// Empties the list at once, without notifications for the entries.
    void Clear() override;

protected:
    /// Keeps the per-object counts in step as entries come and go.
    void Notify(TCustomMapObject* Item, Platform::TListNotification Action) override;

    TChartix* FMap = nullptr; ///< The map the list belongs to; null for a free list.

private:
    int CountOf(const TCustomMapObject* Item) const;
    mutable std::unordered_map<const TCustomMapObject*, int> FCounts;
    mutable bool FCounted = true; // FCounts holds every entry
};

/// Without a map the selection is a plain list: nothing is drawn or announced.
/// On a map every way in or out is announced alike, to the host and to the
/// links, so observers never lose track of it; an object is listed once.
/// Marks are shown only for objects whose layer is part of the picture.
class CHARTIX_EXPORT TSelection : public TMapObjectsList {
public:
    /// Nothing for an object already selected (not even ClearFirst).
    void Add(TCustomMapObject* MapObject, bool ClearFirst);
    /// Takes the object at Index out; announced as Remove announces it.
    void Delete(int Index);
    /// Takes the object out, announcing it (OnDelSelection, mdlDelSelection) and
    /// erasing its marks; nothing for an object not selected.
    void Remove(TCustomMapObject* MapObject);
    /// Removes every object, last first, each announced.
    void Clear() override;
    /// Add at a given place: nothing for an object already selected.
    void Insert(TCustomMapObject* MapObject, int Index, bool ClearFirst);
    /// Removes the layer's objects; without fast selection in one repaint.
    void RemoveLayer(TMapLayer* Layer);
    /// Draws the marks of every selected object (fast selection only).
    void Paint();
    /// Zooms the map to the joint extent of the selected objects; nothing when the
    /// selection is empty or has no map.
    void Zoom();
    /// Sends what Remove sends, for an object that has already been taken out
    /// of the list along with others (bulk deletion) and off its layer From.
    void AnnounceRemoved(TCustomMapObject* MapObject, const TMapLayer* From);

private:
    // Shows an object's arrival: its marks at once when they can be drawn
    // now, else a repaint request; then the announcements.
    void Added(TCustomMapObject* MapObject);
    // The same for a departure from the selection and, when From is not the
    // object's layer, from the layer From.
    void Removed(TCustomMapObject* MapObject, const TMapLayer* From);
    // Draws or erases the marks of an object of layer From on the window, if
    // that layer shows any.
    static void ToggleMarks(TCustomMapObject* MapObject, const TMapLayer* From);
};

} // namespace Mapobjects
