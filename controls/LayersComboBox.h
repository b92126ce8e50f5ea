#pragma once
// The layers combo box: a drop-down list of a map's layers by name, to pick
// one. Items come and go with the layers added and deleted while attached.

#include "../core/ChartixExport.h"
#include "../core/DataLinks.h"
#include "../platform/ComboBox.h"

#include <memory>

namespace Mapobjects {

class TChartix;
class TMapLayer;
class TLayersComboBox;

/// The layers combo box's link to its map: adds and removes items as layers come and go.
class CHARTIX_EXPORT TLayersComboBoxDataLink : public TMapDataLink {
public:
    /// The combo box the link updates; null detaches it from the combo box.
    ///@{
    TLayersComboBox* LayersComboBox() const { return FLayersComboBox; }
    void SetLayersComboBox(TLayersComboBox* V) { FLayersComboBox = V; }
    ///@}
    /// Adds an item (the layer's name) for a layer added, removes a deleted layer's item,
    /// and repaints when layers move.
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TLayersComboBox* FLayersComboBox = nullptr;
};

/// A drop-down list of a map's layers by name, to pick one.
class CHARTIX_EXPORT TLayersComboBox : public Platform::TCustomComboBox {
public:
    /// Creates an empty drop-down list attached to no map.
    explicit TLayersComboBox(Platform::TComponent* Owner);
    /// Detaches the link from the combo box and from the map.
    ~TLayersComboBox() override;

    /// The observed map: the data link's, so it is gone as soon as the map is.
    TChartix* Map() const { return FDataLink->Map(); }
    /// Attaches to a map; null is ignored. Items come with the layers added
    /// from now on.
    void SetMap(TChartix* Value);
    /// Adds items for the map's layers that have none yet, in the map's order.
    void AddItemsForExistingLayers();
    /// The combo box's link to the map; owned by the combo box.
    TLayersComboBoxDataLink* DataLink() const { return FDataLink.get(); }
    /// The layer of the chosen item (the one whose name it shows), while it
    /// is still on the map; null otherwise.
    TMapLayer* GetCurrentLayer() const;
    /// Repaints at once.
    void Refresh();

private:
    std::unique_ptr<TLayersComboBoxDataLink> FDataLink;
};

} // namespace Mapobjects
