// Shapes and styles that the map's own tools cannot hold (rounded
// rectangles, picture and turned font symbols, pen pattern numbers, brush
// back colours, points without a Symbol clause) read by our MIF reader and
// saved as .mif and as .tab: GDAL reads the same styles and shapes from our
// .mif as from the hand-made source, and from our .tab as from the .tab its
// own driver makes of the source (which writes no symbol angle).
#include "MapInfoFixture.h"

#include <regex>

using namespace Mapobjects;

namespace {

#ifdef CHARTIX_HAVE_MITAB

// What GDAL says of a feature that a save must keep: the geometry type and
// vertex count, and the MapInfo numbers, colours, angle and font of its style.
std::string Essence(const Testing::TOgrFeature& F) {
    static const std::regex Number(R"(-?[0-9.]+(e[-+]?[0-9]+)? -?[0-9.]+)");
    static const std::regex Style(
        R"((mapinfo-(pen|brush|sym)-[0-9]+|mapinfo-custom-sym-[0-9]+-[^,"]+|font-sym-[0-9]+|\b(c|fc|bc|a|s):[^,)]+|f:"[^"]*"))");
    const std::string Type = F.Geometry.substr(0, F.Geometry.find(' '));
    const auto Count = std::distance(
        std::sregex_iterator(F.Geometry.begin(), F.Geometry.end(), Number), std::sregex_iterator());
    std::string S = Type + " " + std::to_string(Count) + " points";
    for (auto It = std::sregex_iterator(F.Style.begin(), F.Style.end(), Style);
         It != std::sregex_iterator(); ++It)
        S += " " + It->str();
    return S;
}

std::vector<std::string> Essences(const std::string& Table) {
    std::vector<std::string> Result;
    for (const Testing::TOgrFeature& F : Testing::OgrInfo(Table))
        Result.push_back(Essence(F));
    return Result;
}

struct StyleRoundTrip : Testing::MapInfoFixture {};

TEST_F(StyleRoundTrip, GdalReadsOurMifAndTabAsItReadsTheSource) {
    ASSERT_TRUE(MITAB_LibOK());
    const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/";
    for (const char* Name : {"roundrect", "custom-symbol", "font-symbol-angle", "pen-patterns",
                             "brush-bg-smooth-center", "no-symbol-point"}) {
        SCOPED_TRACE(Name);
        const std::vector<std::string> Source = Essences(Data + Name + ".mif");
        ASSERT_FALSE(Source.empty());
        TMapLayer* Layer = Map.Layers().Add("", Name);
        ASSERT_TRUE(Mif.Load(Layer, Data + Name + ".mif"));
        const std::string OurMif = Dir.Path(std::string(Name) + ".mif");
        const std::string OurTab = Dir.Path(std::string(Name) + ".tab");
        ASSERT_TRUE(Mif.Save(Layer, OurMif));
        ASSERT_TRUE(Tab.Save(Layer, OurTab));
        const std::string GdalTab = Dir.Path(std::string(Name) + "-gdal.tab");
        Testing::RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' '" + GdalTab + "' '" + Data +
                            Name + ".mif'");
        EXPECT_EQ(Essences(OurMif), Source) << "our .mif";
        EXPECT_EQ(Essences(OurTab), Essences(GdalTab)) << "our .tab";
    }
}

#endif

} // namespace
