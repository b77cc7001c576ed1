#include "DirectDraw.h"
#include "TestDesktop.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>
#include <vector>

TEST(DirectDrawOsd, TextKeepsAtMost63Characters) {
    struct Case {
        const char* text;
        size_t kept;
    };
    std::string seventy(70, 'x');
    std::string sixtyThree(63, 'y');
    for (Case c : {Case{seventy.c_str(), 63}, Case{sixtyThree.c_str(), 63}, Case{"CH1", 3}, Case{"", 0},
                   Case{nullptr, 0}}) {
        char dest[kOsdMaxChars + 1];
        memset(dest, 'z', sizeof dest);
        CopyOsdText(dest, c.text);
        EXPECT_EQ(strlen(dest), c.kept);
    }
}

TEST(DirectDrawOsd, CornersSitFivePixelsInside) {
    struct Case {
        int corner;
        LONG x, y;
    };
    // A 40 x 16 text on a 352 x 288 picture.
    for (Case c : {Case{0, 5, 5}, Case{1, 307, 5}, Case{2, 5, 267}, Case{3, 307, 267}, Case{7, 5, 5},
                   Case{-1, 5, 5}}) {
        POINT p = OsdPosition(c.corner, 352, 288, 40, 16);
        EXPECT_EQ(p.x, c.x) << c.corner;
        EXPECT_EQ(p.y, c.y) << c.corner;
    }
    POINT p = OsdPosition(3, 352, 288, 40, 16);
    EXPECT_EQ(352 - (p.x + 40), 5);
    EXPECT_EQ(288 - (p.y + 16), 5);
}

TEST(DirectDrawDisplay, DrawsNothingWithoutAWindowOrCreate) {
    CDirectDraw display;
    uint8_t y[4] = {}, u[1] = {}, v[1] = {};
    EXPECT_EQ(display.DrawYuv(y, 2, u, v, 1, 1, 0, 0), -1);  // not created
    EXPECT_EQ(display.Create(2, 2), 0);
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi);       // no window: nothing to set up
    EXPECT_EQ(display.DrawYuv(y, 2, u, v, 1, 1, 0, 0), -1);
}

namespace {

const int kW = 352, kH = 288;

// Top-left quadrant red, top-right blue, bottom half black.
struct TestPicture {
    std::vector<uint8_t> y, u, v;
    TestPicture() : y(kW * kH), u(kW / 2 * kH / 2), v(kW / 2 * kH / 2) {
        for (int r = 0; r < kH; ++r)
            for (int c = 0; c < kW; ++c) y[size_t(r * kW + c)] = r < kH / 2 ? (c < kW / 2 ? 81 : 41) : 16;
        for (int r = 0; r < kH / 2; ++r)
            for (int c = 0; c < kW / 2; ++c) {
                bool top = r < kH / 4, left = c < kW / 4;
                u[size_t(r * kW / 2 + c)] = top ? (left ? 90 : 240) : 128;
                v[size_t(r * kW / 2 + c)] = top ? (left ? 240 : 110) : 128;
            }
    }
};

// What the screen shows of a window, read back as the multi-channel tests do.
using Screen = e2e::ScreenShot;
using e2e::Grab;

COLORREF ColorAt(const Screen& s, int x, int y) {
    uint32_t p = s.At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Pump(int ms) {
    DWORD end = GetTickCount() + DWORD(ms);
    while (GetTickCount() < end) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(10);
    }
}

bool Reddish(COLORREF c) { return GetRValue(c) > 160 && GetBValue(c) < 90; }
bool Bluish(COLORREF c) { return GetBValue(c) > 160 && GetRValue(c) < 90; }
bool Dark(COLORREF c) { return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40; }

class DisplayWindow : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        hwnd_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 60, 60, kW * 2, kH * 2, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd_, nullptr);
        Pump(300);
    }
    void TearDown() override { DestroyWindow(hwnd_); }
    HWND hwnd_ = nullptr;
};

}  // namespace

