#include "formats/SimpleMIFFormatProvider.h"

#include "core/MapObjects.h"
#include "formats/MifReader.h"
#include "formats/MifText.h"
#include "formats/MifWriter.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {

// A whole file in memory. The memory is not cleared first: clearing tens of
// megabytes that the read overwrites at once costs about as much as the read.
class TFileBytes {
public:
    explicit TFileBytes(const std::string& FileName) {
        std::FILE* F = std::fopen(FileName.c_str(), "rb");
        if (!F)
            throw EFOpenError(
                Format("Cannot open file \"%s\". %s", FileName, std::strerror(errno)));
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> Closer(F, &std::fclose);
        struct stat St {};
        size_t Size = 0;
        if (fstat(fileno(F), &St) == 0 && S_ISREG(St.st_mode))
            Size = static_cast<size_t>(St.st_size);
        // Straight into the buffer when the size is known; in chunks
        // otherwise (and for whatever a growing file adds meanwhile).
        Reserve(Size + 1);
        for (;;) {
            if (FSize == FCapacity) Reserve(FCapacity * 2);
            const size_t N = std::fread(FData.get() + FSize, 1, FCapacity - FSize, F);
            FSize += N;
            if (N == 0) break;
        }
        if (std::ferror(F))
            throw EFOpenError(
                Format("Cannot read file \"%s\". %s", FileName, std::strerror(errno)));
    }
    std::string_view View() const { return {FData.get(), FSize}; }

private:
    void Reserve(size_t Capacity) {
        std::unique_ptr<char[]> Bigger(new char[Capacity]);
        if (FSize) std::memcpy(Bigger.get(), FData.get(), FSize);
        FData = std::move(Bigger);
        FCapacity = Capacity;
    }

    std::unique_ptr<char[]> FData;
    size_t FSize = 0;
    size_t FCapacity = 0;
};

// The attribute file beside a .mif: ".mid" as the format names it, or the
// upper- and mixed-case spellings that files from other systems carry.
std::string FindMidFile(const std::string& MifName) {
    for (const char* Ext : {".mid", ".MID", ".Mid"}) {
        std::string Name = ChangeFileExt(MifName, Ext);
        if (FileExists(Name)) return Name;
    }
    return std::string();
}

// Lifts the update and text-sizing guards however the load ends, and stops
// the progress.
class TLoadGuard {
public:
    explicit TLoadGuard(TChartix* Map) : FMap(Map) {
        Map->BeginUpdate();
        Map->SetTextSizing(true);
    }
    ~TLoadGuard() {
        FMap->StopProgress();
        FMap->EndUpdate(true);
        FMap->SetTextSizing(false);
    }
    TLoadGuard(const TLoadGuard&) = delete;
    TLoadGuard& operator=(const TLoadGuard&) = delete;

private:
    TChartix* FMap;
};

} // namespace

TSimpleMIFFormatProvider::TSimpleMIFFormatProvider(TComponent* Owner)
    : TCustomFormatProvider(Owner) {}

std::string TSimpleMIFFormatProvider::GetDescription() const {
    return "MapInfo Interchange Format (MIF) Provider (simple edition)";
}

std::string TSimpleMIFFormatProvider::GetFilter() const {
    return "MapInfo Interchange Format Files (*.mif)|*.mif";
}

TGUID TSimpleMIFFormatProvider::GetGUID() const {
    static const TGUID Guid = StringToGUID("{830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}");
    return Guid;
}

bool TSimpleMIFFormatProvider::CanProcessFile(const std::string& FileName) const {
    return SameText(ExtractFileExt(FileName), ".mif");
}

TObjectAttribute TSimpleMIFFormatProvider::IsObjAttrString(std::string_view Line) {
    // Each word anywhere in the line, in any case; the later in this list
    // wins. One pass, and the words start with different letters: a clause
    // line is read for every object of a file.
    static constexpr std::pair<std::string_view, TObjectAttribute> Words[] = {{"PEN", oaPen},
                                                                              {"BRUSH", oaBrush},
                                                                              {"CENTER", oaCenter},
                                                                              {"FONT", oaFont},
                                                                              {"SYMBOL", oaSymbol}};
    static constexpr std::string_view Initials = "PBCFS";
    constexpr int Last = static_cast<int>(std::size(Words)) - 1;
    int Best = -1;
    for (size_t I = 0; I < Line.size(); ++I) {
        const size_t W = Initials.find(Mif::UpChar(Line[I]));
        if (W == std::string_view::npos) continue;
        const std::string_view Word = Words[W].first;
        if (static_cast<int>(W) <= Best || Line.size() - I < Word.size()) continue;
        if (!Mif::IsWord(Line.substr(I, Word.size()), Word)) continue;
        Best = static_cast<int>(W);
        if (Best == Last) break; // nothing beats it
    }
    return Best < 0 ? oaNone : Words[Best].second;
}

namespace {

// The one message of a load: the first problem, and how many there were.
void ShowProblems(const TReadProblems& Problems, const std::string& FileName) {
    if (Problems.Empty()) return;
    const TReadProblem& First = Problems.Items().front();
    std::string Message = First.FileName == FileName
                              ? First.Message
                              : ExtractFileName(First.FileName) + ": " + First.Message;
    if (Problems.Count() > 1) Message += Format(" (%d problems in all)", Problems.Count());
    if (First.Line > 0)
        MessageDlg(
            Format("Error reading mif-file at line %d with message: %s!", First.Line, Message),
            mtError, mbOK);
    else
        MessageDlg(Format("Error reading mif-file %s with message: %s!", ExtractFileName(FileName),
                          Message),
                   mtError, mbOK);
}

} // namespace

bool TSimpleMIFFormatProvider::Load(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!Layer || !Layer->Map() || !FileExists(FileName)) return false;
    TLoadGuard Guard(Layer->Map());
    // A file that cannot be opened at all is the caller's error to handle.
    std::optional<TFileBytes> Mif, Mid;
    std::string MidName;
    try {
        Mif.emplace(FileName);
        // What is no MIF file at all loads nothing.
        int Line;
        if (const std::string Why = Mif::NotMifReason(Mif->View(), Line); !Why.empty()) {
            Problems.Add(FileName, Line, Why);
            ShowProblems(Problems, FileName);
            return false;
        }
        MidName = FindMidFile(FileName);
        if (!MidName.empty()) Mid.emplace(MidName);
    } catch (const std::bad_alloc&) {
        Problems.Add(FileName, 0, "Not enough memory to read the file");
        ShowProblems(Problems, FileName);
        return false;
    }
    try {
        Mif::ReadMifPair(
            *Layer,
            Mif::TMifInput{Mif->View(), FileName, Mid ? Mid->View() : std::string_view(), MidName},
            Problems);
    } catch (const std::bad_alloc&) {
        // The reader says where it stopped; this is the memory it needed to start.
        Problems.Add(FileName, 0, "Not enough memory to read the file");
    }
    ShowProblems(Problems, FileName);
    return true;
}

bool TSimpleMIFFormatProvider::Save(TMapLayer* Layer, const std::string& FileName) {
    if (!Layer) return false;
    if (!FileName.empty()) Layer->SetFileName(FileName);
    const std::string MifName = FileName.empty() ? Layer->FileName() : FileName;
    if (MifName.empty()) throw EFCreateError("Cannot create file \"\". No file name");
    Mif::WriteMifPair(*Layer, MifName, FDialect);
    return true;
}

} // namespace Mapobjects
