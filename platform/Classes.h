#pragma once
// The framework's object model: persistent objects with Assign, owner trees of
// components, pointer lists and owned collections with the framework's index
// errors, and event types.

#include "PlatformExport.h"
#include "SysUtils.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

/// Root of the framework's class tree: a virtual destructor and the class name.
class CHARTIX_PLATFORM_EXPORT TObject {
public:
    virtual ~TObject() = default;
    /// The class name without namespace, used in assignment error messages.
    virtual std::string ClassName() const;
};

/// An event handler that takes only the object that fired it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

[[noreturn]] CHARTIX_PLATFORM_EXPORT void
ListIndexError(int Index); ///< raises EListError "List index out of bounds (%d)"

/// Puts V in an owning slot and hands the previous object back, the way the
/// object-valued property setters replace what they hold.
template <class T> std::unique_ptr<T> ReplaceOwned(std::unique_ptr<T>& Slot, std::unique_ptr<T> V) {
    std::swap(Slot, V);
    return V;
}

/// An object whose state can be copied from another through Assign.
class CHARTIX_PLATFORM_EXPORT TPersistent : public TObject {
public:
    /// Copies Source into this object: Source.AssignTo(*this) unless overridden.
    virtual void Assign(const TPersistent* Source);
    /// Copies this object into Dest; the default refuses with AssignError.
    virtual void AssignTo(TPersistent* Dest) const;

protected:
    /// Raises EConvertError "Cannot assign a <source> to a <this>".
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

/// What a list tells its descendants of an item: it came in; it left and
/// was freed (owning lists) or just left (plain lists); it was handed out.
enum TListNotification { lnAdded, lnDeleted, lnExtracted };

/// Pointer list that owns nothing; owning lists are TOwnerList.
template <class T> class TList : public TObject {
public:
    /// The number of items.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// The item at Index; EListError when Index is out of range.
    T* Get(int Index) const {
        CheckIndex(Index);
        return FItems[static_cast<size_t>(Index)];
    }
    /// Replaces the item at Index, reporting the old one deleted and the new one added.
    void Put(int Index, T* Item) {
        CheckIndex(Index);
        T* Old = FItems[static_cast<size_t>(Index)];
        FItems[static_cast<size_t>(Index)] = Item;
        Notify(Old, lnDeleted);
        Notify(Item, lnAdded);
    }
    /// The item at Index, as Get.
    T* operator[](int Index) const { return Get(Index); }
    /// Appends Item and returns its index.
    int Add(T* Item) {
        FItems.push_back(Item);
        Notify(Item, lnAdded);
        return Count() - 1;
    }
    /// Inserts Item before Index (Count appends); EListError when out of range.
    void Insert(int Index, T* Item) {
        if (Index < 0 || Index > Count()) ListIndexError(Index);
        FItems.insert(FItems.begin() + Index, Item);
        Notify(Item, lnAdded);
    }
    /// Removes the item at Index (it is not freed: the list owns nothing).
    void Delete(int Index) {
        CheckIndex(Index);
        T* Item = FItems[static_cast<size_t>(Index)];
        FItems.erase(FItems.begin() + Index);
        Notify(Item, lnDeleted);
    }
    /// Removes the first occurrence; returns its former index or -1.
    int Remove(T* Item) {
        int I = IndexOf(Item);
        if (I >= 0) Delete(I);
        return I;
    }
    /// The index of the first occurrence of Item, or -1.
    int IndexOf(const T* Item) const {
        auto It = std::find(FItems.begin(), FItems.end(), Item);
        return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
    }
    /// Searches from the end: cheap for items added last.
    int LastIndexOf(const T* Item) const {
        for (size_t I = FItems.size(); I-- > 0;)
            if (FItems[I] == Item) return static_cast<int>(I);
        return -1;
    }
    /// Empties the list, then reports every former item deleted.
    virtual void Clear() {
        std::vector<T*> Items;
        Items.swap(FItems);
        for (T* Item : Items)
            Notify(Item, lnDeleted);
    }
    /// Moves the item at CurIndex to NewIndex, shifting the ones in between.
    void Move(int CurIndex, int NewIndex) {
        if (CurIndex == NewIndex) return;
        CheckIndex(CurIndex);
        CheckIndex(NewIndex);
        T* Item = FItems[static_cast<size_t>(CurIndex)];
        FItems.erase(FItems.begin() + CurIndex);
        FItems.insert(FItems.begin() + NewIndex, Item);
    }
    /// Swaps the items at Index1 and Index2.
    void Exchange(int Index1, int Index2) {
        CheckIndex(Index1);
        CheckIndex(Index2);
        std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
    }
    /// The first item; EListError when the list is empty.
    T* First() const { return Get(0); }
    /// The last item; EListError when the list is empty.
    T* Last() const { return Get(Count() - 1); }
    /// Iteration over the item pointers: the first.
    auto begin() const { return FItems.begin(); }
    /// Iteration over the item pointers: past the last.
    auto end() const { return FItems.end(); }

protected:
    /// Every item that enters or leaves the list passes here (moves do not).
    virtual void Notify(T* Item, TListNotification Action) {}
    /// Raises EListError unless Index is a valid item index.
    void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count()) ListIndexError(Index);
    }
    /// The items in order.
    std::vector<T*> FItems;
};

