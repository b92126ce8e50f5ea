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

class CHARTIX_EXPORT TLayerControlDataLink : public TMapDataLink {
public:
    TLayerControl* LayerControl() const { return FLayerControl; }
    void SetLayerControl(TLayerControl* V) { FLayerControl = V; }
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TLayerControl* FLayerControl = nullptr;
    int FDeletedRow = -1; ///< the row of the layer being deleted, between the two notices
};

/// Asked before the Delete key deletes Layer; clearing CanDelete keeps it.
using TQueryDeleteLayerEvent =
    std::function<void(Platform::TObject* Sender, TMapLayer* Layer, bool& CanDelete)>;

class CHARTIX_EXPORT TLayerControl : public Platform::TCustomListBox {
public:
    explicit TLayerControl(Platform::TComponent* Owner);
    ~TLayerControl() override;

    /// The observed map: the data link's, so it is gone as soon as the map is.
    TChartix* Map() const { return FDataLink->Map(); }
    /// Attaches to a map; null is ignored. Rows come with the layers added
    /// from now on.
    void SetMap(TChartix* Value);
    /// Adds rows for the layers the map had before it was attached, so that
    /// every layer has its row.
    void AddRowsForExistingLayers();
    TLayerControlDataLink* DataLink() const { return FDataLink.get(); }

    /// The layer of the current row; null when there is none.
    TMapLayer* GetCurrentLayer() const;
    /// The row pressed on its name (being dragged), -1 for none.
    int CurIndex() const { return FCurIndex; }
    void SetCurIndex(int V) { FCurIndex = V; }
    bool DragMarked() const { return FDragMarked; }
    /// Switches drawn as pictures (true) or as flat check and radio boxes.
    bool Glyphs() const { return FGlyphs; }
    void SetGlyphs(bool V);
    bool DrawVertLines() const { return FDrawVertLines; }
    void SetDrawVertLines(bool V);
    bool DrawHorzLines() const { return FDrawHorzLines; }
    void SetDrawHorzLines(bool V);
    Platform::TBitmap* GetIndicators(int Index) const; ///< EListError outside 0..7

    /// Row Index's parts, in client pixels.
    Platform::TRect GetVisibleRect(int Index) const;
    Platform::TRect GetSelectableRect(int Index) const;
    Platform::TRect GetEditableRect(int Index) const;
    Platform::TRect GetAutolabelRect(int Index) const;
    Platform::TRect GetNameRect(int Index) const;
    Platform::TRect GetIndicatorRect(int Index) const;

    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;

    /// Draws row Index at once on the window, outside a paint.
    void RedrawRow(int Index, Platform::TOwnerDrawState State);
    /// Draws one row on the canvas: switch area, colours, switches, name,
    /// dotted lines, focus rectangle.
    void DrawItem(int Index, const Platform::TRect& Rect, Platform::TOwnerDrawState State) override;

    /// Unassigned, Delete deletes the current layer at once.
    TQueryDeleteLayerEvent OnQueryDeleteLayer;

protected:
    Platform::TOwnerDrawState ItemState(int Index) const override;
    void Resize() override;

private:
    TMapLayer* LayerAt(int Row) const;
    /// Switch 0..3 (visible, selectable, editable, auto-label) of row Index.
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
