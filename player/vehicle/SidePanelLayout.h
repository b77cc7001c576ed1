// Where the GPS panel and the scope legend bar put their controls, which
// images they show in each language, and where the playback page goes when
// the map is folded away or shown again (integer maths).
#pragma once

#include "app/MainLayout.h"

#include <climits>

struct GpsPanelLayout {
    PanelRect mapProvider;      // 311
    PanelRect mapButton;        // 759
    PanelRect aboutButton;      // 769
    PanelRect trackCaption;     // 533
    PanelRect radios[4];        // 493-496
    PanelRect colourNames[4];   // 500-503
    PanelRect separator;        // 504
    PanelRect positionCaption;  // 534
    PanelRect longitudeCaption, longitudeEdit, longitudeUnit;  // 535, 305, 537
    PanelRect latitudeCaption, latitudeEdit, latitudeUnit;     // 536, 306, 538
    PanelRect fixBox, fixCaption;                              // 559, 560
    // Fixed places: the speed row under the position and the gauge
    // beside it.
    PanelRect speedCaption, speedEdit, speedUnit;              // 527, 308, 541
    PanelRect gauge;                                           // 492
};

// What the panel's texts need, in pixels, in the font they are drawn with
// (0 where nothing is known).
struct GpsTextWidths {
    int position;                       // 534
    int longitude, latitude, speed;     // 535, 536, 527
    int value;                          // the widest value an edit shows
    int degree, speedUnit;              // 537/538, 541
    int fix;                            // 560
    int track;                          // 533
    int colourNames[4];                 // 500-503
};

// The panel's height: every control above its bottom edge.
const int kGpsPanelHeight = 224;

// For the client rectangle's left, top, width and height. The position,
// speed and correction rows from the top left, each caption as wide as
// its text; the map provider and the two buttons right of them (or under
// them where the panel is too narrow); the track colours under both, the
// gauge under those; nothing lower than kGpsPanelHeight.
GpsPanelLayout ComputeGpsPanelLayout(int l, int t, int w, int h, const GpsTextWidths& texts = {});

// The gauge's bitmap for a speed: one per band of 20, 140 and above one.
int GaugeBitmap(int speed);

// The GPS panel's language images: the map button while the map is shown
// and while it is folded away, and the About button.
struct GpsPanelImages {
    int mapShown, mapHidden, about;
};
GpsPanelImages GpsPanelImagesFor(int languageCode);

// The playback page's place in the main dialog's client rectangle (left,
// top, width, height) when the map has just been folded away or shown.
// Folded away, the page takes the map's place and never reaches the GPS
// panel under it (gpsTop: the panel's top edge in the same coordinates),
// so that the panel's map button stays in sight and can show the map again.
PanelRect PagePlaceForMap(int l, int t, int w, int h, bool mapShown, int gpsTop = INT_MAX);

// The legend bar's chart buttons, lit and dim, in a language.
struct LegendImages {
    int speedLit, speedDim, accelDim, accelLit;
};
LegendImages LegendImagesFor(int languageCode);

struct LegendBarLayout {
    PanelRect speedLegend;      // 542
    PanelRect axisLegends[3];   // 543-545
    PanelRect speedButton;      // 456
    PanelRect accelButton;      // 457
};
// For the client rectangle; English needs a wider acceleration button.
// speedText: the speed legend's text width (it gets at least 115 pixels).
LegendBarLayout ComputeLegendBarLayout(const RECT& client, int languageCode, int speedText = 0);