/// A list that owns its items. Every way in takes ownership and every way out
/// either frees the item or hands it over, so nothing it held is left without
/// an owner or freed twice. An item leaves the list before it is freed, so
/// whatever runs while it goes sees only items that are still whole.
template <class T> class TOwnerList : public TObject {
public:
    TOwnerList() = default;
    TOwnerList(const TOwnerList&) = delete;
    TOwnerList& operator=(const TOwnerList&) = delete;
    ~TOwnerList() override { FreeAll(); }

    /// The number of items.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// The item at Index, still owned by the list; EListError when out of range.
    T* Get(int Index) const {
        CheckIndex(Index);
        return FItems[static_cast<size_t>(Index)].get();
    }
    /// The item at Index, as Get.
    T* operator[](int Index) const { return Get(Index); }
    /// The first item; EListError when the list is empty.
    T* First() const { return Get(0); }
    /// The last item; EListError when the list is empty.
    T* Last() const { return Get(Count() - 1); }
    /// The index of Item, or -1 when the list does not hold it.
    int IndexOf(const T* Item) const {
        for (size_t I = 0; I < FItems.size(); ++I)
            if (FItems[I].get() == Item) return static_cast<int>(I);
        return -1;
    }

    /// Appends Item, takes ownership of it and returns it.
    T* Add(std::unique_ptr<T> Item) {
        T* Raw = Item.get();
        FItems.push_back(std::move(Item));
        Notify(Raw, lnAdded);
        return Raw;
    }
    /// Inserts Item before Index (Count appends), takes ownership and returns it.
    T* Insert(int Index, std::unique_ptr<T> Item) {
        if (Index < 0 || Index > Count()) ListIndexError(Index);
        T* Raw = Item.get();
        FItems.insert(FItems.begin() + Index, std::move(Item));
        Notify(Raw, lnAdded);
        return Raw;
    }
    /// Puts Item at Index and hands the item that was there to the caller.
    std::unique_ptr<T> Put(int Index, std::unique_ptr<T> Item) {
        CheckIndex(Index);
        T* Raw = Item.get();
        std::swap(FItems[static_cast<size_t>(Index)], Item);
        Notify(Item.get(), lnExtracted);
        Notify(Raw, lnAdded);
        return Item;
    }
    /// Takes the item at Index out of the list and hands it to the caller.
    std::unique_ptr<T> Extract(int Index) {
        CheckIndex(Index);
        std::unique_ptr<T> Item = std::move(FItems[static_cast<size_t>(Index)]);
        FItems.erase(FItems.begin() + Index);
        Notify(Item.get(), lnExtracted);
        return Item;
    }
    /// Frees the item at Index.
    void Delete(int Index) {
        std::unique_ptr<T> Item = TakeOut(Index);
        Notify(Item.get(), lnDeleted);
    }
    /// Frees every item, the first first.
    virtual void Clear() { FreeAll(); }
    /// Moves the item at CurIndex to NewIndex, shifting the ones in between.
    void Move(int CurIndex, int NewIndex) {
        if (CurIndex == NewIndex) return;
        CheckIndex(CurIndex);
        CheckIndex(NewIndex);
        std::unique_ptr<T> Item = std::move(FItems[static_cast<size_t>(CurIndex)]);
        FItems.erase(FItems.begin() + CurIndex);
        FItems.insert(FItems.begin() + NewIndex, std::move(Item));
    }
    /// Swaps the items at Index1 and Index2.
    void Exchange(int Index1, int Index2) {
        CheckIndex(Index1);
        CheckIndex(Index2);
        std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
    }

    /// Iteration yields plain pointers; the list keeps the items.
    class const_iterator {
    public:
        /// Standard iterator traits: a forward iterator over T* values.
        ///@{
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T*;
        ///@}
        const_iterator() = default;
        /// An iterator at the given position of the list's storage.
        explicit const_iterator(typename std::vector<std::unique_ptr<T>>::const_iterator It)
            : FIt(It) {}
        /// The item at the current position.
        T* operator*() const { return FIt->get(); }
        /// Advances to the next item.
        ///@{
        const_iterator& operator++() {
            ++FIt;
            return *this;
        }
        const_iterator operator++(int) {
            ///@}
            const_iterator Old = *this;
            ++FIt;
            return Old;
        }
        /// True when both iterators are at the same position.
        bool operator==(const const_iterator& Other) const { return FIt == Other.FIt; }

    private:
        typename std::vector<std::unique_ptr<T>>::const_iterator FIt;
    };
    /// Iteration over the items, as plain pointers: the first.
    const_iterator begin() const { return const_iterator(FItems.begin()); }
    /// Iteration over the items: past the last.
    const_iterator end() const { return const_iterator(FItems.end()); }

protected:
    /// Every item that enters or leaves the list passes here (moves do not);
    /// with lnDeleted it is out of the list and about to be freed.
    virtual void Notify(T* Item, TListNotification Action) {}
    /// Raises EListError unless Index is a valid item index.
    void CheckIndex(int Index) const {
        if (Index < 0 || Index >= Count()) ListIndexError(Index);
    }

private:
    std::unique_ptr<T> TakeOut(int Index) {
        CheckIndex(Index);
        std::unique_ptr<T> Item = std::move(FItems[static_cast<size_t>(Index)]);
        FItems.erase(FItems.begin() + Index);
        return Item;
    }
    // Item by item from the front: the list never holds a freed item.
    void FreeAll() {
        while (!FItems.empty()) {
            std::unique_ptr<T> Item = TakeOut(0);
            Notify(Item.get(), lnDeleted);
        }
    }

    std::vector<std::unique_ptr<T>> FItems;
};

