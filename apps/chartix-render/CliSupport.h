#pragma once
// What the command-line tools share: exit codes, checks of input and output
// files, the message hook that turns the library's modal messages into lines
// on stderr, terminal progress from the map's progress events, and loading a
// file as a layer with those checks.

#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "formats/VectorSources.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Apps {

enum TExitCode {
    ExitOk = 0,
    ExitUsage = 1,       // bad command line
    ExitUnreadable = 2,  // an input file is missing or unreadable, an output place unwritable
    ExitLoadFailed = 3,  // no provider takes the file, or the provider reported an error
    ExitWriteFailed = 4, // saving or writing the result failed
};

// Headless tools need no display: offscreen unless the user chose a platform.
void UseOffscreenPlatformUnlessSet();
// Keeps Qt's start-up chatter about the session (no runtime directory, as
// under CI or sudo) off stderr; every other Qt message still gets through.
void FilterQtMessages();

// Empty when Path is a regular file we can open for reading; otherwise why not.
std::string UnreadableReason(const std::string& Path);
// Empty when a file may be created at Path; otherwise why not.
std::string UnwritableReason(const std::string& Path);
std::uintmax_t FileSizeOf(const std::string& Path);
std::string BaseName(const std::string& Path);

// "A (*.a); B (*.b)" from the registry's dialog filter "A (*.a)|*.a|B (*.b)|*.b".
std::string AcceptedFormats();

// Prints every message the library shows as "<program>: <text>" on stderr and
// counts them; the previous hook is restored on destruction. While held,
// messages are kept instead of printed, for the caller to print or drop.
class TMessagePrinter {
public:
    explicit TMessagePrinter(std::string Program);
    ~TMessagePrinter();
    TMessagePrinter(const TMessagePrinter&) = delete;
    TMessagePrinter& operator=(const TMessagePrinter&) = delete;
    int Count() const { return FCount; }
    void Hold() { FHeld.emplace(); }
    // Ends holding and hands over what was kept.
    std::vector<std::string> Release();

private:
    std::string FProgram;
    int FCount = 0;
    std::optional<std::vector<std::string>> FHeld;
};

// A one-line percentage on stderr, fed by the map's progress events. Quiet
// unless switched on, so pipes and logs stay clean for small files.
class TProgressPrinter {
public:
    TProgressPrinter(std::string Program, Mapobjects::TChartix& Map);
    // Label shown for the next run of events; the event's title when empty.
    void SetLabel(const std::string& Label) { FLabel = Label; }
    void SetEnabled(bool V) { FEnabled = V; }
    bool Enabled() const { return FEnabled; }
    // On for a terminal, or when the work is large enough to take a while.
    static bool WantedFor(std::uintmax_t Bytes);

private:
    void Start(int Min, int Max, const std::string& Title);
    void Show(int Position);
    void Stop();

    std::string FProgram;
    std::string FLabel, FTitle;
    bool FEnabled = false;
    bool FShown = false;
    int FMin = 0, FMax = 0, FLastPercent = -1;
};

// The providers every program registers, in this order: ours keeps ".mif",
// MITAB's takes ".tab" (and loading refuses with its message when the
// library is not found beside the program), GDAL's every other vector
// format (none when the GDAL module is not found).
struct TProviders {
    Mapobjects::TSimpleMIFFormatProvider Mif{nullptr};
    Mapobjects::TMapInfoFormatProvider Tables{nullptr};
    std::unique_ptr<Mapobjects::TCustomFormatProvider> Vector = Mapobjects::NewVectorProvider();
};

// A MapInfo workspace, by its ".wor" extension.
bool IsWorkspace(const std::string& Path);

// Checks Path, then adds it to Map as a layer through the provider registry.
// Reports on stderr and returns the exit code; Layer is set on success. The
// problems a reader met and read past are printed as warnings and the load
// counts when it gave objects; with Strict any problem fails it.
int LoadLayer(const std::string& Program, Mapobjects::TChartix& Map, const std::string& Path,
              TProgressPrinter& Progress, Mapobjects::TMapLayer*& Layer, bool Strict = false);

// LoadLayer for a layer file; a workspace adds every layer it opens. The
// tables a workspace skips or could not load are warnings (errors with
// Strict); a workspace that gives no layer fails.
int LoadFile(const std::string& Program, Mapobjects::TChartix& Map, const std::string& Path,
             TMessagePrinter& Messages, TProgressPrinter& Progress,
             std::vector<Mapobjects::TMapLayer*>& Layers, bool Strict = false);

// The built-in look: soft fills changing from object to object, thin dark
// lines, round red markers; each layer starts its palette elsewhere.
void ApplyDefaultStyle(Mapobjects::TMapLayer& Layer, int LayerIndex);

// Labels as desktop GIS draw them: haloed, none covering another, a country's
// on its largest part, right of the marker on a layer of points (judged by its
// first object). The column and the switch are left alone.
void ApplyReadableLabels(Mapobjects::TMapLayer& Layer);
// The sea colour that goes with that look.
Platform::TColor DefaultBackground();

} // namespace Apps
