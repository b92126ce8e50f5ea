// The index file loader: the input is an index file without its 18-byte
// header, which the harness puts in front. The file is read by a layer that
// switches its index on, as a program opening a layer does; the layer's
// objects are fewer than most ids in a file, so stray ids meet the paint and
// the queries. A tree that loads must also write back what it read.
#include "FuzzSupport.h"

#include "core/MapObjects.h"
#include "index/IndexCell.h"
#include "objects/Polys.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace Mapobjects;

namespace {

void Check(bool Condition, const char* What) {
    if (Condition) return;
    std::fprintf(stderr, "index file: %s\n", What);
    std::abort();
}

std::string ReadFile(const std::string& File) {
    std::stringstream S;
    S << std::ifstream(File, std::ios::binary).rdbuf();
    return S.str();
}

void AddTriangles(TMapLayer& Layer) {
    for (int I = 0; I < 12; ++I) {
        const double X = (I % 4) * 30 - 50, Y = (I / 4) * 25 - 30;
        TMapPoints& Points = Layer.NewObject<TRegion>()->Parts().Add()->Points();
        Points.Add(X, Y);
        Points.Add(X + 20, Y + 5);
        Points.Add(X + 8, Y + 18);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    Fuzz::StartQt(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const std::string Idx = Fuzz::ScratchPath("layer.idx");
    static const std::string Again = Fuzz::ScratchPath("again.idx");
    const std::string File = "Chartix Index File" + std::string(Fuzz::AsText(Data, Size));
    Fuzz::WriteFile(Idx, File);

    Platform::TWinControl Form{nullptr};
    TChartix Map{nullptr};
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 200, 150);
    TMapLayer* Layer = Map.Layers().Add("", "indexed");
    AddTriangles(*Layer);
    Layer->SetFileName(Fuzz::ScratchPath("layer.mif")); // the index beside it is read
    Layer->SetUseIndex2D(true);
    try {
        Map.PaintMapToBitmap();
    } catch (const Platform::Exception&) {
    }
    TCardinalArray Ids;
    Layer->Index2D().GetAllIdsAtPoint(0, 0, Ids);
    Layer->Index2D().GetAllIdsInRect(TCellBounds(TBounds{-10, -10, 10, 10}), Ids);

    // A tree read from a file writes back the same records.
    TIndexCell Loaded(static_cast<TMapLayer*>(nullptr));
    bool Read = false;
    try {
        Read = Loaded.LoadFromToFile(Idx);
    } catch (const Platform::Exception&) {
    }
    if (Read) {
        Loaded.SaveToFile(Again);
        const std::string Written = ReadFile(Again);
        Check(File.compare(0, Written.size(), Written) == 0, "written records differ from read");
        Fuzz::RemoveFile(Again);
    }
    Fuzz::RemoveFile(Idx);
    Platform::RecordedMessages().clear();
    return 0;
}
