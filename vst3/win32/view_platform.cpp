#include "vst3/vst3_view.h"

namespace vst3 {

const char* const kViewPlatformType = "HWND";

}  // namespace vst3
