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

class CHARTIX_EXPORT TLayersComboBoxDataLink : public TMapDataLink {
public:
    TLayersComboBox* LayersComboBox() const { return FLayersComboBox; }
    void SetLayersComboBox(TLayersComboBox* V) { FLayersComboBox = V; }
    void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) override;

private:
    TLayersComboBox* FLayersComboBox = nullptr;
};

class CHARTIX_EXPORT TLayersComboBox : public Platform::TCustomComboBox {
public:
    explicit TLayersComboBox(Platform::TComponent* Owner);
    ~TLayersComboBox() override;

    /// The observed map: the data link's, so it is gone as soon as the map is.
    TChartix* Map() const { return FDataLink->Map(); }
    /// Attaches to a map; null is ignored. Items come with the layers added
    /// from now on.
    void SetMap(TChartix* Value);
    /// Adds items for the map's layers that have none yet, in the map's order.
    void AddItemsForExistingLayers();
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
