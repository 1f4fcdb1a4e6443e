// The plug-in's editor: a 500 x 525 face whose background picture doubles as
// the "dither" switch, a lamp for "show graph", two knobs with their value
// captions, the two spectra with their grid, the input level bar, and a link
// over the logo that opens the read-me. It is also the plug-in's display:
// the audio thread feeds its spectra and level bar.
#pragma once

#include <string>

#include "dither/dither_display.h"
#include "editor/surface_editor.h"

class DitherPlugin;
class LevelBar;
class SpectrumGraph;

// The read-me the logo opens for a plug-in whose binary is in `directory`
// (which ends in a separator): beside the binary, or else in the resources of
// the bundle the binary is in (a VST 3 bundle keeps it in Contents/Resources/).
std::string ReadmePath(const std::string& directory);

class DitherEditor : public SurfaceEditor, public DitherDisplay {
 public:
  // Every control, attached bottom to top, which is the order they are drawn
  // in; the plug-in's values arrive when the plug-in attaches the editor.
  explicit DitherEditor(DitherPlugin* plugin);

  // [lock held] DitherDisplay.
  void SetRate(double rate) override;
  void Show(bool shown) override;
  void Feed(const double* input, const double* error, int frames, double peak) override;

  // The display's controls, for tests.
  SpectrumGraph* InputGraph() const { return inputGraph; }
  SpectrumGraph* NoiseGraph() const { return noiseGraph; }
  LevelBar* GetLevelBar() const { return levelBar; }

 private:
  DitherPlugin* plugin;
  SpectrumGraph* inputGraph;
  SpectrumGraph* noiseGraph;
  LevelBar* levelBar;
};
