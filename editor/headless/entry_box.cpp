#include <algorithm>

#include "editor/entry_box.h"
#include "editor/headless/headless.h"
#include "text/posix/freetype_text.h"
#include "editor/headless/objects.h"

namespace {

constexpr size_t kEntryTextLength = 31;

void* CreateBox(void* parent, HeadlessEntryBox* record) {
  if (FindHeadlessWindow(parent) == nullptr) {
    delete record;
    return nullptr;
  }
  HeadlessObjects::boxes.insert(record);
  return record;
}

}  // namespace

HeadlessEntryBox* FindHeadlessEntryBox(void* box) {
  return HeadlessObjects::Contains(HeadlessObjects::boxes, box)
             ? static_cast<HeadlessEntryBox*>(box)
             : nullptr;
}

void HeadlessObjects::DestroyChildBoxes(void* window) {
  for (auto it = boxes.begin(); it != boxes.end();) {
    auto* box = static_cast<HeadlessEntryBox*>(*it);
    if (box->parent != window) {
      ++it;
      continue;
    }
    it = boxes.erase(it);
    delete box;
  }
}

void* CreateEntryEdit(void* parent, const Rect& box, const std::string& text, ValueEntry* entry) {
  return CreateBox(parent, new HeadlessEntryBox{parent, box, false, text, {}, -1, nullptr, entry});
}

void* CreateEntryList(void* parent, const Rect& box, const std::vector<std::string>& items,
                      int selection, ValueEntry* entry) {
  return CreateBox(parent,
                   new HeadlessEntryBox{parent, box, true, "", items, selection, nullptr, entry});
}

void SetEntryFont(void* box, void* font) {
  if (HeadlessEntryBox* found = FindHeadlessEntryBox(box)) found->font = font;
}

std::string EntryText(void* box) {
  HeadlessEntryBox* found = FindHeadlessEntryBox(box);
  if (found == nullptr) return std::string();
  if (!found->isList) return found->text.substr(0, kEntryTextLength);
  const int n = static_cast<int>(found->items.size());
  if (found->selection < 0 || found->selection >= n) return std::string();
  return found->items[found->selection].substr(0, kEntryTextLength);
}

// A drop-down list selects the first item with that text, as setting the
// text of such a list does.
void SetEntryText(void* box, const std::string& text) {
  HeadlessEntryBox* found = FindHeadlessEntryBox(box);
  if (found == nullptr) return;
  if (!found->isList) {
    found->text = text;
    return;
  }
  auto match = std::find(found->items.begin(), found->items.end(), text);
  if (match != found->items.end())
    found->selection = static_cast<int>(match - found->items.begin());
}

void DestroyEntryBox(void* box) {
  HeadlessEntryBox* found = FindHeadlessEntryBox(box);
  if (found == nullptr) return;
  HeadlessObjects::boxes.erase(box);
  delete found;
}

int LiveHeadlessObjects() {
  return static_cast<int>(HeadlessObjects::windows.size() + HeadlessObjects::boxes.size()) +
         LiveFonts();
}
