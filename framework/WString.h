// CString: the framework's wide (UTF-16) string, for every text the user
// sees, with printf-style formatting. FormatTo is the narrow, sized
// counterpart for paths and registry texts: it never writes past the buffer.
#pragma once

#include <windows.h>
#include <string>

class CString : public std::wstring {
public:
    CString() = default;
    CString(const wchar_t* s) : std::wstring(s ? s : L"") {}
    CString(const std::wstring& s) : std::wstring(s) {}

    // Replaces the contents; the result may be of any length.
    void Format(const wchar_t* format, ...);
    bool IsEmpty() const { return empty(); }

    // The text of a window, whatever its length.
    static CString WindowText(HWND hwnd);
    // String resource id of module, empty when there is none.
    static CString Load(HINSTANCE module, UINT id);
    // Conversions to and from the ANSI code page (paths of the engine).
    static CString FromAnsi(const std::string& s);
    std::string ToAnsi() const;
    static CString FromUtf8(const std::string& s);
    std::string ToUtf8() const;
};

// snprintf into buf of size bytes; false (and a cut, terminated text) when
// the result did not fit.
bool FormatTo(char* buf, size_t size, const char* format, ...);
