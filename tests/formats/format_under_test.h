// One plug-in format as the conformance checks drive it: a small wrapper per
// format makes the plug-in through that format's entry and plays a host's
// part, so that every check runs unchanged over every format. A fifth
// format gets every check by writing its wrapper and adding it to
// kFormats.
#pragma once

#include <memory>
#include <string>
#include <vector>

class PlugBase;

// A parameter change at a frame of a block, in the parameter's own units.
struct ParamChange {
  int frame;
  int index;
  double plain;
  bool operator==(const ParamChange& other) const {
    return frame == other.frame && index == other.index && plain == other.plain;
  }
};

// What a host does that sets values only between calls: runs `frames` as
// pieces cut at the changes' frames, `apply(change)` before the piece it
// starts, `run(first, count)` for each piece (one empty piece for an empty
// block).
template <typename Apply, typename Run>
void CutAtChanges(int frames, const std::vector<ParamChange>& changes, Apply apply, Run run) {
  size_t next = 0;
  int position = 0;
  do {
    while (next < changes.size() && changes[next].frame <= position) apply(changes[next++]);
    const int end =
        next < changes.size() && changes[next].frame < frames ? changes[next].frame : frames;
    run(position, end - position);
    position = end;
  } while (position < frames);
}

class FormatUnderTest {
 public:
  virtual ~FormatUnderTest() = default;

  // Set up as the format's hosts do for `rate` and blocks of up to
  // `maxBlock` frames of 64-bit (`wide`) or 32-bit samples, and switched on;
  // false when the format cannot.
  virtual bool Prepare(double rate, int maxBlock, bool wide) = 0;
  // One stereo block in place, with changes in the order of their frames,
  // as the format's hosts send them within a block.
  virtual bool Process(std::vector<float>& left, std::vector<float>& right,
                       const std::vector<ParamChange>& changes) = 0;
  virtual bool Process(std::vector<double>& left, std::vector<double>& right,
                       const std::vector<ParamChange>& changes) = 0;
  // A value set from the host's main thread, between blocks.
  virtual void SetParam(int index, double plain) = 0;

  // The text the format shows for a value, and the value it reads from
  // text; the checks are skipped for a format that shows or reads none.
  virtual std::string ValueToText(int index, double plain) = 0;
  virtual bool TextToValue(int index, const std::string& text, double& plain) = 0;
  virtual bool ShowsText() const { return true; }
  virtual bool ReadsText() const { return true; }

  // The state the format's hosts save, and loading one; a format whose
  // hosts keep the values themselves has none (the check is skipped).
  virtual std::vector<unsigned char> SaveState() = 0;
  virtual bool LoadState(const std::vector<unsigned char>& state) = 0;
  virtual bool HasState() const { return true; }

  // The plug-in behind the format, for what no format shows (its values,
  // its scratch allocations).
  virtual PlugBase& Plug() = 0;
};

struct FormatEntry {
  const char* name;
  std::unique_ptr<FormatUnderTest> (*make)();
};

std::unique_ptr<FormatUnderTest> MakeVst2Format();
std::unique_ptr<FormatUnderTest> MakeVst3Format();
std::unique_ptr<FormatUnderTest> MakeClapFormat();
std::unique_ptr<FormatUnderTest> MakeLv2Format();

// Every format, for the parameterised checks.
const std::vector<FormatEntry>& Formats();
