#include "vehicle/InfoFrameReading.h"

#include "InfoFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using recwriter::InfoFields;

namespace {

// A frame with a fix at (lat, lon), four fraction digits.
InfoFields At(double lat, double lon)
{
    InfoFields f;
    recwriter::SetLatitude(f, lat, 4);
    recwriter::SetLongitude(f, lon, 4);
    f.speedKmh = 40;
    return f;
}

// Reads frames one after another, 200 ms apart.
struct Reader {
    InfoFrameSettings settings;
    InfoFrameState state;
    int resync = 0;
    uint32_t tick = 5000;
    GpsConverter convert = nullptr;

    InfoFrameReading Read(const InfoFields& f, size_t length = 48)
    {
        std::vector<uint8_t> b = recwriter::InfoBlock(f, length);
        tick += 200;
        return ReadInfoFrame(b.data(), b.size(), settings, tick, resync, state, convert);
    }
};

struct Converted {
    double lon = 0, lat = 0;
    int mode = 0;
} g_converted;

int __stdcall FakeConvert(int, double lon, double lat, int mode, double* x, double* y)
{
    g_converted = {lon, lat, mode};
    *x = lon + 0.5;
    *y = lat + 0.25;
    return 0;
}

}  // namespace

TEST(InfoFrameReading, PositionsAndTheirLimits)
{
    struct Case {
        const char* what;
        InfoFields fields;
        bool valid;
        double lat, lon;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, bool valid, double lat, double lon, auto change) {
        InfoFields f;
        f.latDegrees = 22, f.latMinutes = 32, f.latFraction = 5000;
        f.lonDegrees = 113, f.lonMinutes = 57, f.lonFraction = 1200;
        change(f);
        cases.push_back({what, f, valid, lat, lon});
    };
    const double lat0 = 22 + 32.5 / 60, lon0 = 113 + 57.12 / 60;
    add("22°32.5000'N 113°57.1200'E", true, lat0, lon0, [](InfoFields&) {});
    add("130°E reads past a signed byte", true, lat0, 130 + 57.12 / 60, [](InfoFields& f) { f.lonDegrees = 130; });
    add("180°E", true, lat0, 180, [](InfoFields& f) { f.lonDegrees = 180, f.lonMinutes = 0, f.lonFraction = 0; });
    add("S and W", true, -lat0, -lon0, [](InfoFields& f) { f.latHemisphere = 'S', f.lonHemisphere = 'W'; });
    add("count 2: hundredths", true, 22 + 32.12 / 60, 113 + 57.34 / 60,
        [](InfoFields& f) { f.fractionDigits = 2, f.latFraction = 12, f.lonFraction = 34; });
    add("count 6", true, 22 + 32.000012 / 60, lon0,
        [](InfoFields& f) { f.fractionDigits = 6, f.latFraction = 12, f.lonFraction = 120000; });
    add("minutes 75", false, 0, 0, [](InfoFields& f) { f.latMinutes = 75; });
    add("latitude 91", false, 0, 0, [](InfoFields& f) { f.latDegrees = 91; });
    add("latitude 90°00.0001'", false, 0, 0, [](InfoFields& f) { f.latDegrees = 90, f.latMinutes = 0, f.latFraction = 1; });
    add("longitude 181", false, 0, 0, [](InfoFields& f) { f.lonDegrees = 181; });
    add("negative fraction", false, 0, 0, [](InfoFields& f) { f.lonFraction = -5; });
    add("fraction of 5 digits with count 4", false, 0, 0, [](InfoFields& f) { f.latFraction = 10000; });
    for (const Case& c : cases) {
        Reader r;
        InfoFrameReading got = r.Read(c.fields);
        ASSERT_TRUE(got.complete) << c.what;
        EXPECT_TRUE(got.fix) << c.what;
        EXPECT_EQ(got.positionValid, c.valid) << c.what;
        EXPECT_EQ(got.showPosition, c.valid) << c.what;
        if (!c.valid)
            continue;
        EXPECT_NEAR(got.latitude, c.lat, 1e-9) << c.what;
        EXPECT_NEAR(got.longitude, c.lon, 1e-9) << c.what;
        char lat[32], lon[32];
        std::snprintf(lat, sizeof lat, "%.4lf", c.lat);
        std::snprintf(lon, sizeof lon, "%.6lf", c.lon);
        EXPECT_EQ(got.latitudeText, lat) << c.what;
        EXPECT_EQ(got.mapX, lon) << c.what;
    }
}

