#include "playback/ControlBarLayout.h"

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

BarLayout ComputeBarLayout(const RECT& client)
{
    const int l = client.left, t = client.top, r = client.right, b = client.bottom;
    const int w = r - l;
    const int g = BarGap(w), h = g / 2;
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
        x += 25 + h;
    }
    const int nextRight = x - h;
    const int rateX = nextRight + (w < 640 ? g + 3 : w <= 1000 ? h : g);
    const RECT rate = Rect(rateX, t + 24, 40, 21);
    add(IDC_RATE_LABEL, rate);
    const RECT time = Rect(rate.right + 4, t + 24, kTimeLabelWidth, 21);
    add(IDC_TIME_LABEL, time);

    add(IDC_VOLUME_SLIDER, Rect(r - 105, t + 24, 100, 20));
    add(IDC_SOUND, Rect(r - 122, t + 26, 12, 12));

    // The tool group, right to left; the level at which each one is dropped
    // for room (0: never).
    struct Tool {
        int id;
        int dropLevel;
    };
    const Tool tools[7] = {{IDC_CUT_AVI, 2},      {IDC_SNAPSHOT, 2},  {IDC_SIDE_PANELS, 0}, {IDC_FULL_SCREEN, 0},
                           {IDC_BAR_SPLIT9, 1},   {IDC_BAR_SPLIT4, 1}, {IDC_BAR_SPLIT1, 1}};
    const int firstX = r - g - 142;
    auto leftEdge = [&](int level) {
        int right = firstX + 22, left = right;
        for (const Tool& tool : tools) {
            if (tool.dropLevel != 0 && tool.dropLevel <= level)
                continue;
            left = right - 22;
            right = left - (g - 2);
        }
        return left;
    };
    int level = 0;
    while (level < 2 && time.right + kTimeLabelMargin > leftEdge(level))
        ++level;
    int right = firstX + 22;
    for (const Tool& tool : tools) {
        const bool shown = tool.dropLevel == 0 || tool.dropLevel > level;
        if (!shown) {
            add(tool.id, Rect(0, 0, 0, 0), false);
            continue;
        }
        add(tool.id, Rect(right - 22, t + 24, 22, 22));
        right -= 22 + g - 2;
    }
    add(IDC_BAR_SPLIT16, Rect(0, 0, 0, 0), false);
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
