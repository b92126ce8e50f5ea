#include "CliSupport.h"

#include "formats/VectorSources.h"

#include "core/CustomFormatProvider.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace Apps {

void UseOffscreenPlatformUnlessSet() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void FilterQtMessages() {
    qInstallMessageHandler([](QtMsgType Type, const QMessageLogContext&, const QString& Text) {
        if (Type == QtWarningMsg && Text.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
        std::fprintf(stderr, "%s\n", Text.toLocal8Bit().constData());
        if (Type == QtFatalMsg) std::abort();
    });
}

std::string UnreadableReason(const std::string& Path) {
    std::error_code Ec;
    const fs::file_status St = fs::status(Path, Ec);
    if (Ec || !fs::exists(St)) return std::strerror(ENOENT);
    if (fs::is_directory(St)) return std::strerror(EISDIR);
    std::FILE* F = std::fopen(Path.c_str(), "rb");
    if (!F) return std::strerror(errno);
    std::fclose(F);
    return {};
}

std::string UnwritableReason(const std::string& Path) {
    std::error_code Ec;
    if (fs::is_directory(Path, Ec)) return std::strerror(EISDIR);
    fs::path Dir = fs::path(Path).parent_path();
    if (Dir.empty()) Dir = ".";
    if (!fs::exists(Dir, Ec)) return std::string(std::strerror(ENOENT)) + " (" + Dir.string() + ")";
    if (!fs::is_directory(Dir, Ec))
        return std::string(std::strerror(ENOTDIR)) + " (" + Dir.string() + ")";
    if (fs::exists(Path, Ec) ? access(Path.c_str(), W_OK) != 0 : access(Dir.c_str(), W_OK) != 0)
        return std::strerror(errno);
    return {};
}

std::uintmax_t FileSizeOf(const std::string& Path) {
    std::error_code Ec;
    const std::uintmax_t N = fs::file_size(Path, Ec);
    return Ec ? 0 : N;
}

std::string BaseName(const std::string& Path) {
    return fs::path(Path).filename().string();
}

std::string AcceptedFormats() {
    const Mapobjects::TFormatProviders* Registry = Mapobjects::FormatProviders();
    return Registry ? Registry->AcceptedFormats() : "none registered";
}

// --- messages -----------------------------------------------------------------

TMessagePrinter::TMessagePrinter(std::string Program) : FProgram(std::move(Program)) {
    Platform::SetMessageHook([this](const std::string& Text, Platform::TMsgDlgType, int) {
        ++FCount;
        if (FHeld)
            FHeld->push_back(Text);
        else
            std::fprintf(stderr, "%s: %s\n", FProgram.c_str(), Text.c_str());
        return static_cast<int>(Platform::mrOk);
    });
}

TMessagePrinter::~TMessagePrinter() {
    Platform::SetMessageHook(nullptr);
}

std::vector<std::string> TMessagePrinter::Release() {
    std::vector<std::string> Kept = FHeld ? std::move(*FHeld) : std::vector<std::string>();
    FHeld.reset();
    return Kept;
}

// --- progress -----------------------------------------------------------------

TProgressPrinter::TProgressPrinter(std::string Program, Mapobjects::TChartix& Map)
    : FProgram(std::move(Program)) {
    Map.OnStartProgress = [this](Platform::TObject*, int Min, int Max, const std::string& Title) {
        Start(Min, Max, Title);
    };
    Map.OnShowProgress = [this](Platform::TObject*, int Position) { Show(Position); };
    Map.OnStopProgress = [this](Platform::TObject*) { Stop(); };
}

bool TProgressPrinter::WantedFor(std::uintmax_t Bytes) {
    return isatty(STDERR_FILENO) || Bytes > 5u * 1024 * 1024;
}

void TProgressPrinter::Start(int Min, int Max, const std::string& Title) {
    FMin = Min;
    FMax = Max;
    FTitle = FLabel.empty() ? Title : FLabel;
    FLastPercent = -1;
    FShown = false;
}

void TProgressPrinter::Show(int Position) {
    if (!FEnabled) return;
    // Painting reports layer indices 0..n-1; with one layer that range is empty.
    const int Percent =
        FMax > FMin ? static_cast<int>(100.0 * (Position - FMin) / (FMax - FMin)) : 100;
    if (Percent == FLastPercent) return;
    FLastPercent = Percent;
    FShown = true;
    std::fprintf(stderr, "\r%s: %s %3d%%", FProgram.c_str(), FTitle.c_str(), Percent);
    std::fflush(stderr);
}

void TProgressPrinter::Stop() {
    if (FShown) {
        if (FLastPercent != 100)
            std::fprintf(stderr, "\r%s: %s %3d%%", FProgram.c_str(), FTitle.c_str(), 100);
        std::fputc('\n', stderr);
    }
    FShown = false;
}

// --- loading ------------------------------------------------------------------

int LoadLayer(const std::string& Program, Mapobjects::TChartix& Map, const std::string& Path,
              TProgressPrinter& Progress, Mapobjects::TMapLayer*& Layer, bool Strict) {
    Layer = nullptr;
    // A layer of a multi-layer source is named after its file.
    const std::string File = Mapobjects::SourceFileOf(Path);
    if (std::string Why = UnreadableReason(File); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", Program.c_str(), Path.c_str(),
                     Why.c_str());
        return ExitUnreadable;
    }
    Progress.SetLabel("loading " + BaseName(Path));
    Progress.SetEnabled(TProgressPrinter::WantedFor(FileSizeOf(File)));
    // One answer from the library: what was loaded, the problems with their
    // lines, and why it failed when it did (messages included, never shown).
    Mapobjects::TFileResult Result;
    Mapobjects::TMapLayer* Added = Map.Layers().Add(Path, "", Result);
    Progress.SetLabel("");
    const Mapobjects::TReadProblems& Problems = Result.Problems;
    const char* Kind = Strict ? "error" : "warning";
    constexpr int MaxPrinted = 20;
    for (int I = 0; I < std::min(MaxPrinted, static_cast<int>(Problems.Items().size())); ++I)
        std::fprintf(stderr, "%s: %s: %s\n", Program.c_str(), Kind,
                     Mapobjects::TReadProblems::Describe(Problems.Items()[I]).c_str());
    if (Problems.Count() > MaxPrinted)
        std::fprintf(stderr, "%s: %s: %d more problems in %s\n", Program.c_str(), Kind,
                     Problems.Count() - MaxPrinted, Path.c_str());
    if (!Added) {
        std::fprintf(stderr, "%s: failed to load %s: %s\n", Program.c_str(), Path.c_str(),
                     Result.Message.c_str());
        return ExitLoadFailed;
    }
    // Read past is not good enough for --strict, nor when nothing was read.
    if (!Problems.Empty() && (Strict || Added->ObjectCount() == 0)) {
        std::fprintf(stderr, "%s: failed to load %s\n", Program.c_str(), Path.c_str());
        return ExitLoadFailed;
    }
    if (!Problems.Empty())
        std::fprintf(stderr, "%s: %s: %d objects loaded, %d %s read past\n", Program.c_str(),
                     Path.c_str(), Added->ObjectCount(), Problems.Count(),
                     Problems.Count() == 1 ? "problem" : "problems");
    Layer = Added;
    return ExitOk;
}

