// What the editor asks of the desktop: the shell that opens documents, the
// plug-in's own file name, and the colour and file dialogs.
//
// Threads: [the thread that delivers the editor window's messages], except
// ModuleFileName and PathSeparator [any].
#pragma once

#include <cstdint>
#include <string>

#include "draw/colour.h"

// Asks the shell to open a document, folder or URL; true on success.
bool ShellOpen(const char* target);
// The full file name of the host's executable (`host`) or of the plug-in
// library; false when the system cannot tell.
bool ModuleFileName(bool host, std::string* path);
// The separator of directory names in module file names.
char PathSeparator();
// The system colour chooser owned by `owner`, starting from `colour`, with
// the 16 custom colours (0x00BBGGRR values, kept between calls). True when
// the user confirmed; R, G and B of `colour` then hold the choice.
bool ChooseColour(void* owner, Colour* colour, const char* prompt, uint32_t* customColours);
// The open or save dialog owned by `owner`: the chosen full file name, or
// empty text when cancelled. `pattern` is like "*.wav;*.aif" (empty for
// all files), `defaultExtension` like "wav".
std::string ChooseFile(void* owner, bool save, const std::string& directory,
                       const std::string& pattern, const std::string& defaultExtension);
