// Reading the information frames of a playing recording: speed, position,
// heading and G-sensor values out of the 48 bytes, the filters that decide
// which frames move the map and the GPS panel, and the texts those show.
// No window here: the playback control hands each frame over and applies
// what comes back (VehicleDisplay.h).
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>
#include <string>

// Map coordinates of a GPS position (the map library's converter, or a
// test's): reserved, longitude, latitude, mode, out x, out y; 0 = done.
typedef int(__stdcall* GpsConverter)(int, double, double, int, double*, double*);

struct InfoFrameSettings {
    int languageCode = 1;  // 3: English, speeds in miles per hour
    int gpsFix = 0;        // non-zero: map coordinates through the converter
    int mapSelect = 0;     // 3: the second map provider
    std::string speedWord = "speed";  // the map balloon's caption, UTF-8
};

// What carries from one frame to the next.
struct InfoFrameState {
    // Of one opened group (ResetForOpen):
    int fractionDigits = -1;   // digits of the minute fractions; -1 none yet
    bool digitsGiven = false;  // a frame gave the count itself
    int digitGuessFrames = 0;  // frames looked at to guess a missing count
    bool hasPrevious = false;  // the jump test's last point
    double previousLat = 0, previousLon = 0;
    int previousClock = -1;    // its frame's second of the day; -1 unknown
    bool hasShown = false;     // the position the GPS panel shows
    double shownLat = 0, shownLon = 0;
    bool holding = false;      // the last fix was held back
    // Of the process:
    bool tickTaken = false;    // the tick of the last fix
    uint32_t lastTick = 0;
    int lastDirection = 0;     // the last compass sector

    void ResetForOpen();
};

struct InfoFrameReading {
    bool complete = false;      // a whole frame; a shorter block gives nothing
    unsigned speedKmh = 0;
    int speed = 0;              // in the shown unit: km/h, or mph in English
    double accel[3] = {};       // x, y, z: the signed bytes x 0.625
    bool fix = false;           // taken as a position fix: 'A', 100 ms after the last
    bool positionValid = false;
    double latitude = 0, longitude = 0;  // signed degrees
    bool showPosition = false;  // a fix with a valid position that is no jump
    // What the GPS panel shows ("%.4lf"): this position, or the one held.
    std::string longitudeText, latitudeText;
    // The map's ("%.6lf", converted when the GPS-fix setting is on).
    std::string mapX, mapY;
    int direction = 0;          // compass sector 0-7
    std::string speedText, balloon;
};

// Reads one information block of `length` bytes. `tick` is the system's
// millisecond tick now; `resyncPosition`, set after a seek or a restart,
// shows the next fix without holding it and is cleared by it.
InfoFrameReading ReadInfoFrame(const uint8_t* data, size_t length, const InfoFrameSettings& settings,
                               uint32_t tick, int& resyncPosition, InfoFrameState& state,
                               GpsConverter convert);

// The compass sector 0-7 (0 north, 2 east ...) of a heading in hundredths
// of a degree.
int HeadingToDirection(unsigned heading);
// Great-circle distance between two positions in degrees, in metres.
double GpsDistanceMeters(double lat1, double lon1, double lat2, double lon2);
// The second of the day a frame's clock gives (bytes 3-5), or -1 when it
// gives none.
int FrameClock(const uint8_t* frame);
// How far the vehicle may have moved between two frames `seconds` apart
// before the second counts as a jump: 300 m, and what the fastest vehicle
// covers in that time. Fast play shows frames seconds of driving apart.
double JumpLimitMeters(int seconds);
// True when (lat, lon) of a frame whose clock reads `clock` (FrameClock)
// lies farther from the last point tested than the time between the two
// frames allows (JumpLimitMeters; an unknown clock allows no time); the
// point becomes the last one in every case.
bool IsGpsJump(InfoFrameState& state, double lat, double lon, int clock);

// "mm:ss" of a play time in milliseconds.
std::wstring PlayTimeText(int ms);
