// The texts callers hand the library: labels and balloons, and positions
// written as decimal degrees ("120.153210", as "%.6lf" prints them).
#pragma once

#include <string>

namespace geodraw {

// A caller's text: UTF-8 where it is valid UTF-8 (plain ASCII is), else
// the system's ANSI code page. Null is the empty text.
std::wstring WideText(const char* text);

// A decimal number: optional spaces, an optional sign, digits with at most
// one decimal point (at least one digit), optional spaces. Independent of
// the C runtime's locale. False for anything else, leaving *value alone.
bool ParseDecimal(const char* text, double* value);

// A position from its longitude (x) and latitude (y) texts: both decimal
// numbers, longitude within [-180, 180], latitude within [-90, 90].
bool ParsePosition(const char* x, const char* y, double* longitude, double* latitude);

}  // namespace geodraw
