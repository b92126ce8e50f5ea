#include "core/ReadProblems.h"

#include "platform/SysUtils.h"

namespace Mapobjects {

void TReadProblems::Add(const std::string& FileName, int Line, const std::string& Message) {
    if (FCount++ < MaxKept) FItems.push_back(TReadProblem{FileName, Line, Message});
}

void TReadProblems::Clear() {
    FItems.clear();
    FCount = 0;
}

std::string TReadProblems::Describe(const TReadProblem& Problem) {
    if (Problem.Line > 0)
        return Platform::Format("%s:%d: %s", Problem.FileName, Problem.Line, Problem.Message);
    return Platform::Format("%s: %s", Problem.FileName, Problem.Message);
}

} // namespace Mapobjects
