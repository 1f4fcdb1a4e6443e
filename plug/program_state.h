// The plug-in's state as a format without chunks keeps it: the current
// program and every parameter's actual value, the same content a VST 2.x
// host saves of this plug-in, behind a tag naming the format that wrote it
// and a version:
//
//   bytes 0-3    the tag, four characters
//   4-7          version, 1 (little-endian, as every number here)
//   8-11         the current program
//   12-15        the parameter count
//   16-          each parameter's actual value, a 64-bit IEEE double
//
// A state that does not read whole, or holds anything the plug-in could not
// have saved, is refused and changes nothing.
#pragma once

#include <cstddef>
#include <vector>

class PlugBase;

constexpr size_t kProgramStateHeaderBytes = 16;

// [takes the lock] The plug-in's state under `tag` (four characters).
std::vector<unsigned char> SaveProgramState(PlugBase& plug, const char* tag);

// The length of the whole state that begins with these
// kProgramStateHeaderBytes bytes; 0 when they are not the start of a state
// this plug-in saved under `tag`.
size_t ProgramStateBytes(PlugBase& plug, const char* tag, const unsigned char* header);

// [takes the lock] Restores a whole state, as a VST 2.x host does: the
// program, then every value. False, and nothing changed, for anything but
// exactly one state this plug-in could have saved under `tag`.
[[nodiscard]] bool LoadProgramState(PlugBase& plug, const char* tag, const unsigned char* bytes,
                                    size_t size);