TEST(InfoFrameReading, TheFirstExampleShowsAsThePanelsText)
{
    Reader r;
    InfoFrameReading got = r.Read(At(22 + 32.5 / 60, 113.5));
    EXPECT_EQ(got.latitudeText, "22.5417");
    EXPECT_EQ(got.longitudeText, "113.5000");
    EXPECT_EQ(got.mapY, "22.541667");
}

TEST(InfoFrameReading, AMissingDigitCountIsGuessedAndOnlyGrows)
{
    struct Case {
        unsigned count;         // byte 28
        int32_t latFraction, lonFraction;
        int digits;             // the count in use after the frame
    } cases[] = {
        {0, 12345, 678, 5},     // a five-digit fraction: 678 reads 0.00678
        {0, 1234, 678, 4},
        {0, 123456, 0, 6},
        {200, 12345, 0, 5},     // 128-255 are no count
        {7, 1234, 0, 4},
        {3, 123, 0, 3},         // a count of its own is taken as it is
    };
    for (const Case& c : cases) {
        Reader r;
        InfoFields f;
        f.latDegrees = 10;
        f.lonDegrees = 20;
        f.latFraction = c.latFraction;
        f.lonFraction = c.lonFraction;
        f.fractionDigits = c.count;
        InfoFrameReading got = r.Read(f);
        EXPECT_EQ(r.state.fractionDigits, c.digits) << c.count << " " << c.latFraction;
        double scale = std::pow(10.0, c.digits);
        EXPECT_NEAR(got.longitude, 20 + c.lonFraction / scale / 60, 1e-9) << c.count << " " << c.latFraction;
    }
    // Later frames with smaller fractions keep the five digits.
    Reader r;
    InfoFields f = At(10, 20);
    f.fractionDigits = 0;
    f.latFraction = 54321;
    r.Read(f);
    f.latFraction = 678;
    InfoFrameReading got = r.Read(f);
    EXPECT_EQ(r.state.fractionDigits, 5);
    EXPECT_NEAR(got.latitude, 10 + 0.00678 / 60, 1e-12);
    // After 180 frames the guess stops: a six-digit fraction no longer fits.
    for (int i = 0; i < 180; ++i)
        r.Read(f);
    f.latFraction = 123456;
    got = r.Read(f);
    EXPECT_EQ(r.state.fractionDigits, 5);
    EXPECT_FALSE(got.positionValid);
}

TEST(InfoFrameReading, SpeedUnitsAndGSensorValues)
{
    InfoFields f = At(30, 120);
    f.speedKmh = 100;
    f.accel[0] = -8;
    f.accel[1] = 16;
    f.accel[2] = -128;
    Reader chinese;
    InfoFrameReading got = chinese.Read(f);
    EXPECT_EQ(got.speed, 100);
    EXPECT_EQ(got.speedText, "100KMH");
    chinese.settings.speedWord = "速度";
    got = chinese.Read(f);
    EXPECT_EQ(got.balloon, "<span class ='b'>速度:</span>100 km/h <marquee width=25></marquee>");
    EXPECT_DOUBLE_EQ(got.accel[0], -5.0);
    EXPECT_DOUBLE_EQ(got.accel[1], 10.0);
    EXPECT_DOUBLE_EQ(got.accel[2], -80.0);

    Reader english;
    english.settings.languageCode = 3;
    got = english.Read(f);
    EXPECT_EQ(got.speedKmh, 100u);
    EXPECT_EQ(got.speed, 62);  // 62.5 cut to 62
    EXPECT_EQ(got.speedText, "62MPH");
    EXPECT_EQ(got.balloon, "<span class ='b'>speed:</span>62 mile/h <marquee width=25></marquee>");
}

TEST(InfoFrameReading, TheGpsFixSettingConvertsSignedPositions)
{
    Reader r;
    r.settings.gpsFix = 1;
    r.settings.mapSelect = 3;
    r.convert = FakeConvert;
    InfoFrameReading got = r.Read(At(-33.5, -70.25));
    EXPECT_DOUBLE_EQ(g_converted.lat, -33.5);
    EXPECT_DOUBLE_EQ(g_converted.lon, -70.25);
    EXPECT_EQ(g_converted.mode, 2);
    EXPECT_EQ(got.mapX, "-69.750000");
    EXPECT_EQ(got.mapY, "-33.250000");
    EXPECT_EQ(got.longitudeText, "-70.2500");  // the panel shows the position itself
    r.settings.mapSelect = 0;
    r.Read(At(-33.5, -70.25));
    EXPECT_EQ(g_converted.mode, 1);
    // Without the setting the converter is not asked.
    g_converted = {};
    r.settings.gpsFix = 0;
    got = r.Read(At(-33.5, -70.25));
    EXPECT_EQ(g_converted.mode, 0);
    EXPECT_EQ(got.mapX, "-70.250000");
}

