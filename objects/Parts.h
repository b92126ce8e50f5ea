#pragma once
// Geometry of a map object: a collection of parts, each an ordered list of
// map points. Bounds widen as points are added, at constant cost, so readers
// of an extent never scan points.
//
// Points are stored by value, 16 bytes each, in one contiguous block per part;
// Add and GetPoint hand out references into that block, valid until the next
// Add to the same list (as with a std::vector).

#include "../core/ChartixExport.h"
#include "../platform/Classes.h"
#include "Bounds.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace Mapobjects {

class TMapPoints;
class TPart;
class TParts;
class TDetailLevels;

/// A point in map units.
struct CHARTIX_EXPORT TMapPoint {
    /// The coordinates, in map units.
    ///@{
    double X = 0;
    double Y = 0;
    ///@}
    /// Widens the bounds kept by Points by this point.
    void UpdateBounds(TMapPoints& Points) const;
};

/// Told of each point added to a point list: its coordinates, Z always 0.
using TAddPointEvent = std::function<void(double X, double Y, double Z)>;

/// Who TMapPoints::Add tells of each new point, one pointer wide: nobody, a
/// function (owned here), or the part collection of the list, which is how
/// every part's list reports without a function object of its own.
class CHARTIX_EXPORT TAddPointHandler {
public:
    /// A handler that tells nobody.
    TAddPointHandler() = default;
    /// Frees the function held, if any.
    ~TAddPointHandler() { Reset(); }
    TAddPointHandler(const TAddPointHandler&) = delete;
    TAddPointHandler& operator=(const TAddPointHandler&) = delete;
    /// Takes over whoever Other tells; Other is left telling nobody.
    ///@{
    TAddPointHandler(TAddPointHandler&& Other) noexcept : FBits(std::exchange(Other.FBits, 0)) {}
    TAddPointHandler& operator=(TAddPointHandler&& Other) noexcept {
        if (this != &Other) {
            Reset();
            FBits = std::exchange(Other.FBits, 0);
        }
        return *this;
    }
    /// Takes a function in place of whoever was told; an empty one leaves nobody.
    TAddPointHandler& operator=(TAddPointEvent Fn) {
        Reset();
        if (Fn) FBits = reinterpret_cast<std::uintptr_t>(new TAddPointEvent(std::move(Fn)));
        return *this;
    }
    /// Leaves nobody to be told.
    TAddPointHandler& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }
    /// Whether anybody is told.
    explicit operator bool() const { return FBits != 0; }
    /// Tells the function or the part collection of a point; nothing when nobody is told.
    inline void operator()(double X, double Y, double Z) const;

private:
    friend class TPart;
    friend class TMapPoints;
    // Reports to Parts, which the handler does not own.
    void Connect(TParts* Parts) {
        Reset();
        FBits = reinterpret_cast<std::uintptr_t>(Parts) | 1;
    }
    TParts* Collection() const {
        return (FBits & 1) ? reinterpret_cast<TParts*>(FBits & ~std::uintptr_t(1)) : nullptr;
    }
    void Reset() {
        if (FBits && !(FBits & 1)) delete reinterpret_cast<TAddPointEvent*>(FBits);
        FBits = 0;
    }

    std::uintptr_t FBits = 0; // TAddPointEvent*, or TParts* with the low bit set
};

/// The ordered points of one part, stored by value, with bounds that widen as points are
/// added.
class CHARTIX_EXPORT TMapPoints : public Platform::TObject {
public:
    /// The extent of the points added so far, in map units; Delete and Clear leave it as it
    /// is.
    ///@{
    double MaxY = EmptyMax;
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    ///@}
    /// Told of each point Add appends; a part's list tells its part collection.
    TAddPointHandler OnAddPoint;

    /// The number of points.
    int Count() const { return static_cast<int>(FPoints.size()); }
    /// Appends a point, widens the bounds, tells OnAddPoint and returns the stored point.
    ///@{
    TMapPoint& Add(double X, double Y);
    TMapPoint& Add(const TMapPoint& Point) { return Add(Point.X, Point.Y); }
    ///@}
    /// The point at Index; EListError outside 0..Count-1. The writable form counts as a
    /// change of the points (see TParts::Changed).
    ///@{
    TMapPoint& GetPoint(int Index); ///< EListError outside 0..Count-1
    const TMapPoint& GetPoint(int Index) const;
    TMapPoint& operator[](int Index) { return GetPoint(Index); }
    ///@}
    /// Removes a point; bounds are left as they are (they only ever widen).
    void Delete(int Index);
    /// Removes every point; the bounds stay as they are.
    inline void Clear();
    /// Room for Count points without reallocation (readers know the counts).
    void Reserve(int Count) { FPoints.reserve(static_cast<size_t>(Count)); }
    /// Frees the room kept beyond Count points.
    void ShrinkToFit() { FPoints.shrink_to_fit(); }
    /// The contiguous block of Count points.
    const TMapPoint* Data() const { return FPoints.data(); }
    /// Iteration over the points, in order; the writable form counts as a change of the
    /// points (see TParts::Changed).
    ///@{
    inline std::vector<TMapPoint>::iterator begin();
    inline std::vector<TMapPoint>::iterator end();
    auto begin() const { return FPoints.begin(); }
    auto end() const { return FPoints.end(); }
    ///@}
    /// Approximate bytes used by the list and its points.
    size_t MemoryUsed() const { return sizeof(*this) + FPoints.capacity() * sizeof(TMapPoint); }

private:
    friend class TPart;
    // Tells the part collection, if any, that the points may have changed.
    inline void Touched();

