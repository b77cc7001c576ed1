// The main window laid out for each of four screen sizes in each of the
// three languages, as a user sees it: within every panel no shown control
// overlaps another, every control lies inside the windows around it, every
// text fits its control in the font the control draws with (the GPS
// panel's values at their widest), and every control of the bar and the
// panels is shown; the AVI export dialog likewise in each language.
#include "app/MainDialog.h"
#include "avi/DlgAvi.h"
#include "testing/MainDialogFixture.h"

#include "AppSettings.h"
#include "LanguageHolder.h"
#include "StringIds.h"
#include "WinApp.h"
#include "WindowTest.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

namespace {

using wintest::Pump;

std::string Ansi(const std::wstring& s)
{
    return CString(s).ToAnsi();
}

std::string Show(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

std::wstring ClassOf(HWND w)
{
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

std::string Name(HWND w)
{
    return Ansi(ClassOf(w)) + " " + std::to_string(GetDlgCtrlID(w)) + " \"" + Ansi(CString::WindowText(w)) + "\"";
}

// The width and height of text in the font the control draws with.
SIZE Extent(HWND control, const std::wstring& text)
{
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

// The room a control leaves its text, or -1 for controls whose text this
// check does not judge (images, multi-line texts, charts, sliders).
int TextRoom(HWND w, const std::wstring& cls)
{
    RECT c;
    GetClientRect(w, &c);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    if (cls == L"Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP &&
            type != SS_SIMPLE)
            return -1;
        return c.right;
    }
    if (cls == L"Button") {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW)
            return -1;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            return c.right - (GetSystemMetrics(SM_CXMENUCHECK) + 3);
        return c.right - 6;
    }
    if (cls == L"Edit") {
        if (style & ES_MULTILINE)
            return -1;
        const LRESULT margins = SendMessageW(w, EM_GETMARGINS, 0, 0);
        return c.right - LOWORD(margins) - HIWORD(margins);
    }
    if (cls == L"ComboBox")
        return c.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
    if (cls == L"SysDateTimePick32")
        return c.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
    return -1;
}

struct FitCheck {
    std::vector<std::string> faults;
    std::string where;

    void Fault(const std::string& text) { faults.push_back(where + ": " + text); }

    // The part of w that its ancestors up to the top window show.
    static RECT ShownPart(HWND w)
    {
        RECT r;
        GetWindowRect(w, &r);
        for (HWND p = GetParent(w); p && (GetWindowLongW(p, GWL_STYLE) & WS_CHILD); p = GetParent(p)) {
            RECT pc;
            GetClientRect(p, &pc);
            MapWindowPoints(p, nullptr, reinterpret_cast<POINT*>(&pc), 2);
            IntersectRect(&r, &r, &pc);
        }
        if (HWND top = GetAncestor(w, GA_ROOT); top && top != w) {
            RECT tc;
            GetClientRect(top, &tc);
            MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&tc), 2);
            IntersectRect(&r, &r, &tc);
        }
        return r;
    }

    // Windows that lie partly outside what shows them on purpose.
    std::set<HWND> overhanging;

