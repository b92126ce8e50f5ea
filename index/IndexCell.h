#pragma once
// A per-layer quadtree over the bounding boxes of the layer's objects. Ids are
// positions in the layer's object list. A cell divides into up to four
// quadrant cells while it holds more than MinObjectCountPerCell ids and its
// Level is below MaxCellLevel; cells made by division inherit MaxCellLevel,
// so the depth set on the root bounds the whole tree.

#include "../core/ChartixExport.h"
#include "../objects/Bounds.h"
#include "CardinalArray.h"

#include <memory>
#include <string>
#include <vector>

namespace Mapobjects {

class TMapLayer;
class TIndexSummary;

/// The bounds of a cell: the fields of TBounds, in its order. Made from map
/// bounds or filled in by name; there is deliberately no way to write four
/// numbers in a row, which could be read in the order of either record (the
/// index file keeps its own order, written field by field).
struct CHARTIX_EXPORT TCellBounds {
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    double MaxY = EmptyMax;

    TCellBounds() = default;
    explicit TCellBounds(const TBounds& B)
        : MinX(B.MinX), MinY(B.MinY), MaxX(B.MaxX), MaxY(B.MaxY) {}
};

CHARTIX_EXPORT TCellBounds Bounds2CellBounds(const TBounds& B);

class CHARTIX_EXPORT TIndexCell : public Platform::TObject {
public:
    explicit TIndexCell(TMapLayer* Layer);
    explicit TIndexCell(TIndexCell* Parent);
    /// Takes a copy of Ids, then divides.
    TIndexCell(TIndexCell* Parent, const TCellBounds& Bounds, const TCardinalArray& Ids);
    ~TIndexCell() override;
    TIndexCell(const TIndexCell&) = delete;
    TIndexCell& operator=(const TIndexCell&) = delete;

    TMapLayer* Layer() const { return FLayer; }
    /// Binds the index to a layer; an unbuilt index is then read from the
    /// layer's ".idx" file or built from its objects.
    void SetLayer(TMapLayer* Layer);
    TIndexCell* Parent() const { return FParent; }
    void SetParent(TIndexCell* V) { FParent = V; }
    TCardinalArray& Ids() { return FIds; }
    const TCardinalArray& Ids() const { return FIds; }
    int Level() const { return FLevel; }
    void SetLevel(int V) { FLevel = V; }
    int MinObjectCountPerCell() const { return FMinObjectCountPerCell; }
    void SetMinObjectCountPerCell(int V) { FMinObjectCountPerCell = V; }
    int MaxCellLevel() const { return FMaxCellLevel; }
    void SetMaxCellLevel(int V) { FMaxCellLevel = V; }
    bool NotBuilt() const { return FNotBuilt; }
    const TCellBounds& Bounds() const { return FBounds; }
    void SetBounds(const TCellBounds& B) { FBounds = B; }
    int GetCount() const { return static_cast<int>(FCells.size()); }
    TIndexCell* GetCell(int Index) const;

    void InitRootCell();
    void ResetBounds();
    void UpdateBounds(const TCellBounds& B);
    void Divide();
    void AddChildCell(TIndexCell* Cell); ///< takes ownership
    void Clear();
    bool ContainsPoint(double X, double Y) const;
    bool ContainsRect(const TCellBounds& B) const;
    /// The ids of this cell whose objects belong to B: those with a point in B,
    /// or whose bounding box overlaps B, or that contain B (and those without
    /// points). Ids not below the layer's object count are skipped.
    bool GetIdsByBounds(const TCellBounds& B, TCardinalArray& Ids) const;
    bool GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids) const;
    bool GetIdsInRect(const TIndexCell* Root, const TIndexCell* Cell, const TCellBounds& B,
                      TCardinalArray& Ids) const;
    bool GetAllIdsAtPoint(double X, double Y, TCardinalArray& Ids) const;
    bool GetIdsAtPoint(const TIndexCell* Root, const TIndexCell* Cell, double X, double Y,
                       TCardinalArray& Ids) const;

    /// Index files: "Chartix Index File" then the cells depth first. Loading
    /// answers false for a missing file or another header, and raises
    /// EReadError for a file that ends inside a record or holds absurd counts.
    bool LoadFromToFile(const std::string& FileName);
    bool SaveToFile(const std::string& FileName) const;

private:
    /// Division below a cell reuses what was gathered about the objects once.
    TIndexCell(TIndexCell* Parent, const TCellBounds& Bounds, const TCardinalArray& Ids,
               const TIndexSummary& Summary);
    bool MayDivide() const;
    void Divide(const TIndexSummary& Summary);

    TMapLayer* FLayer = nullptr;
    TIndexCell* FParent = nullptr;
    TCardinalArray FIds;
    int FLevel = 0;
    int FMinObjectCountPerCell = 5;
    int FMaxCellLevel = 5;
    bool FNotBuilt = true;
    TCellBounds FBounds;
    std::vector<std::unique_ptr<TIndexCell>> FCells;
};

} // namespace Mapobjects
