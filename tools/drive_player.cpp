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
//   text ID       prints the text of the control with id ID (385 is the
//                 rate label, 541 the time label, 306 the GPS latitude)
//   watch S       prints the position slider's range, then for S seconds a
//                 line whenever the slider, the time label or the latitude
//                 changes: the milliseconds since the start, the slider's
//                 position, the time label and the latitude
//   slide P       clicks the position slider at P per mille of its width
//                 with the mouse: the play goes there
// Exits 1 when the program's window or the control is not found.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

const int kRecordList = 227;
const int kPositionSlider = 229;
const int kTimeLabel = 541;
const int kLatitude = 306;
const int kLongitude = 305;

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

// The GPS panel's latitude: the control with its id beside the longitude.
HWND Latitude(HWND top)
{
    for (int skip = 0;; ++skip) {
        HWND h = FindControl(top, kLatitude, L"Edit", skip, true);
        if (!h)
            return nullptr;
        if (GetDlgItem(GetParent(h), kLongitude))
            return h;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: drive_player rows | click ID | tap ID | key VK | about | rclick ID [N] | lclick ID [N] | type VK... | "
                        "dismiss | close | text ID | watch S | slide P\n");
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
    } else if (strcmp(command, "text") == 0) {
        // The bar's labels beside the position slider; the latitude in the
        // GPS panel; else the first control with the id.
        HWND slider = FindControl(top, kPositionSlider, L"msctls_trackbar32");
        HWND control = arg == kLatitude ? Latitude(top) : nullptr;
        if (!control && slider)
            control = GetDlgItem(GetParent(slider), arg);
        if (!control)
            control = FindControl(top, arg, nullptr);
        if (!control) {
            fprintf(stderr, "drive_player: no control %d\n", arg);
            return 1;
        }
        wchar_t text[256] = {};
        GetWindowTextW(control, text, 256);
        printf("%ls\n", text);
    } else if (strcmp(command, "watch") == 0) {
        HWND slider = FindControl(top, kPositionSlider, L"msctls_trackbar32");
        HWND time = slider ? GetDlgItem(GetParent(slider), kTimeLabel) : nullptr;
        HWND latitude = Latitude(top);
        if (!slider || !time || !latitude) {
            fprintf(stderr, "drive_player: no slider, time label or latitude\n");
            return 1;
        }
        printf("range %ld\n", static_cast<long>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0)));
        const DWORD start = GetTickCount();
        LRESULT lastPos = -1;
        wchar_t lastTime[64] = {}, lastLat[64] = {};
        while (GetTickCount() - start < DWORD(arg) * 1000u) {
            const LRESULT pos = SendMessageW(slider, TBM_GETPOS, 0, 0);
            wchar_t t[64] = {}, lat[64] = {};
            GetWindowTextW(time, t, 64);
            GetWindowTextW(latitude, lat, 64);
            if (pos != lastPos || wcscmp(t, lastTime) != 0 || wcscmp(lat, lastLat) != 0) {
                printf("%lu %ld %ls %ls\n", static_cast<unsigned long>(GetTickCount() - start), static_cast<long>(pos),
                       t, lat);
                fflush(stdout);
                lastPos = pos;
                wcscpy(lastTime, t);
                wcscpy(lastLat, lat);
            }
            Sleep(20);
        }
    } else if (strcmp(command, "slide") == 0) {
        HWND slider = FindControl(top, kPositionSlider, L"msctls_trackbar32");
        if (!slider) {
            fprintf(stderr, "drive_player: no position slider\n");
            return 1;
        }
        RECT r;
        GetWindowRect(slider, &r);
        SetForegroundWindow(top);
        SetCursorPos(r.left + (r.right - r.left) * arg / 1000, (r.top + r.bottom) / 2);
        SendMouse(MOUSEEVENTF_MOVE);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        Sleep(30);
        SendMouse(MOUSEEVENTF_LEFTUP);
    } else if (strcmp(command, "close") == 0) {
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else {
        fprintf(stderr, "drive_player: unknown command %s\n", command);
        return 2;
    }
    return 0;
}