    // A shown control: inside what shows it, its text fitting.
    void Control(HWND w)
    {
        RECT r, shown = ShownPart(w);
        GetWindowRect(w, &r);
        const bool emptyBand = ClassOf(w) == L"Static" && CString::WindowText(w).empty() &&
                               (GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
        if (!EqualRect(&r, &shown) && !overhanging.count(w) && !emptyBand)
            Fault(Name(w) + " at " + Show(r) + " is cut to " + Show(shown));
        const std::wstring cls = ClassOf(w);
        const std::wstring text = CString::WindowText(w);
        const int room = TextRoom(w, cls);
        if (room >= 0 && !text.empty()) {
            const SIZE e = Extent(w, text);
            RECT c;
            GetClientRect(w, &c);
            if (e.cx > room)
                Fault(Name(w) + ": text " + std::to_string(e.cx) + " wide in " + std::to_string(room));
            if (e.cy > c.bottom && cls != L"ComboBox" && cls != L"SysDateTimePick32")
                Fault(Name(w) + ": text " + std::to_string(e.cy) + " high in " + std::to_string(c.bottom));
        }
        if (cls == L"SysListView32")
            List(w);
    }

    // Column headers and the cells of the rows shown.
    void List(HWND list)
    {
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
        const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int c = 0; c < columns; ++c) {
            const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
            wchar_t buf[128] = {};
            HDITEMW item = {};
            item.mask = HDI_TEXT;
            item.pszText = buf;
            item.cchTextMax = 128;
            SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&item));
            if (Extent(header, buf).cx + 12 > width)
                Fault("list column " + std::to_string(c) + " header \"" + Ansi(buf) + "\" wider than " +
                      std::to_string(width));
            for (int row = 0; row < rows && row < 3; ++row) {
                wchar_t cell[128] = {};
                LVITEMW li = {};
                li.iSubItem = c;
                li.pszText = cell;
                li.cchTextMax = 128;
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&li));
                // The first column also holds the check box.
                const int room = width - 12 - (c == 0 ? GetSystemMetrics(SM_CXSMICON) + 4 : 0);
                const int need = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(cell)));
                if (cell[0] && need > room)
                    Fault("list column " + std::to_string(c) + " cell \"" + Ansi(cell) + "\" " + std::to_string(need) +
                          " wide in " + std::to_string(room));
            }
        }
    }

    // The shown children of a panel: no two overlapping, each one fitting.
    // skip: children this check leaves alone.
    void Panel(HWND panel, const std::string& name, const std::set<int>& skip = {})
    {
        const std::string outer = where;
        where = outer + " " + name;
        std::vector<HWND> shown;
        for (HWND c = GetWindow(panel, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (IsWindowVisible(c) && !skip.count(GetDlgCtrlID(c)))
                shown.push_back(c);
        for (size_t i = 0; i < shown.size(); ++i) {
            Control(shown[i]);
            RECT a = ShownPart(shown[i]);
            for (size_t j = i + 1; j < shown.size(); ++j) {
                RECT b = ShownPart(shown[j]), both;
                if (IntersectRect(&both, &a, &b))
                    Fault(Name(shown[i]) + " " + Show(a) + " overlaps " + Name(shown[j]) + " " + Show(b));
            }
        }
        where = outer;
    }

    // Each of these controls of a panel shown and not hidden by what
    // holds it.
    void Shown(HWND panel, const std::string& name, const std::vector<int>& ids)
    {
        for (int id : ids) {
            HWND c = GetDlgItem(panel, id);
            RECT shown = c ? ShownPart(c) : RECT{};
            if (!c || !IsWindowVisible(c) || IsRectEmpty(&shown))
                Fault(name + " control " + std::to_string(id) + " not shown");
        }
    }
};

class ScreenFitTest : public ::testing::Test {
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
    CTORQUELIANDlg* dlg = nullptr;
};

FileRecord Record(int channel, int kind, unsigned size)
{
    FileRecord r = {};
    r.year = 26;
    r.month = 12;
    r.day = 10;
    r.startHour = 8;
    r.startMinute = 30;
    r.endHour = 8;
    r.endMinute = 31;
    r.size = size;
    r.kind = kind;
    r.channel = channel;
    lstrcpynW(r.name, L"201-01-083000-083100-00p000.h264", 256);
    lstrcpynW(r.path, L"C:\\card\\201-01-083000-083100-00p000.h264", 512);
    return r;
}

}  // namespace

