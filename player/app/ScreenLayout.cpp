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
    s.page = modes.mapShown ? FromPanel(ComputeMainLayout(screenWidth, h).playback)
                            : FromPanel(PagePlaceForMap(0, 0, w, h, false));
    return s;
}
