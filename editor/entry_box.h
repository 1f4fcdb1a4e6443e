// The value entry box, the small edit box or drop-down list that the editor
// opens over a control to take a typed value, as each window layer makes it.
// Handles are void*: the HWND on Windows, the layer's own record elsewhere.
//
// Threads: [the thread that delivers the editor window's messages].
#pragma once

#include <string>
#include <vector>

#include "editor/editor_types.h"

class ValueEntry;

// Create the entry box, a child of `parent` with id 99, at `box`, and route
// its messages to `entry` (the box's own procedure is kept for it). An edit
// box holding `text`, or a drop-down list of `items` with `selection` chosen
// (-1 for none). Null on failure.
void* CreateEntryEdit(void* parent, const Rect& box, const std::string& text, ValueEntry* entry);
void* CreateEntryList(void* parent, const Rect& box, const std::vector<std::string>& items,
                      int selection, ValueEntry* entry);
void SetEntryFont(void* box, void* font);
// The box's text, at most 31 characters.
std::string EntryText(void* box);
void SetEntryText(void* box, const std::string& text);
// Gives the box its own procedure back and destroys it.
void DestroyEntryBox(void* box);
