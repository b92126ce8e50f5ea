// The MIF reader with a .mif alone: load, paint, paint zoomed in.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    Fuzz::StartQt(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const std::string Mif = Fuzz::ScratchPath("in.mif");
    Fuzz::WriteFile(Mif, Fuzz::AsText(Data, Size));
    Fuzz::LoadAndPaint(Mif, false);
    Fuzz::RemoveFile(Mif);
    return 0;
}
