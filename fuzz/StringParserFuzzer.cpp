// The delimited-string parser: the first byte is the delimiter (0 for none),
// the rest one line. Splitting and joining must be inverse, items hold no
// delimiter, and typed views must never raise and must read back what they
// wrote.
#include "FuzzSupport.h"

#include "formats/StringParser.h"
#include "platform/Dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace Mapobjects;

namespace {

void Check(bool Condition, const char* What) {
    if (Condition) return;
    std::fprintf(stderr, "string parser: %s\n", What);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    Fuzz::StartQt(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 1) return 0;
    TStringParser P;
    const char D = static_cast<char>(Data[0]);
    P.SetDelimiter(D ? std::string(1, D) : std::string());
    const std::string_view Line = Fuzz::AsText(Data + 1, Size - 1);
    P.FromString(Line);
    Check(P.Count() >= 1, "no item");
    Check(P.ToString() == Line, "joining the items does not give the line back");
    for (int I = 0; I < P.Count(); ++I)
        Check(!D || P[I]->RawData().find(D) == std::string::npos, "an item holds the delimiter");
    Check(P.GetItems(P.Count()) == nullptr, "an item past the last");

    TStringParser Copy;
    Copy.SetDelimiter(P.Delimiter());
    Copy.Assign(&P);
    Check(Copy.ToString() == Line, "a copy reads otherwise");

    for (int I = 0; I < P.Count() && I < 16; ++I) {
        TParserItem* Item = P.GetItems(I);
        const int N = Item->GetAsInteger();
        const bool B = Item->GetAsBoolean();
        const double F = Item->GetAsFloat();
        const TCurrency C = Item->GetAsCurrency();
        Item->GetAsDate();
        Item->GetAsTime();

        TParserItem* Scratch = Copy.Add();
        Scratch->SetAsInteger(N);
        Check(Scratch->GetAsInteger() == N, "integer does not read back");
        Scratch->SetAsBoolean(B);
        Check(Scratch->GetAsBoolean() == B, "boolean does not read back");
        Scratch->SetAsFloat(F);
        // Floats are written with 15 significant digits.
        const double F2 = Scratch->GetAsFloat();
        Check(!std::isfinite(F) || std::fabs(F2 - F) <= std::fabs(F) * 1e-14, "float drifts");
        Scratch->SetAsCurrency(C);
        // Currencies go through the same 15 digits, exact while they fit.
        if (C > -100000000000000 && C < 100000000000000)
            Check(Scratch->GetAsCurrency() == C, "currency does not read back");
    }
    Platform::RecordedMessages().clear();
    return 0;
}
