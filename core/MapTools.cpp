#include "core/MapTools.h"

#include "core/MapObjects.h"

namespace Mapobjects {

using namespace Platform;

TCustomMapTool::TCustomMapTool(TComponent* Owner) : TComponent(Owner) {}

TCustomMapTool::~TCustomMapTool() {
    if (FManager) FManager->Remove(this);
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

void TCustomMapTool::SetChartix(TChartix* Map) {
    if (Map == FChartix) return;
    // Leaving the old map's manager first, also when moving straight to
    // another map: a manager never lists a tool that works elsewhere.
    if (FManager) FManager->Remove(this);
    FManager = nullptr;
    if (Map) {
        FManager = &Map->MapToolsManager();
        FManager->Add(this);
    }
    FChartix = Map;
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
        if (FManager)
            for (int I = 0; I < FManager->Count(); ++I) {
                TCustomMapTool* Other = FManager->Get(I);
                if (Other != this) Other->SetActive(false);
            }
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
