#include "CommonControls.h"
#include "Gdi.h"
#include "WindowTest.h"
#include "Wnd.h"

#include <gtest/gtest.h>

TEST(ToolTip, ToolsTakeTextsWithoutAVisualStylesManifest)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, 0));
    HWND a = CreateWindowExW(0, L"BUTTON", L"a", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, top.m_hWnd, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    HWND b = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 50, 0, 40, 20, top.m_hWnd, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(top.m_hWnd));
    EXPECT_EQ(CToolTipCtrl::ToolRecordSize(), static_cast<UINT>(TTTOOLINFOW_V2_SIZE));
    EXPECT_TRUE(tips.AddTool(a, L"播放"));
    EXPECT_TRUE(tips.AddTool(b, L"Stop"));
    EXPECT_EQ(tips.ToolCount(), 2);
    EXPECT_EQ(tips.GetText(a), L"播放");
    // A second AddTool for the same window changes its text.
    EXPECT_TRUE(tips.AddTool(a, L"Pause"));
    EXPECT_EQ(tips.ToolCount(), 2);
    EXPECT_EQ(tips.GetText(a), L"Pause");
    tips.DelTool(b);
    EXPECT_EQ(tips.ToolCount(), 1);
    EXPECT_TRUE(tips.GetText(b).IsEmpty());
    HWND tipWindow = tips.m_hWnd;
    tips.Destroy();
    EXPECT_FALSE(IsWindow(tipWindow));
    top.DestroyWindow();
}

TEST(ImageList, MaskedImagesDrawWithoutTheirKeyColour)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    // Two 8x8 images side by side: red on magenta, then blue on magenta.
    HBITMAP strip = CreateCompatibleBitmap(screen, 16, 8);
    HGDIOBJ old = SelectObject(mem, strip);
    CDC dc(mem);
    dc.FillSolidRect(0, 0, 16, 8, RGB(255, 0, 255));
    dc.FillSolidRect(2, 2, 4, 4, RGB(255, 0, 0));
    dc.FillSolidRect(10, 2, 4, 4, RGB(0, 0, 255));
    SelectObject(mem, old);

    CImageList list;
    ASSERT_TRUE(list.Create(8, 8, ILC_COLOR24 | ILC_MASK, 2, 2));
    EXPECT_EQ(list.Add(strip, RGB(255, 0, 255)), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ImageSize().cx, 8);

    HBITMAP target = CreateCompatibleBitmap(screen, 8, 8);
    old = SelectObject(mem, target);
    dc.FillSolidRect(0, 0, 8, 8, RGB(0, 255, 0));
    EXPECT_TRUE(list.Draw(1, mem, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(mem, 3, 3), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0, 255, 0));  // the key colour let the ground through
    EXPECT_FALSE(list.Draw(2, mem, 0, 0));           // no such image
    SelectObject(mem, old);
    DeleteObject(target);
    DeleteObject(strip);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

TEST(WindowTest, GdiObjectCountFollowsCreationAndDeletion)
{
    DWORD before = wintest::GdiObjectCount();
    ASSERT_GT(before, 0u);
    HBRUSH brushes[10];
    for (HBRUSH& b : brushes)
        b = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(wintest::GdiObjectCount(), before + 10);
    for (HBRUSH b : brushes)
        DeleteObject(b);
    EXPECT_EQ(wintest::GdiObjectCount(), before);
}
