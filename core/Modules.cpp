#include "core/Modules.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

namespace Mapobjects {

namespace {

std::string DirectoryOf(const std::string& Path) {
    const size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? std::string("./") : Path.substr(0, Slash + 1);
}

// The absolute folder of the file (library or program) that holds Symbol;
// empty when the loader does not say. A program's own path comes as it was
// started, perhaps relative to the working folder, or a bare name found
// through PATH, which says nothing of the folder.
std::string DirectoryOfSymbol(const void* Symbol) {
    Dl_info Info{};
    if (!dladdr(Symbol, &Info) || !Info.dli_fname) return "";
    const std::string File = Info.dli_fname;
    if (File.find('/') == std::string::npos) return "";
    std::error_code Error;
    const std::filesystem::path Absolute = std::filesystem::absolute(File, Error);
    return Error ? DirectoryOf(File) : DirectoryOf(Absolute.lexically_normal().string());
}

} // namespace

std::string ApplicationDirectory() {
    char Buffer[4096];
    const ssize_t N = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
    if (N <= 0) return "./";
    return DirectoryOf(std::string(Buffer, static_cast<size_t>(N)));
}

std::string PackageModuleDirectory() {
    // The folder of the library holding this code, plus "chartix/".
    const std::string Folder = DirectoryOfSymbol(reinterpret_cast<const void*>(&OpenModuleLibrary));
    return Folder.empty() ? "" : Folder + "chartix/";
}

std::vector<std::string> ModuleDirectories() {
    std::vector<std::string> Folders;
    if (const char* Path = std::getenv(ModulePathVariable)) {
        std::string List = Path;
        for (size_t Start = 0; Start <= List.size();) {
            const size_t End = std::min(List.find(':', Start), List.size());
            if (End > Start) {
                std::string Folder = List.substr(Start, End - Start);
                if (Folder.back() != '/') Folder += '/';
                Folders.push_back(std::move(Folder));
            }
            Start = End + 1;
        }
    }
    Folders.push_back(ApplicationDirectory());
    if (std::string Package = PackageModuleDirectory(); !Package.empty())
        Folders.push_back(Package);
    return Folders;
}

std::string SystemLibraryDirectory() {
    // Where the C library itself was loaded from.
    const std::string Folder = DirectoryOfSymbol(reinterpret_cast<const void*>(&std::fopen));
    return Folder.empty() ? "/usr/lib/" : Folder;
}

void* OpenModuleLibrary(const std::string& Name) {
    if (Name.empty()) return nullptr;
    const int Flags = RTLD_NOW | RTLD_LOCAL;
    if (Name.find('/') != std::string::npos) return dlopen(Name.c_str(), Flags);
    // Like plugins: the folders a user names, the program's own, the
    // package's module folder; the loader's own path last.
    for (const std::string& Folder : ModuleDirectories())
        if (void* Library = dlopen((Folder + Name).c_str(), Flags)) return Library;
    return dlopen(Name.c_str(), Flags);
}

} // namespace Mapobjects
