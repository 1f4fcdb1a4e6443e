// The editor's place on screen: a child window inside the host's window, its
// frame timer and message handling, the value entry box, the colour and file
// prompts, opening documents with the shell and the directory queries.
//
// What each window message does is here, in portable code; the platform's
// window procedure (editor/window.h) only translates real messages into
// HandleWindowMessage calls and performs the system calls.
//
// Threads:
//   [UI thread]      opening, closing and the prompts: the host's
//                    user-interface thread, which calls the editor.
//   [window thread]  HandleWindowMessage: the thread the window system
//                    delivers the window's messages on. On Windows that is
//                    the UI thread itself; under X11 it is the window's own
//                    event thread, holding the window's lock, while the UI
//                    thread waits for it to stop before it touches the
//                    window state (StopEditorWindow).
//   A value the user sets reaches the plug-in under the plug-in's lock, taken
//   inside the window's lock, never the other way round.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editor/editor.h"
#include "editor/value_entry.h"
#include "editor/window_message.h"

class WindowedEditor : public Editor {
 public:
  WindowedEditor(PlugParams* plug, int width, int height, double frameRate);
  // Closes the window if it is open.
  ~WindowedEditor() override;

  bool OpenWindow(void* parent) override;
  void CloseWindow() override;
  void UseHostLoop(HostLoop* loop) override { hostLoop = loop; }
  void PromptUserInput(Control* control, Param* param) override;
  std::string GetHostDirectory() override;
  std::string GetPluginDirectory() override;
  void PromptForFile(std::string* path, bool save, const std::string& directory,
                     const std::string& extensions) override;
  bool PromptForColour(Colour* colour, const char* prompt) override;
  bool OpenUrl(const char* target) override;
  void* GetWindow() override { return window; }

  // [window thread] One message of the editor's window. False when the
  // message goes to the default procedure: messages of other kinds, and
  // every message but a right press while the entry box has the focus.
  bool HandleWindowMessage(const WindowMessage& message);

  ValueEntry& Entry() { return entry; }

 private:
  // The handlers of HandleWindowMessage, one per message.
  void OnFrameTimer();
  void OnPointerMove(const WindowMessage& message);
  void OnButtonDown(const WindowMessage& message);
  void OnRightButtonDown(const WindowMessage& message);
  void OnButtonUp(const WindowMessage& message);
  void OnWheel(const WindowMessage& message);
  // The window went without CloseWindow (a host destroyed its frame, or the
  // default procedure closed it): forgets it, its box and its class count.
  void OnWindowDestroyed();

  void* window = nullptr;        // the child window, null while closed
  HostLoop* hostLoop = nullptr;  // the host's, for the windows opened next
  ValueEntry entry;
  std::unique_ptr<uint32_t[]> customColours;  // the colour chooser's 16, from its first use
};

// The number of editor windows open in the process.
int OpenEditorWindowCount();
// [window procedure, after the default procedure] Unregisters the window
// class if no editor window is open and it could not go before (its last
// window was still being destroyed then).
void SettleEditorWindowClass();
