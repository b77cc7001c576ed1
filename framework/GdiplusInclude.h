// The GDI+ declarations want min and max, which NOMINMAX takes away.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>
