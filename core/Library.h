#pragma once
// Library start-up and shut-down. Start-up runs before main through a static
// initialiser (and may be called again; a counter keeps it single): it creates
// the provider registry, sets the decimal separator to "." and points the
// progress hooks at routines that do nothing. The last shut-down frees the
// registry. (The MITAB module's file name is set and cleared the same way by
// the formats themselves: formats/MitabName.cpp.)

namespace Mapobjects {

void InitializeLibrary();
void FinalizeLibrary();

} // namespace Mapobjects
