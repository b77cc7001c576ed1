#include "app/ScreenLayout.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"
#include "app/MainLayout.h"
#include "vehicle/SidePanelLayout.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

using wintest::Pump;

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

RECT Of(const PanelRect& p)
{
    return RECT{p.x, p.y, p.x + p.w, p.y + p.h};
}

// The window a click at a point of the screen reaches inside top: the
// deepest shown child there, the uppermost where siblings overlap.
HWND WindowAt(HWND top, POINT onScreen)
{
    HWND at = top;
    for (;;) {
        POINT p = onScreen;
        ScreenToClient(at, &p);
        HWND child = ChildWindowFromPointEx(at, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (!child || child == at)
            return at;
        at = child;
    }
}

POINT CentreOf(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(ScreenLayout, EachModeItsPageAndPanels)
{
    // A 1024 x 768 screen, the client area 4 in and 23 down, 1016 x 717.
    const RECT screen = {0, 0, 1024, 768};
    const RECT client = {4, 23, 1020, 740};
    struct Case {
        bool full, sideHidden, mapShown;
        RECT page;
        bool left, side, map;
    } cases[] = {
        {false, false, true, Of(ComputeMainLayout(1024, 717).playback), true, true, true},
        {false, false, false, Of(PagePlaceForMap(0, 0, 1016, 717, false, ComputeMainLayout(1024, 717).gps.y)), true,
         true, false},
        {false, true, true, {1016 * 20 / 100 + 7, 0, 1014, 717}, true, false, false},
        {false, true, false, {1016 * 20 / 100 + 7, 0, 1014, 717}, true, false, false},
        {true, false, true, {0, 0, 1016, 717}, false, false, false},
        {true, true, false, {0, 0, 1016, 717}, false, false, false},
    };
    for (const Case& c : cases) {
        ScreenModes modes;
        modes.fullScreen = c.full;
        modes.sidePanelsHidden = c.sideHidden;
        modes.mapShown = c.mapShown;
        const ScreenLayout s = ComputeScreenLayout(modes, 1024, client, screen, 2);
        EXPECT_TRUE(EqualRect(&s.page, &c.page)) << c.full << c.sideHidden << c.mapShown << Show(s.page);
        EXPECT_EQ(s.leftColumn, c.left);
        EXPECT_EQ(s.sidePanels, c.side);
        EXPECT_EQ(s.map, c.map);
        if (c.side) {
            // Beside the GPS panel, never over it; the scope panel from the
            // page's bottom to the legend bar.
            const MainLayout m = ComputeMainLayout(1024, 717);
            const RECT gps = Of(m.gps);
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &s.page, &gps)) << c.mapShown << Show(s.page);
            EXPECT_EQ(s.scope.top, s.page.bottom) << c.mapShown;
            EXPECT_EQ(s.scope.bottom, m.legend.y) << c.mapShown;
            EXPECT_EQ(s.scope.left, m.scope.x);
        }
    }
    // Full screen with the window moved down and right: only the part the
    // screen shows, so that the bar along its bottom is on screen.
    ScreenModes full;
    full.fullScreen = true;
    const ScreenLayout moved = ComputeScreenLayout(full, 1024, RECT{204, 123, 1220, 840}, screen, 2);
    EXPECT_EQ(moved.page.right, 1024 - 204);
    EXPECT_EQ(moved.page.bottom, 768 - 123);
}

// --- The real main window through sequences of switches ---------------------

