// `qvhost clap MODULE [--gui]`: what a CLAP validator does to a module, in
// groups, each printing "ok - NAME" / "not ok - NAME" lines with "# "
// diagnostics. Every group also checks that no host function was called
// from a thread CLAP does not allow it on. With --gui the GUI also opens in
// a real window.
#pragma once

#include "tools/host/validation_log.h"

// The window API of this platform's CLAP GUIs.
#ifdef _WIN32
constexpr const char* kGuiApiName = "win32";
#else
constexpr const char* kGuiApiName = "x11";
#endif

struct ClapCheckOptions {
  const char* path = nullptr;
  bool gui = false;  // a display is there for a real window
};

void CheckClapEntry(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapParams(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapState(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapAudio(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapPresets(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapGui(const ClapCheckOptions& options, ValidationLog& log);
