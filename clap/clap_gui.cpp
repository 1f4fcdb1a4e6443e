// The plug-in's editor as a CLAP GUI: embedded in the host's window (an X11
// window on Linux, an HWND on Windows), fixed in size. The editor is built
// when the GUI is created and deleted when it is destroyed; its window
// opens in the parent the host sets and closes when hidden. On Linux its
// events run on the host's loop when the host offers one.
#include <cstring>

#include "clap/clap_plugin.h"
#include "clap/host_loop_bridge.h"
#include "plug/create_plugin.h"

namespace clap {

namespace {

template <typename Call>
bool WithPlugin(const Plugin* plugin, Call call) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && call(*self);
}

bool QV_CLAP_CALL IsApiSupported(const Plugin* plugin, const char* api, bool isFloating) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.IsGuiApiSupported(api, isFloating); });
}

bool QV_CLAP_CALL PreferredApi(const Plugin* plugin, const char** api, bool* isFloating) {
  if (plugin == nullptr || api == nullptr || isFloating == nullptr) return false;
  *api = kGuiApi;
  *isFloating = false;
  return true;
}

bool QV_CLAP_CALL Create(const Plugin* plugin, const char* api, bool isFloating) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.CreateGui(api, isFloating); });
}

void QV_CLAP_CALL Destroy(const Plugin* plugin) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->DestroyGui();
}

// The editor draws at one size, whatever the screen's scale.
bool QV_CLAP_CALL SetScale(const Plugin*, double) { return false; }

bool QV_CLAP_CALL Size(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.GuiSize(width, height); });
}

bool QV_CLAP_CALL CanResize(const Plugin*) { return false; }

bool QV_CLAP_CALL ResizeHints(const Plugin* plugin, GuiResizeHints* hints) {
  if (plugin == nullptr || hints == nullptr) return false;
  *hints = GuiResizeHints{};
  return true;
}

bool QV_CLAP_CALL AdjustSize(const Plugin* plugin, uint32_t* width, uint32_t* height) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.GuiSize(width, height); });
}

bool QV_CLAP_CALL SetSize(const Plugin* plugin, uint32_t width, uint32_t height) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.SetGuiSize(width, height); });
}

bool QV_CLAP_CALL SetParent(const Plugin* plugin, const Window* window) {
  return WithPlugin(plugin, [&](ClapPlugin& p) { return p.SetGuiParent(window); });
}

// The GUI is embedded only.
bool QV_CLAP_CALL SetTransient(const Plugin*, const Window*) { return false; }

void QV_CLAP_CALL SuggestTitle(const Plugin*, const char*) {}

bool QV_CLAP_CALL Show(const Plugin* plugin) {
  return WithPlugin(plugin, [](ClapPlugin& p) { return p.ShowGui(); });
}

bool QV_CLAP_CALL Hide(const Plugin* plugin) {
  return WithPlugin(plugin, [](ClapPlugin& p) { return p.HideGui(); });
}

void QV_CLAP_CALL OnFdReady(const Plugin* plugin, int fd, uint32_t) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->OnFd(fd);
}

void QV_CLAP_CALL OnTimerFired(const Plugin* plugin, Id timerId) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->OnTimer(timerId);
}

}  // namespace

const PluginGui kGuiExtension{IsApiSupported, PreferredApi, Create,       Destroy,    SetScale,
                              Size,           CanResize,    ResizeHints,  AdjustSize, SetSize,
                              SetParent,      SetTransient, SuggestTitle, Show,       Hide};
const PluginPosixFdSupport kPosixFdExtension{OnFdReady};
const PluginTimerSupport kTimerExtension{OnTimerFired};

bool ClapPlugin::IsGuiApiSupported(const char* api, bool isFloating) const {
  return api && !isFloating && std::strcmp(api, kGuiApi) == 0;
}

bool ClapPlugin::CreateGui(const char* api, bool isFloating) {
  return !GuiCreated() && IsGuiApiSupported(api, isFloating) && CreatePluginEditor(*plug);
}

void ClapPlugin::DestroyGui() {
  if (!GuiCreated()) return;
  CloseWindow();
  plug->DetachEditor();
  parent = nullptr;
}

bool ClapPlugin::GuiSize(uint32_t* width, uint32_t* height) const {
  PlugEditor* editor = plug->GetEditor();
  if (editor == nullptr || width == nullptr || height == nullptr) return false;
  *width = static_cast<uint32_t>(editor->Width());
  *height = static_cast<uint32_t>(editor->Height());
  return true;
}

bool ClapPlugin::SetGuiSize(uint32_t width, uint32_t height) const {
  uint32_t fixedWidth = 0;
  uint32_t fixedHeight = 0;
  return GuiSize(&fixedWidth, &fixedHeight) && width == fixedWidth && height == fixedHeight;
}

bool ClapPlugin::SetGuiParent(const Window* window) {
  if (!GuiCreated() || windowOpen || window == nullptr || window->api == nullptr ||
      std::strcmp(window->api, kGuiApi) != 0) {
    return false;
  }
  parent = ParentHandle(*window);
  return parent != nullptr && OpenWindow();
}

bool ClapPlugin::ShowGui() { return windowOpen || (parent != nullptr && OpenWindow()); }

bool ClapPlugin::HideGui() {
  if (!GuiCreated()) return false;
  CloseWindow();
  return true;
}

bool ClapPlugin::OpenWindow() {
  windowOpen = plug->OpenEditor(parent, loop.get());
  return windowOpen;
}

void ClapPlugin::CloseWindow() {
  if (windowOpen) plug->CloseEditor();
  windowOpen = false;
}

void ClapPlugin::OnFd(int fd) {
  if (loop) loop->OnFd(fd);
}

void ClapPlugin::OnTimer(Id timerId) {
  if (loop) loop->OnTimer(timerId);
}

}  // namespace clap