// 0: DirectDraw as the machine offers it; else the set-up step made to fail.
TEST_P(DisplayWindow, ShowsThePictureAndTheOsdCorner) {
    const int failStep = GetParam();
    ASSERT_NE(DisplayDevice::Shared().Make(), nullptr) << "no display device here";
    CDirectDraw display;
    display.SetWindow(hwnd_);
    display.FailSetupStep(failStep);
    display.SetOsd("REC 12:34", 3);
    ASSERT_EQ(display.Create(kW, kH), 0);
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi);   // the first picture, whatever comes after
    TestPicture pic;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        Pump(100);
    }
    EXPECT_EQ(display.Mode(), failStep ? CDirectDraw::kModeGdi : CDirectDraw::kModeDirectDraw)
        << "set-up result " << display.SetupResult();
    Screen s = Grab(hwnd_);
    if (getenv("ZARV_HOLD_WINDOW")) Pump(atoi(getenv("ZARV_HOLD_WINDOW")));
    // The picture is stretched over the window (GDI: less 2 pixels).
    EXPECT_TRUE(Reddish(ColorAt(s, s.width / 4, s.height / 4)));
    EXPECT_TRUE(Bluish(ColorAt(s, 3 * s.width / 4, s.height / 4)));
    EXPECT_TRUE(Dark(ColorAt(s, s.width / 4, 3 * s.height / 4)));
    // White text in the bottom-right corner only (the GDI path leaves the
    // last two rows and columns to the window).
    const int w = s.width - 2, h = s.height - 2;
    EXPECT_GT(s.WhiteIn(w - 200, h - 60, w, h), 20);
    EXPECT_EQ(s.WhiteIn(0, h / 2 + 10, w / 2, h), 0);
    EXPECT_EQ(s.WhiteIn(0, 0, w, h / 2), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, DisplayWindow, testing::Values(0, 2, 6, 7, 8));

// GDI keeps the canvas it draws the text on from one picture to the next:
// a new picture size must give a canvas of the new size, and text taken
// away must leave no trace.
TEST_F(DisplayWindow, GdiTextFollowsSizeChangesAndRemoval) {
    CDirectDraw display;
    display.SetWindow(hwnd_);
    display.FailSetupStep(6);
    TestPicture pic;
    // First a quarter-size picture (the red quadrant alone) with text top-left.
    display.SetOsd("REC 12:34", 0);
    ASSERT_EQ(display.Create(kW / 2, kH / 2), 0);
    ASSERT_EQ(display.Mode(), CDirectDraw::kModeGdi);
    EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    Pump(100);
    Screen s = Grab(hwnd_);
    EXPECT_TRUE(Reddish(ColorAt(s, s.width / 2, s.height / 2)));
    EXPECT_GT(s.WhiteIn(0, 0, s.width / 2, s.height / 4), 20);

    // Then the whole picture with the text bottom-right.
    display.SetOsd("REC 12:34", 3);
    ASSERT_EQ(display.Create(kW, kH), 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        Pump(100);
    }
    s = Grab(hwnd_);
    const int w = s.width - 2, h = s.height - 2;
    EXPECT_TRUE(Reddish(ColorAt(s, s.width / 4, s.height / 4)));
    EXPECT_TRUE(Bluish(ColorAt(s, 3 * s.width / 4, s.height / 4)));
    EXPECT_GT(s.WhiteIn(w - 200, h - 60, w, h), 20);
    EXPECT_EQ(s.WhiteIn(0, 0, w, h / 2), 0);

    // No text: none shows.
    display.SetOsd("", 3);
    EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    Pump(100);
    s = Grab(hwnd_);
    EXPECT_EQ(s.WhiteIn(0, 0, s.width - 2, s.height - 2), 0);
    EXPECT_TRUE(Dark(ColorAt(s, s.width / 4, 3 * s.height / 4)));
}

namespace {

// Making a device takes this long longer, as on a system where that is slow.
HRESULT WINAPI SlowCreate(GUID* driver, void** object, REFIID iid, IUnknown* outer) {
    Sleep(400);
    return DirectDrawCreateEx(driver, object, iid, outer);
}
HRESULT WINAPI FailedCreate(GUID*, void** object, REFIID, IUnknown*) {
    *object = nullptr;
    return DDERR_NODIRECTDRAWHW;
}

bool ShowsTestPicture(HWND hwnd) {
    Screen s = Grab(hwnd);
    return Reddish(ColorAt(s, s.width / 4, s.height / 4)) && Bluish(ColorAt(s, 3 * s.width / 4, s.height / 4)) &&
           Dark(ColorAt(s, s.width / 4, 3 * s.height / 4));
}

}  // namespace

