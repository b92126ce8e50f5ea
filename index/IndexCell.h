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
    /// The edges of the cell, in map units; a default cell is empty (min above max).
    ///@{
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    double MaxY = EmptyMax;
    ///@}

    TCellBounds() = default;
    /// Copies the edges of the map bounds B, field by field.
    explicit TCellBounds(const TBounds& B)
        : MinX(B.MinX), MinY(B.MinY), MaxX(B.MaxX), MaxY(B.MaxY) {}
};

/// The cell bounds with the edges of the map bounds B.
CHARTIX_EXPORT TCellBounds Bounds2CellBounds(const TBounds& B);

/// A cell of a layer's quadtree index; the root cell is the index, and answers which
/// objects (by position in the layer) may lie in a rectangle or at a point.
class CHARTIX_EXPORT TIndexCell : public Platform::TObject {
public:
    /// A root cell for Layer, loaded from or built over it at once (see SetLayer).
    explicit TIndexCell(TMapLayer* Layer);
    /// An empty cell one level below Parent, sharing its layer and MaxCellLevel; Parent
    /// may be null. The cell does not add itself to Parent's children.
    explicit TIndexCell(TIndexCell* Parent);
    /// Takes a copy of Ids, then divides.
    TIndexCell(TIndexCell* Parent, const TCellBounds& Bounds, const TCardinalArray& Ids);
    ~TIndexCell() override;
    TIndexCell(const TIndexCell&) = delete;
    TIndexCell& operator=(const TIndexCell&) = delete;

    /// The layer whose objects the ids refer to; may be null.
    TMapLayer* Layer() const { return FLayer; }
    /// Binds the index to a layer; an unbuilt index is then read from the
    /// layer's ".idx" file or built from its objects.
    void SetLayer(TMapLayer* Layer);
    /// The cell this one was made under (not owned); null for a root. Cells read from a
    /// file all name the root as their parent.
    ///@{
    TIndexCell* Parent() const { return FParent; }
    void SetParent(TIndexCell* V) { FParent = V; }
    ///@}
    /// The ids held by this cell: positions in the layer's object list. Only leaves keep
    /// ids; a cell that divides hands them to its children and is left empty.
    ///@{
    TCardinalArray& Ids() { return FIds; }
    const TCardinalArray& Ids() const { return FIds; }
    ///@}
    /// The depth of the cell, 0 for a root.
    ///@{
    int Level() const { return FLevel; }
    void SetLevel(int V) { FLevel = V; }
    ///@}
    /// A cell divides only while it holds more ids than this (5 by default; cells made
    /// by division start at 5 again, whatever the root's value).
    ///@{
    int MinObjectCountPerCell() const { return FMinObjectCountPerCell; }
    void SetMinObjectCountPerCell(int V) { FMinObjectCountPerCell = V; }
    ///@}
    /// The level at which division stops (5 by default); cells made by division inherit
    /// it, so the value on the root bounds the depth of the whole tree.
    ///@{
    int MaxCellLevel() const { return FMaxCellLevel; }
    void SetMaxCellLevel(int V) { FMaxCellLevel = V; }
    ///@}
    /// True until the cell has divided or been loaded from a file, and again after Clear.
    bool NotBuilt() const { return FNotBuilt; }
    /// The area the cell covers, in map units.
    ///@{
    const TCellBounds& Bounds() const { return FBounds; }
    void SetBounds(const TCellBounds& B) { FBounds = B; }
    ///@}
    /// The number of child cells (0 to 4 after division; 0 for a leaf).
    int GetCount() const { return static_cast<int>(FCells.size()); }
    /// The child cell at Index; EListError outside 0..GetCount()-1.
    TIndexCell* GetCell(int Index) const;

    /// Fills the cell with the ids of all the layer's objects and sets its bounds to
    /// their joint extent; does nothing without a layer. Does not divide.
    void InitRootCell();
    /// Sets the bounds to an inverted box (min +2147483647, max -2147483647), ready
    /// for UpdateBounds.
    void ResetBounds();
    /// Widens the bounds to take in B.
    void UpdateBounds(const TCellBounds& B);
    /// Splits the cell into its four quadrants, recursively, when it holds more than
    /// MinObjectCountPerCell ids and its Level is below MaxCellLevel. Each id goes to every
    /// quadrant its object meets; empty quadrants get no cell. Without a layer the ids
    /// are simply dropped.
    void Divide();
    void AddChildCell(TIndexCell* Cell); ///< Appends a child cell; takes ownership.
    /// Deletes the child cells and the ids, and marks the cell not built. A cell without
    /// children is left as it is.
    void Clear();
    /// Whether (X, Y) lies in the cell's bounds, edges included.
    bool ContainsPoint(double X, double Y) const;
    /// Whether the rectangle B meets the cell: overlaps the cell's bounds or encloses them.
    bool ContainsRect(const TCellBounds& B) const;
    /// The ids of this cell whose objects belong to B: those with a point in B,
    /// or whose bounding box overlaps B, or that contain B (and those without
    /// points). Ids not below the layer's object count are skipped.
    bool GetIdsByBounds(const TCellBounds& B, TCardinalArray& Ids) const;
    /// Replaces Ids with the ids of the leaves under this cell that meet B, each once;
    /// false when there are none. These are candidates: test the objects themselves.
    bool GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids) const;
    /// Appends to Ids the ids of the leaves under Cell that meet B and are not in Ids
    /// yet; false when Ids is still empty. Root is not used.
    bool GetIdsInRect(const TIndexCell* Root, const TIndexCell* Cell, const TCellBounds& B,
                      TCardinalArray& Ids) const;
    /// Replaces Ids with the ids of the leaves whose bounds hold (X, Y); false when there
    /// are none. An id may come twice when the point lies on an edge between cells.
    bool GetAllIdsAtPoint(double X, double Y, TCardinalArray& Ids) const;
    /// Appends to Ids, without a duplicate test, the ids of the leaves under Cell whose
    /// bounds hold (X, Y); false when Ids is still empty. Root is not used.
    bool GetIdsAtPoint(const TIndexCell* Root, const TIndexCell* Cell, double X, double Y,
                       TCardinalArray& Ids) const;

    /// Replaces the tree with the one in an index file ("Chartix Index File", then the
    /// cells depth first). Answers false for a missing file or another header, and
    /// raises EReadError for a file that ends inside a record or holds absurd counts.
    bool LoadFromToFile(const std::string& FileName);
    /// Writes the tree as an index file, overwriting FileName; returns true, or raises
    /// EFCreateError or EInOutError when the file cannot be created or written.
    bool SaveToFile(const std::string& FileName) const;

private:
    // Division below a cell reuses what was gathered about the objects once.
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