namespace {

enum Mode { Normal, MapHidden, SideHidden, Full };
struct SequenceCase {
    const char* steps;
    Mode mode;
} const kSequences[] = {
    {"F", Full},
    {"FE", Normal},
    {"FM", Normal},
    {"FF", Full},
    {"FFE", Normal},
    {"FFEE", Normal},
    {"FSE", SideHidden},
    {"FSES", Normal},
    {"FSSE", Normal},
    {"S", SideHidden},
    {"SF", Full},
    {"SFE", SideHidden},
    {"SFSE", Normal},
    {"SFES", Normal},
    {"SS", Normal},
    {"F9DE", Normal},
    {"FdDdE", Normal},
    {"4dF6E", Normal},
    {"S1FDE4S", Normal},
    {"G", MapHidden},
    {"GF", Full},
    {"GFE", MapHidden},
    {"GSFES", MapHidden},
    {"FGE", MapHidden},
    {"SGSG", Normal},
    // The map button hides the map and shows it again, whatever came
    // between.
    {"B", MapHidden},
    {"BB", Normal},
    {"GB", Normal},
    {"BSSB", Normal},
    {"BFEB", Normal},
    {"BSFESB", Normal},
    {"SGSB", Normal},
    {"B4FdEB", Normal},
};


class ScreenModesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dlg = OpenMainDialog();
        ASSERT_NE(dlg, nullptr);
        Pump(700);
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
    }
    HWND Bar() const { return dlg->playbackPage.controlPanel.m_hWnd; }
    RECT ScreenRectOf(HWND w) const
    {
        RECT r;
        GetWindowRect(w, &r);
        return r;
    }
    RECT ClientRectOf(HWND w) const
    {
        RECT r = ScreenRectOf(w);
        MapWindowPoints(nullptr, dlg->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // One step of a sequence: F full-screen button, S side-panels button,
    // E Escape in the bar, M Escape in the main window, D double-click on
    // the selected pane, d double-click on pane 2, 1/4/9/6 the bar's pane
    // splits (6: sixteen), G the GPS panel's map switch, B a click at the
    // centre of the map button (it reaches whatever window is there).
    void Step(char c)
    {
        switch (c) {
        case 'B': {
            HWND at = WindowAt(dlg->m_hWnd, CentreOf(dlg->gpsPanel.mapButton.m_hWnd));
            if (at == dlg->gpsPanel.mapButton.m_hWnd)
                SendMessageW(at, BM_CLICK, 0, 0);
            break;
        }
        case 'F': SendMessageW(GetDlgItem(Bar(), IDC_FULL_SCREEN), BM_CLICK, 0, 0); break;
        case 'S': SendMessageW(GetDlgItem(Bar(), IDC_SIDE_PANELS), BM_CLICK, 0, 0); break;
        case 'E': PostMessageW(Bar(), WM_KEYDOWN, VK_ESCAPE, 0); break;
        case 'M': PostMessageW(dlg->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); break;
        case 'D':
            SendMessageW(dlg->playbackPage.m_hWnd, WM_VIDEO_DBLCLICKED, dlg->playbackPage.selectedPane, 0);
            break;
        case 'd': SendMessageW(dlg->playbackPage.m_hWnd, WM_VIDEO_DBLCLICKED, 2, 0); break;
        case '1': Split(IDC_BAR_SPLIT1); break;
        case '4': Split(IDC_BAR_SPLIT4); break;
        case '9': Split(IDC_BAR_SPLIT9); break;
        case '6': Split(IDC_BAR_SPLIT16); break;
        case 'G': dlg->gpsPanel.OnToggleMap(); break;
        default: FAIL() << "no step " << c;
        }
        Pump(40);
    }
    void Split(int id)
    {
        SendMessageW(Bar(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Bar(), id)));
    }
    void Run(const SequenceCase& c, const std::string& what);
    CTORQUELIANDlg* dlg = nullptr;
};

}  // namespace

