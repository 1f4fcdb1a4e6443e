// The editor's pictures: the library's PNG resources as bitmaps.
#pragma once

#include <memory>

#include "draw/bitmap.h"

// Finds a function the host offers under `name`, or null. The plug-in's
// format adapter installs one when its host may offer an image loader.
using HostFunctionLookup = void* (*)(const char* name);

// [entry, before any editor exists] Installs the lookup that LoadBitmapResource
// asks for the host's PNG loader; null (the start) means the host has none.
void SetHostFunctionLookup(HostFunctionLookup lookup);

// [editor window thread] The image with resource id `resourceId`, or null,
// with its size in *width and *height (both 0 when there is no image).
//  - When the host offers its PNG loader (looked up again on every call),
//    the loader decodes the image from this library's module and the result
//    wraps the host's object, released through the host's own destructor.
//  - When the host offers none, the library decodes its own copy of the PNG
//    into a MemoryBitmap, with the same pixels in PackedColour layout (not
//    premultiplied; alpha 255 for images without alpha).
//  - A loader that returns null, or an id with no image, yields null.
// The result is only ever a source for drawing.
std::unique_ptr<Bitmap> LoadBitmapResource(int resourceId, int* width, int* height);
