#include "core/CustomFormatProvider.h"

#include "core/MapLayer.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <cstring>
#include <memory>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {
std::unique_ptr<TFormatProviders>& Registry() {
    static std::unique_ptr<TFormatProviders> R;
    return R;
}

int HexValue(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}
} // namespace

TFormatProviders* FormatProviders() {
    return Registry().get();
}

namespace Internal {
void CreateFormatProviders() {
    if (!Registry()) Registry() = std::make_unique<TFormatProviders>();
}
void DestroyFormatProviders() {
    if (Registry()) Registry()->DestroyStandard();
    Registry().reset();
}
} // namespace Internal

TGUID StringToGUID(const std::string& S) {
    // {8-4-4-4-12}
    static const int Groups[] = {8, 4, 4, 4, 12};
    auto Fail = [&]() -> TGUID {
        throw EConvertError(Format("'%s' is not a valid GUID value", S));
    };
    if (S.size() != 38 || S.front() != '{' || S.back() != '}') return Fail();
    std::uint8_t Bytes[16];
    size_t Pos = 1;
    int ByteIndex = 0;
    for (int G = 0; G < 5; ++G) {
        for (int I = 0; I < Groups[G]; I += 2) {
            int Hi = HexValue(S[Pos]), Lo = HexValue(S[Pos + 1]);
            if (Hi < 0 || Lo < 0) return Fail();
            Bytes[ByteIndex++] = static_cast<std::uint8_t>(Hi * 16 + Lo);
            Pos += 2;
        }
        if (G < 4 && S[Pos++] != '-') return Fail();
    }
    TGUID R;
    R.D1 = (std::uint32_t(Bytes[0]) << 24) | (std::uint32_t(Bytes[1]) << 16) |
           (std::uint32_t(Bytes[2]) << 8) | Bytes[3];
    R.D2 = static_cast<std::uint16_t>((Bytes[4] << 8) | Bytes[5]);
    R.D3 = static_cast<std::uint16_t>((Bytes[6] << 8) | Bytes[7]);
    for (int I = 0; I < 8; ++I)
        R.D4[static_cast<size_t>(I)] = Bytes[8 + I];
    return R;
}

std::string GUIDToString(const TGUID& G) {
    return Format("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", G.D1, G.D2, G.D3, G.D4[0],
                  G.D4[1], G.D4[2], G.D4[3], G.D4[4], G.D4[5], G.D4[6], G.D4[7]);
}

TCustomFormatProvider::TCustomFormatProvider(TComponent* Owner) : TComponent(Owner) {
    // A program's own providers go before the library's standard ones, so
    // theirs answer for the files both accept.
    if (TFormatProviders* R = FormatProviders()) {
        int At = R->Count();
        while (At > 0 && R->IsStandard(R->Get(At - 1)))
            --At;
        R->Insert(At, this);
    }
    FDefault = false;
    FEnabled = true;
}

TCustomFormatProvider::~TCustomFormatProvider() {
    if (FormatProviders()) FormatProviders()->Remove(this);
}

void TCustomFormatProvider::SetDefault(bool Value) {
    FDefault = Value;
    if (!Value || !FormatProviders()) return;
    for (TCustomFormatProvider* P : *FormatProviders())
        if (P != this) P->SetDefault(false);
}

