#include "UiThread.h"
#include "WindowTest.h"
#include "Wnd.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const UINT kPing = WM_APP + 1;
const UINT kFallThrough = WM_APP + 2;

// The base of a table-driven window: its handlers run only where the
// derived class leaves a message to it.
class BaseWnd : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    std::vector<std::string> log;

private:
    void OnPing() { log.push_back("base ping"); }
    void OnFallThrough(Message& m)
    {
        log.push_back("base fall-through");
        m.result = 7;
    }
    void OnButton() { log.push_back("base button"); }
};

BEGIN_MESSAGE_TABLE(BaseWnd, CWnd)
    OnMessage<&BaseWnd::OnPing>(kPing),
    OnMessage<&BaseWnd::OnFallThrough>(kFallThrough),
    OnCommand<&BaseWnd::OnButton>(300, BN_CLICKED),
END_MESSAGE_TABLE()

// A window whose table names a handler for each kind of entry.
class TableWnd : public BaseWnd {
    DECLARE_MESSAGE_TABLE()

public:
    std::vector<UINT_PTR> timers;
    UINT lastCommandId = 0;

private:
    LRESULT OnPing(WPARAM w, LPARAM l)
    {
        log.push_back("ping");
        return static_cast<LRESULT>(w + l);
    }
    void OnFallThrough(Message& m)
    {
        log.push_back("fall-through");
        m.handled = false;  // the base handles it as well
    }
    void OnButtonClicked() { log.push_back("clicked 200"); }
    void OnButtonAnyCode(Message& m) { log.push_back("201 code " + std::to_string(m.CommandCode())); }
    void OnRange(Message& m)
    {
        lastCommandId = m.CommandId();
        log.push_back("range");
    }
    void OnCustomDraw(Message& m)
    {
        log.push_back("custom draw 5");
        m.result = CDRF_NOTIFYITEMDRAW;
    }
    void OnAnyClick(Message& m)
    {
        log.push_back("click from " + std::to_string(m.Notify()->idFrom));
    }
    void OnColour(Message& m)
    {
        log.push_back("colour");
        m.result = reinterpret_cast<LRESULT>(::GetStockObject(GRAY_BRUSH));
    }
    void OnTimer(Message& m)
    {
        timers.push_back(m.wParam);
        KillTimer(m.wParam);
    }
};

BEGIN_MESSAGE_TABLE(TableWnd, BaseWnd)
    OnMessage<&TableWnd::OnPing>(kPing),
    OnMessage<&TableWnd::OnFallThrough>(kFallThrough),
    OnCommand<&TableWnd::OnButtonClicked>(200, BN_CLICKED),
    OnCommand<&TableWnd::OnButtonAnyCode>(201),
    OnCommandRange<&TableWnd::OnRange>(400, 409, BN_CLICKED),
    OnNotify<&TableWnd::OnCustomDraw>(NM_CUSTOMDRAW, 5),
    OnNotifyAnyControl<&TableWnd::OnAnyClick>(NM_CLICK),
    OnMessages<&TableWnd::OnColour>(WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC),
    OnMessage<&TableWnd::OnTimer>(WM_TIMER),
END_MESSAGE_TABLE()

// A child control that answers its own notifications, colours and drawing.
class ReflectingChild : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    HBRUSH brush = nullptr;
    int draws = 0, customDraws = 0, scrolls = 0, clicks = 0;
    bool passClicksOn = false;

private:
    void OnColour(Message& m) { m.result = reinterpret_cast<LRESULT>(brush); }
    void OnDraw() { ++draws; }
    void OnCustomDraw(Message& m)
    {
        ++customDraws;
        m.result = CDRF_SKIPDEFAULT;
    }
    void OnScroll() { ++scrolls; }
    void OnClicked(Message& m)
    {
        ++clicks;
        m.handled = !passClicksOn;
    }
};

BEGIN_MESSAGE_TABLE(ReflectingChild, CWnd)
    OnMessages<&ReflectingChild::OnColour>(Reflected(WM_CTLCOLORMSGBOX), Reflected(WM_CTLCOLORSTATIC)),
    OnMessage<&ReflectingChild::OnDraw>(Reflected(WM_DRAWITEM)),
    OnNotify<&ReflectingChild::OnCustomDraw>(NM_CUSTOMDRAW, 11),
    OnMessage<&ReflectingChild::OnScroll>(Reflected(WM_HSCROLL)),
    OnMessage<&ReflectingChild::OnClicked>(Reflected(WM_COMMAND)),
END_MESSAGE_TABLE()