TEST_F(ScreenFitTest, EverySizeAndLanguageFits)
{
    struct Size {
        int w, h;
    } sizes[] = {{1024, 768}, {1280, 1024}, {1366, 768}, {1920, 1080}};
    // Each language as chosen in the search panel (following the system
    // in English hides the GPS correction, as it should).
    struct Language {
        void (CDlgSearchPannel::*apply)();
        int lanSelect;
        const char* name;
    } languages[] = {
        {&CDlgSearchPannel::SetEnglish, 3, "English"},
        {&CDlgSearchPannel::SetSimplifiedChinese, 1, "Simplified Chinese"},
        {&CDlgSearchPannel::SetTraditionalChinese, 2, "Traditional Chinese"},
    };
    // Rows with the longest texts each column shows: an impact alarm of
    // 1.9 GB.
    dlg->fileList.allRecords = {Record(1, 1, 1900000000u), Record(2, 0, 512), Record(3, 2, 64000000u)};
    dlg->fileList.currentPage = 0;
    dlg->fileList.OnFirstPage();
    FitCheck check;
    // The recording list's margin and the position slider's ends lie
    // outside on purpose (the list's left edge and the slider's channel
    // meet the window's edges); the control bar reaches below the page,
    // which shows its top strip.
    check.overhanging = {dlg->fileList.m_hWnd, dlg->playbackPage.controlPanel.m_hWnd,
                         GetDlgItem(dlg->playbackPage.controlPanel.m_hWnd, IDC_POSITION_SLIDER)};
    // Each size laid out, then each language chosen in it: the panels
    // follow a language change by themselves.
    // The widest values the GPS panel's boxes hold: a western longitude of
    // three-digit degrees, a southern latitude, a three-digit speed.
    dlg->gpsPanel.SetLongitude(L"-140.4988");
    dlg->gpsPanel.SetLatitude(L"-33.8688");
    dlg->gpsPanel.SetSpeed(188);
    dlg->gpsPanel.Refresh();
    for (const Size& size : sizes) {
        dlg->MoveWindow(0, 0, size.w, size.h);
        dlg->LayoutPanelsFor(size.w);
        Pump(60);
        for (const Language& lang : languages) {
            check.where = std::to_string(size.w) + "x" + std::to_string(size.h) + " " + lang.name;
            g_Settings.lanSelect = lang.lanSelect;
            (dlg->searchPanel.*lang.apply)();
            Pump(60);
            HWND main = dlg->m_hWnd;
            check.Panel(main, "main window");
            check.Panel(dlg->searchPanel.m_hWnd, "search panel");
            check.Panel(dlg->fileList.m_hWnd, "recording list");
            check.Panel(dlg->gpsPanel.m_hWnd, "GPS panel");
            check.Panel(dlg->legendBar.m_hWnd, "legend bar");
            check.Panel(dlg->playbackPage.m_hWnd, "playback page");
            // The text captions lie below the strip the page shows, as
            // they always have.
            const std::set<int> captions = {IDC_CAPTION_PLAY, IDC_CAPTION_STOP,     IDC_CAPTION_FAST,
                                            IDC_CAPTION_BACK, IDC_CAPTION_ROLLBACK, IDC_CAPTION_NEXT_FRAME};
            HWND bar = dlg->playbackPage.controlPanel.m_hWnd;
            check.Panel(bar, "control bar", captions);
            check.Shown(bar, "control bar",
                        {IDC_POSITION_SLIDER, IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_REWIND, IDC_FASTER, IDC_SLOWER,
                         IDC_PREVIOUS_FILE, IDC_NEXT_FILE, IDC_RATE_LABEL, IDC_TIME_LABEL, IDC_BAR_SPLIT1,
                         IDC_BAR_SPLIT4, IDC_BAR_SPLIT9, IDC_BAR_SPLIT16, IDC_FULL_SCREEN, IDC_SIDE_PANELS,
                         IDC_SNAPSHOT, IDC_CUT_AVI, IDC_SOUND, IDC_VOLUME_SLIDER});
            HWND gps = dlg->gpsPanel.m_hWnd;
            check.Shown(gps, "GPS panel",
                        {IDC_GPS_GAUGE, IDC_POSITION_CAPTION, IDC_LONGITUDE_CAPTION, IDC_GPS_LONGITUDE,
                         IDC_LONGITUDE_UNIT, IDC_LATITUDE_CAPTION, IDC_GPS_LATITUDE, IDC_LATITUDE_UNIT, IDC_GPS_FIX,
                         IDC_GPS_FIX_CAPTION, IDC_SPEED_CAPTION, IDC_GPS_SPEED, IDC_SPEED_UNIT, IDC_TRACK_CAPTION,
                         IDC_TRACK_RED, IDC_TRACK_RED_NAME, IDC_TRACK_GREEN, IDC_TRACK_GREEN_NAME, IDC_TRACK_BLUE,
                         IDC_TRACK_BLUE_NAME, IDC_TRACK_BLACK, IDC_TRACK_BLACK_NAME, IDC_MAP_PROVIDER,
                         IDC_MAP_BUTTON, IDC_ABOUT_BUTTON});
            check.Shown(dlg->legendBar.m_hWnd, "legend bar", {IDC_LEGEND_SPEED});
            check.Shown(dlg->searchPanel.m_hWnd, "search panel",
                        {IDC_LANGUAGE_LABEL, IDC_LANGUAGE_LIST, IDC_PATH_LABEL, IDC_PATH_EDIT, IDC_BROWSE,
                         IDC_TYPE_LABEL, IDC_TYPE_LIST, IDC_SEARCH_DATE});
            check.Shown(dlg->fileList.m_hWnd, "recording list",
                        {IDC_RECORD_LIST, IDC_FIRST_PAGE, IDC_PREV_PAGE, IDC_NEXT_PAGE, IDC_LAST_PAGE, IDC_PAGE_BEFORE,
                         IDC_PAGE_NUMBER, IDC_PAGE_BETWEEN, IDC_PAGE_COUNT, IDC_PAGE_AFTER});
            check.Shown(main, "main window",
                        {IDC_SPLIT1, IDC_SPLIT4, IDC_SPLIT9, IDC_SPLIT16, IDC_SNAPSHOT, IDC_CUT_AVI, IDC_STREAM_INFO});
            // The AVI dialog as a pane opens it, in this language.
            CDlgAvi avi(L"C:\\card\\201-01-083000-083100-00p000.h264");
            if (avi.Create(dlg)) {
                avi.ShowWindow(SW_SHOW);
                Pump(30);
                check.Panel(avi.m_hWnd, "AVI dialog");
                avi.DestroyWindow();
            } else {
                check.Fault("no AVI dialog");
            }
        }
    }
    for (const std::string& f : check.faults)
        ADD_FAILURE() << f;
    EXPECT_TRUE(check.faults.empty()) << check.faults.size() << " faults";
    dlg->fileList.allRecords.clear();
}

