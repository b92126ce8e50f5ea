#pragma once
// The tool framework: tools are components placed beside a map; the map's
// tools manager lists those that point at it, at most one is active, and the
// map hands it every mouse and keyboard event.

#include "../platform/Controls.h"
#include "ChartixExport.h"

#include <functional>
#include <string>

namespace Mapobjects {

class TChartix;
class TMapToolsManager;
class TCustomMapTool;

/// Handler for a tool's own events; Sender is the tool that fired it.
using TMapToolNotifyEvent = std::function<void(TCustomMapTool* Sender)>;

/// Base of the map tools: a component that, while active on its map, receives the map's
/// mouse and keyboard events; subclasses override the handlers they need.
class CHARTIX_EXPORT TCustomMapTool : public Platform::TComponent {
public:
    /// Creates an inactive tool attached to no map.
    explicit TCustomMapTool(Platform::TComponent* Owner);
    /// Leaves the manager; an active tool resets the map cursor to the default (no event).
    ~TCustomMapTool() override;

    /// Mouse and keyboard events forwarded by the map while the tool is active, in client
    /// pixels; the defaults do nothing.
    ///@{
    virtual void DblClick() {}
    virtual void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                           int Y) {}
    virtual void MouseMove(Platform::TShiftState Shift, int X, int Y) {}
    virtual void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) {
    }
    virtual void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) {}
    virtual void KeyUp(std::uint16_t& Key, Platform::TShiftState Shift) {}
    virtual void KeyPress(char& Key) {}
    ///@}
    /// Finishes the tool's current work; fires OnComplete and returns true.
    virtual bool Complete();
    /// Abandons the tool's current work; fires OnCancel.
    virtual void Cancel();
    /// Called when the tool takes over its map; sets the map's cursor to Cursor().
    virtual void Init();
    /// Called when the tool stops working on its map; restores the default cursor.
    virtual void Done();
    /// Whether the tool can be used now: it has a map, and the map has at least one layer.
    virtual bool GetEnabled() const;

    /// Whether this is the map's working tool. Activating a tool deactivates the others of
    /// its manager and calls Init; deactivating calls Done. With a map, a change fires
    /// OnToolStateChanged and the map's OnMapToolChanged.
    ///@{
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    ///@}
    /// The manager that lists the tool, or null; the setter only stores the pointer (used by
    /// the manager as it goes away).
    ///@{
    TMapToolsManager* MapToolsManager() const { return FManager; }
    void SetMapToolsManager(TMapToolsManager* V) { FManager = V; }
    ///@}
    /// The name shown for the tool in user interfaces.
    ///@{
    const std::string& DisplayName() const { return FDisplayName; }
    void SetDisplayName(const std::string& V) { FDisplayName = V; }
    ///@}
    /// The cursor the map shows while the tool is active; a change applies at the next Init.
    ///@{
    Platform::TCursor Cursor() const { return FCursor; }
    void SetCursor(Platform::TCursor V) { FCursor = V; }
    ///@}
    /// The map the tool works on, or null.
    TChartix* Chartix() const { return FChartix; }
    /// Attaches the tool to Map's manager (null detaches). An active tool
    /// ends its work on the map it leaves (Done, OnMapToolChanged) and takes
    /// over on the map it joins (OnMapToolChanged, the others deactivated,
    /// Init).
    void SetChartix(TChartix* Map);
    /// Called by a map that is being destroyed, or that gave up the manager
    /// listing this tool: forget it and its manager.
    void MapDestroyed() {
        FChartix = nullptr;
        FManager = nullptr;
    }
    /// Called by a map that took over a manager listing this tool: the tool
    /// leaves any other manager and works on this map.
    void MapAcquired(TChartix* Map);

    /// The first map among the components owned by Component, depth first.
    static TChartix* FindChartix(Platform::TComponent* Component);

    /// Fired by Cancel, by Complete, and when Active changes on a map, respectively.
    ///@{
    TMapToolNotifyEvent OnCancel, OnComplete, OnToolStateChanged;
    ///@}

private:
    // Every other tool of the manager gets SetActive(false), in list order.
    void DeactivateOthers();

    bool FActive = false;
    TMapToolsManager* FManager = nullptr;
    std::string FDisplayName = "CustomMapTool";
    Platform::TCursor FCursor = Platform::crDefault;
    TChartix* FChartix = nullptr;
};

/// The map's list of its tools; owns none of them.
class CHARTIX_EXPORT TMapToolsManager : public Platform::TList<TCustomMapTool> {
public:
    ~TMapToolsManager() override;
    /// The tool at Index (0-based) in the list.
    ///@{
    TCustomMapTool* GetMapTools(int Index) const { return Get(Index); }
    void SetMapTools(int Index, TCustomMapTool* Tool) { Put(Index, Tool); }
    ///@}
    /// The index of the first active tool in the list, or -1 if none is active.
    int GetActiveMapToolIndex() const;
    /// The first active tool in the list, or null if none is active.
    TCustomMapTool* GetActiveMapTool() const;
};

} // namespace Mapobjects
