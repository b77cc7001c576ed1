#include "playback/ControlBarLayout.h"

#include "playback/PaneLayout.h"
#include "resource.h"

namespace {

RECT Rect(int x, int y, int w, int h)
{
    return RECT{x, y, x + w, y + h};
}

}  // namespace

const BarItem* BarLayout::Find(int id) const
{
    for (const BarItem& item : items)
        if (item.id == id)
            return &item;
    return nullptr;
}

int BarGap(int width)
{
    if (width < 640)
        return 7;
    if (width > 1000)
        return 32;
    return 16;
}

namespace {

// How the bar's second row is spaced: the gaps after each transport
// button and before the rate label, between the tools, and the right edge
// of the rightmost tool; and whether the tools have a row of their own.
struct Spacing {
    int transportGap, rateGap, toolGap, toolsRight;
    bool toolRow;
};

const int kToolCount = 8;
const int kToolIds[kToolCount] = {IDC_CUT_AVI,    IDC_SNAPSHOT,   IDC_SIDE_PANELS, IDC_FULL_SCREEN,
                                  IDC_BAR_SPLIT16, IDC_BAR_SPLIT9, IDC_BAR_SPLIT4, IDC_BAR_SPLIT1};

Spacing SpacingFor(int l, int r)
{
    const int w = r - l;
    const int g = BarGap(w), h = g / 2;
    const Spacing wide = {h, w < 640 ? g + 3 : w <= 1000 ? h : g, g - 2, r - g - 142 + 22, false};
    const Spacing tight = {3, 3, 4, r - 127, false};
    for (const Spacing& s : {wide, tight}) {
        const int timeRight = l + 3 + 8 * 25 + 7 * s.transportGap + s.rateGap + 40 + 4 + kTimeLabelWidth;
        const int toolsLeft = s.toolsRight - kToolCount * 22 - (kToolCount - 1) * s.toolGap;
        if (timeRight + kTimeLabelMargin <= toolsLeft)
            return s;
    }
    // The tools on their own row: the others keep their own gaps.
    Spacing rows = wide;
    rows.toolGap = 4;
    rows.toolRow = true;
    return rows;
}

}  // namespace

int BarStripHeight(int width)
{
    return SpacingFor(0, width).toolRow ? kControlStripHeight + kToolRowHeight : kControlStripHeight;
}

BarLayout ComputeBarLayout(const RECT& client)
{
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    const int w = r - l;
    const Spacing s = SpacingFor(l, r);
    BarLayout out;
    auto add = [&out](int id, RECT rect, bool shown = true) { out.items.push_back({id, rect, shown}); };

    add(IDC_POSITION_SLIDER, Rect(l - 6, t + 1, w + 14, 20));

    const int captions[6] = {IDC_CAPTION_PLAY, IDC_CAPTION_STOP,     IDC_CAPTION_FAST,
                             IDC_CAPTION_BACK, IDC_CAPTION_ROLLBACK, IDC_CAPTION_NEXT_FRAME};
    for (int i = 0; i < 6; ++i)
        add(captions[i], Rect(l + 6 + 92 * i, b - 2 - 20, 90, 20));

    const int transport[8] = {IDC_PLAY,   IDC_PAUSE,  IDC_STOP,          IDC_REWIND,
                              IDC_FASTER, IDC_SLOWER, IDC_PREVIOUS_FILE, IDC_NEXT_FILE};
    int x = l + 3;
    for (int id : transport) {
        add(id, Rect(x, t + 22, 25, 25));
        x += 25 + s.transportGap;
    }
    const int nextRight = x - s.transportGap;
    const RECT rate = Rect(nextRight + s.rateGap, t + 24, 40, 21);
    add(IDC_RATE_LABEL, rate);
    add(IDC_TIME_LABEL, Rect(rate.right + 4, t + 24, kTimeLabelWidth, 21));

    add(IDC_VOLUME_SLIDER, Rect(r - 105, t + 24, 100, 20));
    add(IDC_SOUND, Rect(r - 122, t + 26, 12, 12));

    // The tools, right to left beside the volume, or from the right on a
    // row of their own under the buttons where one row has no room.
    const int y = s.toolRow ? t + kControlStripHeight : t + 24;
    int right = s.toolRow ? r - 5 : s.toolsRight;
    for (int id : kToolIds) {
        add(id, Rect(right - 22, y, 22, 22));
        right -= 22 + s.toolGap;
    }
    return out;
}

RECT FullScreenPageRect(const RECT& clientOnScreen, const RECT& screen)
{
    RECT shown = {};
    if (!::IntersectRect(&shown, &clientOnScreen, &screen))
        shown = clientOnScreen;
    ::OffsetRect(&shown, -clientOnScreen.left, -clientOnScreen.top);
    return shown;
}

RECT SidePanelPageRect(const RECT& mainClient, int windowsVersion)
{
    const int width = mainClient.right - mainClient.left;
    return RECT{width * 20 / 100 + 7, mainClient.top, windowsVersion == 5 ? mainClient.right : mainClient.right - 2,
                mainClient.bottom};
}
