// The plug-in library's own module, recorded when the library is attached to
// a process. It names the library's resources to the host's image loader and
// is the instance of the editor's windows.
#pragma once

// HINSTANCE on Windows; null on other systems, where nothing needs it.
void* ModuleHandle();
