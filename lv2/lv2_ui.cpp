// The LV2 format adapter, UI side: the plug-in's own editor for an instance
// of the DSP binary, which the host hands over through instance-access.
//
// The editor is built by this binary's code (CreatePluginEditor), so that it
// gets this binary's window layer; it is dropped again at cleanup, before
// this binary is unloaded.
//
//   instantiate   build the editor; open it in the host's window (ui:parent)
//                 when one is given, and tell the host its size (ui:resize)
//   port_event    a control port's value moves the editor's controls
//   idle          edits made in the editor go to the host's write function;
//                 non-zero once the user closed the UI's own window
//   show / hide   a window of the UI's own, for hosts that give no parent
//   cleanup       close the window, drop the editor
//
// Threads: the host's UI thread calls every function here. The editor's window
// has an event thread of its own; an edit made there is queued, and written
// to the host at the next idle, on the host's thread as LV2 requires.
//
// The control ports are the one truth: an edit changes the DSP instance's
// parameter only when the host sets its port (the plug-in core leaves edits
// to hosts that apply them, PlugHost::AppliesEdits). A value written is the
// parameter's stepped value; a port event goes to the editor through the
// plug-in core, which keeps the knob where an edit left it when the host
// echoes that value back.
#include <lv2/core/lv2.h>
#include <lv2/core/lv2_util.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "editor/editor.h"
#include "editor/window.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"
#include "lv2/lv2_instance.h"
#include "lv2/ui_window.h"

namespace {

class Lv2Ui {
 public:
  Lv2Ui(Lv2Instance* instance, LV2UI_Write_Function write, LV2UI_Controller controller)
      : instance(instance),
        plugin(instance->Plugin()),
        write(write),
        controller(controller),
        edits(static_cast<size_t>(plugin->ParamCount())) {
    for (std::atomic<float>& edit : edits) edit = kNoEdit;
  }
  Lv2Ui(const Lv2Ui&) = delete;
  Lv2Ui& operator=(const Lv2Ui&) = delete;

  // The editor, built by this binary, with its edits coming here. False when
  // the instance has a UI already (it has one editor) or the editor cannot be
  // made.
  [[nodiscard]] bool Attach() {
    {
      LockGuard guard(&plugin->Lock());
      if (instance->HasEditSink()) return false;
      instance->SetEditSink(&EditedEntry, this);
    }
    if (CreatePluginEditor(*plugin)) return true;
    instance->SetEditSink(nullptr, nullptr);
    return false;
  }

  // Closes the window and drops the editor, whose code is this binary's.
  void Detach() {
    Close();
    instance->SetEditSink(nullptr, nullptr);
    plugin->DetachEditor();
  }

  // This binary built the editor: it is one of its Editors.
  Editor* GetEditor() const { return static_cast<Editor*>(plugin->GetEditor()); }

  // Opens the editor in `parent`; false when no window could be made.
  bool Open(void* parent) {
    Editor* editor = GetEditor();
    return editor && editor->OpenWindow(parent);
  }

  void Close() {
    if (Editor* editor = GetEditor()) editor->CloseWindow();
  }

  // The window shown through the show interface, closed by the user with
  // its close button: it is closed here, and true until shown again.
  bool ClosedByUser() {
    Editor* editor = GetEditor();
    if (closedByUser || editor == nullptr || !EditorWindowCloseRequested(editor->GetWindow())) {
      return closedByUser;
    }
    editor->CloseWindow();
    closedByUser = true;
    return true;
  }
  // Shows the editor in a window of its own.
  bool Show() {
    closedByUser = false;
    return Open(Lv2UiScreenRoot());
  }

  // The editor's window, as the host's widget: its XID.
  void* Widget() const {
    Editor* editor = GetEditor();
    return editor ? NativeEditorWindow(editor->GetWindow()) : nullptr;
  }

  // A control port's value, in the parameter's own units.
  void PortEvent(uint32_t port, float value) {
    if (port < edits.size()) plugin->ShowHostValue(static_cast<int>(port), value);
  }