namespace {

// While a LoadFile or SaveFile runs, what the provider would show in a box
// is kept for the result instead, with the answer a headless run gives.
class TMessagesKept {
public:
    TMessagesKept() : FSaved(MessageHook()) {
        SetMessageHook([this](const std::string& Text, TMsgDlgType Type, int Buttons) {
            FTexts.push_back(Text);
            return (Buttons & mbYesNo) ? mrYes : mrOk;
        });
    }
    ~TMessagesKept() { SetMessageHook(std::move(FSaved)); }
    TMessagesKept(const TMessagesKept&) = delete;
    TMessagesKept& operator=(const TMessagesKept&) = delete;
    const std::vector<std::string>& Texts() const { return FTexts; }

private:
    TMessageHook FSaved;
    std::vector<std::string> FTexts;
};

template <class F>
TFileResult RunForResult(TCustomFormatProvider& P, const std::string& FileName, const char* Doing,
                         F&& Run) {
    TFileResult R;
    R.FileName = FileName;
    if (!P.Available()) {
        R.Message = P.UnavailableReason();
        return R;
    }
    TMessagesKept Messages;
    try {
        R.Ok = Run();
    } catch (const std::exception& E) {
        R.Ok = false;
        R.Message = E.what();
    }
    // The provider's list names lines; a message box only sums it up, so the
    // messages count where the list is empty.
    for (const TReadProblem& Problem : P.Problems().Items())
        R.Problems.Add(Problem.FileName, Problem.Line, Problem.Message);
    if (P.Problems().Empty())
        for (const std::string& Text : Messages.Texts())
            R.Problems.Add(FileName, 0, Text);
    if (!R.Ok && R.Message.empty())
        R.Message = R.Problems.Items().empty() ? Format("%s %s failed", P.Description(), Doing)
                                               : R.Problems.Items().front().Message;
    return R;
}

} // namespace

std::string SourceFileOf(const std::string& FileName) {
    const size_t At = FileName.find(SourceLayerSeparator);
    return At == std::string::npos ? FileName : FileName.substr(0, At);
}

std::string SourceLayerOf(const std::string& FileName) {
    const size_t At = FileName.find(SourceLayerSeparator);
    return At == std::string::npos ? std::string()
                                   : FileName.substr(At + std::strlen(SourceLayerSeparator));
}

std::string TFileResult::Describe() const {
    std::string Text;
    if (!Ok) Text = FileName + ": " + Message + "\n";
    for (const TReadProblem& Problem : Problems.Items())
        Text += TReadProblems::Describe(Problem) + "\n";
    return Text;
}

TFileResult TCustomFormatProvider::LoadFile(TMapLayer* Layer, const std::string& FileName) {
    ProblemList().Clear();
    return RunForResult(*this, FileName, "reading", [&] { return Load(Layer, FileName); });
}

TFileResult TCustomFormatProvider::SaveFile(TMapLayer* Layer, const std::string& FileName) {
    ProblemList().Clear();
    return RunForResult(*this, FileName, "writing", [&] { return Save(Layer, FileName); });
}

TFormatProviders::~TFormatProviders() {
    DestroyStandard();
}

void TFormatProviders::AdoptStandard(std::unique_ptr<TCustomFormatProvider> P) {
    Remove(P.get());
    Add(P.get());
    FStandard.push_back(std::move(P));
}

bool TFormatProviders::IsStandard(const TCustomFormatProvider* P) const {
    for (const auto& S : FStandard)
        if (S.get() == P) return true;
    return false;
}

void TFormatProviders::DestroyStandard() {
    // Emptied before freed: each leaves the list in its destructor and must
    // no longer count as standard meanwhile.
    std::vector<std::unique_ptr<TCustomFormatProvider>> Gone;
    Gone.swap(FStandard);
    Gone.clear();
}

std::string TFormatProviders::GetFilter() const {
    std::string Result;
    for (int I = 0; I < Count(); ++I) {
        if (I > 0) Result += "|";
        Result += Get(I)->GetFilter();
    }
    return Result;
}

std::string TFormatProviders::AcceptedFormats() const {
    if (Count() == 0) return "none registered";
    // The filter alternates descriptions and patterns; the descriptions
    // already name their patterns, so they are enough.
    const std::string Filter = GetFilter();
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

int TFormatProviders::GetFilterIndex() const {
    for (int I = 0; I < Count(); ++I)
        if (Get(I)->Default()) return I;
    return 0;
}

TCustomFormatProvider* TFormatProviders::FindSuitableProvider(const std::string& FileName) const {
    for (TCustomFormatProvider* P : *this)
        if (P->Enabled() && P->CanProcessFile(FileName)) return P;
    return nullptr;
}

TCustomFormatProvider* TFormatProviders::GetProviderByGUID(const TGUID& GUID) const {
    for (TCustomFormatProvider* P : *this)
        if (P->GetGUID() == GUID) return P;
    return nullptr;
}

} // namespace Mapobjects
