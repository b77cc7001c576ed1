#define GEODRAW_BUILD
#include "geodraw.h"

#include <cstring>

namespace {
const wchar_t kMapClass[] = L"GeoDrawMap";
bool g_initialized = false;
char g_language[32] = "chinese";
int g_skin = 0;

LRESULT CALLBACK MapProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l)
{
    return DefWindowProcW(hwnd, msg, w, l);
}
}  // namespace

int __stdcall _MAP_Initialize()
{
    if (g_initialized)
        return 0;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MapProc;
    wc.hInstance = GetModuleHandleW(L"geodraw.dll");
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kMapClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return 1;
    g_initialized = true;
    return 0;
}

int __stdcall _MAP_InitLangague(const char* language)
{
    if (!language)
        return 1;
    lstrcpynA(g_language, language, sizeof g_language);
    return 0;
}

int __stdcall _MAP_LoadSkin(int skin)
{
    g_skin = skin;
    return 0;
}

int __stdcall GeoDrawStartState(int* initialized, char* language, int languageSize, int* skin)
{
    if (initialized)
        *initialized = g_initialized;
    if (language && languageSize > 0)
        lstrcpynA(language, g_language, languageSize);
    if (skin)
        *skin = g_skin;
    return 0;
}
