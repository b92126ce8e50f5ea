#pragma once
// Event types of the map. Handlers are called only when assigned; the map is
// the sender of its own events.

#include "../platform/Classes.h"

#include <functional>
#include <string>

namespace Mapobjects {

class TChartix;
class TMapLayer;
class TCustomMapObject;

using Platform::TNotifyEvent;
using TMapNotifyEvent = std::function<void(TChartix* Sender)>;
using TAddLayerEvent = std::function<void(TChartix* Sender, TMapLayer* Layer)>;
using TDelLayerEvent =
    std::function<void(TChartix* Sender, TMapLayer* Layer, bool ConfirmDelete, bool& AllowDelete)>;
using TAddObjectEvent = std::function<void(TChartix* Sender, TCustomMapObject* MapObject)>;
using TRemoveObjectEvent =
    std::function<void(TChartix* Sender, TCustomMapObject* MapObject, bool AllowDelete)>;
using TAddSelectionEvent = std::function<void(TChartix* Sender, TCustomMapObject* MapObject)>;
using TStartProgressEvent =
    std::function<void(Platform::TObject* Sender, int Min, int Max, const std::string& Title)>;
using TShowProgressEvent = std::function<void(Platform::TObject* Sender, int Progress)>;

/// How the wheel zooms: about the view's centre, after moving the centre to
/// the cursor, about the first selected object, or (wmAnchor) keeping the map
/// point under the cursor where it is, as desktop GIS programs do.
enum TWheelMouseZoomType { wmCenter, wmCursor, wmSelected, wmAnchor };

} // namespace Mapobjects
