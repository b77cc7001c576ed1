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
                                 const RECT& screen, int windowsVersion)
{
    const int w = clientOnScreen.right - clientOnScreen.left, h = clientOnScreen.bottom - clientOnScreen.top;
    ScreenLayout s = {};
    if (modes.fullScreen) {
        s.page = FullScreenPageRect(clientOnScreen, screen);
        return s;
    }
    s.leftColumn = true;
    if (modes.sidePanelsHidden) {
        s.page = SidePanelPageRect(RECT{0, 0, w, h}, windowsVersion);
        return s;
    }
    s.sidePanels = true;
    s.map = modes.mapShown;
    const MainLayout m = ComputeMainLayout(screenWidth, h);
    s.scope = FromPanel(m.scope);
    if (modes.mapShown) {
        s.page = FromPanel(m.playback);
        return s;
    }
    // The page in the map's place, above the GPS panel; the scope panel
    // fills what the page leaves of the middle column down to the legend.
    s.page = FromPanel(PagePlaceForMap(0, 0, w, h, false, m.gps.y));
    if (s.page.bottom < s.scope.top)
        s.scope.top = s.page.bottom;
    return s;
}
