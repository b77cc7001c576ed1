#include "app/MainDialog.h"
#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "testing/FakeEngine.h"
#include "app/FileAssociation.h"
#include "GResource.h"
#include "LanguageHolder.h"
#include "app/MainLayout.h"
#include "testing/RecordingTree.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>

namespace {

using wintest::Pump;

RECT ChildRect(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectAt(HWND parent, HWND child, const PanelRect& p, const char* what)
{
    RECT r = ChildRect(parent, child);
    EXPECT_EQ(r.left, p.x) << what;
    EXPECT_EQ(r.top, p.y) << what;
    EXPECT_EQ(r.right - r.left, p.w) << what;
    EXPECT_EQ(r.bottom - r.top, p.h) << what;
}

// One main dialog for the test program, as in the player.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dlg = OpenMainDialog();
        ASSERT_NE(dlg, nullptr);
        Pump(700);  // the start-up language choice runs after 500 ms
    }
    void TearDown() override
    {
        CloseMainDialog(dlg);
        dlg = nullptr;
    }
    CTORQUELIANDlg* dlg = nullptr;
};

}  // namespace

TEST_F(MainDialogTest, PanelsSitAtTheirRectanglesForThisScreen)
{
    HWND h = dlg->m_hWnd;
    RECT client;
    GetClientRect(h, &client);
    // Proportions of the screen's width, or of the client's where the
    // window's frame makes that narrower.
    const int width = GetSystemMetrics(SM_CXSCREEN) < client.right ? GetSystemMetrics(SM_CXSCREEN) : client.right;
    MainLayout m = ComputeMainLayout(width, client.bottom);
    ExpectAt(h, dlg->searchPanel.m_hWnd, m.search, "search");
    ExpectAt(h, dlg->fileList.m_hWnd, m.fileList, "list");
    ExpectAt(h, dlg->streamInfo.m_hWnd, m.streamInfo, "stream info");
    ExpectAt(h, dlg->mapPane.m_hWnd, m.map, "map");
    ExpectAt(h, dlg->gpsPanel.m_hWnd, m.gps, "gps");
    ExpectAt(h, dlg->playbackPage.m_hWnd, m.playback, "playback");
    ExpectAt(h, dlg->scopePanel.m_hWnd, m.scope, "scope");
    ExpectAt(h, dlg->legendBar.m_hWnd, m.legend, "legend");
    ExpectAt(h, dlg->button231.m_hWnd, m.toolButtons[5], "button 231");
    // The date column at least as the layout gives it, wider for its text.
    EXPECT_GE(SendMessageW(dlg->fileList.ListControl(), LVM_GETCOLUMNWIDTH, 1, 0), 68);

    // While the map is folded away a resize moves nothing.
    RECT before = ChildRect(h, dlg->playbackPage.m_hWnd);
    dlg->gpsPanel.mapHidden = 1;
    dlg->playbackPage.MoveWindow(5, 5, 50, 50);
    SendMessageW(h, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    RECT after = ChildRect(h, dlg->playbackPage.m_hWnd);
    EXPECT_EQ(after.left, 5);
    dlg->gpsPanel.mapHidden = 0;
    SendMessageW(h, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    after = ChildRect(h, dlg->playbackPage.m_hWnd);
    EXPECT_EQ(after.left, before.left);
}

TEST_F(MainDialogTest, LanguageSwitchRelabelsAndIsSaved)
{
    struct Case {
        void (CDlgSearchPannel::*apply)();
        const wchar_t* streamText;
        const wchar_t* title;
        int code;
    } cases[] = {
        {&CDlgSearchPannel::SetEnglish, L"Stream Information", L"Vehicle Recorder Analysis Software", 3},
        {&CDlgSearchPannel::SetTraditionalChinese, L"碼流資訊", L"車載錄影分析軟體", 2},
        {&CDlgSearchPannel::SetSimplifiedChinese, L"码流信息", L"车载录像分析软件", 1},
    };
    dlg->windowsVersion = 5;  // the system draws the caption: the title is the window text
    g_Settings.lanSelect = 0;
    for (const Case& c : cases) {
        (dlg->searchPanel.*c.apply)();
        EXPECT_EQ(CString::WindowText(dlg->streamInfo.m_hWnd), c.streamText);
        EXPECT_EQ(CString::WindowText(dlg->m_hWnd), c.title);
        EXPECT_EQ(g_Settings.languageCode, c.code);
    }
    char buf[8] = {};
    GetPrivateProfileStringA("LANGUAGE", "LAN_SELECT", "", buf, sizeof buf, g_Settings.ConfigPath().c_str());
    EXPECT_STREQ(buf, "0");  // following the system stays stored as 0
}

TEST_F(MainDialogTest, KeysReachThePlaybackCommands)
{
    // The control panel drives a fake engine with a group open.
    CDlgPlayBkCtrl& panel = dlg->playbackPage.controlPanel;
    fake_engine::Reset();
    panel.engine = &fake_engine::Table();
    panel.engine->CreateDecoder(&panel.decoder);
    panel.playState = kPlaying;
    HWND target = panel.m_hWnd;
    struct Case {
        WPARAM key;
        int paused, rate;
        const wchar_t* label;
    } cases[] = {
        {VK_SPACE, 1, 0, L"PAUSE"}, {VK_SPACE, 0, 0, L"1X"}, {VK_RIGHT, 0, 1, L"1.3X"},
        {VK_LEFT, 0, 0, L"1X"},     {VK_LEFT, 0, -1, L"1/2X"}, {VK_UP, 0, -1, L"1/2X"},
    };
    dlg->searchPanel.SetEnglish();
    for (const Case& c : cases) {
        PostMessageW(target, WM_KEYDOWN, c.key, 0);
        Pump(30);
        EXPECT_EQ(panel.paused, c.paused) << c.key;
        EXPECT_EQ(panel.rateExponent, c.rate) << c.key;
        EXPECT_EQ(CString::WindowText(GetDlgItem(target, IDC_RATE_LABEL)), c.label) << c.key;
    }
    EXPECT_EQ(g_Settings.playRate, -1);
    EXPECT_EQ(fake_engine::Count("SetPlayRate"), 4);

    // Down: the group stops and the next record of the list is chosen.
    dlg->fileList.allRecords.resize(2);
    panel.currentIndex = 0;
    PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
    Pump(30);
    EXPECT_EQ(panel.decoder, nullptr);
    EXPECT_EQ(fake_engine::Count("EraseDecoder"), 1);
    EXPECT_EQ(panel.currentIndex, 1);
    dlg->fileList.allRecords.clear();

    // Esc in full screen leaves it; so does closing, which keeps the window.
    dlg->playbackPage.fullScreen = 1;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(30);
    EXPECT_EQ(dlg->playbackPage.fullScreen, 0);
    dlg->playbackPage.fullScreen = 1;
    dlg->windowsVersion = 2;
    SendMessageW(dlg->m_hWnd, WM_CLOSE, 0, 0);
    Pump(50);
    EXPECT_TRUE(IsWindow(dlg->m_hWnd));
    EXPECT_EQ(dlg->playbackPage.fullScreen, 0);
}

TEST_F(MainDialogTest, CaptionButtonsMinimiseAndClose)
{
    dlg->windowsVersion = 2;
    HDC dc = GetWindowDC(dlg->m_hWnd);
    dlg->PaintCaption(dc);
    ReleaseDC(dlg->m_hWnd, dc);
    RECT wr;
    GetWindowRect(dlg->m_hWnd, &wr);
    EXPECT_EQ(dlg->closeRect.right, wr.right - GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(dlg->minimiseRect.right, dlg->closeRect.left - 3);

    // The caption band is ours: black, with the close button's bitmap.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, wr.right - 200, wr.top + 2), RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);

    RECT m = dlg->minimiseRect;
    SendMessageW(dlg->m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(m.left + 9, m.top + 9));
    Pump(100);
    EXPECT_TRUE(IsIconic(dlg->m_hWnd));
    ShowWindow(dlg->m_hWnd, SW_RESTORE);
    Pump(100);

    // A move is swallowed; the About item is on the system menu.
    HMENU sys = GetSystemMenu(dlg->m_hWnd, FALSE);
    wchar_t item[64] = {};
    GetMenuStringW(sys, 0x10, item, 64, MF_BYCOMMAND);
    EXPECT_GT(wcslen(item), 0u);

    dlg->PaintCaption(dc = GetWindowDC(dlg->m_hWnd));
    ReleaseDC(dlg->m_hWnd, dc);
    RECT c = dlg->closeRect;
    HWND h = dlg->m_hWnd;
    SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(c.left + 9, c.top + 9));
    Pump(50);
    // WM_CLOSE ended the dialog: a modal one closes, this modeless one hides.
    EXPECT_FALSE(IsWindow(h) && IsWindowVisible(h));
}

TEST_F(MainDialogTest, FirstArgumentBecomesTheSearchRootAndListsThatFile)
{
    CCommandLineInfo none;
    dlg->ApplyCommandLine(none);
    EXPECT_FALSE(dlg->fileList.scanBusy);

    fixture::TempTree tree(L"argument");
    const std::wstring name = fixture::RecordingName(1, 83000, 83100);
    ASSERT_TRUE(fixture::WriteRecording(tree.Path(name), fixture::Recording{1}));
    ASSERT_TRUE(fixture::WriteRecording(tree.Path(fixture::RecordingName(2, 83000, 83100)), fixture::Recording{2}));
    CCommandLineInfo cmd;
    ParseArguments({CString(tree.Path(name))}, cmd);
    dlg->fileList.currentPage = 3;
    dlg->ApplyCommandLine(cmd);
    EXPECT_EQ(g_Settings.searchRoot, tree.Path(name));
    EXPECT_EQ(dlg->searchPanel.storagePath, tree.Path(name));
    EXPECT_EQ(CString::WindowText(dlg->searchPanel.GetDlgItem(IDC_PATH_EDIT)), tree.Path(name));
    EXPECT_EQ(dlg->fileList.selectedPath, tree.Path(name));
    ASSERT_TRUE(wintest::PumpUntil([&] { return !dlg->fileList.scanBusy; }, 10000));
    // The file alone, on page 1 of 1.
    HWND list = dlg->fileList.ListControl();
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(dlg->fileList.currentPage, 1);
    EXPECT_EQ(dlg->fileList.pageCount, 1);
    EXPECT_EQ(std::wstring(dlg->fileList.ShownRecords()[0].name), name);
    g_Settings.searchRoot.clear();
}

TEST(MainDialog, StoredLanguageIsAppliedHalfASecondAfterStartUp)
{
    InitRichEdit2();
    INITCOMMONCONTROLSEX icc = {8, 0xFF};
    InitCommonControlsEx(&icc);
    AppSettings probe;
    probe.SetProgramFolder();
    WritePrivateProfileStringA("LANGUAGE", "LAN_SELECT", "2", probe.ConfigPath().c_str());
    {
        CTORQUELIANDlg dlg;
        g_Settings.mainDlg = &dlg;
        ASSERT_TRUE(dlg.Create(nullptr));
        // Until the choice runs, texts are Simplified Chinese.
        EXPECT_EQ(CString::WindowText(dlg.streamInfo.m_hWnd), L"码流信息");
        Pump(800);
        EXPECT_EQ(dlg.language->languageIndex, 2);
        EXPECT_EQ(g_Settings.languageCode, 2);
        EXPECT_EQ(CString::WindowText(dlg.streamInfo.m_hWnd), L"碼流資訊");
        g_Settings.mainDlg = nullptr;
    }
    DeleteFileA(probe.ConfigPath().c_str());
}

TEST(MainDialog, GdiplusOutlivesTheImagesOfTheControls)
{
    int before = CGdiplusSession::LateReleases();
    {
        CTORQUELIANDlg dlg;
        dlg.button210.ReloadJpgResource(226, GetModuleHandleW(nullptr));
        dlg.button231.ReloadJpgResource(617, GetModuleHandleW(nullptr));
        ASSERT_NE(dlg.button210.images[0]->bitmap, nullptr);
    }  // no window: the labels free their images in their destructors
    EXPECT_EQ(CGdiplusSession::LateReleases(), before);
    EXPECT_FALSE(CGdiplusSession::Running());
}

TEST(FileAssociation, WritesTheH264Keys)
{
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\ZarvAssociationTest", &root), ERROR_SUCCESS);
    RegisterFileAssociation(root, "C:\\Zarv\\exe.ico", "C:\\Program Files\\Zarv\\Zarv Player.exe");
    struct Case {
        const char* key;
        const char* value;
    } cases[] = {
        {".h264", "h264file"},
        {"h264file", kDisplayName},
        {"h264file\\DefaultIcon", "C:\\Zarv\\exe.ico"},
        {"h264file\\Shell", "Open"},
        {"h264file\\Shell\\Open\\Command", "\"C:\\Program Files\\Zarv\\Zarv Player.exe\" \"%1\""},
    };
    for (const Case& c : cases) {
        char buf[300] = {};
        LONG size = sizeof buf;
        EXPECT_EQ(RegQueryValueA(root, c.key, buf, &size), ERROR_SUCCESS) << c.key;
        EXPECT_STREQ(buf, c.value) << c.key;
    }
    // A path too long for the command leaves the old command alone.
    std::string longPath(300, 'x');
    RegisterFileAssociation(root, "i", longPath.c_str());
    char buf[300] = {};
    LONG size = sizeof buf;
    RegQueryValueA(root, "h264file\\Shell\\Open\\Command", buf, &size);
    EXPECT_STREQ(buf, "\"C:\\Program Files\\Zarv\\Zarv Player.exe\" \"%1\"");
    RegCloseKey(root);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZarvAssociationTest");
}

TEST_F(MainDialogTest, ALanguageChangeKeepsTheOpenRecordingsDetails)
{
    CDlgPlayBkCtrl& panel = dlg->playbackPage.controlPanel;
    // An open group whose channel 1 plays this recording (no engine call
    // on the way).
    int handle = 0;
    panel.decoder = &handle;
    panel.channelNumber[0] = 1;
    panel.channelPath[0] = L"C:\\card\\201-01-083000-083100-00p000.h264";
    dlg->playbackPage.selectedPane = 0;
    struct Case {
        void (CDlgSearchPannel::*apply)();
        const wchar_t* channelLine;
    } cases[] = {
        {&CDlgSearchPannel::SetEnglish, L"Channel:CH01"},
        {&CDlgSearchPannel::SetSimplifiedChinese, L"通道:CH01"},
        {&CDlgSearchPannel::SetTraditionalChinese, L"通道:CH01"},
    };
    for (const Case& c : cases) {
        (dlg->searchPanel.*c.apply)();
        const std::wstring text = CString::WindowText(dlg->streamInfo.m_hWnd);
        EXPECT_NE(text.find(c.channelLine), std::wstring::npos) << CString(text).ToUtf8();
    }
    panel.decoder = nullptr;
    panel.channelNumber[0] = 0;
    panel.channelPath[0].clear();
    // Nothing open: the heading.
    dlg->searchPanel.SetEnglish();
    EXPECT_EQ(CString::WindowText(dlg->streamInfo.m_hWnd), L"Stream Information");
}
