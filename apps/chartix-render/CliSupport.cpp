#include "CliSupport.h"

#include "formats/CustomFormatProvider.h"
#include "platform/Dialogs.h"

#include <QtGlobal>

#include <cerrno>
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
    if (!Registry || Registry->Count() == 0) return "none registered";
    // The filter alternates descriptions and patterns; the descriptions
    // already name their patterns, so they are enough.
    const std::string Filter = Registry->GetFilter();
    std::string Result;
    size_t Pos = 0;
    for (int Item = 0; Pos <= Filter.size(); ++Item) {
        size_t Bar = Filter.find('|', Pos);
        if (Bar == std::string::npos) Bar = Filter.size();
        if (Item % 2 == 0) {
            if (!Result.empty()) Result += "; ";
            Result += Filter.substr(Pos, Bar - Pos);
        }
        Pos = Bar + 1;
    }
    return Result;
}

// --- messages -----------------------------------------------------------------

TMessagePrinter::TMessagePrinter(std::string Program) : FProgram(std::move(Program)) {
    Platform::SetMessageHook([this](const std::string& Text, Platform::TMsgDlgType, int) {
        ++FCount;
        std::fprintf(stderr, "%s: %s\n", FProgram.c_str(), Text.c_str());
        return static_cast<int>(Platform::mrOk);
    });
}

TMessagePrinter::~TMessagePrinter() {
    Platform::SetMessageHook(nullptr);
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
              const TMessagePrinter& Messages, TProgressPrinter& Progress,
              Mapobjects::TMapLayer*& Layer) {
    Layer = nullptr;
    if (std::string Why = UnreadableReason(Path); !Why.empty()) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", Program.c_str(), Path.c_str(),
                     Why.c_str());
        return ExitUnreadable;
    }
    const Mapobjects::TFormatProviders* Registry = Mapobjects::FormatProviders();
    if (!Registry || !Registry->FindSuitableProvider(Path)) {
        std::fprintf(stderr, "%s: no format provider accepts %s; accepted formats: %s\n",
                     Program.c_str(), Path.c_str(), AcceptedFormats().c_str());
        return ExitLoadFailed;
    }
    const int Before = Messages.Count();
    Progress.SetLabel("loading " + BaseName(Path));
    Progress.SetEnabled(TProgressPrinter::WantedFor(FileSizeOf(Path)));
    Mapobjects::TMapLayer* Added = nullptr;
    try {
        Added = Map.Layers().Add(Path, "");
    } catch (const std::exception& E) {
        // Providers report reading errors themselves; anything that still
        // escapes (no memory, a broken file system) ends the run here.
        Progress.SetLabel("");
        std::fprintf(stderr, "%s: failed to load %s: %s\n", Program.c_str(), Path.c_str(),
                     E.what());
        return ExitLoadFailed;
    }
    Progress.SetLabel("");
    // The layer keeps its file name only when the provider reported success;
    // a reading error arrives as a message (and the provider keeps going).
    if (Messages.Count() != Before || Added->FileName().empty()) {
        std::fprintf(stderr, "%s: failed to load %s\n", Program.c_str(), Path.c_str());
        return ExitLoadFailed;
    }
    Layer = Added;
    return ExitOk;
}

} // namespace Apps
