#include "formats/PendingFile.h"

#include "platform/SysUtils.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace Mapobjects {

using namespace Platform;

namespace {

std::string ErrorText(int Error) {
    return std::strerror(Error);
}

} // namespace

TPendingFile::TPendingFile(std::string Target)
    : FTarget(std::move(Target)), FTemp(FTarget + ".tmp") {
    FFile = std::fopen(FTemp.c_str(), "wb");
    if (!FFile)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", FTemp, ErrorText(errno)));
}

TPendingFile::~TPendingFile() {
    if (FFile) std::fclose(FFile);
    if (!FCommitted) std::remove(FTemp.c_str());
}

void TPendingFile::Finish() {
    Flush();
    std::FILE* F = FFile;
    FFile = nullptr;
    if (std::fclose(F) != 0) WriteError();
}

void TPendingFile::Flush() {
    if (FBuffer.size() > 0 &&
        std::fwrite(FBuffer.data(), 1, FBuffer.size(), FFile) != FBuffer.size())
        WriteError();
    FBuffer.clear();
}

void TPendingFile::WriteError() {
    throw EInOutError(Format("Cannot write file \"%s\". %s", FTemp, ErrorText(errno)));
}

void CommitFilePair(TPendingFile& First, TPendingFile& Second) {
    const std::string Backup = Second.Target() + ".bak";
    bool HaveBackup = false;
    const bool OldSecond = FileExists(Second.Target());
    if (OldSecond) {
        std::remove(Backup.c_str());
        HaveBackup = link(Second.Target().c_str(), Backup.c_str()) == 0;
    }
    if (std::rename(Second.Temp().c_str(), Second.Target().c_str()) != 0) {
        const int Error = errno;
        if (HaveBackup) std::remove(Backup.c_str());
        throw EInOutError(
            Format("Cannot replace file \"%s\". %s", Second.Target(), ErrorText(Error)));
    }
    Second.SetCommitted();
    if (std::rename(First.Temp().c_str(), First.Target().c_str()) != 0) {
        const int Error = errno;
        if (HaveBackup)
            std::rename(Backup.c_str(), Second.Target().c_str());
        else if (!OldSecond)
            std::remove(Second.Target().c_str());
        throw EInOutError(
            Format("Cannot replace file \"%s\". %s", First.Target(), ErrorText(Error)));
    }
    First.SetCommitted();
    if (HaveBackup) std::remove(Backup.c_str());
}

} // namespace Mapobjects
