#include "platform/Trace.h"

#include <utility>

namespace Platform {

namespace {

TTraceSink& Sink() {
    static TTraceSink Current;
    return Current;
}

} // namespace

void SetTraceSink(TTraceSink NewSink) {
    Sink() = std::move(NewSink);
}

bool TraceEnabled() {
    return static_cast<bool>(Sink());
}

void TraceMessage(const std::string& Message) {
    if (const TTraceSink& Current = Sink()) Current(Message);
}

} // namespace Platform
