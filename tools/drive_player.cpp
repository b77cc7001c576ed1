// drive_player COMMAND [ARG]: works the running Zarv Player from outside,
// the way a user would, for the screenshots of scripts/run.
//   rows          prints the number of rows the recording list shows
//   click ID      clicks the button with control id ID (219 is PLAY) in the
//                 window the user works in: the main window or the box or
//                 dialog open over it
//   tap ID        clicks the shown image label with control id ID (230 is
//                 the snapshot)
//   key VK        presses key VK (decimal; 40 is Down) in the main window
//   about         opens the About box of the main window's system menu
//   rclick ID [N] right-clicks the middle of the N-th (from 0) control with
//                 id ID with the mouse
//   lclick ID [N] left-clicks there with the mouse (the click reaches
//                 whatever window lies uppermost at that point)
//   type VK...    types keys on the keyboard (an open menu takes them)
//   dismiss       closes the box or dialog open over the main window
//   close         closes the main window
// Exits 1 when the program's window or the control is not found.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const int kRecordList = 227;

struct Search {
    int id;
    const wchar_t* className;  // null: any class
    int skip;                  // matches to pass over first
    HWND found;
    bool shownOnly;
};

BOOL CALLBACK FindChild(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (GetDlgCtrlID(h) == s->id && (!s->className || lstrcmpiW(cls, s->className) == 0) &&
        (!s->shownOnly || IsWindowVisible(h)) && s->skip-- == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(HWND top, int id, const wchar_t* className, int skip = 0, bool shownOnly = false)
{
    Search s = {id, className, skip, nullptr, shownOnly};
    EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

void SendMouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void SendKey(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// The player's main window: the top-level window that holds the list.
BOOL CALLBACK FindPlayer(HWND h, LPARAM p)
{
    if (!IsWindowVisible(h) || !FindControl(h, kRecordList, L"SysListView32"))
        return TRUE;
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
}

// The box or dialog of the player open over its main window, if the user
// works in one: the foreground window when it is the player's own.
HWND OpenOver(HWND top)
{
    HWND front = GetForegroundWindow();
    DWORD frontProcess = 0, playerProcess = 0;
    GetWindowThreadProcessId(front, &frontProcess);
    GetWindowThreadProcessId(top, &playerProcess);
    return front && front != top && frontProcess == playerProcess ? front : nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: drive_player rows | click ID | tap ID | key VK | about | rclick ID [N] | lclick ID [N] | type VK... | dismiss | close\n");
        return 2;
    }
    HWND top = nullptr;
    EnumWindows(FindPlayer, reinterpret_cast<LPARAM>(&top));
    if (!top) {
        fprintf(stderr, "drive_player: Zarv Player is not running\n");
        return 1;
    }
    const char* command = argv[1];
    const int arg = argc > 2 ? atoi(argv[2]) : 0;
    if (strcmp(command, "rows") == 0) {
        HWND list = FindControl(top, kRecordList, L"SysListView32");
        printf("%d\n", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    } else if (strcmp(command, "click") == 0) {
        HWND over = OpenOver(top);
        HWND button = over ? FindControl(over, arg, L"Button") : nullptr;
        if (!button)
            button = FindControl(top, arg, L"Button");
        if (!button) {
            fprintf(stderr, "drive_player: no button %d\n", arg);
            return 1;
        }
        PostMessageW(button, BM_CLICK, 0, 0);
    } else if (strcmp(command, "tap") == 0) {
        HWND label = FindControl(top, arg, L"Static", 0, true);
        if (!label) {
            fprintf(stderr, "drive_player: no image label %d\n", arg);
            return 1;
        }
        PostMessageW(GetParent(label), WM_COMMAND, MAKEWPARAM(arg, STN_CLICKED), reinterpret_cast<LPARAM>(label));
    } else if (strcmp(command, "about") == 0) {
        PostMessageW(top, WM_SYSCOMMAND, 0x0010, 0);
    } else if (strcmp(command, "key") == 0) {
        PostMessageW(top, WM_KEYDOWN, static_cast<WPARAM>(arg), 0);
    } else if (strcmp(command, "rclick") == 0 || strcmp(command, "lclick") == 0) {
        HWND control = FindControl(top, arg, nullptr, argc > 3 ? atoi(argv[3]) : 0);
        if (!control) {
            fprintf(stderr, "drive_player: no control %d\n", arg);
            return 1;
        }
        const bool left = command[0] == 'l';
        RECT r;
        GetWindowRect(control, &r);
        SetForegroundWindow(top);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMouse(MOUSEEVENTF_MOVE);  // a move of nothing: the cursor is where it was set
        SendMouse(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
        SendMouse(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    } else if (strcmp(command, "type") == 0) {
        for (int i = 2; i < argc; ++i) {
            SendKey(static_cast<WORD>(atoi(argv[i])), false);
            SendKey(static_cast<WORD>(atoi(argv[i])), true);
            Sleep(100);
        }
    } else if (strcmp(command, "dismiss") == 0) {
        HWND over = OpenOver(top);
        if (!over) {
            fprintf(stderr, "drive_player: nothing open over the main window\n");
            return 1;
        }
        PostMessageW(over, WM_CLOSE, 0, 0);
    } else if (strcmp(command, "close") == 0) {
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else {
        fprintf(stderr, "drive_player: unknown command %s\n", command);
        return 2;
    }
    return 0;
}
