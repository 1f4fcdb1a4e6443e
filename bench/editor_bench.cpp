// Cost of the editor's paint on a 500 x 525 surface laid out like the
// plug-in's editor: the two-frame background, a lamp, two knobs with
// captions, two spectrum-like plots with a grid over the 345 x 265 display
// area, a level bar and a link. Goal: the whole surface under 2 ms.
#include <benchmark/benchmark.h>

#include <cmath>

#include "editor/caption_control.h"
#include "editor/envelope_plot_control.h"
#include "editor/knob_control.h"
#include "editor/link_control.h"
#include "editor/surface_editor.h"
#include "editor/switch_control.h"
#include "host/plug_base.h"

namespace {

constexpr Rect kDisplay = {86, 80, 431, 345};
constexpr int kPoints = 171;
const Colour kWhite = {255, 255, 255, 255};
const Colour kGrey = {255, 128, 128, 128};
const TextStyle kLabelStyle(14, kWhite, "Arial", 0, 1, 0);

class BenchPlug : public PlugBase {
 public:
  BenchPlug() : PlugBase(4, 2, 2, "Bench", "Bench", "Bench", 1000, 1, 0, false, false, false) {
    ParamAt(0).DefineBool("dither", false, nullptr);
    ParamAt(1).DefineInt("power", 9, 0, 12, nullptr);
    ParamAt(2).DefineInt("bits", 16, 6, 32, nullptr);
    ParamAt(3).DefineBool("graph", true, nullptr);
  }
};

// The frame and its frequency labels: eight horizontal lines, nine vertical
// ones and nine texts, as the plug-in's grid draws them.
class GridLike : public Control {
 public:
  explicit GridLike(PlugBase* plug) : Control(plug, kDisplay, -1, 0, 1.0f) {}
  bool Draw(Editor* editor) override {
    const Rect& r = DrawRect();
    for (int i = 0; i <= 6; ++i) {
      const float y = r.top + i * (r.bottom - r.top) / 6.0f;
      editor->DrawLine(kGrey, r.left, y, r.right, y, nullptr, false);
    }
    const char* labels[] = {"100", "500", "1k", "2k", "3k", "4k", "5k", "10k", ""};
    for (int i = 0; i < 9; ++i) {
      const float x = r.left + (r.right - r.left) * i / 8.0f;
      editor->DrawLine(kGrey, x, r.bottom, x, r.top, nullptr, false);
      const int ix = static_cast<int>(x);
      editor->DrawText(kLabelStyle, labels[i], Rect{ix - 10, r.top - 14, ix + 10, r.top - 2});
    }
    return true;
  }
};

// A capsule of antialiased lines, as the plug-in's level bar draws it.
class BarLike : public Control {
 public:
  explicit BarLike(PlugBase* plug) : Control(plug, Rect{50, 462, 162, 469}, -1, 0, 1.0f) {}
  bool Draw(Editor* editor) override {
    const Rect& r = DrawRect();
    for (int i = 1; i <= 3; ++i) {
      editor->DrawLine(kWhite, r.left + 7.0f, r.top + i, 120.0f, r.top + i, nullptr, true);
      editor->DrawLine(kWhite, r.left + 7.0f, r.bottom - i, 120.0f, r.bottom - i, nullptr, true);
    }
    return true;
  }
};

struct BenchEditor {
  BenchPlug* plug = new BenchPlug();
  SurfaceEditor* editor = new SurfaceEditor(plug, 500, 525, 16.0);
  std::vector<Control*> display;  // the controls on the display area

  BenchEditor() {
    const BitmapRef background = editor->LoadBitmap(101, 2);
    const BitmapRef lamp = editor->LoadBitmap(103, 2);
    const BitmapRef knob = editor->LoadBitmap(102, 1);
    editor->AttachControl(new SwitchControl(plug, 0, 0, 0, background, 1));
    editor->AttachControl(new SwitchControl(plug, 240, 462, 3, lamp, 0));
    for (int i = 0; i < 2; ++i) {
      const int x = 345 + 67 * i;
      editor->AttachControlPair(
          new KnobControl(plug, x, 414, 1 + i, knob, -135.0, 135.0, 0, kKnobVertical, 4.0),
          new CaptionControl(plug, Rect{x + 5, 459, x + 25, 470}, 1 + i, kLabelStyle, false));
    }
    AttachPlots();
    editor->AttachControl(new BarLike(plug));
    editor->AttachControl(new LinkControl(plug, Rect{40, 375, 170, 435}, "readme"));
    plug->AttachEditor(editor);
  }
  ~BenchEditor() { delete plug; }

  void AttachPlots() {
    double values[kPoints];
    for (int i = 0; i < kPoints; ++i) values[i] = 0.4 + 0.3 * std::sin(i * 0.11);
    auto* input = new EnvelopePlotControl(plug, kDisplay, kWhite, true, Blend{2, 0.6f}, true);
    input->SetValues(values, kPoints, nullptr, true);
    auto* noise = new FilledPlotControl(plug, kDisplay, kWhite, true, Blend{2, -0.6f}, true);
    noise->SetValues(values, kPoints, nullptr, true);
    display = {input, noise, new GridLike(plug)};
    for (Control* control : display) editor->AttachControl(control);
  }
};

void BM_PaintWholeSurface(benchmark::State& state) {
  BenchEditor bench;
  for (auto _ : state) {
    for (int i = 0; i < bench.editor->ControlCount(); ++i) {
      bench.editor->ControlAt(i)->SetDirty(false);
    }
    bench.editor->Paint();
  }
}
BENCHMARK(BM_PaintWholeSurface)->Unit(benchmark::kMicrosecond);

void BM_PaintDisplayArea(benchmark::State& state) {
  BenchEditor bench;
  bench.editor->Paint();
  for (auto _ : state) {
    for (Control* control : bench.display) control->SetDirty(false);
    bench.editor->Paint();
  }
}
BENCHMARK(BM_PaintDisplayArea)->Unit(benchmark::kMicrosecond);

}  // namespace
