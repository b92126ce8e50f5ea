#pragma once
// What a provider's load does around its reading: the map's updates and
// text sizing suspended however the load ends, and progress over the
// objects of large files. Inline, for providers in run-time modules too.

#include "core/MapObjects.h"

#include <cstdint>

namespace Mapobjects {

class TLoadGuard {
public:
    explicit TLoadGuard(TChartix* Map) : FMap(Map) {
        if (!FMap) return;
        FMap->BeginUpdate();
        FMap->SetTextSizing(true);
    }
    ~TLoadGuard() {
        if (!FMap) return;
        if (FProgress) FMap->StopProgress();
        FMap->EndUpdate(true);
        FMap->SetTextSizing(false);
    }
    TLoadGuard(const TLoadGuard&) = delete;
    TLoadGuard& operator=(const TLoadGuard&) = delete;
    // Progress over Count objects, for files large enough to take a while
    // (and whose count is known and fits the map's progress events).
    void StartProgress(std::int64_t Count) {
        FProgress = FMap && Count > ProgressStep && Count < INT32_MAX;
        if (FProgress) FMap->StartProgress(0, static_cast<int>(Count), "Loading file");
    }
    void ShowProgress(int Done) {
        if (FProgress && Done % ProgressStep == 0) FMap->ShowProgress(Done);
    }

private:
    static constexpr int ProgressStep = 256;
    TChartix* FMap;
    bool FProgress = false;
};

} // namespace Mapobjects