class MenuProbe : public CMenuOwner {
public:
    explicit MenuProbe(ULONG_PTR data) : mine(data) {}
    ULONG_PTR mine;
    int draws = 0, measures = 0, popups = 0;
    bool DrawMenuItem(DRAWITEMSTRUCT*) override
    {
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
    bool MenuChar(UINT ch, UINT, HMENU, LRESULT* result) override
    {
        if (ch != L'p')
            return false;
        *result = MAKELRESULT(3, MNC_EXECUTE);
        return true;
    }
    void InitMenuPopup(HMENU, UINT, bool) override { ++popups; }
};

HWND MakeChild(HWND parent, const wchar_t* cls, DWORD style, int id)
{
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 40, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

LRESULT SendNotify(HWND to, HWND from, UINT_PTR id, UINT code)
{
    NMCUSTOMDRAW cd = {};
    cd.hdr.hwndFrom = from;
    cd.hdr.idFrom = id;
    cd.hdr.code = code;
    cd.dwDrawStage = CDDS_PREPAINT;
    return SendMessageW(to, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&cd));
}

}  // namespace

TEST(Wnd, HandleMapFollowsTheWindowsLife)
{
    TableWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HWND h = w.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &w);

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
        TableWnd w;
        ASSERT_TRUE(w.SubclassWindow(edit));
        EXPECT_EQ(SendMessageW(edit, kPing, 2, 3), 5);
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

TEST(Wnd, TableHandlersAreFoundByMessageCommandAndNotification)
{
    TableWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HWND h = w.m_hWnd;
    HWND anyControl = MakeChild(h, L"STATIC", 0, 77);
    HDC dc = GetDC(h);
    struct Case {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        std::vector<std::string> log;
    } cases[] = {
        // The derived class's handler wins over the base's.
        {kPing, 2, 40, 42, {"ping"}},
        // A handler that clears `handled` passes the message on to the base.
        {kFallThrough, 0, 0, 7, {"fall-through", "base fall-through"}},
        {WM_COMMAND, MAKEWPARAM(200, BN_CLICKED), 0, 0, {"clicked 200"}},
        // Another code for 200: no entry, default handling.
        {WM_COMMAND, MAKEWPARAM(200, BN_DOUBLECLICKED), 0, 0, {}},
        {WM_COMMAND, MAKEWPARAM(201, EN_CHANGE), 0, 0, {"201 code 768"}},
        {WM_COMMAND, MAKEWPARAM(405, BN_CLICKED), 0, 0, {"range"}},
        {WM_COMMAND, MAKEWPARAM(410, BN_CLICKED), 0, 0, {}},
        // Only the base class lists 300.
        {WM_COMMAND, MAKEWPARAM(300, BN_CLICKED), 0, 0, {"base button"}},
        {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(anyControl),
         reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)), {"colour"}},
    };
    for (const Case& c : cases) {
        w.log.clear();
        EXPECT_EQ(SendMessageW(h, c.msg, c.wParam, c.lParam), c.result) << c.msg << " " << c.wParam;
        EXPECT_EQ(w.log, c.log) << c.msg << " " << c.wParam;
    }
    // Notifications by code and control id, or by code from any control.
    w.log.clear();
    EXPECT_EQ(SendNotify(h, nullptr, 5, NM_CUSTOMDRAW), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(SendNotify(h, nullptr, 6, NM_CUSTOMDRAW), 0);
    SendNotify(h, nullptr, 9, NM_CLICK);
    EXPECT_EQ(w.log, (std::vector<std::string>{"custom draw 5", "click from 9"}));
    ReleaseDC(h, dc);
    w.DestroyWindow();
}

