#pragma once
// Observers of a map: each data link receives every notification of layer,
// object and selection changes through one virtual method.

#include "../platform/Classes.h"
#include "ChartixExport.h"

namespace Mapobjects {

class TChartix;

/// What a data link is told about; the comment on each value names the Sender.
enum TMapDataLinkEvent {
    mdlBeforeAddLayer,         ///< Reserved: the map does not send it.
    mdlAfterAddLayer,          ///< A layer was added by the layer list's Add; the new layer.
    mdlBeforeDelLayer,         ///< Reserved: the map does not send it.
    mdlDelLayer,               ///< A layer is about to be deleted; that layer, still valid.
    mdlAfterDelLayer,          ///< A layer was deleted; the layer list.
    mdlMoveLayer,              ///< A layer was moved; the moved layer.
    mdlExchangeLayer,          ///< Two layers swapped places; the layer list.
    mdlLayerVisibleChanged,    ///< A layer was shown or hidden; the layer.
    mdlLayerSelectableChanged, ///< A layer's Selectable was set; the layer.
    mdlLayerEditableChanged,   ///< A layer's Editable was set; the layer.
    mdlLayerAutolabelChanged,  ///< A layer's AutoLabel changed; the layer.
    mdlAddObject,              ///< An object was added to a layer; the layer.
    mdlRemoveObject,           ///< An object is leaving the map; the object.
    mdlAddSelection,           ///< An object was selected; the object.
    mdlDelSelection            ///< An object was deselected; the object.
};

/// An observer of a map: attach it with SetMap and override MapEvent to hear of changes
/// to the map's layers, objects and selection. The map does not own its links.
class CHARTIX_EXPORT TMapDataLink : public Platform::TPersistent {
public:
    /// Detaches from the map's links, unless the map is being destroyed.
    ~TMapDataLink() override;
    /// The map this link listens to; null when detached.
    TChartix* Map() const { return FMap; }
    /// Detaches from the old map's links and attaches to the new map's.
    void SetMap(TChartix* Map);
    /// Called for every change on the map; Sender depends on Event (see
    /// TMapDataLinkEvent), and Info is always 0. Does nothing unless overridden.
    virtual void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) {}
    /// Does nothing; kept for callers that notify links on removal.
    void RemoveNotify() {}
    /// Called by a map that is being destroyed, or that gave up the list
    /// holding this link: forget it without detaching.
    void MapDestroyed() { FMap = nullptr; }
    /// Called by a map that took over a list holding this link: the link
    /// leaves any other map's links and belongs to this one.
    void MapAcquired(TChartix* Map);

private:
    TChartix* FMap = nullptr;
};

/// The map's list of links; it owns none of them.
class CHARTIX_EXPORT TMapDataLinks : public Platform::TList<TMapDataLink> {
public:
    /// The map the list serves: set by the map that owns it (and cleared on a
    /// list it hands back), as for its other parts.
    ///@{
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map) { FMap = Map; }
    ///@}
    /// The link at Index, as the list's Get and Put; the links' own Map is not touched.
    ///@{
    TMapDataLink* GetMapDataLink(int Index) const { return Get(Index); }
    void SetMapDataLink(int Index, TMapDataLink* Link) { Put(Index, Link); }
    ///@}
    /// Calls MapEvent(Event, Sender, 0) on the links present at the call.
    void TraceMapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender);

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects
