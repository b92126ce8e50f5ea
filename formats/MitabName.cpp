#include "formats/MitabName.h"

namespace Mapobjects {

namespace {
std::string& Name() {
    static std::string N = DefaultMitabLibraryName;
    return N;
}

// Library shut-down clears the name, as it frees the registry. Made after
// the name (the constructor asks for it), so destroyed before it.
struct TClearOnUnload {
    TClearOnUnload() { Name(); }
    ~TClearOnUnload() { Name().clear(); }
} ClearOnUnload;
} // namespace

const std::string& MitabLibraryName() {
    return Name();
}
void SetMitabLibraryName(const std::string& N) {
    Name() = N;
}

} // namespace Mapobjects
