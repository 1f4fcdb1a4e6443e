#include "vst3/vst3_view.h"

#include <cstring>
#include <new>

#include "plug/plug_base.h"
#include "vst3/run_loop_bridge.h"
#include "vst3/vst3_effect.h"

namespace vst3 {

IPlugView* Vst3View::Create(Vst3Effect* effect) { return new (std::nothrow) Vst3View(effect); }

Vst3View::Vst3View(Vst3Effect* effect) : effect(effect) { effect->addRef(); }

Vst3View::~Vst3View() {
  // A host that releases an attached view has removed it.
  if (isAttached) removed();
  if (frame) frame->release();
  effect->release();
}

Tresult Vst3View::queryInterface(const char* iid, void** object) {
  if (object == nullptr) return kInvalidArgument;
  *object = nullptr;
  if (!SameTuid(iid, kFUnknownIid) && !SameTuid(iid, kIPlugViewIid)) return kNoInterface;
  *object = static_cast<IPlugView*>(this);
  addRef();
  return kResultOk;
}

uint32_t Vst3View::addRef() { return references.Add(); }

uint32_t Vst3View::release() { return references.Drop(this); }

Tresult Vst3View::isPlatformTypeSupported(const char* type) {
  return type && std::strcmp(type, kViewPlatformType) == 0 ? kResultTrue : kResultFalse;
}

Tresult Vst3View::attached(void* parent, const char* type) {
  if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue) return kInvalidArgument;
  if (isAttached) return kResultFalse;
  // A Linux host's frame offers the loop the window's events run on.
  void* runLoop = nullptr;
  if (frame && frame->queryInterface(kIRunLoopIid.bytes, &runLoop) == kResultOk && runLoop) {
    bridge = RunLoopBridge::Create(static_cast<IRunLoop*>(runLoop), this);
  }
  // The editor has one window: a second view finds it open and fails.
  if (!effect->Plug().OpenEditor(parent, bridge)) {
    ReleaseBridge();
    return kResultFalse;
  }
  isAttached = true;
  return kResultOk;
}

Tresult Vst3View::removed() {
  if (!isAttached) return kResultFalse;
  effect->Plug().CloseEditor();
  ReleaseBridge();
  isAttached = false;
  return kResultOk;
}

void Vst3View::ReleaseBridge() {
  if (bridge) bridge->release();
  bridge = nullptr;
}

void Vst3View::RunPending() { effect->TellHostOfNewValues(); }

Tresult Vst3View::onWheel(float) { return kResultFalse; }

Tresult Vst3View::onKeyDown(char16_t, int16_t, int16_t) { return kResultFalse; }

Tresult Vst3View::onKeyUp(char16_t, int16_t, int16_t) { return kResultFalse; }

ViewRect Vst3View::EditorRect() const {
  PlugEditor* editor = effect->Plug().GetEditor();
  return ViewRect{0, 0, editor ? editor->Width() : 0, editor ? editor->Height() : 0};
}

Tresult Vst3View::getSize(ViewRect* size) {
  if (size == nullptr) return kInvalidArgument;
  *size = EditorRect();
  return kResultOk;
}

Tresult Vst3View::onSize(ViewRect* newSize) {
  if (newSize == nullptr) return kInvalidArgument;
  const ViewRect fixed = EditorRect();
  return newSize->right - newSize->left == fixed.right &&
                 newSize->bottom - newSize->top == fixed.bottom
             ? kResultOk
             : kResultFalse;
}

Tresult Vst3View::onFocus(uint8_t) { return kResultOk; }

Tresult Vst3View::setFrame(IPlugFrame* newFrame) {
  if (newFrame) newFrame->addRef();
  if (frame) frame->release();
  frame = newFrame;
  return kResultOk;
}

Tresult Vst3View::canResize() { return kResultFalse; }

Tresult Vst3View::checkSizeConstraint(ViewRect* rect) {
  if (rect == nullptr) return kInvalidArgument;
  const ViewRect fixed = EditorRect();
  rect->right = rect->left + fixed.right;
  rect->bottom = rect->top + fixed.bottom;
  return kResultOk;
}

}  // namespace vst3
