#pragma once
// Files that replace their targets only once they are complete: written
// beside the target under a temporary name, then renamed over it. A pair of
// them (the .mif and .mid of a layer) is put in place together or not at
// all.

#include <cstdio>
#include <fmt/format.h>
#include <string>
#include <utility>

namespace Mapobjects {

class TPendingFile {
public:
    // Creates the temporary file; EFCreateError naming it when it cannot.
    explicit TPendingFile(std::string Target);
    // Removes the temporary file unless it was committed.
    ~TPendingFile();
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;

    fmt::memory_buffer& Buffer() { return FBuffer; }
    // Hands a full buffer to the file as the writing goes on.
    void Spill() {
        if (FBuffer.size() >= (1u << 20)) Flush();
    }
    // Everything written and the file closed; EInOutError on any write error.
    void Finish();
    // What ends each line written through it: CR LF unless set.
    const std::string& LineEnd() const { return FLineEnd; }
    void SetLineEnd(std::string V) { FLineEnd = std::move(V); }
    const std::string& Target() const { return FTarget; }
    const std::string& Temp() const { return FTemp; }
    void SetCommitted() { FCommitted = true; }

private:
    void Flush();
    [[noreturn]] void WriteError();

    std::string FTarget;
    std::string FTemp;
    std::FILE* FFile = nullptr;
    fmt::memory_buffer FBuffer;
    std::string FLineEnd = "\r\n";
    bool FCommitted = false;
};

// Puts both finished files in place of the old pair. The second goes first;
// if the first then cannot follow, the old second file is put back, so a
// failed save leaves the previous pair as it was. EInOutError naming the file.
void CommitFilePair(TPendingFile& First, TPendingFile& Second);

} // namespace Mapobjects
