#pragma once
// Comparing WKT texts from GDAL's tools: the same shape, numbers within a
// tolerance. No Qt, so the MITAB module's own tests can use it too.

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace Testing {

// The numbers of a WKT text, and the text with each number as "#".
inline std::pair<std::string, std::vector<double>> SplitWkt(const std::string& Wkt) {
    std::string Shape;
    std::vector<double> Numbers;
    const char* P = Wkt.c_str();
    while (*P) {
        if ((*P >= '0' && *P <= '9') || *P == '-' || *P == '.') {
            char* End;
            Numbers.push_back(std::strtod(P, &End));
            Shape += '#';
            P = End;
        } else {
            Shape += *P++;
        }
    }
    return {Shape, Numbers};
}

// Equal shape, and numbers equal within Tolerance (the grid of a .tab's
// coordinates by default).
inline void ExpectWkt(const std::string& Actual, const std::string& Expected,
                      double Tolerance = 1e-6) {
    auto [AShape, ANumbers] = SplitWkt(Actual);
    auto [EShape, ENumbers] = SplitWkt(Expected);
    ASSERT_EQ(AShape, EShape) << Actual;
    for (size_t I = 0; I < ANumbers.size(); ++I)
        EXPECT_NEAR(ANumbers[I], ENumbers[I], Tolerance) << Actual;
}

} // namespace Testing
