// The image through which the editor's surface reaches its window: a
// shared-memory image (MIT-SHM) where the server can attach the segment, an
// image sent with the requests otherwise (a remote display, or a server
// without the extension). Either way only the area asked for is sent.
//
// Threads: the thread that holds the window's lock.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include "draw/rect.h"

class SystemBitmap;

class WindowImage {
 public:
  WindowImage() = default;
  WindowImage(const WindowImage&) = delete;
  WindowImage& operator=(const WindowImage&) = delete;

  // An image of width x height pixels for windows of `visual` (TrueColor,
  // depth 24 or 32, 32 bits per pixel). False when none can be made.
  [[nodiscard]] bool Create(Display* display, Visual* visual, int depth, int width, int height);
  // Copies `area` of the surface (limited to both sizes) into the image,
  // opaque, and puts it to `drawable` at the same place. With shared memory
  // it waits until the server has read the segment, so that the next copy
  // cannot change pixels still being read. False when nothing could be put.
  bool Put(Display* display, Drawable drawable, GC gc, const SystemBitmap& surface,
           const Rect& area);
  // Frees the image and, with shared memory, detaches and frees the segment
  // (asking the server nothing on a lost connection).
  void Release(Display* display);

  bool Shared() const { return shared; }

 private:
  bool CreateShared(Display* display, Visual* visual, int depth, int width, int height);

  XImage* image = nullptr;
  XShmSegmentInfo segment = {};
  bool shared = false;
};
