#include "CallerText.h"

#include <windows.h>

namespace geodraw {

namespace {

std::wstring Convert(const char* text, int length, UINT codePage, DWORD flags) {
    int n = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(codePage, flags, text, length, &wide[0], n);
    return wide;
}

}  // namespace

std::wstring WideText(const char* text) {
    if (!text || !*text) return std::wstring();
    int length = lstrlenA(text);
    std::wstring wide = Convert(text, length, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (wide.empty()) wide = Convert(text, length, CP_ACP, 0);
    return wide;
}

bool ParseDecimal(const char* text, double* value) {
    if (!text) return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // All digits as one whole number, then one division: the nearest double
    // for the texts callers print (up to 15 significant digits).
    double mantissa = 0, scale = 1;
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
        mantissa = mantissa * 10 + (*p++ - '0');
        ++digits;
    }
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') {
            mantissa = mantissa * 10 + (*p++ - '0');
            scale *= 10;
            ++digits;
        }
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (!digits || *p || digits > 22) return false;
    double v = mantissa / scale;
    *value = negative ? -v : v;
    return true;
}

bool ParsePosition(const char* x, const char* y, double* longitude, double* latitude) {
    double lon, lat;
    if (!ParseDecimal(x, &lon) || !ParseDecimal(y, &lat)) return false;
    if (lon < -180 || lon > 180 || lat < -90 || lat > 90) return false;
    *longitude = lon;
    *latitude = lat;
    return true;
}

}  // namespace geodraw
