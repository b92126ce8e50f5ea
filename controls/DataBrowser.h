#pragma once
// The data browser: a grid with the attribute table of one layer, a column
// per field and a row per object, read-only with whole-row selection while
// the layer is not editable and a cell editor while it is. Enter or a double
// click selects the row's object on the map and brings it into view (Ctrl+
// Enter zooms to the selection).

#include "../core/ChartixExport.h"
#include "../core/DataLinks.h"
#include "../platform/Grid.h"

#include <memory>
#include <string>

namespace Mapobjects {

class TChartix;
class TMapLayer;
class TCustomMapObject;
class TDataField;
class TDataBrowser;

/// The data browser's link to its map: keeps the grid's rows, mode and bold row headers in
/// step with the shown layer's objects, editable switch and selection.
class CHARTIX_EXPORT TDataBrowserDataLink : public TMapDataLink {
public:
    /// The grid the link updates; null detaches it from the grid.
    ///@{
    TDataBrowser* DataBrowser() const { return FDataBrowser; }
    void SetDataBrowser(TDataBrowser* V) { FDataBrowser = V; }
    ///@}
    /// Updates the grid for changes of the shown layer: its removal (the grid empties),
    /// its editable switch, objects added or removed, and selection changes (with
    /// FollowSelection, a single selected object's row is scrolled into view).
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TDataBrowser* FDataBrowser = nullptr;
};

/// A grid with the attribute table of one layer: a column per field, a row per object;
/// read-only with whole-row selection unless the layer is editable.
class CHARTIX_EXPORT TDataBrowser : public Platform::TCustomGrid {
public:
    /// Creates an empty 2 x 2 grid showing no layer.
    explicit TDataBrowser(Platform::TComponent* Owner);
    /// Detaches the link from the grid and from the map.
    ~TDataBrowser() override;

    /// The grid's link to the shown layer's map; owned by the grid.
    TDataBrowserDataLink* DataLink() const { return FDataLink.get(); }
    /// The shown layer; null when none, or once it has left its map.
    TMapLayer* Layer() const;
    /// Shows a layer: its fields as columns and its objects as rows. A layer
    /// without fields, or null, leaves an empty 2 x 2 grid.
    void SetLayer(TMapLayer* Value);
    /// The map the grid follows: the shown layer's.
    TChartix* Map() const { return FDataLink->Map(); }
    /// Whether the cell editor stays open while the grid is editable (the grid's
    /// goAlwaysShowEditor option).
    ///@{
    bool AlwaysShowEditor() const { return Options() & Platform::goAlwaysShowEditor; }
    void SetAlwaysShowEditor(bool V);
    ///@}
    /// Selects the object of the current row; ZoomTo zooms the map to the
    /// selection, otherwise the map is recentred on the object when it is not
    /// wholly in view.
    void SelectCurrentObject(bool ZoomTo);
    /// Redraws one row at once on the window.
    void DrawRow(int ARow);
    /// When on (off by default), a click that selects one object of the shown
    /// layer on the map scrolls the grid to that object's row.
    ///@{
    bool FollowSelection() const { return FFollowSelection; }
    void SetFollowSelection(bool V) { FFollowSelection = V; }
    ///@}
    /// Scrolls the grid, when needed, so that Object's row shows.
    void ShowObjectRow(const TCustomMapObject* Object);

    /// Enter selects the current row's object (SelectCurrentObject), zooming to the
    /// selection with Ctrl; other keys work the grid.
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;
    /// Selects the current row's object and brings it into view.
    void DblClick() override;

protected:
    /// Draws a cell: row numbers (bold for selected objects), field names, and values as
    /// text, numbers right-aligned; a value without a text form shows empty.
    void DrawCell(int ACol, int ARow, const Platform::TRect& Rect,
                  Platform::TGridDrawState State) override;
    /// The cell's value as text for the editor; empty outside the table or when the value
    /// has no text form.
    std::string GetEditText(int ACol, int ARow) override;
    /// Stores the edited text in the cell's field by its type (empty text: no value, except
    /// for strings), marks the layer modified and repaints the map; text that is not a
    /// value of the type leaves the field as it was.
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    friend class TDataBrowserDataLink;
    // The field of cell (ACol, ARow) in its object's row; null outside.
    TDataField* CellField(int ACol, int ARow) const;
    // Brings the grid's mode in line with the layer's Editable switch.
    void FollowEditable(bool Editable);
    // Sets the rows to the layer's objects, one of which (Leaving, when not
    // null) is on its way out.
    void CountRows(const TCustomMapObject* Leaving);
    void FitHeaderColumn();

    std::unique_ptr<TDataBrowserDataLink> FDataLink;
    TMapLayer* FLayer = nullptr;
    bool FFollowSelection = false;
    // The layer was on a map when it was shown: it is valid only while it
    // stays in that map's list.
    bool FLayerOnMap = false;
};

} // namespace Mapobjects
