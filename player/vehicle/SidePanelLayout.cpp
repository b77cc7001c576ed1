#include "vehicle/SidePanelLayout.h"

#include "resource.h"

GpsPanelLayout ComputeGpsPanelLayout(int l, int t, int w, int h)
{
    GpsPanelLayout g = {};
    const int X = 107 + 5 * w / 100;
    const int Y = 20 + 8 * h / 100;
    g.mapProvider = {l + 150, t + 5, 75, 17};
    g.mapButton = {l + 150, t + 60, 75, 21};
    g.aboutButton = {l + 235, t + 60, 60, 21};
    g.trackCaption = {X, 2 + 8 * h / 100, 60, 13};
    for (int k = 0; k < 4; ++k) {
        g.radios[k] = {X + 28 * k, Y, 13, 13};
        g.colourNames[k] = {X + 28 * k + 14, Y, 11, 13};
    }
    g.separator = {X, 39 + 8 * h / 100, 115, 1};
    g.positionCaption = {3, 5, 115, 14};
    g.longitudeCaption = {3, 24, 52, 14};
    g.longitudeEdit = {57, 24, 50, 14};
    g.longitudeUnit = {109, 24, 13, 14};
    g.latitudeCaption = {3, 43, 52, 14};
    g.latitudeEdit = {57, 43, 50, 14};
    g.latitudeUnit = {109, 43, 13, 14};
    g.fixBox = {3, 63, 14, 15};
    g.fixCaption = {19, 64, 51, 15};
    g.speedCaption = {3, 85, 52, 14};
    g.speedEdit = {57, 85, 50, 14};
    g.speedUnit = {109, 85, 36, 14};
    g.gauge = {150, 85, 110, 64};
    return g;
}

int GaugeBitmap(int speed)
{
    static const int bands[7] = {IDB_GAUGE_0,  IDB_GAUGE_20,  IDB_GAUGE_40, IDB_GAUGE_60,
                                 IDB_GAUGE_80, IDB_GAUGE_100, IDB_GAUGE_120};
    if (speed < 20)
        return IDB_GAUGE_0;
    if (speed >= 140)
        return IDB_GAUGE_140;
    return bands[speed / 20];
}

GpsPanelImages GpsPanelImagesFor(int languageCode)
{
    switch (languageCode) {
    case 1: return {IDB_MAP_HIDE_SC, IDB_MAP_SHOW_SC, IDB_ABOUT_SC};
    case 2: return {IDB_MAP_HIDE_TC, IDB_MAP_SHOW_TC, IDB_ABOUT_TC};
    default: return {IDB_MAP_HIDE_EN, IDB_MAP_SHOW_EN, IDB_ABOUT_EN};
    }
}

PanelRect PagePlaceForMap(int l, int t, int w, int h, bool mapShown)
{
    const int x = l + 20 * w / 100 + 8;
    const int right = mapShown ? 77 * w / 100 + 5 : l + w - 5;
    return {x, t, right - x, 84 * h / 100 - t};
}

LegendImages LegendImagesFor(int languageCode)
{
    if (languageCode == 1 || languageCode == 2)
        return {IDB_SPEED_LIT_CN, IDB_SPEED_DIM_CN, IDB_ACCEL_DIM_CN, IDB_ACCEL_LIT_CN};
    return {IDB_SPEED_LIT_EN, IDB_SPEED_DIM_EN, IDB_ACCEL_DIM_EN, IDB_ACCEL_LIT_EN};
}

LegendBarLayout ComputeLegendBarLayout(const RECT& c, int languageCode)
{
    LegendBarLayout g = {};
    const int h = c.bottom - c.top;
    g.speedLegend = {c.right - 129, c.top, 115, h};
    g.axisLegends[0] = {c.right - 153, c.top, 43, h};
    g.axisLegends[1] = {c.right - 105, c.top, 43, h};
    g.axisLegends[2] = {c.right - 57, c.top, 43, h};
    g.speedButton = {c.left, c.top, 38, h};
    g.accelButton = {c.left + 39, c.top, languageCode == 3 ? 58 : 45, h};
    return g;
}
