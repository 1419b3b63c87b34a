#pragma once
// Included before every source (see CMakeLists.txt). The program is built with NOMINMAX, which
// takes the min and max macros away from <windows.h>; the GDI+ headers of older Windows SDKs
// call min and max unqualified inside namespace Gdiplus, so they get the standard ones there.

#ifdef __cplusplus
#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#endif
