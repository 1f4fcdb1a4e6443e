#include "editor/x11/window_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>

#include "draw/system_bitmap.h"
#include "editor/x11/connection.h"

namespace {

// The surface's pixels are 0xAARRGGBB words; a window of depth 32 would take
// their alpha as transparency, which the editor's face does not have.
constexpr uint32_t kOpaque = 0xFF000000u;

}  // namespace

bool WindowImage::Create(Display* display, Visual* visual, int depth, int width, int height) {
  if (CreateShared(display, visual, depth, width, height)) return true;
  char* data = static_cast<char*>(std::malloc(static_cast<size_t>(width) * height * 4));
  if (data == nullptr) return false;
  image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, data,
                       static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
  if (image == nullptr) {
    std::free(data);
    return false;
  }
  // Our words in memory order; Xlib converts when the server's order differs.
  image->byte_order = LSBFirst;
  image->bitmap_bit_order = LSBFirst;
  return true;
}

bool WindowImage::CreateShared(Display* display, Visual* visual, int depth, int width, int height) {
  // A shared image holds the server's byte order, which must be ours.
  if (!XShmQueryExtension(display) || ImageByteOrder(display) != LSBFirst) return false;
  image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                          static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (image == nullptr) return false;
  if (image->bits_per_pixel == 32 && image->bytes_per_line == width * 4) {
    segment.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
  } else {
    segment.shmid = -1;
  }
  if (segment.shmid >= 0) {
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    segment.readOnly = True;
    // A server on another machine (or in another namespace) fails to attach;
    // the error shows only once it has answered.
    const bool attached = segment.shmaddr != reinterpret_cast<char*>(-1) &&
                          XShmAttach(display, &segment) && TakeError(display) == 0;
    // Marked for removal now: the segment goes when both sides detach, even if
    // the process ends without closing the editor.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (attached) {
      shared = true;
      return true;
    }
    if (segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment.shmaddr);
  }
  image->data = nullptr;
  XDestroyImage(image);
  image = nullptr;
  segment = {};
  return false;
}

bool WindowImage::Put(Display* display, Drawable drawable, GC gc, const SystemBitmap& surface,
                      const Rect& area) {
  if (image == nullptr || surface.Bits() == nullptr) return false;
  const int left = std::max(0, area.left);
  const int top = std::max(0, area.top);
  const int right = std::min({area.right, surface.Width(), image->width});
  const int bottom = std::min({area.bottom, surface.Height(), image->height});
  if (right <= left || bottom <= top) return false;
  const int stride = image->bytes_per_line / 4;
  auto* to = reinterpret_cast<uint32_t*>(image->data);
  for (int y = top; y < bottom; ++y) {
    const uint32_t* from = surface.Bits() + y * surface.RowSpan();
    uint32_t* row = to + y * stride;
    for (int x = left; x < right; ++x) row[x] = from[x] | kOpaque;
  }
  const auto width = static_cast<unsigned>(right - left);
  const auto height = static_cast<unsigned>(bottom - top);
  if (shared) {
    XShmPutImage(display, drawable, gc, image, left, top, left, top, width, height, False);
    XSync(display, False);
  } else {
    XPutImage(display, drawable, gc, image, left, top, left, top, width, height);
    XFlush(display);
  }
  return true;
}

void WindowImage::Release(Display* display) {
  if (image == nullptr) return;
  if (shared) {
    // A lost connection's server has let go of the segment already.
    if (!ConnectionLost(display)) {
      XShmDetach(display, &segment);
      XSync(display, False);
    }
    shmdt(segment.shmaddr);
    image->data = nullptr;  // not XDestroyImage's to free
  }
  XDestroyImage(image);  // frees the pixels of an image that is not shared
  image = nullptr;
  segment = {};
  shared = false;
}
