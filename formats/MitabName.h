#pragma once
// The file name of the run-time loaded MITAB library: DefaultMitabLibraryName
// from library start-up until a program sets another, cleared at shut-down;
// a library once loaded stays loaded.

#include <string>

namespace Mapobjects {

inline constexpr const char* DefaultMitabLibraryName = "libmitab.so";
const std::string& MitabLibraryName();
void SetMitabLibraryName(const std::string& Name);

} // namespace Mapobjects
