#include "app/ScreenLayout.h"

#include "app/MainLayout.h"
#include "playback/ControlBarLayout.h"
#include "vehicle/SidePanelLayout.h"

namespace {

RECT FromPanel(const PanelRect& p)
{
    return RECT{p.x, p.y, p.x + p.w, p.y + p.h};
}

}  // namespace

ScreenLayout ComputeScreenLayout(const ScreenModes& modes, int screenWidth, const RECT& clientOnScreen,
                                 const RECT& screen, int windowsVersion, const ListWidths& list)
{
    const int w = clientOnScreen.right - clientOnScreen.left, h = clientOnScreen.bottom - clientOnScreen.top;
    ScreenLayout s = {};
    if (modes.fullScreen) {
        s.page = FullScreenPageRect(clientOnScreen, screen);
        return s;
    }
    s.leftColumn = true;
    // Where the left column widens for the recording list, a page grown
    // over the side panels' places starts further right by as much.
    const MainLayout normal = ComputeMainLayout(screenWidth, h, list);
    const int widened = normal.left - ComputeMainLayout(screenWidth, h).left;
    if (modes.sidePanelsHidden) {
        s.page = SidePanelPageRect(RECT{0, 0, w, h}, windowsVersion);
        s.page.left += widened;
        return s;
    }
    s.sidePanels = true;
    s.map = modes.mapShown;
    s.page = modes.mapShown ? FromPanel(normal.playback) : FromPanel(PagePlaceForMap(0, 0, w, h, false));
    if (!modes.mapShown)
        s.page.left += widened;
    return s;
}
