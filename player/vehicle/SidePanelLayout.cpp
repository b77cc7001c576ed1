#include "vehicle/SidePanelLayout.h"

#include "resource.h"

GpsPanelLayout ComputeGpsPanelLayout(int l, int t, int w, int h, const GpsTextWidths& texts)
{
    (void)h;
    GpsPanelLayout g = {};
    auto atLeast = [](int need, int least) { return need > least ? need : least; };
    const int row = 14, step = 18, gap = 4;
    // Left block: captions, values and units in columns.
    const int caption = atLeast(atLeast(texts.longitude, atLeast(texts.latitude, texts.speed)) + 2, 52);
    const int valueX = l + 3 + caption + gap;
    const int value = atLeast(texts.value + 4, 50);
    const int unitX = valueX + value + 2;
    const int unit = atLeast(texts.degree + 2, 13);
    const int speedUnit = atLeast(texts.speedUnit + 2, 13);
    const int fix = atLeast(texts.fix + 2, 51);
    const int position = atLeast(texts.position + 2, 115);
    int leftRight = unitX + atLeast(unit, speedUnit);
    leftRight = atLeast(leftRight, l + 3 + position);
    leftRight = atLeast(leftRight, l + 19 + fix);
    const int y0 = t + 3;
    g.positionCaption = {l + 3, y0, position, row};
    g.longitudeCaption = {l + 3, y0 + step, caption, row};
    g.longitudeEdit = {valueX, y0 + step, value, row};
    g.longitudeUnit = {unitX, y0 + step, unit, row};
    g.latitudeCaption = {l + 3, y0 + 2 * step, caption, row};
    g.latitudeEdit = {valueX, y0 + 2 * step, value, row};
    g.latitudeUnit = {unitX, y0 + 2 * step, unit, row};
    g.speedCaption = {l + 3, y0 + 3 * step, caption, row};
    g.speedEdit = {valueX, y0 + 3 * step, value, row};
    g.speedUnit = {unitX, y0 + 3 * step, speedUnit, row};
    g.fixBox = {l + 3, y0 + 4 * step, 14, 15};
    g.fixCaption = {l + 19, y0 + 4 * step, fix, 15};
    int bottom = y0 + 4 * step + 15;
    // The provider and the two buttons: right of the block, or under it.
    const int rightX = leftRight + 8;
    if (l + w - 3 - rightX >= 75) {
        g.mapProvider = {rightX, y0, 75, 17};
        g.mapButton = {rightX, y0 + 22, 75, 21};
        g.aboutButton = {rightX, y0 + 47, 60, 21};
        bottom = atLeast(bottom, y0 + 47 + 21);
    } else {
        const int y = bottom + 4;
        g.mapProvider = {l + 3, y, 75, 17};
        g.mapButton = {l + 82, y, 75, 21};
        g.aboutButton = {l + 161, y, 60, 21};
        bottom = y + 21;
    }
    // The track colours: the separator, then the caption and the radios
    // with their names in one row.
    g.separator = {l + 3, bottom + 4, 115, 1};
    const int ty = bottom + 8;
    const int track = atLeast(texts.track + 2, 30);
    g.trackCaption = {l + 3, ty, track, 13};
    const int firstX = l + 3 + track + gap;
    int x = firstX, y = ty;
    for (int k = 0; k < 4; ++k) {
        const int name = atLeast(texts.colourNames[k] + 2, 11);
        // A radio that would run past the right edge starts a second row.
        if (k > 0 && x + 14 + name > l + w - 3) {
            x = firstX;
            y += 16;
        }
        g.radios[k] = {x, y, 13, 13};
        g.colourNames[k] = {x + 14, y, name, 13};
        x += 14 + name + 4;
    }
    g.gauge = {l + 3, y + 18, 110, 64};
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

PanelRect PagePlaceForMap(int l, int t, int w, int h, bool mapShown, int gpsTop)
{
    const int x = l + 20 * w / 100 + 8;
    const int right = mapShown ? 77 * w / 100 + 5 : l + w - 5;
    int bottom = 84 * h / 100;
    // Over the map's column the page ends 2 pixels above the GPS panel,
    // as the map did.
    if (!mapShown && gpsTop != INT_MAX && gpsTop - 2 < bottom)
        bottom = gpsTop - 2;
    return {x, t, right - x, bottom - t};
}

LegendImages LegendImagesFor(int languageCode)
{
    if (languageCode == 1 || languageCode == 2)
        return {IDB_SPEED_LIT_CN, IDB_SPEED_DIM_CN, IDB_ACCEL_DIM_CN, IDB_ACCEL_LIT_CN};
    return {IDB_SPEED_LIT_EN, IDB_SPEED_DIM_EN, IDB_ACCEL_DIM_EN, IDB_ACCEL_LIT_EN};
}

LegendBarLayout ComputeLegendBarLayout(const RECT& c, int languageCode, int speedText)
{
    LegendBarLayout g = {};
    const int h = c.bottom - c.top;
    const int speed = speedText + 4 > 115 ? speedText + 4 : 115;
    g.speedLegend = {c.right - 14 - speed, c.top, speed, h};
    g.axisLegends[0] = {c.right - 153, c.top, 43, h};
    g.axisLegends[1] = {c.right - 105, c.top, 43, h};
    g.axisLegends[2] = {c.right - 57, c.top, 43, h};
    g.speedButton = {c.left, c.top, 38, h};
    g.accelButton = {c.left + 39, c.top, languageCode == 3 ? 58 : 45, h};
    return g;
}