TEST(InfoFrameReading, FixesComeOnlyWithAnAAndAtMostEvery100Ms)
{
    Reader r;
    InfoFields f = At(30, 120);
    std::vector<uint8_t> b = recwriter::InfoBlock(f);
    int resync = 0;
    auto read = [&](uint32_t tick) { return ReadInfoFrame(b.data(), b.size(), r.settings, tick, resync, r.state, nullptr); };
    EXPECT_TRUE(read(1000).fix);
    EXPECT_FALSE(read(1040).fix);
    EXPECT_FALSE(read(1099).fix);
    EXPECT_TRUE(read(1100).fix);
    EXPECT_TRUE(read(0xFFFFFFF0u).fix);  // the tick count wraps
    EXPECT_TRUE(read(0x60).fix);
    f.fix = 'V';
    b = recwriter::InfoBlock(f);
    InfoFrameReading got = read(0x200);
    EXPECT_FALSE(got.fix);
    EXPECT_FALSE(got.showPosition);
    EXPECT_TRUE(got.positionValid);
    EXPECT_EQ(got.speed, 40);
}

TEST(InfoFrameReading, AJumpMovesNothingButTheFramesSamples)
{
    Reader r;
    const double lat = 30, lon = 120, km2 = 2.0 / 111.32;
    EXPECT_TRUE(r.Read(At(lat, lon)).showPosition);
    EXPECT_TRUE(r.Read(At(lat + 0.0005, lon)).showPosition);
    // An outlier 2 km off: not on the map or the panel, but its speed and
    // G values are read; the frame after it is 2 km from it in turn.
    InfoFields outlier = At(lat + km2, lon);
    outlier.speedKmh = 55;
    outlier.accel[2] = 16;
    InfoFrameReading got = r.Read(outlier);
    EXPECT_TRUE(got.complete);
    EXPECT_FALSE(got.showPosition);
    EXPECT_EQ(got.speed, 55);
    EXPECT_DOUBLE_EQ(got.accel[2], 10.0);
    EXPECT_FALSE(r.Read(At(lat + 0.0006, lon)).showPosition);
    got = r.Read(At(lat + 0.0007, lon));
    EXPECT_TRUE(got.showPosition);
    EXPECT_EQ(got.latitudeText, "30.0007");
    // A gap of 2 km (a tunnel): the first frame after it is dropped, the
    // next one shows.
    EXPECT_FALSE(r.Read(At(lat + km2, lon)).showPosition);
    EXPECT_TRUE(r.Read(At(lat + km2 + 0.0001, lon)).showPosition);
    // Frames without a fix are not tested: they leave the last point as it is.
    InfoFields noFix = At(lat, lon);
    noFix.fix = 'V';
    r.Read(noFix);
    EXPECT_TRUE(r.Read(At(lat + km2 + 0.0002, lon)).showPosition);
}

TEST(InfoFrameReading, ThePanelHoldsOneFarFixAtMost)
{
    Reader r;
    r.Read(At(30, 120));
    // 0.002° (about 220 m) on: held once, then shown.
    InfoFrameReading got = r.Read(At(30.002, 120));
    EXPECT_TRUE(got.showPosition);
    EXPECT_EQ(got.latitudeText, "30.0000");
    EXPECT_EQ(got.mapY, "30.002000");  // the map follows the frames
    got = r.Read(At(30.0021, 120));
    EXPECT_EQ(got.latitudeText, "30.0021");
    // Fast play: every fix far from the last one; every other one shows.
    got = r.Read(At(30.0041, 120));
    EXPECT_EQ(got.latitudeText, "30.0021");
    got = r.Read(At(30.0061, 120));
    EXPECT_EQ(got.latitudeText, "30.0061");
    // After a seek the next fix shows at once, and the request is used up.
    r.resync = 1;
    got = r.Read(At(30.0081, 120));
    EXPECT_EQ(got.latitudeText, "30.0081");
    EXPECT_EQ(r.resync, 0);
    got = r.Read(At(30.0101, 120));
    EXPECT_EQ(got.latitudeText, "30.0081");
}

