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

std::vector<Report> reports;

}  // namespace

TestPlug::TestPlug() {
  ClearAutomation();
  ParamAt(kParamSwitch).DefineBool("switch", false, nullptr);
  ParamAt(kParamPower).DefineInt("power", 9, 0, 12, nullptr);
  ParamAt(kParamPower).SetValueText(0.0f, "off");
  ParamAt(kParamBits).DefineInt("bits", 16, 6, 32, "bits");
  ParamAt(kParamGain).DefineDouble("gain", 0.0, -1.0, 1.0, 0.01, "dB");
}

TestPlug::~TestPlug() {
  if (editor) editor->CloseWindow();
}

Param& TestPlug::ParamAt(int index) { return index >= 0 && index < 4 ? params[index] : inert; }

void TestPlug::SetParamFromEditor(int index, double normalised) {
  LockGuard guard(&lock);
  const float value = static_cast<float>(normalised);
  reports.push_back(Report{index, value});
  ParamAt(index).SetFromNormalized(value);
  changed.push_back(index);
}

void TestPlug::AttachEditor(Editor* newEditor) {
  for (int i = 0; i < 4; ++i) newEditor->SetParameterFromPlug(i, params[i].Normalized(), &lock);
  newEditor->PrepareDrawing();
  editor.reset(newEditor);
}

void TestPlug::SetFromHost(int index, float normalised) {
  LockGuard guard(&lock);
  if (editor) editor->SetParameterFromPlug(index, normalised, &lock);
  ParamAt(index).SetFromNormalized(normalised);
  changed.push_back(index);
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

EditorSetup::EditorSetup() : owner(new TestPlug()), plug(owner.get()) {
  editor = new TestEditor(plug);
  editor->AttachBackground(kImageBackground);
  const BitmapRef switchImage = editor->LoadBitmap(kImageSwitch, 2);
  toggle = new SwitchControl(plug, 10, 10, kParamSwitch, switchImage, kBlendKindCopy);
  editor->AttachControl(toggle);
  const BitmapRef knobImage = editor->LoadBitmap(kImageKnob, 1);
  knob =
      new KnobControl(plug, 40, 10, kParamPower, knobImage, -135.0, 135.0, 0, kKnobVertical, 4.0);
  caption = new CaptionControl(plug, Rect{40, 45, 71, 57}, kParamPower, kCaptionStyle, false);
  editor->AttachControlPair(knob, caption);
  plug->AttachEditor(editor);
  plug->changed.clear();
  ClearAutomation();
}

void* OpenTestWindow(Editor* editor) {
  // The stand-in takes any non-null parent handle.
  static int parent;
  return editor->OpenWindow(&parent) ? editor->GetWindow() : nullptr;
}

bool Send(Editor* editor, WindowEvent event, int x, int y, unsigned keys, int wheelNotches) {
  WindowMessage message;
  message.event = event;
  message.x = x;
  message.y = y;
  message.keyState = keys;
  message.wheelNotches = wheelNotches;
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

const std::vector<Report>& Automation() { return reports; }

void ClearAutomation() { reports.clear(); }
