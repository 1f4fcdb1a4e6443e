// The plug-in's editor: a 500 x 525 face whose background picture doubles as
// the "dither" switch, a lamp for "show graph", two knobs with their value
// captions, the two spectra with their grid, the input level bar, and a link
// over the logo that opens the read-me. Controls are attached bottom to top,
// which is the order they are drawn in.
#include "dither/dither_plugin.h"
#include "dither/graph_grid.h"
#include "dither/level_bar.h"
#include "dither/response_graph.h"
#include "editor/caption_control.h"
#include "editor/knob_control.h"
#include "editor/link_control.h"
#include "editor/surface_editor.h"
#include "editor/switch_control.h"

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

void DitherPlugin::BuildEditor() {
  auto* editor = new SurfaceEditor(this, kEditorWidth, kEditorHeight, kFramesPerSecond);

  // The whole background is the dither switch's picture, but only the
  // switch drawn on it answers the mouse.
  const BitmapRef background = editor->LoadBitmap(kBackgroundPicture, 2);
  auto* ditherSwitch = new SwitchControl(this, 0, 0, kParamDither, background, kBlendKindCopy);
  ditherSwitch->SetTargetRect(Rect{180, 445, 215, 475});
  editor->AttachControl(ditherSwitch);

  // The lamp is small; it answers a square three times its size.
  const BitmapRef lamp = editor->LoadBitmap(kLampPicture, 2);
  auto* graphLamp = new SwitchControl(this, 240, 462, kParamShowGraph, lamp, kBlendKindSourceAlpha);
  graphLamp->SetTargetRect(Rect{232, 454, 256, 478});
  editor->AttachControl(graphLamp);

  const BitmapRef face = editor->LoadBitmap(kKnobPicture, 1);
  AttachKnob(editor, this, kParamShaping, 345, 414, face, Rect{350, 459, 370, 470});
  AttachKnob(editor, this, kParamTargetBits, 412, 414, face, Rect{417, 459, 437, 470});

  // The input band lightens the picture; the error area darkens it.
  SpectrumGraph* input = MakeGraph(this, 0.6f);
  input->SetGain(1.0f);
  input->SetMirror(true);
  input->SetColours(kWhite, kHalfWhite);
  input->ClearRing();
  editor->AttachControl(input);

  SpectrumGraph* noise = MakeGraph(this, -0.6f);
  noise->SetGain(8192.0f);
  editor->AttachControl(noise);
  noise->ClearRing();

  editor->AttachControl(new GraphGrid(this, kDisplay, kGrey));

  LevelBar* bar = new LevelBar(this, Rect{50, 462, 162, 469});
  bar->SetColour(kWhite);
  editor->AttachControl(bar);

  editor->AttachControl(new LinkControl(this, Rect{40, 375, 170, 435},
                                        editor->GetPluginDirectory() + "Quorvane_README.txt"));

  // The audio thread feeds the display: it changes hands under the lock.
  LockGuard guard(&Lock());
  inputGraph = input;
  noiseGraph = noise;
  levelBar = bar;
  ShowDisplay();
  AttachEditor(editor);
}
