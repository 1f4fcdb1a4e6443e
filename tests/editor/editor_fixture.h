// A stand-in plug-in with an editor for the editor's tests, and helpers that
// deliver window messages through the headless stand-in as a window
// procedure would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/plug_params.h"
#include "draw/memory_bitmap.h"
#include "editor/caption_control.h"
#include "editor/knob_control.h"
#include "editor/headless/headless.h"
#include "editor/surface_editor.h"
#include "editor/window.h"
#include "editor/switch_control.h"

enum TestParam : int {
  kParamSwitch = 0,  // Bool, off
  kParamPower = 1,   // Int 0 ... 12, default 9, 0 shown as "off"
  kParamBits = 2,    // Int 6 ... 32, default 16
  kParamGain = 3,    // Double -1 ... 1, step 0.01, default 0, label "dB"
};

// Solid test images: the switch's two frames are red and green, the knob a
// white square, the background dark grey.
enum TestImage : int { kImageBackground = 1, kImageSwitch = 2, kImageKnob = 3, kImageMissing = 4 };
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFF404040;

// A change the editor reported, as a host would receive it as automation.
struct Report {
  int index;
  float opt;
};

// The plug-in as the editor sees it. Like a plug-in it owns the editor handed
// to AttachEditor and closes its window when it goes; editor changes are
// recorded (see Automation) and counted in `changed`.
class TestPlug : public PlugParams {
 public:
  TestPlug();
  ~TestPlug();

  Param& ParamAt(int index) override;
  void SetParamFromEditor(int index, double normalised) override;
  void BeginGesture(int index) override { gestures.push_back("begin " + std::to_string(index)); }
  void EndGesture(int index) override { gestures.push_back("end " + std::to_string(index)); }
  PlugLock& Lock() override { return lock; }

  // Pushes every value to the editor, prepares its drawing and keeps it.
  void AttachEditor(Editor* newEditor);
  // A value from the host: the editor's controls follow, then the parameter.
  void SetFromHost(int index, float normalised);

  std::vector<int> changed;
  std::vector<std::string> gestures;  // "begin I" and "end I", in order

 private:
  PlugLock lock;
  Param params[4];
  Param inert;
  std::unique_ptr<Editor> editor;
};

class TestEditor : public SurfaceEditor {
 public:
  explicit TestEditor(PlugParams* plug, int width = 120, int height = 100)
      : SurfaceEditor(plug, width, height, 16.0) {}
  Bitmap* LoadBitmapResource(int resourceId, int frames, int* width, int* height) override;

  int loads = 0;  // LoadBitmapResource calls
};

// The usual layout, z-order from the bottom:
//   background   (0, 0, 120, 100)   unbound
//   switch       (10, 10, 26, 26)   kParamSwitch, two frames
//   knob         (40, 10, 71, 41)   kParamPower, gearing 4, linked caption
//   caption      (40, 45, 71, 57)   kParamPower
// The plug-in and its attached editor (not opened), closed when the setup
// goes, even after a failed assertion.
struct EditorSetup {
  EditorSetup();
  // Closes the editor's window, if open, and deletes plug-in and editor.
  void Close() { owner.reset(); }

  std::unique_ptr<TestPlug> owner;
  TestPlug* plug;
  TestEditor* editor;
  SwitchControl* toggle;
  KnobControl* knob;
  CaptionControl* caption;
};

// Opens the editor's window in a stand-in parent; the window's handle.
void* OpenTestWindow(Editor* editor);

// Messages, as the window procedure delivers them.
bool Send(Editor* editor, WindowEvent event, int x = 0, int y = 0, unsigned keys = 0,
          int wheelNotches = 0);
void Tick(Editor* editor);
void LeftClick(Editor* editor, int x, int y);

// A pixel of what the window shows, and of the surface.
uint32_t ScreenPixel(Editor* editor, int x, int y);
uint32_t SurfacePixel(SurfaceEditor* editor, int x, int y);

// The editor changes reported since the last TestPlug was made.
const std::vector<Report>& Automation();
void ClearAutomation();
