// The fuzz host's PNG loader, offered to the plug-in as a host would offer
// its own. Each picture is decoded once per process and shared read-only by
// every plug-in the fuzzer creates: decoding is by far the slowest step of
// building the editor, which every input does.
#pragma once

#include "editor/host_image.h"

// The loader to answer the plug-in's lookup of kHostPngLoaderName with.
HostImage* QV_CDECL SharedPictureLoader(void* module, int resourceId, HostImage* into);
