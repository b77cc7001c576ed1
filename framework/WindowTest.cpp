#include "WindowTest.h"

#include "MessageLoop.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace wintest {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPendingMessages(256);
        if (done && done())
            return true;
        DWORD spent = ::GetTickCount() - start;
        if (spent >= timeoutMs)
            return done ? done() : true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent < 10 ? timeoutMs - spent : 10,
                                    QS_ALLINPUT);
    }
}

void Pump(DWORD ms)
{
    PumpUntil(nullptr, ms);
}

namespace {
void SendMouse(DWORD flags, LONG dx, LONG dy, DWORD data, DWORD settleMs)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.mouseData = data;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
    if (settleMs)
        Pump(settleMs);
}
}  // namespace

void MouseTo(POINT p, DWORD settleMs)
{
    // The pointer goes exactly there (absolute input positions are in
    // 65536ths of the screen and may land a pixel off); a move of nothing
    // through the input queue then reports it as the user's own move.
    ::SetCursorPos(p.x, p.y);
    SendMouse(MOUSEEVENTF_MOVE, 0, 0, 0, settleMs);
}

void MouseToClient(HWND window, POINT client, DWORD settleMs)
{
    ::ClientToScreen(window, &client);
    MouseTo(client, settleMs);
}

void MouseButton(bool down, DWORD settleMs)
{
    SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, settleMs);
}

void MouseWheel(int delta, DWORD settleMs)
{
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta), settleMs);
}

RECT ShownRowCells(HWND list, int row)
{
    RECT r = {};
    r.left = LVIR_BOUNDS;
    if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    RECT shown = {};
    ::GetClientRect(list, &shown);
    const RECT cells = {r.left + 40, r.top + 1, (r.right < shown.right ? r.right : shown.right) - 4, r.bottom - 1};
    return cells.right > cells.left && cells.bottom > cells.top ? cells : RECT{};
}

namespace {
// The boxes' texts of the one closer a test has at a time.
std::vector<std::wstring> g_boxTexts;

BOOL CALLBACK CloseBox(HWND h, LPARAM)
{
    wchar_t cls[16] = {};
    ::GetClassNameW(h, cls, 16);
    if (::lstrcmpW(cls, L"#32770") != 0 || !::IsWindowVisible(h) || !::GetDlgItem(h, 0xFFFF))
        return TRUE;
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(h, 0xFFFF, text, 1024);
    g_boxTexts.push_back(text);
    ::PostMessageW(h, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseBox, 0);
}
}  // namespace

MessageBoxCloser::MessageBoxCloser()
{
    g_boxTexts.clear();
    m_timer = ::SetTimer(nullptr, 0, 100, &CloseBoxes);
}

MessageBoxCloser::~MessageBoxCloser()
{
    ::KillTimer(nullptr, m_timer);
}

const std::vector<std::wstring>& MessageBoxCloser::Texts() const
{
    return g_boxTexts;
}

DWORD GdiObjectCount()
{
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    // Wine answers 0 here. Its handle table accepts a bare table index
    // (no generation in the high word) for whatever object is at that
    // place: every index that names an object is one in use.
    DWORD n = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++n;
    return n;
}

}  // namespace wintest
