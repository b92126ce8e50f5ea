#include "formats/MitabName.h"

namespace Mapobjects {

namespace {
std::string& Name() {
    static std::string N = DefaultMitabLibraryName;
    return N;
}
} // namespace

const std::string& MitabLibraryName() {
    return Name();
}
void SetMitabLibraryName(const std::string& N) {
    Name() = N;
}

} // namespace Mapobjects
