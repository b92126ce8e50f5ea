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
/// A plain notification from the map; no event of the library uses it.
using TMapNotifyEvent = std::function<void(TChartix* Sender)>;
/// OnAddLayer: Layer has just been added to the map's layer list.
using TAddLayerEvent = std::function<void(TChartix* Sender, TMapLayer* Layer)>;
/// OnBeforeDelLayer: Layer is about to go; when ConfirmDelete is set, clearing
/// AllowDelete keeps it.
using TDelLayerEvent =
    std::function<void(TChartix* Sender, TMapLayer* Layer, bool ConfirmDelete, bool& AllowDelete)>;
/// OnAddObject: MapObject has just been added to one of the map's layers.
using TAddObjectEvent = std::function<void(TChartix* Sender, TCustomMapObject* MapObject)>;
/// OnBeforeRemoveObject: MapObject is about to be deleted from its layer; AllowDelete
/// is for information only.
using TRemoveObjectEvent =
    std::function<void(TChartix* Sender, TCustomMapObject* MapObject, bool AllowDelete)>;
/// OnAddSelection and OnDelSelection: MapObject has been selected or deselected.
using TAddSelectionEvent = std::function<void(TChartix* Sender, TCustomMapObject* MapObject)>;
/// OnStartProgress: a long task begins; progress will run from Min to Max.
using TStartProgressEvent =
    std::function<void(Platform::TObject* Sender, int Min, int Max, const std::string& Title)>;
/// OnShowProgress: the task has reached Progress.
using TShowProgressEvent = std::function<void(Platform::TObject* Sender, int Progress)>;

/// How the wheel zooms: about the view's centre, after moving the centre to
/// the cursor, about the first selected object, or (wmAnchor) keeping the map
/// point under the cursor where it is, as desktop GIS programs do.
enum TWheelMouseZoomType { wmCenter, wmCursor, wmSelected, wmAnchor };

} // namespace Mapobjects