// A display does not wait for the device to be made: its pictures show
// through GDI meanwhile, and through DirectDraw from the picture after the
// device is there. Two displays of one device share it (and its primary
// surface).
TEST_F(DisplayWindow, ShowsPicturesThroughGdiWhileTheDeviceIsMade) {
    DisplayDevice device(&SlowCreate);
    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 60 + kW * 2 + 10, 60, kW, kH,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    Pump(300);   // shown and painted before the pictures come
    CDirectDraw a, b;
    a.SetDevice(&device);
    b.SetDevice(&device);
    a.SetWindow(hwnd_);
    b.SetWindow(other);
    TestPicture pic;
    DWORD start = GetTickCount();
    ASSERT_EQ(a.Create(kW, kH), 0);
    ASSERT_EQ(b.Create(kW, kH), 0);
    EXPECT_LT(GetTickCount() - start, 200u) << "set-up waited for the device";
    EXPECT_EQ(a.Mode(), CDirectDraw::kModeGdi);
    EXPECT_EQ(a.SetupResult(), CDirectDraw::kSetupPending);
    EXPECT_EQ(a.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    EXPECT_EQ(b.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    Pump(100);
    EXPECT_TRUE(ShowsTestPicture(hwnd_)) << "nothing shown while the device is made";
    EXPECT_TRUE(ShowsTestPicture(other));

    for (int i = 0; i < 300 && !device.Ready(); ++i) Sleep(10);
    ASSERT_NE(device.Ready(), nullptr);
    // Each display sets DirectDraw up before its next picture.
    InvalidateRect(hwnd_, nullptr, TRUE);
    InvalidateRect(other, nullptr, TRUE);
    Pump(100);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(a.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        EXPECT_EQ(b.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        Pump(100);
    }
    EXPECT_EQ(a.Mode(), CDirectDraw::kModeDirectDraw) << "set-up result " << a.SetupResult();
    EXPECT_EQ(b.Mode(), CDirectDraw::kModeDirectDraw) << "set-up result " << b.SetupResult();
    EXPECT_TRUE(ShowsTestPicture(hwnd_));
    EXPECT_TRUE(ShowsTestPicture(other));
    EXPECT_EQ(device.MadeCount(), 1);
    a.ReleaseSurfaces();
    b.ReleaseSurfaces();
    DestroyWindow(other);
}

// Where no device can be made the displays stay with GDI, and making one
// is not tried again for every picture.
TEST_F(DisplayWindow, StaysWithGdiWhereNoDeviceCanBeMade) {
    DisplayDevice device(&FailedCreate);
    CDirectDraw display;
    display.SetDevice(&device);
    display.SetWindow(hwnd_);
    ASSERT_EQ(display.Create(kW, kH), 0);
    for (int i = 0; i < 500 && !device.Failed(); ++i) Sleep(10);   // made after a delay
    EXPECT_TRUE(device.Failed());
    TestPicture pic;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        Pump(100);
    }
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi);
    EXPECT_EQ(display.SetupResult(), -1);
    EXPECT_TRUE(ShowsTestPicture(hwnd_));
    EXPECT_EQ(device.Ready(), nullptr);
}

// The first picture after Create goes through GDI at once even where the
// device is there: a set-up waits for every other display's calls, and the
// first pictures of channels started together would wait for one another.
// The set-up comes before the next picture, which DirectDraw shows.
TEST_F(DisplayWindow, SetsUpDirectDrawBeforeThePictureAfterTheFirst) {
    DisplayDevice device(&DirectDrawCreateEx);
    ASSERT_NE(device.Make(), nullptr) << "no display device here";
    CDirectDraw display;
    display.SetDevice(&device);
    display.SetWindow(hwnd_);
    TestPicture pic;
    for (int size = 1; size <= 2; ++size) {   // again after a size change
        ASSERT_EQ(display.Create(kW / size, kH / size), 0);
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi) << size;
        EXPECT_EQ(display.SetupResult(), CDirectDraw::kSetupPending) << "set up after the first picture";
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        EXPECT_EQ(display.Mode(), CDirectDraw::kModeDirectDraw) << "set-up result " << display.SetupResult();
        Pump(100);
        EXPECT_TRUE(Reddish(ColorAt(Grab(hwnd_), kW / 4, kH / 4)));
        display.ReleaseSurfaces();
    }
}

namespace {

volatile LONG g_creates = 0;
HRESULT WINAPI CountedSlowCreate(GUID* driver, void** object, REFIID iid, IUnknown* outer) {
    InterlockedIncrement(&g_creates);
    return SlowCreate(driver, object, iid, outer);
}

DWORD WINAPI MakeDevice(void* device) {
    return static_cast<DisplayDevice*>(device)->Make() ? 1 : 0;
}

}  // namespace

