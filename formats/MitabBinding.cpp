#include "formats/MitabBinding.h"

#include "formats/MitabName.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

#include <cstdio>

namespace Mapobjects {

int MITAB_LoadErr = mleNotLoaded;

#define CHARTIX_MITAB_DEFINE(Name, Result, Args) Result(*Name) Args = nullptr;
#define CHARTIX_MITAB_DEFINE_UNTYPED(Name) TMitabUntyped Name = nullptr;
CHARTIX_MITAB_ENTRY_POINTS(CHARTIX_MITAB_DEFINE, CHARTIX_MITAB_DEFINE_UNTYPED)
#undef CHARTIX_MITAB_DEFINE
#undef CHARTIX_MITAB_DEFINE_UNTYPED

namespace {

template <class T> void Resolve(void* Library, T& Pointer, const char* Name) {
    // POSIX lets a data pointer from dlsym stand for a function.
    Pointer = Library ? reinterpret_cast<T>(dlsym(Library, Name)) : nullptr;
}

void ResolveAll(void* Library) {
#define CHARTIX_MITAB_RESOLVE(Name, Result, Args) Resolve(Library, Name, #Name);
#define CHARTIX_MITAB_RESOLVE_UNTYPED(Name) Resolve(Library, Name, #Name);
    CHARTIX_MITAB_ENTRY_POINTS(CHARTIX_MITAB_RESOLVE, CHARTIX_MITAB_RESOLVE_UNTYPED)
#undef CHARTIX_MITAB_RESOLVE
#undef CHARTIX_MITAB_RESOLVE_UNTYPED
}

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

void MITAB_load() {
    // Nothing of an earlier load may be called once this one fails.
    ResolveAll(nullptr);
    void* Library = OpenModuleLibrary(MitabLibraryName());
    if (!Library) {
        MITAB_LoadErr = mleNoLibrary;
        return;
    }
    // A library once loaded stays loaded: freed handles would dangle in
    // providers and features still alive.
    Resolve(Library, mitab_c_getlibversion, "mitab_c_getlibversion");
    if (!mitab_c_getlibversion) {
        MITAB_LoadErr = mleNoVersion;
        return;
    }
    if (mitab_c_getlibversion() != MitabInterfaceVersion) {
        MITAB_LoadErr = mleWrongVersion;
        return;
    }
    MITAB_LoadErr = mleOK;
    ResolveAll(Library);
}

bool MITAB_LibOK() {
    return MITAB_LoadErr == mleOK;
}

std::vector<std::string> MITAB_MissingEntryPoints() {
    std::vector<std::string> Missing;
    auto Check = [&](const void* Pointer, const char* Name) {
        if (!Pointer) Missing.push_back(Name);
    };
#define CHARTIX_MITAB_CHECK(Name) Check(reinterpret_cast<const void*>(Name), #Name);
    CHARTIX_MITAB_CHECK(mitab_c_open)
    CHARTIX_MITAB_CHECK(mitab_c_close)
    CHARTIX_MITAB_CHECK(mitab_c_create)
    CHARTIX_MITAB_CHECK(mitab_c_add_field)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_count)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_name)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_type)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_precision)
    CHARTIX_MITAB_CHECK(mitab_c_next_feature_id)
    CHARTIX_MITAB_CHECK(mitab_c_read_feature)
    CHARTIX_MITAB_CHECK(mitab_c_create_feature)
    CHARTIX_MITAB_CHECK(mitab_c_write_feature)
    CHARTIX_MITAB_CHECK(mitab_c_destroy_feature)
    CHARTIX_MITAB_CHECK(mitab_c_get_type)
    CHARTIX_MITAB_CHECK(mitab_c_get_parts)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_count)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_x)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_y)
    CHARTIX_MITAB_CHECK(mitab_c_set_points)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_as_string)
    CHARTIX_MITAB_CHECK(mitab_c_set_field)
    CHARTIX_MITAB_CHECK(mitab_c_set_pen)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_color)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_pattern)
    CHARTIX_MITAB_CHECK(mitab_c_set_brush)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_fgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_bgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_pattern)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_transparent)
    CHARTIX_MITAB_CHECK(mitab_c_set_font)
    CHARTIX_MITAB_CHECK(mitab_c_get_font)
    CHARTIX_MITAB_CHECK(mitab_c_set_symbol)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_no)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_size)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_color)
    CHARTIX_MITAB_CHECK(mitab_c_set_text)
    CHARTIX_MITAB_CHECK(mitab_c_get_text)
    CHARTIX_MITAB_CHECK(mitab_c_set_text_display)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_angle)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_height)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_fgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_bgcolor)
#undef CHARTIX_MITAB_CHECK
    return Missing;
}

std::string ApplicationDirectory() {
    char Buffer[4096];
    const ssize_t N = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
    if (N <= 0) return "./";
    return DirectoryOf(std::string(Buffer, static_cast<size_t>(N)));
}

std::string PackageModuleDirectory() {
    // The folder of the library holding this code, plus "chartix/".
    const std::string Folder = DirectoryOfSymbol(reinterpret_cast<const void*>(&MITAB_load));
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

} // namespace Mapobjects
