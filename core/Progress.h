#pragma once
// Process-wide progress hooks. They do nothing until the host replaces them;
// the syntax parser reports through them. The map's own progress events are
// separate (TChartix::OnStartProgress ...).

#include "ChartixExport.h"
#include <functional>
#include <string>

namespace Mapobjects {

extern CHARTIX_EXPORT std::function<void(int Min, int Max, const std::string& Title)> StartProgress;
extern CHARTIX_EXPORT std::function<void(int Progress)> ShowProgress;
extern CHARTIX_EXPORT std::function<void()> StopProgress;

} // namespace Mapobjects
