#pragma once
// The status bar's progress bar, driven by the map's progress events while
// the window loads or saves files, and hidden the rest of the time: painting
// reports progress too, and a bar flashing on every paint would only
// distract. A load holds the event loop, so each step of the bar lets Qt
// repaint the window (user input waits for the load to end).

#include "core/MapObjects.h"
#include "platform/QtMessageHook.h"

#include <string>

class QProgressBar;

namespace Viewer {

class TStatusProgress {
public:
    // Takes the map's progress events; the handlers the map had (the
    // terminal printer) still hear each one. Both outlive this object.
    TStatusProgress(Mapobjects::TChartix& Map, QProgressBar& Bar);
    // Gives the map its previous handlers back.
    ~TStatusProgress();
    TStatusProgress(const TStatusProgress&) = delete;
    TStatusProgress& operator=(const TStatusProgress&) = delete;

    // While one lives, the map's progress runs show in the bar, under Label,
    // and no message box opens (the bar's repaints run the event loop under
    // the load).
    class TWork {
    public:
        TWork(TStatusProgress& Progress, const std::string& Label);
        ~TWork();
        TWork(const TWork&) = delete;
        TWork& operator=(const TWork&) = delete;

    private:
        TStatusProgress& FProgress;
        std::string FOuterLabel;
        Platform::TModalGuard FNoDialogs;
    };

private:
    void Start(int Min, int Max) noexcept;
    void Show(int Position) noexcept;
    void Stop() noexcept;

    Mapobjects::TChartix& FMap;
    QProgressBar& FBar;
    Mapobjects::TStartProgressEvent FOldStart;
    Mapobjects::TShowProgressEvent FOldShow;
    Platform::TNotifyEvent FOldStop;
    int FWork = 0; // live TWork scopes
    int FRuns = 0; // progress runs under way (a load may nest a paint's)
    int FLastPercent = -1;
    std::string FLabel; // of the innermost work
};

} // namespace Viewer