bool IsWorkspace(const std::string& Path) {
    return Platform::SameText(Platform::ExtractFileExt(Path), ".wor");
}

namespace {

int LoadWorkspaceFile(const std::string& Program, Mapobjects::TChartix& Map,
                      const std::string& Path, TMessagePrinter& Messages,
                      std::vector<Mapobjects::TMapLayer*>& Layers, bool Strict) {
    const int Before = Map.Layers().Count();
    Mapobjects::TReadProblems Problems;
    Messages.Hold();
    try {
        Map.LoadWOR(Path, Problems);
    } catch (const std::exception& E) {
        Messages.Release();
        std::fprintf(stderr, "%s: failed to load %s: %s\n", Program.c_str(), Path.c_str(),
                     E.what());
        return ExitLoadFailed;
    }
    for (const std::string& Text : Messages.Release())
        std::fprintf(stderr, "%s: %s\n", Program.c_str(), Text.c_str());
    const char* Kind = Strict ? "error" : "warning";
    for (const Mapobjects::TReadProblem& P : Problems.Items())
        std::fprintf(stderr, "%s: %s: %s\n", Program.c_str(), Kind,
                     Mapobjects::TReadProblems::Describe(P).c_str());
    for (int I = Before; I < Map.Layers().Count(); ++I)
        Layers.push_back(Map.Layers().GetLayer(I));
    if (Layers.empty() || (Strict && !Problems.Empty())) {
        std::fprintf(stderr, "%s: failed to load %s\n", Program.c_str(), Path.c_str());
        return ExitLoadFailed;
    }
    return ExitOk;
}

} // namespace

