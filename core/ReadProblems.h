#pragma once
// The problems a provider meets while reading a file: where each one is and
// what went wrong. A provider keeps those of its last load for the caller.

#include "ChartixExport.h"
#include <string>
#include <vector>

namespace Mapobjects {

struct CHARTIX_EXPORT TReadProblem {
    std::string FileName;
    int Line = 0; ///< from 1; 0 when the problem belongs to no one line
    std::string Message;
};

/// Keeps the first MaxKept problems in full and counts the rest, so that a
/// badly broken file cannot fill the memory with reports.
class CHARTIX_EXPORT TReadProblems {
public:
    static constexpr int MaxKept = 1000;

    void Add(const std::string& FileName, int Line, const std::string& Message);
    void Clear();
    /// Every problem met, kept or not.
    int Count() const { return FCount; }
    bool Empty() const { return FCount == 0; }
    const std::vector<TReadProblem>& Items() const { return FItems; }
    /// "FILE:LINE: MESSAGE", or "FILE: MESSAGE" without a line.
    static std::string Describe(const TReadProblem& Problem);

private:
    std::vector<TReadProblem> FItems;
    int FCount = 0;
};

} // namespace Mapobjects
