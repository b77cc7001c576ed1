#include "ComboBoxBT.h"

#include "Gdi.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kPanel = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// The GPS panel as its combo sees it: every colour request of every control
// is answered with the panel's black brush.
class Panel : public CWnd {
    DECLARE_MESSAGE_TABLE()

public:
    Panel() { m_brush.CreateSolidBrush(kPanel); }
    HWND watched = nullptr;
    int watchedRequests = 0;  // colour requests of the watched window

private:
    LRESULT OnColour(WPARAM, LPARAM from)
    {
        if (reinterpret_cast<HWND>(from) == watched)
            ++watchedRequests;
        return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
    }
    CBrush m_brush;
};

BEGIN_MESSAGE_TABLE(Panel, CWnd)
    OnMessages<&Panel::OnColour>(WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC),
END_MESSAGE_TABLE()

HWND MakeCombo(HWND parent, int x, int id)
{
    HWND combo = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, x, 10,
                                   150, 120, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Google"));
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Baidu"));
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return combo;
}

// The list part of a dropped combo.
HWND ListOf(HWND combo)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    return ::GetComboBoxInfo(combo, &info) ? info.hwndList : nullptr;
}

// The colour that covers most of the right quarter of window (past the
// text, clear of a drop button), from row top down.
bool MostlyColour(HWND window, COLORREF colour, int top = 2)
{
    wintest::ScreenCapture c(window);
    const int x0 = c.Width() * 3 / 4, x1 = c.Width() - 24;
    const int total = (x1 - x0) * (c.Height() - 2 - top);
    return total > 0 && c.CountColour(x0, top, x1, c.Height() - 2, colour) > total * 3 / 4;
}

// The lower half of a dropped list: the item that is not selected.
bool ListColour(HWND list, COLORREF colour)
{
    RECT r = {};
    ::GetClientRect(list, &r);
    return ::IsWindowVisible(list) && MostlyColour(list, colour, r.bottom / 2 + 1);
}

}  // namespace

TEST(ComboBoxBT, EditAndListStayWhiteOnADarkPanel)
{
    Panel panel;
    ASSERT_TRUE(panel.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, nullptr, L"gps", WS_POPUP, 60, 60, 400, 200, nullptr,
                               0));
    ::ShowWindow(panel.m_hWnd, SW_SHOWNOACTIVATE);
    HWND plain = MakeCombo(panel.m_hWnd, 10, 310);
    CComboBoxBT combo;
    ASSERT_TRUE(combo.SubclassWindow(MakeCombo(panel.m_hWnd, 200, 311)));
    ::RedrawWindow(panel.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo.m_hWnd, &info));
    HWND edit = info.hwndItem;
    panel.watched = edit;
    ::InvalidateRect(edit, nullptr, TRUE);
    COMBOBOXINFO plainInfo = {};
    plainInfo.cbSize = sizeof plainInfo;
    ASSERT_TRUE(::GetComboBoxInfo(plain, &plainInfo));
    // The plain combo shows the panel's black; ours its own white.
    EXPECT_TRUE(wintest::PumpUntil([&] { return MostlyColour(plainInfo.hwndItem, kPanel); }, 2000));
    EXPECT_TRUE(wintest::PumpUntil([&] { return MostlyColour(edit, kWhite); }, 2000));
    // The panel still heard our edit's requests (the text colour is its
    // choice).
    EXPECT_GT(panel.watchedRequests, 0);

    // The list asks the combo for its colours: ours answers white, the
    // plain one passes the panel's black on.
    HWND list = ListOf(combo.m_hWnd);
    ASSERT_NE(list, nullptr);
    HDC dc = ::GetDC(list);
    EXPECT_EQ(combo.SendMessage(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(combo.brush)));
    ::ReleaseDC(list, dc);
    HWND plainList = ListOf(plain);
    dc = ::GetDC(plainList);
    const LRESULT plainAnswer =
        ::SendMessageW(plain, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plainList));
    ::ReleaseDC(plainList, dc);
    EXPECT_NE(plainAnswer, reinterpret_cast<LRESULT>(static_cast<HBRUSH>(combo.brush)));
    LOGBRUSH plainBrush = {};
    ::GetObjectW(reinterpret_cast<HGDIOBJ>(plainAnswer), sizeof plainBrush, &plainBrush);
    EXPECT_EQ(plainBrush.lbColor, kPanel);
    // Dropped, it shows white.
    combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return ListColour(list, kWhite); }, 2000));
    combo.SendMessage(CB_SHOWDROPDOWN, FALSE);

    // Painting takes no GDI objects for good.
    const DWORD before = wintest::GdiObjectCount();
    for (int i = 0; i < 500; ++i)
        ::RedrawWindow(combo.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_LE(wintest::GdiObjectCount(), before + 2);

    combo.DestroyWindow();
    panel.DestroyWindow();
    wintest::Pump(0);
}

TEST(ComboBoxBT, BrushLivesAsLongAsTheCombo)
{
    const DWORD before = wintest::GdiObjectCount();
    {
        CComboBoxBT combo;
        ASSERT_NE(combo.brush.m_hObject, nullptr);
        EXPECT_EQ(::GetObjectType(combo.brush.m_hObject), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(wintest::GdiObjectCount(), before);
}
