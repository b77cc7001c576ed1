// drive_player COMMAND [ARG]: works the running Zarv Player from outside,
// the way a user would, for the screenshots of scripts/run.
//   rows          prints the number of rows the recording list shows
//   click ID      clicks the button with control id ID (219 is PLAY)
//   key VK        presses key VK (decimal; 40 is Down) in the main window
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
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindChild(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (GetDlgCtrlID(h) == s->id && lstrcmpiW(cls, s->className) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindControl(HWND top, int id, const wchar_t* className)
{
    Search s = {id, className, nullptr};
    EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The player's main window: the top-level window that holds the list.
BOOL CALLBACK FindPlayer(HWND h, LPARAM p)
{
    if (!IsWindowVisible(h) || !FindControl(h, kRecordList, L"SysListView32"))
        return TRUE;
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: drive_player rows | click ID | key VK | close\n");
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
        HWND button = FindControl(top, arg, L"Button");
        if (!button) {
            fprintf(stderr, "drive_player: no button %d\n", arg);
            return 1;
        }
        PostMessageW(button, BM_CLICK, 0, 0);
    } else if (strcmp(command, "key") == 0) {
        PostMessageW(top, WM_KEYDOWN, static_cast<WPARAM>(arg), 0);
    } else if (strcmp(command, "close") == 0) {
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else {
        fprintf(stderr, "drive_player: unknown command %s\n", command);
        return 2;
    }
    return 0;
}
