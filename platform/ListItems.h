#pragma once
// The items of a list box or combo box: strings, each with an object that
// the items do not own. The control that holds them hears of every change,
// so that it can keep its current item and its picture in step.

#include "Classes.h"
#include "PlatformExport.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

/// What happened to the items: one inserted or deleted at Index, all cleared,
/// or texts/objects/order changed in place (Index -1).
enum TListItemsChange { licInserted, licDeleted, licCleared, licChanged };

/// Where a current item index goes after a change to the items: it follows
/// its item, and becomes -1 when its item went.
inline int FollowItemChange(int Current, TListItemsChange Change, int Index) {
    switch (Change) {
    case licInserted:
        return Current >= Index ? Current + 1 : Current;
    case licDeleted:
        return Current == Index ? -1 : Current > Index ? Current - 1 : Current;
    case licCleared:
        return -1;
    case licChanged:
        break;
    }
    return Current;
}

/// The strings of a list box or combo box, each with an object they do not own;
/// changes are reported to a change hook.
class CHARTIX_PLATFORM_EXPORT TListItems : public TPersistent {
public:
    /// Called after each change with what changed and where (-1 when not one item).
    using TChangeHook = std::function<void(TListItemsChange Change, int Index)>;
    /// An empty list that reports its changes to Changed (which may be empty).
    explicit TListItems(TChangeHook Changed = {}) : FChanged(std::move(Changed)) {}

    /// The number of items.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// EListError outside 0..Count-1, as for every access by index.
    const std::string& Get(int Index) const;
    /// The text at Index, as Get.
    const std::string& operator[](int Index) const { return Get(Index); }
    /// Replaces the text at Index; reports licChanged.
    void Put(int Index, const std::string& S);
    /// The object at Index (not owned; may be null).
    TObject* Objects(int Index) const;
    /// Sets the object at Index; reports no change.
    void PutObject(int Index, TObject* Object);

    /// Appends an item without an object and returns its index; reports licInserted.
    int Add(const std::string& S) { return AddObject(S, nullptr); }
    /// Appends an item with Object and returns its index; reports licInserted.
    int AddObject(const std::string& S, TObject* Object);
    /// Inserts an item without an object before Index (Count appends); reports licInserted.
    void Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
    /// Inserts an item with Object before Index (Count appends); reports licInserted.
    void InsertObject(int Index, const std::string& S, TObject* Object);
    /// Removes the item at Index; reports licDeleted.
    void Delete(int Index);
    /// Removes every item; reports licCleared unless the list was empty.
    void Clear();
    /// Moves the item at CurIndex to NewIndex; reports licChanged.
    void Move(int CurIndex, int NewIndex);
    /// Swaps two items; reports licChanged.
    void Exchange(int Index1, int Index2);
    int IndexOf(std::string_view S) const; ///< case-insensitive, -1 when absent
    /// The index of the first item with Object, or -1.
    int IndexOfObject(const TObject* Object) const;
    /// Copies the texts and objects of another item list.
    void Assign(const TPersistent* Source) override;

private:
    struct TItem {
        std::string Text;
        TObject* Object = nullptr;
    };
    void CheckIndex(int Index) const;
    void Changed(TListItemsChange Change, int Index) {
        if (FChanged) FChanged(Change, Index);
    }
    std::vector<TItem> FItems;
    TChangeHook FChanged;
};

} // namespace Platform
