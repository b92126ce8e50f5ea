#pragma once
// Library start-up and shut-down. Start-up runs before main through a static
// initialiser (and may be called again; a counter keeps it single): it creates
// the provider registry, sets the decimal separator to ".", points the
// progress hooks at routines that do nothing and names the MITAB library.
// The last shut-down frees the registry and clears the MITAB file name.

namespace Mapobjects {

void InitializeLibrary();
void FinalizeLibrary();

} // namespace Mapobjects
