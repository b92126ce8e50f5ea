// A map's own destruction. (The sanitizer build reports any use of a freed
// map.)
#include "support/MapFixture.h"

#include <memory>
#include <string>
#include <vector>

using namespace Mapobjects;
using Platform::TObject;
using Testing::AddSquare;

namespace {

struct CountingLink : TMapDataLink {
    int Heard = 0;
    void MapEvent(TMapDataLinkEvent, TObject*, int) override { ++Heard; }
};

} // namespace

// A map frees its layers first (as Clear does: a handler sees only the
// layers still there), while the rest of it is whole; objects freed
// with them announce nothing, to the host or its links, and the selection is
// empty by then.
TEST(Lifetime, LayersGoWhileTheMapIsWhole) {
    Platform::TWinControl Form(nullptr);
    auto Map = std::make_unique<TChartix>(nullptr);
    Map->SetParent(&Form);
    AddSquare(Map->Layers().Add("", "A"), 0, 0, 10)->Select();
    AddSquare(Map->Layers().Add("", "B"), 20, 0, 10)->Select();
    std::vector<std::string> Seen;
    Map->OnBeforeDelLayer = [&](TChartix* M, TMapLayer* L, bool, bool&) {
        Seen.push_back(Platform::Format("%s %d %d %d", L->Name(), M->Layers().Count(),
                                        M->Selection().Count(), M->Options().DefaultSymbolShape()));
    };
    int Deleted = 0;
    Map->OnDeleteObject = [&](TObject*) { ++Deleted; };
    CountingLink Link;
    Link.SetMap(Map.get());
    Map.reset();
    EXPECT_EQ(Seen, (std::vector<std::string>{"A 1 0 58", "B 0 0 58"}));
    EXPECT_EQ(std::tuple(Deleted, Link.Heard, Link.Map()), std::tuple(0, 0, nullptr));
}