class TCollection;

/// An item of an owned collection; it knows its collection and its index.
class CHARTIX_PLATFORM_EXPORT TCollectionItem : public TPersistent {
public:
    /// An item of Collection; the collection adds it through its factory.
    explicit TCollectionItem(TCollection* Collection) : FCollection(Collection) {}
    /// The collection the item belongs to.
    TCollection* Collection() const { return FCollection; }
    /// The item's position in its collection, or -1 when it has none.
    int Index() const;

private:
    friend class TCollection;
    TCollection* FCollection;
};

/// Owned list of items of one class, created through a factory.
class CHARTIX_PLATFORM_EXPORT TCollection : public TPersistent {
public:
    /// A plain function: a collection is made per map object, and what makes
    /// an item is its class alone.
    using TItemFactory = TCollectionItem* (*)(TCollection*);
    /// An empty collection that makes its items with Factory.
    explicit TCollection(TItemFactory Factory) : FFactory(Factory) {}
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    /// The number of items.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// Makes a new item with the factory, appends it and returns it.
    TCollectionItem* AddItem();
    /// Makes a new item and inserts it before Index; EListError when out of range.
    TCollectionItem* InsertItem(int Index);
    TCollectionItem* GetItem(int Index) const; ///< EListError when out of range
    /// The framework's item write: the stored item takes a copy through Assign.
    void SetItem(int Index, const TCollectionItem* Item);
    /// Frees the item at Index; EListError when out of range.
    void Delete(int Index);
    /// Frees every item, the last first.
    virtual void Clear();
    /// The index of Item, or -1 when it is not in this collection.
    int IndexOfItem(const TCollectionItem* Item) const;
    /// Collection copy: clear, then one new item per source item, filled by Assign.
    void Assign(const TPersistent* Source) override;

protected:
    /// The items, owned by the collection.
    std::vector<TCollectionItem*> FItems;

private:
    TItemFactory FFactory;
};

