// The plug-in's editor as a VST 3 view: fixed in size, opened in the host's
// window (an X11 window id on Linux, an HWND on Windows) when attached and
// closed when removed. A host may make several views and attach one; the
// editor has one window, so a second view cannot be attached while one is.
// On Linux the window's events run on the host's run loop, asked of the
// frame, when the host offers one; its timer also tells the host of values a
// program change set.
//
// Threads: [UI] every call.
#pragma once

#include <cstdint>

#include "core/host_loop.h"
#include "vst3/reference_count.h"
#include "vst3/vst3_interfaces.h"

namespace vst3 {

class RunLoopBridge;
class Vst3Effect;

// The window type the views of this platform are attached to.
extern const char* const kViewPlatformType;

class Vst3View final : public IPlugView, public HostLoopClient {
 public:
  // A new view of the effect's editor with one reference, the caller's, or
  // null when none can be made.
  static IPlugView* Create(Vst3Effect* effect);
  Vst3View(const Vst3View&) = delete;
  Vst3View& operator=(const Vst3View&) = delete;

  Tresult QV_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t QV_VST3_CALL addRef() override;
  uint32_t QV_VST3_CALL release() override;

  Tresult QV_VST3_CALL isPlatformTypeSupported(const char* type) override;
  Tresult QV_VST3_CALL attached(void* parent, const char* type) override;
  Tresult QV_VST3_CALL removed() override;
  Tresult QV_VST3_CALL onWheel(float distance) override;
  Tresult QV_VST3_CALL onKeyDown(char16_t key, int16_t keyCode, int16_t modifiers) override;
  Tresult QV_VST3_CALL onKeyUp(char16_t key, int16_t keyCode, int16_t modifiers) override;
  Tresult QV_VST3_CALL getSize(ViewRect* size) override;
  Tresult QV_VST3_CALL onSize(ViewRect* newSize) override;
  Tresult QV_VST3_CALL onFocus(uint8_t state) override;
  Tresult QV_VST3_CALL setFrame(IPlugFrame* frame) override;
  Tresult QV_VST3_CALL canResize() override;
  Tresult QV_VST3_CALL checkSizeConstraint(ViewRect* rect) override;

  // [UI, the frame's run loop] Each tick of the editor's timer: the host
  // hears of values a program change set (Vst3Effect::TellHostOfNewValues).
  void RunPending() override;

 private:
  friend class ReferenceCount<Vst3View>;
  explicit Vst3View(Vst3Effect* effect);
  ~Vst3View();

  // The editor's size as a view rectangle at the origin.
  ViewRect EditorRect() const;
  // Lets go of the host's run loop, which the window no longer uses.
  void ReleaseBridge();

  ReferenceCount<Vst3View> references;
  Vst3Effect* effect;               // with a reference of the view's
  IPlugFrame* frame = nullptr;      // the host's, with a reference of the view's
  RunLoopBridge* bridge = nullptr;  // the frame's run loop while attached
  bool isAttached = false;
};

}  // namespace vst3
