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
    s.scope = FromPanel(normal.scope);
    if (modes.mapShown) {
        s.page = FromPanel(normal.playback);
        return s;
    }
    // The page in the map's place, above the GPS panel; the scope panel
    // fills what the page leaves of the middle column down to the legend.
    s.page = FromPanel(PagePlaceForMap(0, 0, w, h, false, normal.gps.y));
    s.page.left += widened;
    if (s.page.bottom < s.scope.top)
        s.scope.top = s.page.bottom;
    return s;
}
