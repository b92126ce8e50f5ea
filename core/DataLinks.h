#pragma once
// Observers of a map: each data link receives every notification of layer,
// object and selection changes through one virtual method.

#include "../platform/Classes.h"
#include "ChartixExport.h"

namespace Mapobjects {

class TChartix;

enum TMapDataLinkEvent {
    mdlBeforeAddLayer,
    mdlAfterAddLayer,
    mdlBeforeDelLayer,
    mdlDelLayer,
    mdlAfterDelLayer,
    mdlMoveLayer,
    mdlExchangeLayer,
    mdlLayerVisibleChanged,
    mdlLayerSelectableChanged,
    mdlLayerEditableChanged,
    mdlLayerAutolabelChanged,
    mdlAddObject,
    mdlRemoveObject,
    mdlAddSelection,
    mdlDelSelection
};

class CHARTIX_EXPORT TMapDataLink : public Platform::TPersistent {
public:
    ~TMapDataLink() override;
    TChartix* Map() const { return FMap; }
    /// Detaches from the old map's links and attaches to the new map's.
    void SetMap(TChartix* Map);
    virtual void MapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender, int Info) {}
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
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map) { FMap = Map; }
    TMapDataLink* GetMapDataLink(int Index) const { return Get(Index); }
    void SetMapDataLink(int Index, TMapDataLink* Link) { Put(Index, Link); }
    /// Calls MapEvent(Event, Sender, 0) on the links present at the call.
    void TraceMapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender);

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects
