#pragma once
// Geometry of a map object: a collection of parts, each an ordered list of
// map points. Bounds widen as points are added, at constant cost, so readers
// of an extent never scan points.
//
// Points are stored by value, 16 bytes each, in one contiguous block per part;
// Add and GetPoint hand out references into that block, valid until the next
// Add to the same list (as with a std::vector).

#include "objects/Bounds.h"
#include "platform/Classes.h"

#include <functional>
#include <memory>
#include <vector>

namespace Mapobjects {

class TMapPoints;

struct TMapPoint {
    double X = 0;
    double Y = 0;
    // Widens the bounds kept by Points by this point.
    void UpdateBounds(TMapPoints& Points) const;
};

using TAddPointEvent = std::function<void(double X, double Y, double Z)>;

class TMapPoints : public Platform::TObject {
public:
    double MaxY = EmptyMax;
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    TAddPointEvent OnAddPoint;

    int Count() const { return static_cast<int>(FPoints.size()); }
    TMapPoint& Add(double X, double Y);
    TMapPoint& Add(const TMapPoint& Point) { return Add(Point.X, Point.Y); }
    TMapPoint& GetPoint(int Index); // EListError outside 0..Count-1
    const TMapPoint& GetPoint(int Index) const;
    TMapPoint& operator[](int Index) { return GetPoint(Index); }
    // Removes a point; bounds are left as they are (they only ever widen).
    void Delete(int Index);
    void Clear() { FPoints.clear(); }
    // Room for Count points without reallocation (readers know the counts).
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

class TParts;

class TPart : public Platform::TCollectionItem {
public:
    explicit TPart(Platform::TCollection* Collection);
    TMapPoints& Points() { return *FPoints; }
    const TMapPoints& Points() const { return *FPoints; }
    // Replaces the point list. The new list's OnAddPoint is not connected, and
    // the old list is handed back rather than freed.
    std::unique_ptr<TMapPoints> SetPoints(std::unique_ptr<TMapPoints> Points);
    // A real copy: the points of Source (a TPart), added through this part's
    // list so the collection's bounds follow.
    void Assign(const Platform::TPersistent* Source) override;

private:
    std::unique_ptr<TMapPoints> FPoints;
};

class TParts : public Platform::TCollectionOf<TPart> {
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
    // The handler every part's point list calls on each added point.
    void AddPoint(double X, double Y, double Z);
    void ResetBounds();
    TBounds Bounds() const { return TBounds{MinX, MinY, MaxX, MaxY}; }
    // Total number of points of all parts.
    int PointCount() const;
};

} // namespace Mapobjects
