#pragma once
// Process-wide progress hooks. They do nothing until the host replaces them;
// the syntax parser reports through them. The map's own progress events are
// separate (TChartix::OnStartProgress ...).

#include <functional>
#include <string>

namespace Mapobjects {

extern std::function<void(int Min, int Max, const std::string& Title)> StartProgress;
extern std::function<void(int Progress)> ShowProgress;
extern std::function<void()> StopProgress;

} // namespace Mapobjects