/// Typed view of a collection whose items are all of class T.
template <class T> class TCollectionOf : public TCollection {
public:
    TCollectionOf() : TCollection([](TCollection* C) -> TCollectionItem* { return new T(C); }) {}
    /// Adds a new item and returns it.
    T* Add() { return static_cast<T*>(AddItem()); }
    /// Inserts a new item before Index and returns it.
    T* Insert(int Index) { return static_cast<T*>(InsertItem(Index)); }
    /// The item at Index; EListError when out of range.
    T* Items(int Index) const { return static_cast<T*>(GetItem(Index)); }
    /// The item at Index, as Items.
    T* operator[](int Index) const { return Items(Index); }
};

/// A component lives in an owner tree: the owner frees what it owns.
class CHARTIX_PLATFORM_EXPORT TComponent : public TPersistent {
public:
    /// A component that Owner (when not null) frees with itself.
    explicit TComponent(TComponent* Owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    /// The component that frees this one, or null.
    TComponent* Owner() const { return FOwner; }
    /// The component's name; free text, not checked for uniqueness.
    ///@{
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Name) { FName = Name; }
    ///@}
    /// The number of components this one owns.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    /// The owned component at Index, in creation order; EListError when out of range.
    TComponent* Components(int Index) const;

private:
    TComponent* FOwner;
    std::string FName;
    std::vector<TComponent*> FComponents;
};

/// A list of strings (single-byte, as the files hold them).
class CHARTIX_PLATFORM_EXPORT TStrings : public TPersistent {
public:
    /// The number of lines.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// The line at Index; EListError when out of range.
    const std::string& Get(int Index) const;
    /// Replaces the line at Index; EListError when out of range.
    void Put(int Index, const std::string& S);
    /// The line at Index, as Get.
    const std::string& operator[](int Index) const { return Get(Index); }
    /// Appends S and returns its index.
    int Add(const std::string& S);
    /// Inserts S before Index (Count appends); EListError when out of range.
    void Insert(int Index, const std::string& S);
    /// Removes the line at Index; EListError when out of range.
    void Delete(int Index);
    /// Removes every line.
    virtual void Clear() { FItems.clear(); }
    int IndexOf(std::string_view S) const; ///< case-insensitive, -1 when absent
    std::string Text() const;              ///< lines joined with "\n" line ends
    void SetText(std::string_view Text);   ///< split at CR LF, LF or CR
    /// Loads a text file, splitting at line ends; EFOpenError when it cannot be read.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const; ///< CR LF line ends
    void Assign(const TPersistent* Source) override;
    /// Iteration over the lines.
    ///@{
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    ///@}

protected:
    /// The lines in order.
    std::vector<std::string> FItems;
};

/// The framework's name for a string list; the same class as TStrings.
using TStringList = TStrings;

} // namespace Platform