TEST(InfoFrameReading, ANewOpenForgetsThePositionsOfTheLast)
{
    Reader r;
    InfoFields f = At(30, 120);
    f.fractionDigits = 0;
    f.latFraction = 12345;
    r.Read(f);
    r.Read(At(30.0001, 120));
    ASSERT_EQ(r.state.fractionDigits, 4);  // given by the second frame
    r.state.lastDirection = 3;
    r.state.ResetForOpen();
    EXPECT_EQ(r.state.fractionDigits, -1);
    EXPECT_FALSE(r.state.digitsGiven);
    EXPECT_EQ(r.state.lastDirection, 3);  // kept: it stands in while the vehicle stands
    // A recording 2 km away shows at once: no jump, no hold.
    InfoFrameReading got = r.Read(At(30.018, 120));
    EXPECT_TRUE(got.showPosition);
    EXPECT_EQ(got.latitudeText, "30.0180");
}

TEST(InfoFrameReading, AShortBlockGivesNothing)
{
    Reader r;
    r.Read(At(30, 120));
    InfoFrameState before = r.state;
    InfoFrameReading got = r.Read(At(31, 121), 20);
    EXPECT_FALSE(got.complete);
    EXPECT_FALSE(got.showPosition);
    EXPECT_EQ(got.speed, 0);
    EXPECT_EQ(r.state.lastTick, before.lastTick);
    EXPECT_EQ(r.state.shownLat, before.shownLat);
    int resync = 0;
    EXPECT_FALSE(ReadInfoFrame(nullptr, 48, r.settings, 1, resync, r.state, nullptr).complete);
}

TEST(InfoFrameReading, DirectionFollowsTheHeadingWhileMoving)
{
    Reader r;
    InfoFields f = At(30, 120);
    f.heading = 9000;
    EXPECT_EQ(r.Read(f).direction, 2);
    f.speedKmh = 0;
    f.heading = 27000;
    EXPECT_EQ(r.Read(f).direction, 2);  // standing: the last direction
    f.speedKmh = 1;
    EXPECT_EQ(r.Read(f).direction, 6);
}

