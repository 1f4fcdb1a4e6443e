// The plug-in's own editor after a second of audio has filled its graphs,
// painted once, ready for the paint benchmarks.
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include "dither/dither_plugin.h"
#include "editor/surface_editor.h"
#include "plug/create_plugin.h"
#include "vst2/dispatcher.h"
#include "vst2/vst2_effect.h"

// The plug-in with its editor, as the entry makes it.
inline DitherPlugin* WithEditor(DitherPlugin* plug) {
  if (!CreatePluginEditor(*plug)) std::abort();
  return plug;
}

struct PaintedPlugin {
  DitherPlugin* plug = WithEditor(new DitherPlugin());
  SurfaceEditor* editor = static_cast<SurfaceEditor*>(plug->GetEditor());
  EffectRecord* record = (new Vst2Effect(plug))->Record();  // owns the plug-in

  PaintedPlugin() {
    EffectRecord* r = record;
    r->dispatcher(r, effOpen, 0, 0, nullptr, 0.0f);
    r->dispatcher(r, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    r->dispatcher(r, effSetBlockSize, 0, 512, nullptr, 0.0f);
    r->dispatcher(r, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<float> left(512), right(512);
    float* channels[2] = {left.data(), right.data()};
    for (int block = 0; block < 86; ++block) {
      for (int j = 0; j < 512; ++j) {
        left[j] = right[j] = 0.3f * std::sin(0.05f * static_cast<float>(block * 512 + j));
      }
      r->processReplacing(r, channels, channels, 512);
    }
    editor->Paint();
  }
  ~PaintedPlugin() { record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f); }

  // Marks the controls whose rectangle lies inside `area` (all for null).
  void MarkDirty(const Rect* area) {
    for (int i = 0; i < editor->ControlCount(); ++i) {
      Control* control = editor->ControlAt(i);
      const Rect& r = control->DrawRect();
      const bool inside = !area || (r.left >= area->left && r.top >= area->top &&
                                    r.right <= area->right && r.bottom <= area->bottom);
      if (inside) control->SetDirty();
    }
  }
};
