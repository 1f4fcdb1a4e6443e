// The parts of the `dispatch` script after the null-pointer sweep. Each runs
// on an open plug-in, prints one line per request and leaves the plug-in
// open; later parts see the state earlier parts left.
#pragma once

#include "tools/qvhost/vst2/loaded_plugin.h"

// Program selection in and out of range, renaming and reading back, and
// edits that follow the program they were made in.
void RunProgramScript(LoadedPlugin& plugin);

// Parameter texts for indices -1 to 4, get and set out of range, and values
// that need rounding or lie outside 0..1.
void RunParameterScript(LoadedPlugin& plugin);

// State chunk requests with good and bad buffers.
void RunChunkScript(LoadedPlugin& plugin);

// Capability texts, pins, editor rectangle, speaker arrangement, key names
// and the requests with fixed answers.
void RunQuestionScript(LoadedPlugin& plugin);

// Event lists: MIDI, another event type and a null entry; prints the events
// the plug-in sent back to the host.
void RunEventScript(LoadedPlugin& plugin);
