// Multipoints and collections through MITAB: each feature is one object with
// its row, as our reader makes it; what GDAL's driver cannot write is told.
#include "MapInfoFixture.h"

#include "objects/Multi.h"

#include <typeinfo>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

#ifdef CHARTIX_HAVE_MITAB

namespace {

// Kind, row, groups and points of each object of a layer.
std::vector<std::string> Shapes(TMapLayer* L) {
    std::vector<std::string> S;
    for (int I = 0; I < L->ObjectCount(); ++I) {
        TCustomMapObject* O = L->Objects(I);
        std::string Groups;
        if (auto* C = dynamic_cast<TCollectionObject*>(O))
            Groups = Format(" %d/%d/%d", C->RingCount(), C->SectionCount(), C->PointCount());
        S.push_back(Format("%s %s%s %s", typeid(*O).name(), O->Row().Text(0), Groups, PointsOf(O)));
    }
    return S;
}

} // namespace

TEST_F(MapInfoFixture, CollectionsAndMultipointsLoadAsOurReaderLoadsThem) {
    ASSERT_TRUE(MITAB_LibOK()) << MITAB_LoadErr;
    for (const char* Name : {"collection", "multipoint"}) {
        SCOPED_TRACE(Name);
        const std::string File =
            std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/" + Name + ".mif";
        TMapLayer* Ours = Map.Layers().Add(File, "");
        ASSERT_NE(Ours, nullptr);
        TMapLayer* Theirs = Map.Layers().Add("", "mitab");
        ASSERT_TRUE(Tab.Load(Theirs, File));
        EXPECT_TRUE(Tab.Problems().Empty()) << Tab.Problems().Items()[0].Message;
        EXPECT_EQ(Shapes(Theirs), Shapes(Ours));
        // The multipoints keep their symbols (GDAL gives a collection's none).
        for (int I = 0; I < Theirs->ObjectCount(); ++I)
            if (auto* M = dynamic_cast<TMultiPoint*>(Theirs->Objects(I))) {
                auto* Mine = dynamic_cast<TMultiPoint*>(Ours->Objects(I));
                EXPECT_EQ(
                    std::tuple(M->Shape(), M->ReadFont()->Color(), M->ReadFont()->Size()),
                    std::tuple(Mine->Shape(), Mine->ReadFont()->Color(), Mine->ReadFont()->Size()));
            }
        // GDAL's driver writes no multipoints or collections: the .tab gets
        // one feature per point or member, and the save says so for each.
        const std::string Table = Dir.Path(std::string(Name) + ".tab");
        ASSERT_TRUE(Tab.Save(Theirs, Table));
        EXPECT_EQ(Tab.Problems().Count(), Name == std::string("collection") ? 3 : 2);
        for (const TReadProblem& P : Tab.Problems().Items())
            EXPECT_NE(P.Message.find("GDAL's MapInfo driver has no"), std::string::npos)
                << P.Message;
    }
}

#endif
