#include "Gdi.h"
#include "GdiplusSession.h"
#include "Wnd.h"
#include "WString.h"

#include <gtest/gtest.h>

TEST(Gdi, ObjectsAreFreedWithTheirWrapper)
{
    HGDIOBJ brush, pen, font;
    {
        CBrush b;
        CPen p;
        CFont f;
        ASSERT_TRUE(b.CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_TRUE(p.CreatePen(PS_SOLID, 1, 0));
        ASSERT_TRUE(f.CreateFont(14, 400, 0, 0x20, L"Tahoma"));
        brush = b.m_hObject;
        pen = p.m_hObject;
        font = f.m_hObject;
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        // A second create frees the first object.
        HGDIOBJ first = brush;
        ASSERT_TRUE(b.CreateSolidBrush(RGB(4, 5, 6)));
        EXPECT_EQ(GetObjectType(first), 0u);
        brush = b.m_hObject;
    }
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);

    // Detach hands the object over.
    HGDIOBJ kept;
    {
        CBrush b;
        b.CreateSolidBrush(0);
        kept = b.Detach();
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(kept);
}

TEST(Gdi, SelectPutsThePreviousObjectBackAndDcsAreReleased)
{
    CWnd w;
    ASSERT_TRUE(w.CreateEx(0, nullptr, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, 0));
    CBrush b;
    b.CreateSolidBrush(RGB(9, 9, 9));
    {
        CClientDC dc(&w);
        ASSERT_NE(dc.m_hDC, nullptr);
        HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
        {
            CSelect sel(dc, b.m_hObject);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), b.m_hObject);
        }
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);

        CMemoryDC mem(dc);
        CBitmap bmp;
        bmp.Attach(CreateCompatibleBitmap(dc, 4, 3));
        EXPECT_EQ(bmp.GetSize().cx, 4);
        EXPECT_EQ(bmp.GetSize().cy, 3);
        CSelect sel(mem, bmp.m_hObject);
        RECT r = {0, 0, 4, 3};
        mem.FillSolidRect(r, RGB(10, 20, 30));
        EXPECT_EQ(GetPixel(mem, 2, 2), RGB(10, 20, 30));
    }
    w.DestroyWindow();
}

// The edges as the system draws them: top and left one pixel short in the
// light colour, right and bottom full length in the dark one.
TEST(Gdi, Draw3dRectFollowsTheSystemsEdgeRule)
{
    HDC screen = GetDC(nullptr);
    CMemoryDC mem(screen);
    CBitmap bmp;
    bmp.Attach(CreateCompatibleBitmap(screen, 8, 6));
    CSelect sel(mem, bmp.m_hObject);
    const COLORREF ground = RGB(0, 0, 0), light = RGB(255, 255, 255), dark = RGB(128, 128, 128);
    mem.FillSolidRect(0, 0, 8, 6, ground);
    mem.Draw3dRect(1, 1, 5, 4, light, dark);  // covers x 1..5, y 1..4
    struct Case {
        int x, y;
        COLORREF colour;
    } cases[] = {
        {1, 1, light}, {4, 1, light}, {5, 1, dark},  // top edge: cx - 1 long, then the right edge
        {1, 3, light}, {1, 4, dark},                 // left edge: cy - 1 high, then the bottom edge
        {5, 4, dark},  {3, 4, dark},  {5, 2, dark},  // bottom and right edges
        {3, 2, ground}, {0, 0, ground}, {6, 1, ground}, {1, 5, ground},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPixel(mem, c.x, c.y), c.colour) << c.x << "," << c.y;
    ReleaseDC(nullptr, screen);
}

TEST(GdiplusSession, RunsWhileItsOwnerLives)
{
    EXPECT_FALSE(CGdiplusSession::Running());
    {
        CGdiplusSession s;
        EXPECT_TRUE(s.Started());
        EXPECT_TRUE(CGdiplusSession::Running());
    }
    EXPECT_FALSE(CGdiplusSession::Running());
}

TEST(WString, FormatsTextsOfAnyLength)
{
    CString s;
    s.Format(L"CAM%d", 3);
    EXPECT_EQ(s, L"CAM3");
    std::wstring longText(3000, L'字');
    s.Format(L"[%ls]", longText.c_str());
    EXPECT_EQ(s.size(), 3002u);
    EXPECT_EQ(s.substr(0, 2), L"[字");
    EXPECT_EQ(CString::FromUtf8("宋体").ToUtf8(), "宋体");
}

TEST(WString, FormatToNeverWritesPastTheBuffer)
{
    char buf[8];
    memset(buf, 'Z', sizeof buf);
    EXPECT_TRUE(FormatTo(buf, 8, "%s", "1234567"));
    EXPECT_STREQ(buf, "1234567");
    char small[8 + 4];
    memset(small, 'Z', sizeof small);
    EXPECT_FALSE(FormatTo(small, 8, "%s\\%s", "C:\\long folder", "config.ini"));
    EXPECT_EQ(strlen(small), 7u);
    EXPECT_EQ(small[8], 'Z');
}

TEST(WString, LoadsStringResources)
{
    EXPECT_EQ(CString::Load(GetModuleHandleW(nullptr), 7), L"seven");
    EXPECT_TRUE(CString::Load(GetModuleHandleW(nullptr), 8).IsEmpty());
}