    std::vector<TMapPoint> FPoints;
};

/// One part of an object's geometry: an ordered point list.
class CHARTIX_EXPORT TPart : public Platform::TCollectionItem {
public:
    /// Creates an empty part in Collection; in a TParts, its points widen the collection's
    /// bounds as they are added.
    explicit TPart(Platform::TCollection* Collection);
    /// The part's points.
    ///@{
    TMapPoints& Points() { return FPoints; }
    const TMapPoints& Points() const { return FPoints; }
    ///@}
    /// Replaces the point list's contents with those of Points (null: an empty
    /// list). The new points' OnAddPoint is kept, so the collection no longer
    /// hears of added points; the old contents are handed back, disconnected.
    std::unique_ptr<TMapPoints> SetPoints(std::unique_ptr<TMapPoints> Points);
    /// A real copy: the points of Source (a TPart), added through this part's
    /// list so the collection's bounds follow.
    void Assign(const Platform::TPersistent* Source) override;

private:
    TMapPoints FPoints; // in the part itself: one heap block less per part
};

/// The parts of an object's geometry, with the extent of all points added to them.
class CHARTIX_EXPORT TParts : public Platform::TCollectionOf<TPart> {
public:
    /// The extent of all points added to the parts, in map units; widened by AddPoint, emptied
    /// by ResetBounds.
    ///@{
    double MaxY = EmptyMax;
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    ///@}

    /// The first and the last part; EListError when there are none.
    ///@{
    TPart* GetFirst() const { return Items(0); }
    TPart* GetLast() const { return Items(Count() - 1); }
    ///@}
    /// Copies Part's points into the part at Index, the first or the last one (by Assign);
    /// EListError when there is no such part.
    ///@{
    void SetItems(int Index, const TPart* Part) { SetItem(Index, Part); }
    void SetFirst(const TPart* Part) { SetItem(0, Part); }
    void SetLast(const TPart* Part) { SetItem(Count() - 1, Part); }
    ///@}
    /// The handler every part's point list calls on each added point.
    void AddPoint(double X, double Y, double Z);
    /// Empties the extent, so that the next point added sets it.
    void ResetBounds();
    /// The extent as a TBounds.
    TBounds Bounds() const { return TBounds{MinX, MinY, MaxX, MaxY}; }
    /// Total number of points of all parts.
    int PointCount() const;

    /// An empty collection.
    TParts();
    /// Frees the parts and the simplified copies.
    ~TParts() override;
    /// Drops the simplified copies made for drawing (see DetailLevels). Adding, deleting
    /// or writing points through the parts' lists calls it; call it after changing points
    /// through a pointer or reference kept from earlier.
    void Changed() {
        if (FDetail) DropDetail();
    }
    /// The simplified copies drawing uses at small scales, made on first use and made
    /// anew when parts were added or removed or points changed since.
    const TDetailLevels& DetailLevels() const;
    /// Bytes held by the simplified copies (0 until drawing makes them).
    size_t DetailMemoryUsed() const;

private:
    void DropDetail();
    mutable std::unique_ptr<TDetailLevels> FDetail;
};

void TAddPointHandler::operator()(double X, double Y, double Z) const {
    if (TParts* Parts = Collection())
        Parts->AddPoint(X, Y, Z);
    else if (FBits)
        (*reinterpret_cast<TAddPointEvent*>(FBits))(X, Y, Z);
}

void TMapPoints::Touched() {
    if (TParts* Parts = OnAddPoint.Collection()) Parts->Changed();
}

void TMapPoints::Clear() {
    Touched();
    FPoints.clear();
}

std::vector<TMapPoint>::iterator TMapPoints::begin() {
    Touched();
    return FPoints.begin();
}

std::vector<TMapPoint>::iterator TMapPoints::end() {
    return FPoints.end();
}

} // namespace Mapobjects
