#include "core/MapTools.h"

#include "core/MapObjects.h"

namespace Mapobjects {

using namespace Platform;

TCustomMapTool::TCustomMapTool(TComponent* Owner) : TComponent(Owner) {}

TCustomMapTool::~TCustomMapTool() {
    if (FManager) FManager->Remove(this);
    // The map is left without an active tool, so with the default cursor.
    // No event: handlers would meet a tool half destroyed.
    if (FActive && FChartix) FChartix->SetCursor(crDefault);
}

bool TCustomMapTool::Complete() {
    if (OnComplete) OnComplete(this);
    return true;
}

void TCustomMapTool::Cancel() {
    if (OnCancel) OnCancel(this);
}

void TCustomMapTool::Init() {
    if (FChartix) FChartix->SetCursor(FCursor);
}

void TCustomMapTool::Done() {
    if (FChartix) FChartix->SetCursor(crDefault);
}

bool TCustomMapTool::GetEnabled() const {
    return FChartix && FChartix->Layers().Count() > 0;
}

// Active is the tool's own switch and holds on whichever map it works on: a
// tool made active before it had a map (as a form loads its properties) takes
// over when it gets one, and an active tool that leaves a map ends there.
void TCustomMapTool::SetChartix(TChartix* Map) {
    if (Map == FChartix) return;
    TChartix* Old = FChartix;
    const bool WasWorking = FActive && Old && FManager;
    if (WasWorking) Done();
    // Leaving the old map's manager first, also when moving straight to
    // another map: a manager never lists a tool that works elsewhere.
    if (FManager) FManager->Remove(this);
    FManager = nullptr;
    FChartix = nullptr;
    if (WasWorking && Old->OnMapToolChanged) Old->OnMapToolChanged(Old);
    if (!Map) return;
    FManager = &Map->MapToolsManager();
    FManager->Add(this);
    FChartix = Map;
    if (FActive) {
        if (Map->OnMapToolChanged) Map->OnMapToolChanged(Map);
        DeactivateOthers();
        if (FChartix == Map && FActive) Init();
    }
}

void TCustomMapTool::DeactivateOthers() {
    if (!FManager) return;
    TMapToolsManager* Manager = FManager;
    for (int I = 0; I < Manager->Count(); ++I) {
        TCustomMapTool* Other = Manager->Get(I);
        if (Other != this) Other->SetActive(false);
    }
}

void TCustomMapTool::MapAcquired(TChartix* Map) {
    TMapToolsManager* Manager = &Map->MapToolsManager();
    if (FManager && FManager != Manager) FManager->Remove(this);
    FManager = Manager;
    FChartix = Map;
}

void TCustomMapTool::SetActive(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (FChartix && FManager) {
        if (OnToolStateChanged) OnToolStateChanged(this);
        if (FChartix->OnMapToolChanged) FChartix->OnMapToolChanged(FChartix);
    }
    if (Value) {
        DeactivateOthers();
        if (FChartix && FManager) Init();
    } else if (FChartix && FManager) {
        Done();
    }
}

TChartix* TCustomMapTool::FindChartix(TComponent* Component) {
    if (!Component) return nullptr;
    for (int I = 0; I < Component->ComponentCount(); ++I) {
        TComponent* C = Component->Components(I);
        if (auto* Map = dynamic_cast<TChartix*>(C)) return Map;
        if (TChartix* Found = FindChartix(C)) return Found;
    }
    return nullptr;
}

TMapToolsManager::~TMapToolsManager() {
    for (TCustomMapTool* Tool : *this)
        Tool->SetMapToolsManager(nullptr);
}

int TMapToolsManager::GetActiveMapToolIndex() const {
    for (int I = 0; I < Count(); ++I)
        if (Get(I)->Active()) return I;
    return -1;
}

TCustomMapTool* TMapToolsManager::GetActiveMapTool() const {
    int I = GetActiveMapToolIndex();
    return I < 0 ? nullptr : Get(I);
}

} // namespace Mapobjects
