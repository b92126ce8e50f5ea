#pragma once
// A map on a parent window, the way a host program places it.

#include "core/MapObjects.h"
#include "platform/Controls.h"

#include <gtest/gtest.h>

namespace Testing {

struct MapFixture : ::testing::Test {
    Platform::TWinControl Form{nullptr};
    Mapobjects::TChartix Map{nullptr};

    void SetUp() override {
        Map.SetParent(&Form);
        Map.SetBounds(0, 0, 360, 180);
    }
    void Resize(int W, int H) { Map.SetBounds(0, 0, W, H); }
};

} // namespace Testing
