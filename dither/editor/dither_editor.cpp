#include "dither/editor/dither_editor.h"

#include <cstdio>
#include <new>
#include <string>

#include "dither/dither_plugin.h"
#include "dither/editor/graph_grid.h"
#include "dither/editor/level_bar.h"
#include "dither/editor/response_graph.h"
#include "editor/caption_control.h"
#include "editor/knob_control.h"
#include "editor/link_control.h"
#include "editor/shell.h"
#include "editor/switch_control.h"
#include "plug/create_plugin.h"

namespace {

constexpr int kEditorWidth = 500;
constexpr int kEditorHeight = 525;
constexpr double kFramesPerSecond = 16.0;

enum PictureId : int { kBackgroundPicture = 101, kKnobPicture = 102, kLampPicture = 103 };

constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kHalfWhite{128, 255, 255, 255};
constexpr Colour kGrey{255, 128, 128, 128};
constexpr Rect kDisplay{86, 80, 431, 345};

void AttachKnob(SurfaceEditor* editor, PlugParams* plug, int param, int x, int y,
                const BitmapRef& face, const Rect& caption) {
  const TextStyle captionStyle(14, kWhite, "Arial", kTextNormal, kAlignCentre, 0);
  editor->AttachControlPair(new KnobControl(plug, x, y, param, face, -135.0, 135.0, 0, 0, 4.0),
                            new CaptionControl(plug, caption, param, captionStyle, false));
}

SpectrumGraph* MakeGraph(PlugParams* plug, float weight) {
  return new SpectrumGraph(plug, kDisplay, kWhite, true, 2, 0.5f, 4096, 4096,
                           Blend{kBlendKindAdd, weight}, true);
}

}  // namespace

std::string ReadmePath(const std::string& directory) {
  const std::string beside = directory + "Quorvane_README.txt";
  if (FILE* file = std::fopen(beside.c_str(), "rb")) {
    std::fclose(file);
    return beside;
  }
  const char separator = PathSeparator();
  return directory + ".." + separator + "Resources" + separator + "Quorvane_README.txt";
}

DitherEditor::DitherEditor(DitherPlugin* plugin)
    : SurfaceEditor(plugin, kEditorWidth, kEditorHeight, kFramesPerSecond), plugin(plugin) {
  // The whole background is the dither switch's picture, but only the
  // switch drawn on it answers the mouse.
  const BitmapRef background = LoadBitmap(kBackgroundPicture, 2);
  auto* ditherSwitch = new SwitchControl(plugin, 0, 0, kParamDither, background, kBlendKindCopy);
  ditherSwitch->SetTargetRect(Rect{180, 445, 215, 475});
  AttachControl(ditherSwitch);

  // The lamp is small; it answers a square three times its size.
  const BitmapRef lamp = LoadBitmap(kLampPicture, 2);
  auto* graphLamp =
      new SwitchControl(plugin, 240, 462, kParamShowGraph, lamp, kBlendKindSourceAlpha);
  graphLamp->SetTargetRect(Rect{232, 454, 256, 478});
  AttachControl(graphLamp);

  const BitmapRef face = LoadBitmap(kKnobPicture, 1);
  AttachKnob(this, plugin, kParamShaping, 345, 414, face, Rect{350, 459, 370, 470});
  AttachKnob(this, plugin, kParamTargetBits, 412, 414, face, Rect{417, 459, 437, 470});

  // The input band lightens the picture; the error area darkens it.
  inputGraph = MakeGraph(plugin, 0.6f);
  inputGraph->SetGain(1.0f);
  inputGraph->SetMirror(true);
  inputGraph->SetColours(kWhite, kHalfWhite);
  inputGraph->ClearRing();
  AttachControl(inputGraph);

  noiseGraph = MakeGraph(plugin, -0.6f);
  noiseGraph->SetGain(8192.0f);
  AttachControl(noiseGraph);
  noiseGraph->ClearRing();

  AttachControl(new GraphGrid(plugin, kDisplay, kGrey));

  levelBar = new LevelBar(plugin, Rect{50, 462, 162, 469});
  levelBar->SetColour(kWhite);
  AttachControl(levelBar);

  AttachControl(new LinkControl(plugin, Rect{40, 375, 170, 435}, ReadmePath(GetPluginDirectory())));
}

void DitherEditor::SetRate(double rate) {
  for (SpectrumGraph* graph : {inputGraph, noiseGraph}) graph->SetRange(rate, 100.0, 20000.0);
}

void DitherEditor::Show(bool shown) {
  inputGraph->Hide(!shown);
  noiseGraph->Hide(!shown);
  levelBar->Hide(!shown);
}

void DitherEditor::Feed(const double* input, const double* error, int frames, double peak) {
  inputGraph->AppendSamples(input, frames);
  noiseGraph->AppendSamples(error, frames);
  levelBar->SetValueFromPlug(peak, &plugin->Lock());
}

bool CreatePluginEditor(PlugBase& plugin) {
  // Only this plug-in's factory made the instance.
  auto& dither = static_cast<DitherPlugin&>(plugin);
  try {
    auto* editor = new DitherEditor(&dither);
    // The audio thread feeds the display: it changes hands under the lock.
    LockGuard guard(&dither.Lock());
    dither.AttachEditor(editor);
    dither.SetDisplay(editor);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}