// The steps of a case from the normal layout, then the layout they must
// leave; back to the normal layout afterwards.
void ScreenModesTest::Run(const SequenceCase& c, const std::string& what)
{
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const char* s = c.steps; *s; ++s)
        Step(*s);
    CDlgPlayBack& page = dlg->playbackPage;
    RECT client;
    GetClientRect(dlg->m_hWnd, &client);
    RECT clientOnScreen = client;
    MapWindowPoints(dlg->m_hWnd, nullptr, reinterpret_cast<POINT*>(&clientOnScreen), 2);
    const RECT pageRect = ClientRectOf(page.m_hWnd);
    RECT expected = {};
    // The left column widens for the recording list where the screen has
    // room; a page grown over the side panels starts right of it.
    const MainLayout normal = ComputeMainLayout(dlg->layoutWidth, client.bottom, dlg->fileList.WantedWidths());
    const int widened = normal.left - ComputeMainLayout(dlg->layoutWidth, client.bottom).left;
    switch (c.mode) {
    case Normal: expected = Of(normal.playback); break;
    case MapHidden:
        expected = Of(PagePlaceForMap(0, 0, client.right, client.bottom, false, normal.gps.y));
        expected.left += widened;
        break;
    case SideHidden:
        expected = {client.right * 20 / 100 + 7 + widened, 0,
                    dlg->windowsVersion == 5 ? client.right : client.right - 2, client.bottom};
        break;
    case Full:
        IntersectRect(&expected, &clientOnScreen, &screen);
        OffsetRect(&expected, -clientOnScreen.left, -clientOnScreen.top);
        break;
    }
    EXPECT_TRUE(EqualRect(&pageRect, &expected)) << what << ": page " << Show(pageRect) << ", expected "
                                                  << Show(expected);
    EXPECT_EQ(page.fullScreen, c.mode == Full ? 1 : 0) << what;
    // The panels of that layout, and only those.
    const bool left = c.mode != Full, side = c.mode == Normal || c.mode == MapHidden;
    EXPECT_EQ(IsWindowVisible(dlg->fileList.m_hWnd) != 0, left) << what;
    EXPECT_EQ(IsWindowVisible(dlg->searchPanel.m_hWnd) != 0, left) << what;
    EXPECT_EQ(IsWindowVisible(dlg->button210.m_hWnd) != 0, left) << what;
    EXPECT_EQ(IsWindowVisible(dlg->button231.m_hWnd) != 0, left) << what;
    EXPECT_EQ(IsWindowVisible(dlg->scopePanel.m_hWnd) != 0, side) << what;
    EXPECT_EQ(IsWindowVisible(dlg->gpsPanel.m_hWnd) != 0, side) << what;
    EXPECT_EQ(IsWindowVisible(dlg->mapPane.m_hWnd) != 0, c.mode == Normal) << what;
    if (side) {
        // The GPS panel whole beside the page, its map button the
        // window a click at its centre reaches.
        RECT gps = ClientRectOf(dlg->gpsPanel.m_hWnd), both;
        EXPECT_FALSE(IntersectRect(&both, &pageRect, &gps))
            << what << ": page " << Show(pageRect) << " over the GPS panel " << Show(gps);
        HWND button = dlg->gpsPanel.mapButton.m_hWnd;
        EXPECT_TRUE(IsWindowVisible(button)) << what;
        EXPECT_EQ(WindowAt(dlg->m_hWnd, CentreOf(button)), button) << what << ": the map button is covered";
    }
    // The bar: shown, its button row inside the page and, in full
    // screen, on the screen.
    ASSERT_TRUE(IsWindowVisible(Bar())) << what;
    const RECT pageOnScreen = ScreenRectOf(page.m_hWnd);
    for (int id : {IDC_PLAY, IDC_STOP, IDC_FULL_SCREEN, IDC_SIDE_PANELS, IDC_VOLUME_SLIDER}) {
        const RECT b = ScreenRectOf(GetDlgItem(Bar(), id));
        RECT inPage = {};
        IntersectRect(&inPage, &b, &pageOnScreen);
        EXPECT_TRUE(EqualRect(&inPage, &b)) << what << ": control " << id << " at " << Show(b)
                                            << " outside the page " << Show(pageOnScreen);
        if (c.mode == Full) {
            RECT onScreen = {};
            IntersectRect(&onScreen, &b, &screen);
            EXPECT_TRUE(EqualRect(&onScreen, &b)) << what << ": control " << id << " off screen";
        }
    }
    // The panes above the bar.
    const RECT barRect = ClientRectOf(Bar());
    for (const CDlgVideo& pane : page.panes) {
        if (IsWindowVisible(pane.m_hWnd)) {
            EXPECT_LE(ClientRectOf(pane.m_hWnd).bottom, barRect.top) << what;
        }
    }
    // Back to the normal layout for the next case.
    if (page.fullScreen)
        Step('E');
    if (page.controlPanel.sidePanelHidden)
        Step('S');
    if (dlg->gpsPanel.mapHidden)
        Step('G');
    page.paneCount = 9;
    page.selectedPane = 0;
    page.LayoutPanes();
}

TEST_F(ScreenModesTest, EverySequenceEndsInANormalLayoutWithTheBarOnScreen)
{
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // The window where the program puts it, and moved down and right.
    const POINT places[2] = {{0, 0}, {140, 90}};
    for (const POINT& at : places) {
        for (const SequenceCase& c : kSequences) {
            dlg->MoveWindow(at.x, at.y, work.right - work.left, work.bottom - work.top);
            Pump(40);
            Run(c, std::string(c.steps) + " at " + std::to_string(at.x) + "," + std::to_string(at.y));
        }
    }
}

TEST_F(ScreenModesTest, TheMapComesBackAtEverySizeInEveryLanguage)
{
    struct Size {
        int w, h;
    } sizes[] = {{1024, 768}, {1366, 768}, {1920, 1080}};
    struct Language {
        void (CDlgSearchPannel::*apply)();
        int lanSelect;
        const char* name;
    } languages[] = {
        {&CDlgSearchPannel::SetEnglish, 3, "English"},
        {&CDlgSearchPannel::SetSimplifiedChinese, 1, "Simplified Chinese"},
        {&CDlgSearchPannel::SetTraditionalChinese, 2, "Traditional Chinese"},
    };
    for (const Size& size : sizes) {
        for (const Language& lang : languages) {
            g_Settings.lanSelect = lang.lanSelect;
            (dlg->searchPanel.*lang.apply)();
            Pump(40);
            // The map button from the normal layout, after the side panels
            // were hidden and shown, and after full screen.
            for (const SequenceCase& c : kSequences) {
                if (std::strcmp(c.steps, "BB") != 0 && std::strcmp(c.steps, "BSSB") != 0 &&
                    std::strcmp(c.steps, "BFEB") != 0)
                    continue;
                // Laid out as on a screen of that size (wider ones than
                // the test's own included).
                dlg->MoveWindow(0, 0, size.w, size.h);
                dlg->LayoutPanelsFor(size.w);
                Pump(40);
                Run(c, std::string(c.steps) + " at " + std::to_string(size.w) + "x" + std::to_string(size.h) + " in " +
                           lang.name);
            }
        }
    }
}
