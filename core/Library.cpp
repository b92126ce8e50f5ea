#include "core/Library.h"

#include "core/CustomFormatProvider.h"
#include "core/Progress.h"
#include "platform/SysUtils.h"

namespace Mapobjects {

std::function<void(int, int, const std::string&)> StartProgress;
std::function<void(int)> ShowProgress;
std::function<void()> StopProgress;

namespace {
int InitCount = 0;

// Start-up before main, shut-down after it: the registry exists before any
// provider can be constructed.
struct AutoInit {
    AutoInit() { InitializeLibrary(); }
    ~AutoInit() { FinalizeLibrary(); }
} TheLibrary;
} // namespace

void InitializeLibrary() {
    if (InitCount++ > 0) return;
    Internal::CreateFormatProviders();
    Platform::FormatSettings().DecimalSeparator = '.';
    StartProgress = [](int, int, const std::string&) {};
    ShowProgress = [](int) {};
    StopProgress = [] {};
}

void FinalizeLibrary() {
    if (InitCount == 0 || --InitCount > 0) return;
    Internal::DestroyFormatProviders();
}

} // namespace Mapobjects
