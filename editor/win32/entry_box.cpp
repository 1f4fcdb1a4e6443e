// The value entry box: an EDIT or COMBOBOX child of the editor's window whose
// procedure is replaced by the entry's own, which hands focus, Return and
// list picks to the portable ValueEntry.
#include "editor/entry_box.h"
#include "editor/value_entry.h"
#include "editor/win32/win32_api.h"
#include "core/module.h"

namespace {

constexpr int kEntryBoxId = 99;
constexpr int kEntryTextBytes = 32;  // read back with its terminating zero

ValueEntry* EntryOf(HWND box) {
  return reinterpret_cast<ValueEntry*>(GetWindowLongPtrA(box, GWLP_USERDATA));
}

bool HandleBoxMessage(ValueEntry* entry, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_SETFOCUS: return entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
    case WM_KILLFOCUS: return entry->HandleBoxMessage(EntryEvent::kKillFocus, 0);
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) return entry->HandleBoxMessage(EntryEvent::kEscapeKey, 0);
      return wParam == VK_RETURN && entry->HandleBoxMessage(EntryEvent::kReturnKey, 0);
    case WM_COMMAND: return entry->HandleBoxMessage(EntryEvent::kCommand, HIWORD(wParam));
    default: return false;
  }
}

LRESULT CALLBACK EntryBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  ValueEntry* entry = EntryOf(box);
  if (entry == nullptr || entry->Box() != box) return DefWindowProcA(box, message, wParam, lParam);
  // The box's own procedure, read before the entry may close the box.
  auto own = reinterpret_cast<WNDPROC>(entry->BoxProcedure());
  if (HandleBoxMessage(entry, message, wParam)) return 0;
  const LRESULT result = CallWindowProcA(own, box, message, wParam, lParam);
  // Hosts that pass their messages through IsDialogMessage keep Escape from
  // a box that does not ask for it (a drop-down list), and cancel their own
  // dialog instead: the box asks for it.
  if (message == WM_GETDLGCODE && lParam != 0) {
    const MSG* key = reinterpret_cast<const MSG*>(lParam);
    if (key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE) return result | DLGC_WANTMESSAGE;
  }
  return result;
}

void* CreateBox(void* parent, const char* windowClass, const char* text, DWORD style,
                const Rect& box, ValueEntry* entry) {
  HWND hwnd = CreateWindowExA(0, windowClass, text, style, box.left, box.top, box.right - box.left,
                              box.bottom - box.top, static_cast<HWND>(parent),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryBoxId)),
                              static_cast<HINSTANCE>(ModuleHandle()), nullptr);
  if (hwnd == nullptr) return nullptr;
  const LONG_PTR own =
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EntryBoxProc));
  entry->SetBoxProcedure(reinterpret_cast<void*>(own));
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry));
  return hwnd;
}

}  // namespace

void* CreateEntryEdit(void* parent, const Rect& box, const std::string& text, ValueEntry* entry) {
  return CreateBox(parent, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE,
                   box, entry);
}

void* CreateEntryList(void* parent, const Rect& box, const std::vector<std::string>& items,
                      int selection, ValueEntry* entry) {
  void* list =
      CreateBox(parent, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, box, entry);
  if (list == nullptr) return nullptr;
  HWND hwnd = static_cast<HWND>(list);
  for (const std::string& item : items) {
    SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  return list;
}

void SetEntryFont(void* box, void* font) {
  SendMessageA(static_cast<HWND>(box), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::string EntryText(void* box) {
  char text[kEntryTextBytes] = {};
  GetWindowTextA(static_cast<HWND>(box), text, kEntryTextBytes);
  return text;
}

void SetEntryText(void* box, const std::string& text) {
  SetWindowTextA(static_cast<HWND>(box), text.c_str());
}

void DestroyEntryBox(void* box) {
  HWND hwnd = static_cast<HWND>(box);
  if (ValueEntry* entry = EntryOf(hwnd)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->BoxProcedure()));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
  DestroyWindow(hwnd);
}
