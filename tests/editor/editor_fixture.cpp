#include "editor_fixture.h"

#include "draw/fill_rect.h"
#include "draw/pixel.h"
#include "draw/system_bitmap.h"

namespace {

const TextStyle kCaptionStyle(14, Colour{255, 255, 255, 255}, "Arial", 0, 1, 0);

MemoryBitmap* Solid(int width, int height, uint32_t colour) {
  auto* bitmap = new MemoryBitmap(width, height);
  FillRect(bitmap, 0, 0, width, height, colour, 1.0f, kBlendCopy);
  return bitmap;
}

}  // namespace

TestPlug::TestPlug()
    : PlugBase(4, 2, 2, "Editor test", "Editor test", "Tests", 1000, 0x74657374, 0, false, false,
               false) {
  ParamAt(kParamSwitch).DefineBool("switch", false, nullptr);
  ParamAt(kParamPower).DefineInt("power", 9, 0, 12, nullptr);
  ParamAt(kParamPower).SetValueText(0.0f, "off");
  ParamAt(kParamBits).DefineInt("bits", 16, 6, 32, "bits");
  ParamAt(kParamGain).DefineDouble("gain", 0.0, -1.0, 1.0, 0.01, "dB");
}

Bitmap* TestEditor::LoadBitmapResource(int resourceId, int, int* width, int* height) {
  ++loads;
  MemoryBitmap* image = nullptr;
  switch (resourceId) {
    case kImageBackground: image = Solid(120, 100, kGrey); break;
    case kImageSwitch:
      image = Solid(16, 32, kRed);
      ::FillRect(image, 0, 16, 16, 16, kGreen, 1.0f, kBlendCopy);
      break;
    case kImageKnob: image = Solid(31, 31, kWhite); break;
    default: break;
  }
  *width = image ? image->Width() : 0;
  *height = image ? image->Height() : 0;
  return image;
}

EditorSetup MakeEditorSetup() {
  TestHost::Install();
  EditorSetup s{};
  s.plug = new TestPlug();
  s.editor = new TestEditor(s.plug);
  s.editor->AttachBackground(kImageBackground);
  const BitmapRef switchImage = s.editor->LoadBitmap(kImageSwitch, 2);
  s.toggle = new SwitchControl(s.plug, 10, 10, kParamSwitch, switchImage, kBlendKindCopy);
  s.editor->AttachControl(s.toggle);
  const BitmapRef knobImage = s.editor->LoadBitmap(kImageKnob, 1);
  s.knob =
      new KnobControl(s.plug, 40, 10, kParamPower, knobImage, -135.0, 135.0, 0, kKnobVertical, 4.0);
  s.caption = new CaptionControl(s.plug, Rect{40, 45, 71, 57}, kParamPower, kCaptionStyle, false);
  s.editor->AttachControlPair(s.knob, s.caption);
  s.plug->AttachEditor(s.editor);
  TestHost::Current().calls.clear();
  return s;
}

void* OpenTestWindow(Editor* editor) {
  // The stand-in takes any non-null parent handle.
  static int parent;
  return editor->OpenWindow(&parent) ? editor->GetWindow() : nullptr;
}

bool Send(Editor* editor, WindowEvent event, int x, int y, unsigned keys, int wheelDelta) {
  WindowMessage message;
  message.event = event;
  message.x = x;
  message.y = y;
  message.keyState = keys;
  message.wheelDelta = wheelDelta;
  message.timerId = kFrameTimerId;
  return SendHeadlessMessage(editor->GetWindow(), message);
}

void Tick(Editor* editor) { Send(editor, WindowEvent::kTimer); }

void LeftClick(Editor* editor, int x, int y) {
  Send(editor, WindowEvent::kLeftDown, x, y, kKeyLeftButton);
  Send(editor, WindowEvent::kLeftUp, x, y);
}

uint32_t ScreenPixel(Editor* editor, int x, int y) {
  HeadlessWindow* window = FindHeadlessWindow(editor->GetWindow());
  return window ? GetPixel(&window->screen, x, y) : 0;
}

uint32_t SurfacePixel(SurfaceEditor* editor, int x, int y) {
  return GetPixel(editor->Surface(), x, y);
}

std::vector<HostCall> Automation() { return TestHost::Current().CallsWith(kHostAutomate); }
