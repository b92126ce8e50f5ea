#pragma once
// The layer control: a list with one row per layer of a map, four switches
// per row (visible, selectable, editable, auto-label) toggled by a click,
// rows dragged by their names to reorder the layers, and Delete to delete the
// current layer (OnQueryDeleteLayer may keep it). Only the left button drags
// a row. It follows the map through its data link.

#include "../core/ChartixExport.h"
#include "../core/DataLinks.h"
#include "../platform/Bitmap.h"
#include "../platform/ListBox.h"

#include <array>
#include <functional>
#include <memory>

namespace Mapobjects {

class TChartix;
class TMapLayer;
class TLayerControl;

/// The layer control's link to its map: adds and removes rows as layers come and go and
/// redraws a row when one of its layer's switches changes.
class CHARTIX_EXPORT TLayerControlDataLink : public TMapDataLink {
public:
    /// The control the link updates; null detaches it from the control.
    ///@{
    TLayerControl* LayerControl() const { return FLayerControl; }
    void SetLayerControl(TLayerControl* V) { FLayerControl = V; }
    ///@}
    /// Adds a row for a layer added, removes the deleted layer's row, repaints when layers
    /// move, and redraws a layer's row when one of its switches changes.
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TLayerControl* FLayerControl = nullptr;
    int FDeletedRow = -1; // the row of the layer being deleted, between the two notices
};

/// Asked before the Delete key deletes Layer; clearing CanDelete keeps it.
using TQueryDeleteLayerEvent =
    std::function<void(Platform::TObject* Sender, TMapLayer* Layer, bool& CanDelete)>;

/// A list with one row per layer of a map and four switches per row (visible, selectable,
/// editable, auto-label); rows are dragged by their names to reorder the layers.
class CHARTIX_EXPORT TLayerControl : public Platform::TCustomListBox {
public:
    /// Creates an owner-drawn list of 15-pixel rows attached to no map.
    explicit TLayerControl(Platform::TComponent* Owner);
    /// Detaches the link from the control and from the map.
    ~TLayerControl() override;

    /// The observed map: the data link's, so it is gone as soon as the map is.
    TChartix* Map() const { return FDataLink->Map(); }
    /// Attaches to a map; null is ignored. Rows come with the layers added
    /// from now on.
    void SetMap(TChartix* Value);
    /// Adds rows for the layers the map had before it was attached, so that
    /// every layer has its row.
    void AddRowsForExistingLayers();
    /// The control's link to the map; owned by the control.
    TLayerControlDataLink* DataLink() const { return FDataLink.get(); }

    /// The layer of the current row; null when there is none.
    TMapLayer* GetCurrentLayer() const;
    /// The row pressed on its name (being dragged), -1 for none.
    ///@{
    int CurIndex() const { return FCurIndex; }
    void SetCurIndex(int V) { FCurIndex = V; }
    ///@}
    /// Whether the dragged row is shown in its drag colour: the pointer has left it with
    /// the left button held.
    bool DragMarked() const { return FDragMarked; }
    /// Switches drawn as pictures (true) or as flat check and radio boxes.
    ///@{
    bool Glyphs() const { return FGlyphs; }
    void SetGlyphs(bool V);
    ///@}
    /// Dotted vertical lines at the switches' left edges; off by default.
    ///@{
    bool DrawVertLines() const { return FDrawVertLines; }
    void SetDrawVertLines(bool V);
    ///@}
    /// Dotted horizontal lines under the rows; on by default.
    ///@{
    bool DrawHorzLines() const { return FDrawHorzLines; }
    void SetDrawHorzLines(bool V);
    ///@}
    /// Switch picture Index (see MakeIndicator), owned by the control.
    Platform::TBitmap* GetIndicators(int Index) const; ///< EListError outside 0..7

    /// Row Index's parts, in client pixels: the four switches (left to right), the name,
    /// and the switch area as a whole.
    ///@{
    Platform::TRect GetVisibleRect(int Index) const;
    Platform::TRect GetSelectableRect(int Index) const;
    Platform::TRect GetEditableRect(int Index) const;
    Platform::TRect GetAutolabelRect(int Index) const;
    Platform::TRect GetNameRect(int Index) const;
    Platform::TRect GetIndicatorRect(int Index) const;
    ///@}

    /// A press on a switch toggles it; a left press on a name starts dragging that row.
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    /// While the left button drags a row away from itself, shows the drag cursor and the
    /// row in its drag colour.
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    /// The left button's release moves the dragged row's layer to the current row's place.
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    /// Delete deletes the current row's layer, unless OnQueryDeleteLayer keeps it.
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;

    /// Draws row Index at once on the window, outside a paint.
    void RedrawRow(int Index, Platform::TOwnerDrawState State);
    /// Draws one row on the canvas: switch area, colours, switches, name,
    /// dotted lines, focus rectangle.
    void DrawItem(int Index, const Platform::TRect& Rect, Platform::TOwnerDrawState State) override;

    /// Unassigned, Delete deletes the current layer at once.
    TQueryDeleteLayerEvent OnQueryDeleteLayer;

protected:
    /// The list's state of row Index, plus odChecked for a row shown in its drag colour.
    Platform::TOwnerDrawState ItemState(int Index) const override;
    /// Repaints the whole control after a resize (the switches stand at the right edge).
    void Resize() override;

private:
    TMapLayer* LayerAt(int Row) const;
    // Switch 0..3 (visible, selectable, editable, auto-label) of row Index.
    Platform::TRect SwitchRect(int Index, int Switch) const;

    std::unique_ptr<TLayerControlDataLink> FDataLink;
    int FCurIndex = -1;
    bool FDragMarked = false;
    bool FGlyphs = true;
    std::array<std::unique_ptr<Platform::TBitmap>, 8> FIndicators;
    bool FDrawVertLines = false;
    bool FDrawHorzLines = true;
};

} // namespace Mapobjects