TEST(HeadingToDirection, Sectors)
{
    struct Case {
        unsigned heading;
        int sector;
    } cases[] = {{0, 0},     {2250, 0},  {2299, 0},  {2300, 1},  {6799, 1},  {6800, 2},  {9000, 2},
                 {18000, 4}, {24799, 5}, {24800, 6}, {33799, 7}, {33800, 0}, {35999, 0}, {65535, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(HeadingToDirection(c.heading), c.sector) << c.heading;
}

TEST(GpsDistanceMeters, OneDegreeOfLatitudeAndTheJumpLimit)
{
    EXPECT_NEAR(GpsDistanceMeters(30, 120, 31, 120), 111319.5 + 0.5, 1.0);
    EXPECT_NEAR(GpsDistanceMeters(0, 0, 0, 0), 0.5, 1e-9);
    // A degree of longitude on the equator is as long; at 60° half of it.
    EXPECT_NEAR(GpsDistanceMeters(0, 10, 0, 11), 111320.0, 1.0);
    EXPECT_NEAR(GpsDistanceMeters(60, 10, 60, 11), 55660.0, 2.0);
    // 299 m is no jump, 300 m is (the distance counts half a metre more).
    const double perMetre = 1 / 111319.49;
    InfoFrameState s;
    s.previousLat = 30;
    s.previousLon = 120;
    EXPECT_FALSE(IsGpsJump(s, 30 + 299 * perMetre, 120, -1));
    EXPECT_DOUBLE_EQ(s.previousLat, 30 + 299 * perMetre);
    EXPECT_TRUE(IsGpsJump(s, 30 + 299 * perMetre + 300 * perMetre, 120, -1));
    EXPECT_TRUE(IsGpsJump(s, NAN, 120, -1));  // a distance that does not compare
}

// The jump limit grows with the time between the two frames by their own
// clocks, either way round and over midnight; frames without a clock
// allow no time.
TEST(IsGpsJump, TheLimitAllowsForTheTimeBetweenFrames)
{
    const double perMetre = 1 / 111319.49;
    const int h8 = 8 * 3600, midnight = 24 * 3600;
    struct Case {
        const char* what;
        int clock0, clock1;
        double metres;
        bool jump;
    } cases[] = {
        {"same second, 299 m", h8, h8, 299, false},
        {"same second, 300 m", h8, h8, 300, true},
        {"next second, 2 km", h8, h8 + 1, 2000, true},
        {"next second, 400 m", h8, h8 + 1, 400, true},
        {"10 s on at 130 km/h", h8, h8 + 10, 361, false},
        {"10 s back at 130 km/h", h8 + 10, h8, 361, false},
        {"10 s on, 2 km", h8, h8 + 10, 2000, true},
        {"over midnight, 10 s", midnight - 5, 5, 361, false},
        {"no clock, 361 m", -1, h8 + 10, 361, true},
    };
    for (const Case& c : cases) {
        InfoFrameState s;
        s.hasPrevious = true;
        s.previousLat = 30;
        s.previousLon = 120;
        s.previousClock = c.clock0;
        EXPECT_EQ(IsGpsJump(s, 30 + c.metres * perMetre, 120, c.clock1), c.jump) << c.what;
        EXPECT_EQ(s.previousClock, c.clock1) << c.what;
    }
    EXPECT_EQ(JumpLimitMeters(0), 300);
    EXPECT_EQ(JumpLimitMeters(-3), 300);
    EXPECT_EQ(JumpLimitMeters(10), 1000);
}

// Drives as the engine hands their frames over: at 1X every picture, 40 ms
// apart; in I-frame play an I-frame a second of driving, shown a few
// milliseconds apart, forward or backward. Every frame is tested against
// the one before it, so fast play is no glitch, and a frame off the road
// is still held back at any rate.
TEST(InfoFrameReading, FastPlayIsNoJumpAndAGlitchIsStillHeldBack)
{
    struct Case {
        const char* what;
        int frames;
        int frameMs;      // of driving between two frames (negative: backward)
        uint32_t tickMs;  // of the wall clock between them
        double kmh;
        int glitchAt;     // the frame 2 km (or `glitchMetres`) off; -1 none
        double glitchMetres;
    } cases[] = {
        {"1X at 100 km/h", 150, 40, 40, 100, -1, 0},
        {"1X, a frame 2 km off", 150, 40, 40, 100, 60, 2000},
        {"1X, a frame 400 m off as the clock turns", 150, 40, 40, 100, 75, 400},
        {"64X over I-frames at 160 km/h", 60, 1000, 15, 160, -1, 0},
        {"64X, a frame 2 km off", 60, 1000, 15, 160, 28, 2000},
        {"-32X backward at 130 km/h", 40, -1000, 100, 130, -1, 0},
        {"-32X backward, a frame 2 km off", 40, -1000, 100, 130, 20, 2000},
    };
    const double perMetre = 1 / 111319.49;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r;
        r.tick = 100000;
        int shown = 0, fixes = 0;
        std::string firstText, lastText;
        for (int k = 0; k < c.frames; ++k) {
            // 08:30:00 + the frame's time, a minute in for backward drives.
            const long long ms = 60000 + (long long)k * c.frameMs;
            const double metres = c.kmh / 3.6 * double(ms) / 1000;
            const double off = k == c.glitchAt ? c.glitchMetres : 0;
            InfoFields f = At(30 + (metres + off) * perMetre, 120);
            f.date[4] = uint8_t(30 + ms / 60000);
            f.date[5] = uint8_t(ms / 1000 % 60);
            std::vector<uint8_t> b = recwriter::InfoBlock(f);
            InfoFrameReading got = ReadInfoFrame(b.data(), b.size(), r.settings, r.tick, r.resync, r.state, nullptr);
            r.tick += c.tickMs;
            if (!got.fix)
                continue;
            ++fixes;
            if (k == c.glitchAt) {
                EXPECT_FALSE(got.showPosition) << "the glitch shows";
                continue;
            }
            if (got.showPosition) {
                ++shown;
                // Never anywhere near the glitch.
                EXPECT_NEAR(std::stod(got.mapY), 30 + metres * perMetre, 1e-5) << k;
                if (firstText.empty())
                    firstText = got.latitudeText;
                lastText = got.latitudeText;
            } else {
                EXPECT_EQ(k, c.glitchAt + 1) << "a fix held back as a jump";
            }
        }
        EXPECT_GE(fixes, 5);
        EXPECT_GE(shown, fixes - 2);
        EXPECT_NE(firstText, lastText) << "the position did not move";
    }
}

TEST(PlayTimeText, MinutesAndSeconds)
{
    struct Case {
        int ms;
        const wchar_t* text;
    } cases[] = {{0, L"00:00"},      {999, L"00:00"},      {59999, L"00:59"}, {60000, L"01:00"},
                 {716000, L"11:56"}, {3600000, L"60:00"}, {-40, L"00:00"}};
    for (const Case& c : cases)
        EXPECT_EQ(PlayTimeText(c.ms), c.text) << c.ms;
}