TEST(Wnd, ChildControlAnswersItsOwnReflectedMessages)
{
    TableWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HWND p = parent.m_hWnd;
    ReflectingChild child;
    ASSERT_TRUE(child.SubclassWindow(MakeChild(p, L"BUTTON", BS_OWNERDRAW, 11)));
    HBRUSH childBrush = CreateSolidBrush(RGB(4, 5, 6));
    HDC dc = GetDC(p);

    // Colour: the child's brush answers; without one the parent's table does.
    child.brush = childBrush;
    parent.log.clear();
    EXPECT_EQ(SendMessageW(p, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd)),
              reinterpret_cast<LRESULT>(childBrush));
    EXPECT_TRUE(parent.log.empty());
    child.brush = nullptr;
    EXPECT_EQ(SendMessageW(p, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child.m_hWnd)),
              reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)));
    EXPECT_EQ(parent.log, std::vector<std::string>{"colour"});

    // Custom draw goes to the child and its result is the answer; the
    // parent's entry for the same code (control 5) is not asked.
    parent.log.clear();
    EXPECT_EQ(SendNotify(p, child.m_hWnd, 11, NM_CUSTOMDRAW), CDRF_SKIPDEFAULT);
    EXPECT_EQ(child.customDraws, 1);
    EXPECT_TRUE(parent.log.empty());

    // Owner drawing and scrolling from the child reach the child.
    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_BUTTON;
    di.CtlID = 11;
    di.hwndItem = child.m_hWnd;
    EXPECT_TRUE(SendMessageW(p, WM_DRAWITEM, 11, reinterpret_cast<LPARAM>(&di)));
    EXPECT_EQ(child.draws, 1);
    SendMessageW(p, WM_HSCROLL, SB_THUMBTRACK, reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(child.scrolls, 1);

    // A real click: the child takes it, or passes it on to the parent too.
    SendMessageW(child.m_hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(child.clicks, 1);
    EXPECT_TRUE(parent.log.empty());
    child.passClicksOn = true;
    SendMessageW(p, WM_COMMAND, MAKEWPARAM(201, EN_CHANGE), reinterpret_cast<LPARAM>(child.m_hWnd));
    EXPECT_EQ(child.clicks, 2);
    EXPECT_EQ(parent.log, std::vector<std::string>{"201 code 768"});
    ReleaseDC(p, dc);
    parent.DestroyWindow();
    DeleteObject(childBrush);
}

TEST(Wnd, OwnerDrawnMenusAreFoundByTheirHandle)
{
    TableWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    HWND p = parent.m_hWnd;
    HMENU menuA = CreatePopupMenu(), menuB = CreatePopupMenu();
    MenuProbe a(0xA), b(0xB);
    RegisterOwnerMenu(menuA, &a);
    RegisterOwnerMenu(menuB, &b);

    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_MENU;
    di.hwndItem = reinterpret_cast<HWND>(menuB);
    EXPECT_TRUE(SendMessageW(p, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di)));
    EXPECT_EQ(a.draws, 0);
    EXPECT_EQ(b.draws, 1);

    // Measuring names no menu: the owner that knows the item answers.
    MEASUREITEMSTRUCT mi = {};
    mi.CtlType = ODT_MENU;
    mi.itemData = 0xB;
    EXPECT_TRUE(SendMessageW(p, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)));
    EXPECT_EQ(mi.itemHeight, 21u);
    EXPECT_EQ(a.measures + b.measures, 1);

    // A typed letter and the pop-up's opening reach the menu's object.
    EXPECT_EQ(SendMessageW(p, WM_MENUCHAR, MAKEWPARAM(L'p', MF_POPUP), reinterpret_cast<LPARAM>(menuA)),
              MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(SendMessageW(p, WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP), reinterpret_cast<LPARAM>(menuA)), 0);
    SendMessageW(p, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menuA), 0);
    EXPECT_EQ(a.popups, 1);

    // Unregistered menus are not asked any more.
    UnregisterMenuOwner(&b);
    EXPECT_FALSE(SendMessageW(p, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di)));
    EXPECT_EQ(b.draws, 1);
    UnregisterOwnerMenu(menuA);
    EXPECT_EQ(OwnerOfMenu(menuA), nullptr);
    DestroyMenu(menuA);
    DestroyMenu(menuB);
    parent.DestroyWindow();
}

TEST(Wnd, TimersArriveThroughTheTable)
{
    TableWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    ASSERT_TRUE(w.SetTimer(7, 10));
    ASSERT_TRUE(wintest::PumpUntil([&] { return !w.timers.empty(); }, 2000));
    EXPECT_EQ(w.timers, std::vector<UINT_PTR>{7});
    w.DestroyWindow();
}

TEST(Wnd, StyleChangeRecomputesTheFrameAtOnce)
{
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
    EXPECT_EQ(w.GetClientRect().right, 100);
    EXPECT_TRUE(w.ModifyStyle(0, WS_BORDER));
    EXPECT_LT(w.GetClientRect().right, 100);
    EXPECT_FALSE(w.ModifyStyle(0, WS_BORDER));  // nothing to change
    EXPECT_TRUE(w.ModifyStyle(WS_BORDER, 0));
    EXPECT_EQ(w.GetClientRect().right, 100);
    w.DestroyWindow();
}

namespace {
int g_reports = 0;
void CountReport(const char*)
{
    ++g_reports;
}
}  // namespace

TEST(Wnd, TouchingWindowObjectsOffTheUserInterfaceThreadIsReported)
{
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    UiThreadReport old = SetUiThreadReport(&CountReport);
    g_reports = 0;
    CWnd::FromHandlePermanent(w.m_hWnd);
    EXPECT_EQ(g_reports, 0);
    std::thread([&w] { CWnd::FromHandlePermanent(w.m_hWnd); }).join();
    EXPECT_EQ(g_reports, 1);
    SetUiThreadReport(old);
    w.DestroyWindow();
}
