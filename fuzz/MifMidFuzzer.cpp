// The MIF reader with a .mif and its .mid: the input holds both, the .mif
// first, cut at the first line that is "--MID--". The layer read is also
// written and read back.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    Fuzz::StartQt(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const std::string Mif = Fuzz::ScratchPath("in.mif");
    static const std::string Mid = Fuzz::ScratchPath("in.mid");
    const auto [MifText, MidText] = Fuzz::SplitAt(Fuzz::AsText(Data, Size), "\n--MID--\n");
    Fuzz::WriteFile(Mif, MifText);
    Fuzz::WriteFile(Mid, MidText);
    Fuzz::LoadAndPaint(Mif, true);
    Fuzz::RemoveFile(Mif);
    Fuzz::RemoveFile(Mid);
    return 0;
}