  // Every queued edit to the host, as the value in the parameter's units.
  void WriteEdits() {
    for (size_t i = 0; i < edits.size(); ++i) {
      const float normalised = edits[i].exchange(kNoEdit);
      if (std::isnan(normalised)) continue;
      const auto value =
          static_cast<float>(plugin->ParamAt(static_cast<int>(i)).ValueFromNormalized(normalised));
      write(controller, static_cast<uint32_t>(i), sizeof value, 0, &value);
    }
  }

 private:
  static constexpr float kNoEdit = std::numeric_limits<float>::quiet_NaN();

  // [editor's thread, plug-in's lock held] The editor set a parameter.
  static void EditedEntry(void* ui, int index, float normalised) {
    static_cast<Lv2Ui*>(ui)->Edited(index, normalised);
  }
  void Edited(int index, float normalised) {
    if (index >= 0 && static_cast<size_t>(index) < edits.size() && !std::isnan(normalised)) {
      edits[static_cast<size_t>(index)] = normalised;
    }
  }

  Lv2Instance* instance;
  PlugBase* plugin;
  LV2UI_Write_Function write;
  LV2UI_Controller controller;
  std::vector<std::atomic<float>> edits;  // per parameter, the last unwritten edit
  bool closedByUser = false;              // the own window's close button was used
};

Lv2Ui* Of(LV2UI_Handle handle) { return static_cast<Lv2Ui*>(handle); }

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  auto* instance = static_cast<Lv2Instance*>(lv2_features_data(features, LV2_INSTANCE_ACCESS_URI));
  if (instance == nullptr || write == nullptr || pluginUri == nullptr ||
      std::strcmp(pluginUri, PluginIdentity().lv2Uri) != 0) {
    return nullptr;
  }
  void* parent = lv2_features_data(features, LV2_UI__parent);
  auto* resize = static_cast<const LV2UI_Resize*>(lv2_features_data(features, LV2_UI__resize));
  // Nothing may throw into the host.
  try {
    auto ui = std::make_unique<Lv2Ui>(instance, write, controller);
    if (!ui->Attach()) return nullptr;
    if (parent != nullptr && !ui->Open(parent)) {
      ui->Detach();
      return nullptr;
    }
    if (widget && parent) *widget = ui->Widget();
    Editor* editor = ui->GetEditor();
    if (resize && editor) resize->ui_resize(resize->handle, editor->Width(), editor->Height());
    return ui.release();
  } catch (...) {
    return nullptr;
  }
}

void Cleanup(LV2UI_Handle handle) {
  Lv2Ui* ui = Of(handle);
  ui->Detach();
  delete ui;
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
  if (format != 0 || size != sizeof(float) || buffer == nullptr) return;
  float value;
  std::memcpy(&value, buffer, sizeof value);
  Of(handle)->PortEvent(port, value);
}

// Non-zero once the user closed the window of the UI's own, as the idle
// interface asks: the host then hides or drops the UI.
int Idle(LV2UI_Handle handle) {
  Of(handle)->WriteEdits();
  return Of(handle)->ClosedByUser() ? 1 : 0;
}

int Show(LV2UI_Handle handle) {
  try {
    return Of(handle)->Show() ? 0 : 1;
  } catch (...) {
    return 1;
  }
}

int Hide(LV2UI_Handle handle) {
  Of(handle)->Close();
  return 0;
}

// The editor has one size: a request for another is refused.
int Resize(LV2UI_Feature_Handle handle, int width, int height) {
  Editor* editor = Of(handle)->GetEditor();
  return editor && editor->Width() == width && editor->Height() == height ? 0 : 1;
}

const void* ExtensionData(const char* uri) {
  static const LV2UI_Idle_Interface idle = {Idle};
  static const LV2UI_Show_Interface show = {Show, Hide};
  static const LV2UI_Resize resize = {nullptr, Resize};
  if (std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idle;
  if (std::strcmp(uri, LV2_UI__showInterface) == 0) return &show;
  if (std::strcmp(uri, LV2_UI__resize) == 0) return &resize;
  return nullptr;
}

const LV2UI_Descriptor kDescriptor = {PluginIdentity().lv2UiUri, Instantiate, Cleanup, PortEvent,
                                      ExtensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(
    uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
