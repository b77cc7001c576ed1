#include "MapTestDesktop.h"

#include <string>

namespace maptest {

Host::Host(int x, int y, int width, int height) {
    frame = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    canvas = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(frame);
    Pump(30);
}

Host::~Host() {
    if (IsWindow(frame)) DestroyWindow(frame);
    Pump(10);
}

HWND Host::Map() const {
    return FindWindowExW(canvas, nullptr, L"GeoDrawMap", nullptr);
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(0);
}

Shot Grab(HWND window) {
    PaintNow(window);
    return Shot(window);
}

void SaveShot(const Shot& shot, const char* name) {
    char folder[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("GEODRAW_SHOTS", folder, MAX_PATH);
    if (!n || n >= MAX_PATH) return;
    std::string path = std::string(folder) + "\\" + name + ".bmp";
    shot.SaveBmp(path);
}

}  // namespace maptest
