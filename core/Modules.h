#pragma once
// Where the library finds its run-time modules (the MITAB module, the GDAL
// module): the folders a user names, the program's own, the package's.

#include <string>
#include <vector>

namespace Mapobjects {

// The folder of the running program, with its trailing '/'.
std::string ApplicationDirectory();
// The folder the system's own libraries are loaded from, with its trailing '/'.
std::string SystemLibraryDirectory();
// Where an installed package keeps its modules: the folder of the Chartix
// library itself, plus "chartix/" (empty when that cannot be told).
std::string PackageModuleDirectory();
// The environment variable naming folders (separated by ':') searched first.
inline constexpr const char* ModulePathVariable = "CHARTIX_MODULE_PATH";
// The folders a bare module name is looked for in, in order: those of
// CHARTIX_MODULE_PATH, the program's own, PackageModuleDirectory().
std::vector<std::string> ModuleDirectories();
// dlopen of a run-time module (local symbols, bound now): a bare name is
// looked for in ModuleDirectories() first, then where the loader searches.
// Null when there is none.
void* OpenModuleLibrary(const std::string& Name);

} // namespace Mapobjects
