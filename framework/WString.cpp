#include "WString.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

void CString::Format(const wchar_t* format, ...)
{
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = std::vswprintf(buf.data(), buf.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buf.size()) {
            assign(buf.data(), static_cast<size_t>(n));
            return;
        }
        // vswprintf reports -1 both for "too small" and for a bad format;
        // stop growing at a sane bound.
        if (buf.size() >= (1u << 20)) {
            clear();
            return;
        }
        buf.resize(buf.size() * 4);
    }
}

CString CString::WindowText(HWND hwnd)
{
    int n = ::GetWindowTextLengthW(hwnd);
    if (n <= 0)
        return CString();
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    int got = ::GetWindowTextW(hwnd, &s[0], n + 1);
    s.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return CString(s);
}

CString CString::Load(HINSTANCE module, UINT id)
{
    const wchar_t* p = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself; the text is not terminated there.
    int n = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p)
        return CString();
    return CString(std::wstring(p, static_cast<size_t>(n)));
}

namespace {
CString FromCodePage(UINT cp, const std::string& s)
{
    if (s.empty())
        return CString();
    int n = ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return CString(w);
}

std::string ToCodePage(UINT cp, const std::wstring& w)
{
    if (w.empty())
        return std::string();
    int n = ::WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}
}  // namespace

CString CString::FromAnsi(const std::string& s) { return FromCodePage(CP_ACP, s); }
std::string CString::ToAnsi() const { return ToCodePage(CP_ACP, *this); }
CString CString::FromUtf8(const std::string& s) { return FromCodePage(CP_UTF8, s); }
std::string CString::ToUtf8() const { return ToCodePage(CP_UTF8, *this); }

bool FormatTo(char* buf, size_t size, const char* format, ...)
{
    if (!buf || size == 0)
        return false;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buf, size, format, args);
    va_end(args);
    if (n < 0) {
        buf[0] = '\0';
        return false;
    }
    return static_cast<size_t>(n) < size;
}
