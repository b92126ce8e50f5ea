#include "FuzzSupport.h"

#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace Fuzz {

namespace {

// The scratch folder of this process; removed when the process ends normally.
struct TScratch {
    std::filesystem::path Dir;
    TScratch() {
        Dir = std::filesystem::temp_directory_path() / ("chartix-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(Dir);
    }
    ~TScratch() {
        std::error_code Ignored;
        std::filesystem::remove_all(Dir, Ignored);
    }
};

TScratch& Scratch() {
    static TScratch S;
    return S;
}

// Paints, as a host's paint handler would: what the library raises out of a
// paint is reported by the host and the program goes on, so only other
// failures (and the sanitizers) count as findings.
void Paint(Mapobjects::TChartix& Map) {
    try {
        Map.PaintMapToBitmap();
    } catch (const Platform::Exception&) {
    }
}

// Hit tests every object at the centre of the view, as a click there would.
void HitAll(Mapobjects::TChartix& Map, Mapobjects::TMapLayer& Layer) {
    const int Count = std::min(Layer.ObjectCount(), 64);
    for (int I = 0; I < Count; ++I)
        Layer.Objects(I)->ContainsPoint(Map.CenterX(), Map.CenterY());
}

void ZoomOnFirstObject(Mapobjects::TChartix& Map, Mapobjects::TMapLayer& Layer) {
    if (Layer.ObjectCount() == 0) return;
    Mapobjects::TCustomMapObject* Obj = Layer.Objects(0);
    const Mapobjects::TBounds B = Obj->GetBounds();
    const double CX = B.MinX / 2 + B.MaxX / 2, CY = B.MinY / 2 + B.MaxY / 2;
    if (std::isfinite(CX) && std::isfinite(CY) && B.MinX <= B.MaxX) {
        Map.SetCenterX(CX);
        Map.SetCenterY(CY);
    }
    Map.SetZoom(100);
    Paint(Map);
    HitAll(Map, Layer);
    // Selected objects draw their selection over themselves.
    Obj->Select();
    Paint(Map);
}

} // namespace

void StartQt(int* Argc, char*** Argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the life of the process: libFuzzer never returns to main.
    static QApplication* App = new QApplication(*Argc, *Argv);
    (void)App;
    Scratch();
}

std::string ScratchPath(const std::string& Name) {
    return (Scratch().Dir / Name).string();
}

void WriteFile(const std::string& File, std::string_view Data) {
    std::ofstream(File, std::ios::binary | std::ios::trunc)
        .write(Data.data(), static_cast<std::streamsize>(Data.size()));
}

void RemoveFile(const std::string& File) {
    std::error_code Ignored;
    std::filesystem::remove(File, Ignored);
}

void LoadAndPaint(const std::string& MifFile, bool SaveAgain) {
    using namespace Mapobjects;
    Platform::TWinControl Form{nullptr};
    TChartix Map{nullptr};
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 400, 300);
    TSimpleMIFFormatProvider Provider{nullptr};
    TMapLayer* Layer = Map.Layers().Add("", "fuzz");
    Provider.Load(Layer, MifFile);
    Paint(Map);
    HitAll(Map, *Layer);
    ZoomOnFirstObject(Map, *Layer);

    if (SaveAgain) {
        // What was read is written and read back: the writer meets every
        // odd object the reader lets through.
        const std::string Again = ScratchPath("again.mif");
        try {
            Provider.Save(Layer, Again);
            TMapLayer* Copy = Map.Layers().Add("", "again");
            Provider.Load(Copy, Again);
            Paint(Map);
        } catch (const Platform::Exception&) {
        }
        RemoveFile(Again);
        RemoveFile(Platform::ChangeFileExt(Again, ".mid"));
    }
    Platform::RecordedMessages().clear();
    // Qt trims its font cache on a timer; without an event loop it would
    // keep an engine for every face and size an input ever named.
    QCoreApplication::processEvents();
}

std::pair<std::string_view, std::string_view> SplitAt(std::string_view Data,
                                                      std::string_view Separator) {
    const size_t At = Data.find(Separator);
    if (At == std::string_view::npos) return {Data, {}};
    return {Data.substr(0, At), Data.substr(At + Separator.size())};
}

} // namespace Fuzz
