#include "core/DataLinks.h"

#include "core/MapObjects.h"

namespace Mapobjects {

TMapDataLink::~TMapDataLink() {
    if (FMap && !FMap->Destroying()) FMap->DataLinks().Remove(this);
}

void TMapDataLink::SetMap(TChartix* Map) {
    if (FMap) FMap->DataLinks().Remove(this);
    FMap = Map;
    if (FMap) FMap->DataLinks().Add(this);
}

void TMapDataLink::MapAcquired(TChartix* Map) {
    if (FMap && FMap != Map) FMap->DataLinks().Remove(this);
    FMap = Map;
}

void TMapDataLinks::TraceMapEvent(TMapDataLinkEvent Event, Platform::TObject* Sender) {
    // The count is fixed at the start: links must not attach or detach here.
    int N = Count();
    for (int I = 0; I < N && I < Count(); ++I)
        Get(I)->MapEvent(Event, Sender, 0);
}

} // namespace Mapobjects
