// The shell's "open", the module file names and the common dialogs.
#include "editor/shell.h"
#include "editor/win32/win32_api.h"
#include "core/module.h"

namespace {

// Module file names longer than this count as unknown rather than being cut.
constexpr DWORD kModuleNameBytes = 1024;
constexpr DWORD kFileNameChars = 255;

UINT_PTR CALLBACK ColourHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* chooser = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (chooser->lCustData)
      SetWindowTextA(dialog, reinterpret_cast<const char*>(chooser->lCustData));
  }
  return 0;
}

}  // namespace

bool ShellOpen(const char* target) {
  const HINSTANCE result = ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool ModuleFileName(bool host, std::string* path) {
  char name[kModuleNameBytes];
  HMODULE module = host ? nullptr : static_cast<HMODULE>(ModuleHandle());
  const DWORD length = GetModuleFileNameA(module, name, kModuleNameBytes);
  if (length == 0 || length >= kModuleNameBytes) return false;
  path->assign(name, length);
  return true;
}

char PathSeparator() { return '\\'; }

bool ChooseColour(void* owner, Colour* colour, const char* prompt, uint32_t* customColours) {
  CHOOSECOLORA chooser = {};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = static_cast<HWND>(owner);
  chooser.rgbResult = RGB(colour->r, colour->g, colour->b);
  chooser.lpCustColors = reinterpret_cast<COLORREF*>(customColours);
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  chooser.lpfnHook = ColourHook;
  chooser.lCustData = reinterpret_cast<LPARAM>(prompt);
  if (!ChooseColorA(&chooser)) return false;
  colour->r = GetRValue(chooser.rgbResult);
  colour->g = GetGValue(chooser.rgbResult);
  colour->b = GetBValue(chooser.rgbResult);
  return true;
}

std::string ChooseFile(void* owner, bool save, const std::string& directory,
                       const std::string& pattern, const std::string& defaultExtension) {
  char file[kFileNameChars + 1] = {};
  // Pairs of description and pattern, ending with an empty pair; the pattern
  // describes itself.
  std::string filter = pattern;
  filter += '\0';
  filter += pattern;
  filter += '\0';
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = pattern.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = kFileNameChars;
  dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  dialog.Flags = OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  return chosen ? std::string(file) : std::string();
}
