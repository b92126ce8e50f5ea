#pragma once
// The diagnostic trace: components pass messages here; nothing is printed
// unless a host installs a sink (for example a debug log).

#include "platform/PlatformExport.h"
#include "platform/SysUtils.h"

#include <functional>
#include <string>

namespace Platform {

using TTraceSink = std::function<void(const std::string&)>;
void SetTraceSink(TTraceSink Sink);
CHARTIX_PLATFORM_EXPORT bool TraceEnabled();
CHARTIX_PLATFORM_EXPORT void TraceMessage(const std::string& Message);

template <class... Args> void Trace(std::string_view Pattern, const Args&... args) {
    if (TraceEnabled()) TraceMessage(Format(Pattern, args...));
}

} // namespace Platform
