#include "MessageLoop.h"

#include "Wnd.h"

bool PreTranslateChain(MSG* msg)
{
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandlePermanent(h))
            if (w->PreTranslateMessage(msg))
                return true;
        if (!(::GetWindowLongW(h, GWL_STYLE) & WS_CHILD))
            break;  // top-level: its owner is not its parent
    }
    return false;
}

void ProcessMessage(MSG& msg)
{
    if (PreTranslateChain(&msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool RunMessageLoop(const std::function<bool()>& done)
{
    MSG msg;
    while (!done()) {
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (r == -1)
            return false;
        ProcessMessage(msg);
    }
    return true;
}

bool PumpPendingMessages(unsigned max)
{
    MSG msg;
    for (unsigned n = 0; n < max && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ProcessMessage(msg);
    }
    return true;
}

bool WaitAnsweringSentMessages(HANDLE handle, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            DWORD spent = ::GetTickCount() - start;
            if (spent >= timeoutMs)
                return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            left = timeoutMs - spent;
        }
        DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r == WAIT_OBJECT_0 + 1) {
            // Peeking runs the messages sent to this thread; nothing posted
            // is removed.
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (r == WAIT_TIMEOUT)
            return false;
        return false;  // WAIT_FAILED: a bad handle never becomes signalled
    }
}
