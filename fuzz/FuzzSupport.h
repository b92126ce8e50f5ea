#pragma once
// What the libFuzzer harnesses share: Qt on the offscreen platform, a scratch
// folder of this process for the files an input is written to, and a map on
// a parent window that loads a MIF pair and paints it the ways that stress
// object drawing most.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Fuzz {

// Creates the one QApplication on the offscreen platform; call it from
// LLVMFuzzerInitialize.
void StartQt(int* Argc, char*** Argv);

// A file name in this process's scratch folder, which goes away at exit.
std::string ScratchPath(const std::string& Name);

// Writes Data to File, replacing it.
void WriteFile(const std::string& File, std::string_view Data);

// Removes the file if it is there.
void RemoveFile(const std::string& File);

// Loads the MIF file (and the MID beside it, when there is one) into a layer
// of a fresh 400 x 300 map, paints the map, then paints it again at zoom 100
// centred on the first object. With SaveAgain the layer is also saved beside
// the input and the copy read back and painted. Clears the recorded messages,
// so that a long run does not pile them up.
void LoadAndPaint(const std::string& MifFile, bool SaveAgain);

// Splits Data at the first Separator: the part before it, and the part after
// it (empty when there is no separator).
std::pair<std::string_view, std::string_view> SplitAt(std::string_view Data,
                                                      std::string_view Separator);

inline std::string_view AsText(const std::uint8_t* Data, std::size_t Size) {
    return {reinterpret_cast<const char*>(Data), Size};
}

} // namespace Fuzz
