#include "Wnd.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <vector>

namespace {

const UINT kPing = WM_APP + 1;

// A top-level window that records what reaches its virtual hooks.
class RecordingWnd : public CWnd {
public:
    int pings = 0;
    UINT commandId = 0, commandCode = 0;
    HWND ctlColorControl = nullptr;
    UINT ctlColorType = 99;
    HBRUSH answer = nullptr;
    std::vector<UINT_PTR> timers;

    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == kPing) {
            ++pings;
            return 42;
        }
        return CWnd::WindowProc(msg, w, l);
    }
    bool OnCommand(UINT id, UINT code, HWND) override
    {
        commandId = id;
        commandCode = code;
        return true;
    }
    bool OnNotify(NMHDR* h, LRESULT* result) override
    {
        if (h->code != NM_CUSTOMDRAW)
            return false;
        *result = CDRF_NOTIFYITEMDRAW;
        return true;
    }
    HBRUSH OnCtlColor(HDC, HWND control, UINT type) override
    {
        ctlColorControl = control;
        ctlColorType = type;
        return answer;
    }
    void OnTimer(UINT_PTR id) override
    {
        timers.push_back(id);
        KillTimer(id);
    }
};

// A child control that answers colour requests and owner drawing itself.
class ReflectingChild : public CWnd {
public:
    HBRUSH brush = nullptr;
    int draws = 0;
    HBRUSH CtlColorReflect(HDC, UINT) override { return brush; }
    void DrawItem(DRAWITEMSTRUCT*) override { ++draws; }
};

class MenuDrawerProbe : public CMenuDrawer {
public:
    ULONG_PTR mine;
    int draws = 0, measures = 0;
    explicit MenuDrawerProbe(ULONG_PTR data) : mine(data) {}
    bool DrawMenuItem(DRAWITEMSTRUCT* d) override
    {
        if (d->itemData != mine)
            return false;
        ++draws;
        return true;
    }
    bool MeasureMenuItem(MEASUREITEMSTRUCT* m) override
    {
        if (m->itemData != mine)
            return false;
        ++measures;
        m->itemHeight = 21;
        return true;
    }
};

HWND MakeStatic(HWND parent, int id)
{
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(Wnd, HandleMapFollowsTheWindowsLife)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HWND h = w.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &w);
    EXPECT_EQ(SendMessageW(h, kPing, 0, 0), 42);
    EXPECT_EQ(w.pings, 1);

    // A second object cannot take a bound handle.
    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(h));

    DestroyWindow(h);
    EXPECT_EQ(w.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(Wnd, SubclassedControlKeepsItsOwnBehaviourAndCanBeGivenBack)
{
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
    {
        RecordingWnd w;
        ASSERT_TRUE(w.SubclassWindow(edit));
        EXPECT_EQ(SendMessageW(edit, kPing, 0, 0), 42);
        // Unhandled messages reach the edit control's own procedure.
        SetWindowTextW(edit, L"abc");
        wchar_t buf[8] = {};
        GetWindowTextW(edit, buf, 8);
        EXPECT_STREQ(buf, L"abc");
        EXPECT_EQ(w.UnsubclassWindow(), edit);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), before);
        EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    }
    // The object is gone but the control is not destroyed with it.
    EXPECT_TRUE(IsWindow(edit));
    DestroyWindow(edit);
}

TEST(Wnd, CommandAndNotifyAreDispatchedWithTheirResult)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    SendMessageW(w.m_hWnd, WM_COMMAND, MAKEWPARAM(231, BN_CLICKED), 0);
    EXPECT_EQ(w.commandId, 231u);
    EXPECT_EQ(w.commandCode, static_cast<UINT>(BN_CLICKED));

    NMCUSTOMDRAW cd = {};
    cd.hdr.code = NM_CUSTOMDRAW;
    cd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(SendMessageW(w.m_hWnd, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);
}

TEST(Wnd, ColourRequestsGoToTheChildObjectFirstThenToTheParent)
{
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HBRUSH parentBrush = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH childBrush = CreateSolidBrush(RGB(4, 5, 6));
    parent.answer = parentBrush;

    ReflectingChild child;
    ASSERT_TRUE(child.SubclassWindow(MakeStatic(parent.m_hWnd, 11)));
    HWND plain = MakeStatic(parent.m_hWnd, 12);
    HDC dc = GetDC(parent.m_hWnd);

    struct Case {
        UINT msg;
        HWND control;
        HBRUSH childAnswer;
        HBRUSH expected;
        UINT parentType;  // 99: the parent is not asked
    } cases[] = {
        {WM_CTLCOLORSTATIC, child.m_hWnd, childBrush, childBrush, 99},
        {WM_CTLCOLORSTATIC, child.m_hWnd, nullptr, parentBrush, CTLCOLOR_STATIC},
        {WM_CTLCOLOREDIT, plain, childBrush, parentBrush, CTLCOLOR_EDIT},
        {WM_CTLCOLORBTN, plain, nullptr, parentBrush, CTLCOLOR_BTN},
        {WM_CTLCOLORLISTBOX, plain, nullptr, parentBrush, CTLCOLOR_LISTBOX},
    };
    for (const Case& c : cases) {
        parent.ctlColorType = 99;
        child.brush = c.childAnswer;
        LRESULT r = SendMessageW(parent.m_hWnd, c.msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(r), c.expected) << c.msg;
        EXPECT_EQ(parent.ctlColorType, c.parentType) << c.msg;
    }
    ReleaseDC(parent.m_hWnd, dc);
    parent.DestroyWindow();
    DeleteObject(parentBrush);
    DeleteObject(childBrush);
}

TEST(Wnd, OwnerDrawReachesTheControlAndTheMenuDrawers)
{
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    ReflectingChild button;
    HWND b = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 40, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(21), GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(button.SubclassWindow(b));
    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_BUTTON;
    di.CtlID = 21;
    di.hwndItem = b;
    EXPECT_TRUE(SendMessageW(parent.m_hWnd, WM_DRAWITEM, 21, reinterpret_cast<LPARAM>(&di)));
    EXPECT_EQ(button.draws, 1);

    MenuDrawerProbe a(0xA), z(0xB);
    RegisterMenuDrawer(&a);
    RegisterMenuDrawer(&z);
    DRAWITEMSTRUCT mi = {};
    mi.CtlType = ODT_MENU;
    mi.itemData = 0xB;
    EXPECT_TRUE(SendMessageW(parent.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&mi)));
    MEASUREITEMSTRUCT mm = {};
    mm.CtlType = ODT_MENU;
    mm.itemData = 0xB;
    EXPECT_TRUE(SendMessageW(parent.m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mm)));
    EXPECT_EQ(mm.itemHeight, 21u);
    EXPECT_EQ(a.draws + a.measures, 0);
    EXPECT_EQ(z.draws, 1);
    EXPECT_EQ(z.measures, 1);

    // Unregistered drawers are not asked any more.
    UnregisterMenuDrawer(&z);
    EXPECT_FALSE(SendMessageW(parent.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&mi)));
    EXPECT_EQ(z.draws, 1);
    UnregisterMenuDrawer(&a);
    parent.DestroyWindow();
}

TEST(Wnd, TimersArriveAtOnTimer)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    ASSERT_TRUE(w.SetTimer(7, 10));
    DWORD start = GetTickCount();
    MSG msg;
    // Ends at the first tick, or after two seconds without one.
    while (w.timers.empty() && GetTickCount() - start < 2000) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            Sleep(5);
    }
    ASSERT_EQ(w.timers.size(), 1u);
    EXPECT_EQ(w.timers[0], 7u);
    w.DestroyWindow();
}