// Displays, the warm-up and the device's own worker may all ask for the
// device at once: one object is made, and every asker gets it.
TEST(DisplayDevice, MakesOneObjectForCallersThatComeAtOnce) {
    g_creates = 0;
    DisplayDevice device(&CountedSlowCreate);
    device.MakeSoon();
    HANDLE threads[3];
    for (HANDLE& t : threads) t = CreateThread(nullptr, 0, &MakeDevice, &device, 0, nullptr);
    IDirectDraw7* mine = device.Make();
    ASSERT_EQ(WaitForMultipleObjects(3, threads, TRUE, 10000), WAIT_OBJECT_0);
    for (HANDLE t : threads) {
        DWORD made = 0;
        GetExitCodeThread(t, &made);
        EXPECT_EQ(made, 1u);
        CloseHandle(t);
    }
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(device.Ready(), mine);
    EXPECT_EQ(g_creates, 1);
    EXPECT_EQ(device.MadeCount(), 1);
}

// A display's first request has the device made a moment later, not at
// once: the first pictures of channels started together come first. A
// device destroyed before then makes none, and its destructor does not
// wait out the delay.
TEST(DisplayDevice, MakesTheObjectAfterTheDelayAskedFor) {
    g_creates = 0;
    DWORD start = GetTickCount();
    {
        DisplayDevice device(&CountedSlowCreate);
        device.MakeSoon(60000);
        Sleep(50);
        EXPECT_EQ(g_creates, 0);
    }
    EXPECT_LT(GetTickCount() - start, 5000u) << "the destructor waited out the delay";
    EXPECT_EQ(g_creates, 0);

    DisplayDevice device(&CountedSlowCreate);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CDirectDraw display;
    display.SetDevice(&device);
    display.SetWindow(window);
    start = GetTickCount();
    ASSERT_EQ(display.Create(kW, kH), 0);
    Sleep(100);
    EXPECT_EQ(g_creates, 0) << "made at once";
    for (int i = 0; i < 1000 && !device.Ready(); ++i) Sleep(10);
    ASSERT_NE(device.Ready(), nullptr);
    EXPECT_GE(GetTickCount() - start, CDirectDraw::kDeviceDelayMs);
    EXPECT_EQ(g_creates, 1);
    DestroyWindow(window);
}

// DirectDraw is looked up at run time: where the library is missing (or a
// Wine prefix turns it off for the program) the device cannot be made and
// the display shows its pictures through GDI from the first to the last.
TEST_F(DisplayWindow, DrawsThroughGdiWhereTheSystemHasNoDirectDraw) {
    EXPECT_NE(DisplayDevice::LookUpCreate(L"ddraw.dll"), nullptr);
    EXPECT_EQ(DisplayDevice::LookUpCreate(L"no-such-ddraw.dll"), nullptr);
    DisplayDevice device(DisplayDevice::LookUpCreate(L"no-such-ddraw.dll"));
    EXPECT_EQ(device.Make(), nullptr);
    EXPECT_TRUE(device.Failed());
    CDirectDraw display;
    display.SetDevice(&device);
    display.SetWindow(hwnd_);
    ASSERT_EQ(display.Create(kW, kH), 0);
    TestPicture pic;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
        Pump(100);
    }
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi);
    EXPECT_EQ(display.SetupResult(), -1);
    EXPECT_TRUE(ShowsTestPicture(hwnd_));
}

// A hidden window is neither drawn into nor set up for: a display whose
// device is there stays with GDI while its window is hidden, and sets up
// DirectDraw for the first picture once it is shown.
TEST_F(DisplayWindow, DoesNothingForAHiddenWindow) {
    DisplayDevice device(&DirectDrawCreateEx);
    ASSERT_NE(device.Make(), nullptr) << "no display device here";
    CDirectDraw display;
    display.SetDevice(&device);
    display.SetWindow(hwnd_);
    ASSERT_EQ(display.Create(kW, kH), 0);
    TestPicture pic;
    EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    ShowWindow(hwnd_, SW_HIDE);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeGdi);
    EXPECT_EQ(display.SetupResult(), CDirectDraw::kSetupPending);
    ShowWindow(hwnd_, SW_SHOWNA);
    Pump(100);
    EXPECT_EQ(display.DrawYuv(pic.y.data(), kW, pic.u.data(), pic.v.data(), kW / 2, 1, 0, 0), 0);
    EXPECT_EQ(display.Mode(), CDirectDraw::kModeDirectDraw) << "set-up result " << display.SetupResult();
    Pump(100);
    EXPECT_TRUE(ShowsTestPicture(hwnd_));
    display.ReleaseSurfaces();
}
