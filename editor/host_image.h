// The image objects that the host's PNG loader returns, declared the host's
// way. The host is built with the platform's main compiler: its objects'
// virtual table has one deleting-destructor slot first (where g++ would emit
// two destructor slots), and member functions use `thiscall` on 32-bit x86.
// Declaring the table as explicit slots keeps every call on the slot the host
// filled: the width is the third slot and the height the fourth.
#pragma once

#include <cstdint>

#include "core/calling_convention.h"

#if defined(_WIN32) && !defined(_WIN64)
#define QV_HOST_MEMBER __thiscall
#else
#define QV_HOST_MEMBER
#endif

struct HostImage;

// The host image's virtual table, in slot order: the `Bitmap` operations of
// draw/bitmap.h behind a single deleting destructor.
struct HostImageSlots {
  // Destroys the object; flags bit 0 set also frees its memory.
  void*(QV_HOST_MEMBER* destroy)(HostImage* self, unsigned int flags);
  uint32_t*(QV_HOST_MEMBER* bits)(HostImage* self);
  int(QV_HOST_MEMBER* width)(HostImage* self);
  int(QV_HOST_MEMBER* height)(HostImage* self);
  int(QV_HOST_MEMBER* rowSpan)(HostImage* self);
  bool(QV_HOST_MEMBER* isFlipped)(HostImage* self);
  bool(QV_HOST_MEMBER* resize)(HostImage* self, int width, int height);
};

struct HostImage {
  const HostImageSlots* slots;
};

// The loader the host offers under kHostPngLoaderName: (module instance,
// resource id, image to load into or null) -> a new image, or null.
using HostPngLoader = HostImage*(QV_CDECL*)(void* module, int resourceId, HostImage* into);

constexpr const char* kHostPngLoaderName = "LICE_LoadPNGFromResource";
