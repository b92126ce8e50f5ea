#include "StatusProgress.h"

#include <QCoreApplication>
#include <QProgressBar>

namespace Viewer {

namespace {

// Lets Qt paint the bar in the middle of a load. Nothing may leave here: the
// library's reader is below us on the stack, Qt's event loop above. Never
// inside a paint: Qt would paint again under the painter of the first.
void Pump() noexcept {
    if (Platform::QtHostPainting()) return;
    try {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } catch (...) {
    }
}

} // namespace

TStatusProgress::TStatusProgress(Mapobjects::TChartix& Map, QProgressBar& Bar)
    : FMap(Map), FBar(Bar), FOldStart(Map.OnStartProgress), FOldShow(Map.OnShowProgress),
      FOldStop(Map.OnStopProgress) {
    FBar.hide();
    FMap.OnStartProgress = [this](Platform::TObject* Sender, int Min, int Max,
                                  const std::string& Title) {
        if (FOldStart) FOldStart(Sender, Min, Max, Title);
        Start(Min, Max);
    };
    FMap.OnShowProgress = [this](Platform::TObject* Sender, int Position) {
        if (FOldShow) FOldShow(Sender, Position);
        Show(Position);
    };
    FMap.OnStopProgress = [this](Platform::TObject* Sender) {
        if (FOldStop) FOldStop(Sender);
        Stop();
    };
}

TStatusProgress::~TStatusProgress() {
    FMap.OnStartProgress = std::move(FOldStart);
    FMap.OnShowProgress = std::move(FOldShow);
    FMap.OnStopProgress = std::move(FOldStop);
}

void TStatusProgress::Start(int Min, int Max) noexcept {
    if (FWork == 0 || ++FRuns > 1) return; // idle, or a run inside the one shown
    try {
        // An empty range makes Qt's busy indicator.
        FBar.setRange(Min, Max > Min ? Max : Min);
        FBar.setValue(Min);
        FBar.setFormat(QString::fromStdString(FLabel) + " %p%");
        FBar.show();
    } catch (...) {
    }
    FLastPercent = -1;
    Pump();
}

void TStatusProgress::Show(int Position) noexcept {
    if (FWork == 0 || FRuns != 1) return;
    const int Span = FBar.maximum() - FBar.minimum();
    const int Percent =
        Span > 0 ? static_cast<int>(100.0 * (Position - FBar.minimum()) / Span) : 100;
    // A hundred steps at most, whatever the reader reports.
    if (Percent == FLastPercent) return;
    FLastPercent = Percent;
    FBar.setValue(Position);
    Pump();
}

void TStatusProgress::Stop() noexcept {
    if (FRuns == 0) return;
    if (--FRuns == 0) FBar.hide();
}

TStatusProgress::TWork::TWork(TStatusProgress& Progress, const std::string& Label)
    : FProgress(Progress), FOuterLabel(Progress.FLabel) {
    ++FProgress.FWork;
    FProgress.FLabel = Label;
}

TStatusProgress::TWork::~TWork() {
    FProgress.FLabel = FOuterLabel;
    if (--FProgress.FWork == 0) {
        // A reader that raised may not have stopped its run.
        FProgress.FRuns = 0;
        FProgress.FBar.hide();
    }
}

} // namespace Viewer
