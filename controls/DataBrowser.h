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

class CHARTIX_EXPORT TDataBrowserDataLink : public TMapDataLink {
public:
    TDataBrowser* DataBrowser() const { return FDataBrowser; }
    void SetDataBrowser(TDataBrowser* V) { FDataBrowser = V; }
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TDataBrowser* FDataBrowser = nullptr;
};

class CHARTIX_EXPORT TDataBrowser : public Platform::TCustomGrid {
public:
    explicit TDataBrowser(Platform::TComponent* Owner);
    ~TDataBrowser() override;

    TDataBrowserDataLink* DataLink() const { return FDataLink.get(); }
    /// The shown layer; null when none, or once it has left its map.
    TMapLayer* Layer() const;
    /// Shows a layer: its fields as columns and its objects as rows. A layer
    /// without fields, or null, leaves an empty 2 x 2 grid.
    void SetLayer(TMapLayer* Value);
    /// The map the grid follows: the shown layer's.
    TChartix* Map() const { return FDataLink->Map(); }
    bool AlwaysShowEditor() const { return Options() & Platform::goAlwaysShowEditor; }
    void SetAlwaysShowEditor(bool V);
    /// Selects the object of the current row; ZoomTo zooms the map to the
    /// selection, otherwise the map is recentred on the object when it is not
    /// wholly in view.
    void SelectCurrentObject(bool ZoomTo);
    /// Redraws one row at once on the window.
    void DrawRow(int ARow);
    /// When on (off by default), a click that selects one object of the shown
    /// layer on the map scrolls the grid to that object's row.
    bool FollowSelection() const { return FFollowSelection; }
    void SetFollowSelection(bool V) { FFollowSelection = V; }
    /// Scrolls the grid, when needed, so that Object's row shows.
    void ShowObjectRow(const TCustomMapObject* Object);

    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void DblClick() override;

protected:
    void DrawCell(int ACol, int ARow, const Platform::TRect& Rect,
                  Platform::TGridDrawState State) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;

private:
    friend class TDataBrowserDataLink;
    /// The field of cell (ACol, ARow) in its object's row; null outside.
    TDataField* CellField(int ACol, int ARow) const;
    /// Brings the grid's mode in line with the layer's Editable switch.
    void FollowEditable(bool Editable);
    /// Sets the rows to the layer's objects, one of which (Leaving, when not
    /// null) is on its way out.
    void CountRows(const TCustomMapObject* Leaving);
    void FitHeaderColumn();

    std::unique_ptr<TDataBrowserDataLink> FDataLink;
    TMapLayer* FLayer = nullptr;
    bool FFollowSelection = false;
    /// The layer was on a map when it was shown: it is valid only while it
    /// stays in that map's list.
    bool FLayerOnMap = false;
};

} // namespace Mapobjects
