// Cost of one full paint of the plug-in's 500 x 525 editor from its surface
// to its X11 window, every control dirty, with shared memory (MIT-SHM) where
// the server offers it, as under Xvfb; and of the put alone, the surface
// copied to the window without drawing. Goal: the whole paint under 2 ms.
// Compare with editor_bench's BM_PaintWholeSurface, the same paint without a
// window. Needs a display (xvfb-run).
//
// The editor's event thread is stopped once the window is up, so that the
// benchmark's thread alone drives the paints, as the event thread would.
#include <benchmark/benchmark.h>

// The plug-in's headers first: Xlib's macros (Bool, None) would rename
// their names.
#include "painted_plugin.h"
// clang-format off
#include "draw/system_bitmap.h"
#include "editor/window.h"
#include "editor/x11/x11_window.h"
// clang-format on

namespace {

struct OpenWindow {
  PaintedPlugin painted;
  Display* display = XOpenDisplay(nullptr);
  Window parent = 0;
  X11Window* window = nullptr;

  OpenWindow() {
    if (display == nullptr) return;
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 500, 525, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    EffectRecord* r = painted.record;
    if (r->dispatcher(r, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f) != 1) return;
    window = static_cast<X11Window*>(painted.editor->GetWindow());
    StopEditorWindow(window);
  }
  ~OpenWindow() {
    EffectRecord* r = painted.record;
    if (window) r->dispatcher(r, effEditClose, 0, 0, nullptr, 0.0f);
    if (display) XCloseDisplay(display);
  }
};

void BM_PaintWholeWindow(benchmark::State& state) {
  OpenWindow open;
  if (open.window == nullptr) {
    state.SkipWithError("no display, or the editor did not open");
    return;
  }
  state.SetLabel(open.window->image.Shared() ? "MIT-SHM" : "XPutImage");
  for (auto _ : state) {
    open.painted.MarkDirty(nullptr);
    RepaintNow(open.window, Rect{0, 0, 500, 525});
  }
}
BENCHMARK(BM_PaintWholeWindow)->Unit(benchmark::kMicrosecond);

void BM_PutWholeWindow(benchmark::State& state) {
  OpenWindow open;
  if (open.window == nullptr) {
    state.SkipWithError("no display, or the editor did not open");
    return;
  }
  X11Window* w = open.window;
  state.SetLabel(w->image.Shared() ? "MIT-SHM" : "XPutImage");
  for (auto _ : state) {
    w->image.Put(w->display, w->window, w->gc, *open.painted.editor->Surface(),
                 Rect{0, 0, 500, 525});
  }
}
BENCHMARK(BM_PutWholeWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
