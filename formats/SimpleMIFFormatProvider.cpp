#include "formats/SimpleMIFFormatProvider.h"

#include "core/MapObjects.h"
#include "formats/MifReader.h"
#include "formats/MifText.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {

// One buffered read of the whole file.
std::string ReadWholeFile(const std::string& FileName) {
    std::FILE* F = std::fopen(FileName.c_str(), "rb");
    if (!F)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName, std::strerror(errno)));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> Closer(F, &std::fclose);
    std::string Data;
    struct stat St {};
    size_t Size = 0;
    if (fstat(fileno(F), &St) == 0 && S_ISREG(St.st_mode)) Size = static_cast<size_t>(St.st_size);
    // Straight into the string when the size is known; in chunks otherwise
    // (and for whatever a growing file adds meanwhile).
    Data.resize(Size);
    size_t Got = Size ? std::fread(Data.data(), 1, Size, F) : 0;
    Data.resize(Got);
    if (Got == Size) {
        char Chunk[65536];
        size_t N;
        while ((N = std::fread(Chunk, 1, sizeof Chunk, F)) > 0)
            Data.append(Chunk, N);
    }
    if (std::ferror(F))
        throw EFOpenError(Format("Cannot read file \"%s\". %s", FileName, std::strerror(errno)));
    return Data;
}

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
    // wins. One pass: a clause line is read for every object of a file.
    static constexpr std::pair<std::string_view, TObjectAttribute> Words[] = {{"PEN", oaPen},
                                                                              {"BRUSH", oaBrush},
                                                                              {"CENTER", oaCenter},
                                                                              {"FONT", oaFont},
                                                                              {"SYMBOL", oaSymbol}};
    int Best = -1;
    for (size_t I = 0; I < Line.size(); ++I) {
        const char C = Mif::UpChar(Line[I]);
        for (int W = static_cast<int>(std::size(Words)) - 1; W > Best; --W) {
            const std::string_view Word = Words[W].first;
            if (C != Word[0] || Line.size() - I < Word.size()) continue;
            size_t K = 1;
            while (K < Word.size() && Mif::UpChar(Line[I + K]) == Word[K])
                ++K;
            if (K == Word.size()) Best = W;
        }
    }
    return Best < 0 ? oaNone : Words[Best].second;
}

bool TSimpleMIFFormatProvider::Load(TMapLayer* Layer, const std::string& FileName) {
    TReadProblems& Problems = ProblemList();
    Problems.Clear();
    if (!Layer || !Layer->Map() || !FileExists(FileName)) return false;
    TLoadGuard Guard(Layer->Map());
    // A file that cannot be opened at all is the caller's error to handle.
    const std::string Mif = ReadWholeFile(FileName);
    const std::string MidName = FindMidFile(FileName);
    const std::string Mid = MidName.empty() ? std::string() : ReadWholeFile(MidName);
    try {
        Mif::ReadMifPair(*Layer, Mif::TMifInput{Mif, FileName, Mid, MidName}, Problems);
    } catch (const std::exception& E) {
        // What the reader does not read past (no memory) ends the load; the
        // objects read so far stay.
        Problems.Add(FileName, 0, E.what());
    }
    if (!Problems.Empty()) {
        const TReadProblem& First = Problems.Items().front();
        std::string Message = First.FileName == FileName
                                  ? First.Message
                                  : ExtractFileName(First.FileName) + ": " + First.Message;
        if (Problems.Count() > 1) Message += Format(" (%d problems in all)", Problems.Count());
        MessageDlg(
            Format("Error reading mif-file at line %d with message: %s!", First.Line, Message),
            mtError, mbOK);
    }
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
