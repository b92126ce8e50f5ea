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

using TMapToolNotifyEvent = std::function<void(TCustomMapTool* Sender)>;

class CHARTIX_EXPORT TCustomMapTool : public Platform::TComponent {
public:
    explicit TCustomMapTool(Platform::TComponent* Owner);
    ~TCustomMapTool() override;

    virtual void DblClick() {}
    virtual void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                           int Y) {}
    virtual void MouseMove(Platform::TShiftState Shift, int X, int Y) {}
    virtual void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) {
    }
    virtual void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) {}
    virtual void KeyUp(std::uint16_t& Key, Platform::TShiftState Shift) {}
    virtual void KeyPress(char& Key) {}
    virtual bool Complete();
    virtual void Cancel();
    virtual void Init();
    virtual void Done();
    virtual bool GetEnabled() const;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TMapToolsManager* MapToolsManager() const { return FManager; }
    void SetMapToolsManager(TMapToolsManager* V) { FManager = V; }
    const std::string& DisplayName() const { return FDisplayName; }
    void SetDisplayName(const std::string& V) { FDisplayName = V; }
    Platform::TCursor Cursor() const { return FCursor; }
    void SetCursor(Platform::TCursor V) { FCursor = V; }
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

    TMapToolNotifyEvent OnCancel, OnComplete, OnToolStateChanged;

private:
    /// Every other tool of the manager gets SetActive(false), in list order.
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
    TCustomMapTool* GetMapTools(int Index) const { return Get(Index); }
    void SetMapTools(int Index, TCustomMapTool* Tool) { Put(Index, Tool); }
    int GetActiveMapToolIndex() const;
    TCustomMapTool* GetActiveMapTool() const;
};

} // namespace Mapobjects
