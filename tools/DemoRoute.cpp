#include "DemoRoute.h"

#include <math.h>
#include <string.h>

namespace recwriter {

namespace {

const double kPi = 3.14159265358979323846;

// Degrees and minutes with four fractional digits of the minutes.
void SplitAngle(double value, int8_t* degrees, int8_t* minutes, int32_t* fraction) {
    double a = fabs(value);
    int d = int(a);
    double m = (a - d) * 60.0;
    int whole = int(m);
    int frac = int((m - whole) * 10000.0 + 0.5);
    if (frac >= 10000) {
        frac -= 10000;
        ++whole;
    }
    if (whole >= 60) {
        whole -= 60;
        ++d;
    }
    *degrees = int8_t(d);
    *minutes = int8_t(whole);
    *fraction = frac;
}

int8_t ToSixteenths(double g) {
    double v = floor(g * 16.0 + 0.5);
    if (v > 127) v = 127;
    if (v < -128) v = -128;
    return int8_t(v);
}

}  // namespace

double DemoSpeedAt(double t) {
    // The drive repeats every 120 s: 0-10 moving off, cruise with a swell,
    // 45-50 braking, 50-56 standing, then moving off again.
    double c = fmod(t, 120.0);
    if (c < 10) return 4.5 * c;
    if (c < 45) return 45 + 15 * sin((c - 10) / 35 * kPi);
    if (c < 50) return 45 * (50 - c) / 5;
    if (c < 56) return 0;
    if (c < 66) return 5.0 * (c - 56);
    return 50 + 10 * sin((c - 66) / 54 * 2 * kPi);
}

DemoRoute::DemoRoute(double latitude, double longitude) {
    state_ = {latitude, longitude, DemoSpeedAt(0), 30.0, 0.0, 0.0, 1.0};
}

const VehicleState& DemoRoute::Step(double seconds) {
    double before = state_.speedKmh;
    double headingBefore = state_.headingDeg;
    elapsed_ += seconds;
    state_.speedKmh = DemoSpeedAt(elapsed_);
    // Gentle bends: the heading swings while the vehicle moves.
    if (state_.speedKmh > 0.5) state_.headingDeg = fmod(30.0 + 70.0 * sin(elapsed_ / 40.0) + 360.0, 360.0);
    double metres = (before + state_.speedKmh) / 2 / 3.6 * seconds;
    double rad = state_.headingDeg * kPi / 180.0;
    state_.latitude += metres * cos(rad) / 111320.0;
    state_.longitude += metres * sin(rad) / (111320.0 * cos(state_.latitude * kPi / 180.0));
    double v = state_.speedKmh / 3.6;
    double turn = (state_.headingDeg - headingBefore) * kPi / 180.0 / seconds;
    state_.accelX = ((state_.speedKmh - before) / 3.6 / seconds) / 9.81;
    state_.accelY = v * turn / 9.81;
    state_.accelZ = 1.0 + 0.05 * sin(elapsed_ * 7.0);
    return state_;
}

InfoFrame MakeInfoFrame(const VehicleState& s, const unsigned char date[6]) {
    InfoFrame f;
    memset(&f, 0, sizeof(f));
    f.year = date[0];
    f.month = date[1];
    f.day = date[2];
    f.hour = date[3];
    f.minute = date[4];
    f.second = date[5];
    f.gpsValid = 'A';
    f.speedKmh = uint16_t(s.speedKmh + 0.5);
    SplitAngle(s.latitude, &f.latDegrees, &f.latMinutes, &f.latFraction);
    SplitAngle(s.longitude, &f.lonDegrees, &f.lonMinutes, &f.lonFraction);
    f.latHemisphere = s.latitude < 0 ? 'S' : 'N';
    f.lonHemisphere = s.longitude < 0 ? 'W' : 'E';
    f.fractionDigits = 4;
    f.heading = uint16_t(s.headingDeg * 100.0 + 0.5) % 36000;
    f.accelX = ToSixteenths(s.accelX);
    f.accelY = ToSixteenths(s.accelY);
    f.accelZ = ToSixteenths(s.accelZ);
    return f;
}

}  // namespace recwriter
