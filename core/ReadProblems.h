#pragma once
// The problems a provider meets while reading a file: where each one is and
// what went wrong. A provider keeps those of its last load for the caller.

#include "ChartixExport.h"
#include <string>
#include <vector>

namespace Mapobjects {

/// One problem met while reading a file.
struct CHARTIX_EXPORT TReadProblem {
    std::string FileName; ///< the file the problem is in, as the provider named it
    int Line = 0;         ///< from 1; 0 when the problem belongs to no one line
    std::string Message;  ///< what went wrong
};

/// Keeps the first MaxKept problems in full and counts the rest, so that a
/// badly broken file cannot fill the memory with reports.
class CHARTIX_EXPORT TReadProblems {
public:
    /// How many problems are kept in Items; later ones are only counted.
    static constexpr int MaxKept = 1000;

    /// Records a problem: counted always, kept while fewer than MaxKept are kept.
    void Add(const std::string& FileName, int Line, const std::string& Message);
    /// Forgets every problem and resets the count.
    void Clear();
    /// Every problem met, kept or not.
    int Count() const { return FCount; }
    /// Whether no problem was met.
    bool Empty() const { return FCount == 0; }
    /// The kept problems, in the order met: at most MaxKept of them.
    const std::vector<TReadProblem>& Items() const { return FItems; }
    /// "FILE:LINE: MESSAGE", or "FILE: MESSAGE" without a line.
    static std::string Describe(const TReadProblem& Problem);

private:
    std::vector<TReadProblem> FItems;
    int FCount = 0;
};

} // namespace Mapobjects
