// `qvhost clap MODULE [--gui]`: what a CLAP validator does to a module, in
// groups, each printing "ok - NAME" / "not ok - NAME" lines with "# "
// diagnostics. Every group also checks that no host function was called
// from a thread CLAP does not allow it on. With --gui the GUI also opens in
// a real window.
#pragma once

#include "tools/qvhost/clap/clap_host.h"
#include "tools/qvhost/validation_log.h"

struct ClapCheckOptions {
  const char* path = nullptr;
  bool gui = false;  // a display is there for a real window
};

// The group's last check: the host saw no call on a thread CLAP does not
// allow it on.
void CheckThreads(const ClapHost& host, ValidationLog& log, const char* group);

void CheckClapEntry(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapParams(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapState(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapAudio(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapPresets(const ClapCheckOptions& options, ValidationLog& log);
void CheckClapGui(const ClapCheckOptions& options, ValidationLog& log);
