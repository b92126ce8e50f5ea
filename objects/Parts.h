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

struct CHARTIX_EXPORT TMapPoint {
    double X = 0;
    double Y = 0;
    /// Widens the bounds kept by Points by this point.
    void UpdateBounds(TMapPoints& Points) const;
};

using TAddPointEvent = std::function<void(double X, double Y, double Z)>;

/// Who TMapPoints::Add tells of each new point, one pointer wide: nobody, a
/// function (owned here), or the part collection of the list, which is how
/// every part's list reports without a function object of its own.
class CHARTIX_EXPORT TAddPointHandler {
public:
    TAddPointHandler() = default;
    ~TAddPointHandler() { Reset(); }
    TAddPointHandler(const TAddPointHandler&) = delete;
    TAddPointHandler& operator=(const TAddPointHandler&) = delete;
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
    TAddPointHandler& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }
    explicit operator bool() const { return FBits != 0; }
    inline void operator()(double X, double Y, double Z) const;

private:
    friend class TPart;
    /// Reports to Parts, which the handler does not own.
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

    std::uintptr_t FBits = 0; ///< TAddPointEvent*, or TParts* with the low bit set
};

class CHARTIX_EXPORT TMapPoints : public Platform::TObject {
public:
    double MaxY = EmptyMax;
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    TAddPointHandler OnAddPoint;

    int Count() const { return static_cast<int>(FPoints.size()); }
    TMapPoint& Add(double X, double Y);
    TMapPoint& Add(const TMapPoint& Point) { return Add(Point.X, Point.Y); }
    TMapPoint& GetPoint(int Index); ///< EListError outside 0..Count-1
    const TMapPoint& GetPoint(int Index) const;
    TMapPoint& operator[](int Index) { return GetPoint(Index); }
    /// Removes a point; bounds are left as they are (they only ever widen).
    void Delete(int Index);
    void Clear() { FPoints.clear(); }
    /// Room for Count points without reallocation (readers know the counts).
    void Reserve(int Count) { FPoints.reserve(static_cast<size_t>(Count)); }
    void ShrinkToFit() { FPoints.shrink_to_fit(); }
    const TMapPoint* Data() const { return FPoints.data(); }
    auto begin() { return FPoints.begin(); }
    auto end() { return FPoints.end(); }
    auto begin() const { return FPoints.begin(); }
    auto end() const { return FPoints.end(); }
    size_t MemoryUsed() const { return sizeof(*this) + FPoints.capacity() * sizeof(TMapPoint); }

private:
    std::vector<TMapPoint> FPoints;
};

class CHARTIX_EXPORT TPart : public Platform::TCollectionItem {
public:
    explicit TPart(Platform::TCollection* Collection);
    TMapPoints& Points() { return FPoints; }
    const TMapPoints& Points() const { return FPoints; }
    /// Replaces the point list's contents with those of Points (null: an empty
    /// list). The new points' OnAddPoint is kept, so the collection no longer
    /// hears of added points; the old contents are handed back, disconnected.
    std::unique_ptr<TMapPoints> SetPoints(std::unique_ptr<TMapPoints> Points);
    /// A real copy: the points of Source (a TPart), added through this part's
    /// list so the collection's bounds follow.
    void Assign(const Platform::TPersistent* Source) override;

private:
    TMapPoints FPoints; ///< in the part itself: one heap block less per part
};

class CHARTIX_EXPORT TParts : public Platform::TCollectionOf<TPart> {
public:
    double MaxY = EmptyMax;
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;

    TPart* GetFirst() const { return Items(0); }
    TPart* GetLast() const { return Items(Count() - 1); }
    void SetItems(int Index, const TPart* Part) { SetItem(Index, Part); }
    void SetFirst(const TPart* Part) { SetItem(0, Part); }
    void SetLast(const TPart* Part) { SetItem(Count() - 1, Part); }
    /// The handler every part's point list calls on each added point.
    void AddPoint(double X, double Y, double Z);
    void ResetBounds();
    TBounds Bounds() const { return TBounds{MinX, MinY, MaxX, MaxY}; }
    /// Total number of points of all parts.
    int PointCount() const;
};

void TAddPointHandler::operator()(double X, double Y, double Z) const {
    if (TParts* Parts = Collection())
        Parts->AddPoint(X, Y, Z);
    else if (FBits)
        (*reinterpret_cast<TAddPointEvent*>(FBits))(X, Y, Z);
}

} // namespace Mapobjects
