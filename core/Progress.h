#pragma once
// Process-wide progress hooks. They do nothing until the host replaces them;
// the syntax parser reports through them. The map's own progress events are
// separate (TChartix::OnStartProgress ...).

#include "ChartixExport.h"
#include <functional>
#include <string>

namespace Mapobjects {

/// Called when a long task starts, with the range its progress will run through.
extern CHARTIX_EXPORT std::function<void(int Min, int Max, const std::string& Title)> StartProgress;
/// Called as the task advances, with a value in the range given to StartProgress.
extern CHARTIX_EXPORT std::function<void(int Progress)> ShowProgress;
/// Called when the task has ended.
extern CHARTIX_EXPORT std::function<void()> StopProgress;

} // namespace Mapobjects