int LoadFile(const std::string& Program, Mapobjects::TChartix& Map, const std::string& Path,
             TMessagePrinter& Messages, TProgressPrinter& Progress,
             std::vector<Mapobjects::TMapLayer*>& Layers, bool Strict) {
    if (!IsWorkspace(Path)) {
        Mapobjects::TMapLayer* Layer = nullptr;
        const int Code = LoadLayer(Program, Map, Path, Progress, Layer, Strict);
        if (Layer) Layers.push_back(Layer);
        return Code;
    }
    if (std::string Why = UnreadableReason(Path); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", Program.c_str(), Path.c_str(),
                     Why.c_str());
        return ExitUnreadable;
    }
    return LoadWorkspaceFile(Program, Map, Path, Messages, Layers, Strict);
}

// --- the built-in look ---------------------------------------------------------------

namespace {

using namespace Mapobjects;
using Platform::RGB;
using Platform::TColor;

const TColor Sea = RGB(0xd6, 0xe7, 0xf2);
const TColor Outline = RGB(0x5a, 0x5a, 0x5a);
const TColor Fills[] = {RGB(0xe8, 0xd3, 0xa9), RGB(0xc9, 0xdf, 0xb4), RGB(0xf2, 0xc9, 0xb1),
                        RGB(0xb9, 0xd4, 0xe6), RGB(0xe6, 0xc8, 0xdc), RGB(0xd9, 0xe4, 0xa6),
                        RGB(0xf1, 0xe2, 0xa0)};
const TColor Lines[] = {RGB(0x2c, 0x5d, 0x8f), RGB(0x8f, 0x3b, 0x2c), RGB(0x3b, 0x7a, 0x3a),
                        RGB(0x6a, 0x4c, 0x93)};
const TColor Marker = RGB(0xb0, 0x3a, 0x2e);

} // namespace

Platform::TColor DefaultBackground() {
    return Sea;
}

// Soft fills that change from object to object, thin dark lines, round red
// markers; each layer starts its palette elsewhere so stacked layers differ.
void ApplyReadableLabels(TMapLayer& Layer) {
    TLabelSettings Settings;
    Settings.Halo = true;
    Settings.Overlap = false;
    Settings.Anchor = laLargestPart;
    if (Layer.ObjectCount() > 0 && Layer.Objects(0)->SinglePoint()) {
        Settings.Position = lpRight;
        Settings.Offset = 5; // clear of the marker
    }
    Layer.SetLabelSettings(Settings);
}

void ApplyDefaultStyle(TMapLayer& Layer, int LayerIndex) {
    const int NF = static_cast<int>(std::size(Fills)), NL = static_cast<int>(std::size(Lines));
    for (int I = 0; I < Layer.ObjectCount(); ++I) {
        TCustomMapObject* Obj = Layer.Objects(I);
        if (auto* Sym = dynamic_cast<TSymbol*>(Obj)) {
            Sym->SetShape(LayerIndex % 2 ? 35 : 34);
            Sym->Font()->SetName("MapInfo Symbol");
            Sym->Font()->SetSize(7);
            Sym->Font()->SetColor(Marker);
        } else if (dynamic_cast<TRegion*>(Obj)) {
            Obj->Pen()->SetColor(Outline);
            Obj->Pen()->SetWidth(1);
            Obj->Pen()->SetStyle(Platform::psSolid);
            Obj->Brush()->SetStyle(Platform::bsSolid);
            Obj->Brush()->SetColor(Fills[(I + LayerIndex * 3) % NF]);
        } else if (dynamic_cast<TPolyline*>(Obj)) {
            Obj->Pen()->SetColor(Lines[(I + LayerIndex) % NL]);
            Obj->Pen()->SetWidth(1);
            Obj->Pen()->SetStyle(Platform::psSolid);
        }
    }
}

} // namespace Apps
