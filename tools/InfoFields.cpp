#include "InfoFields.h"

#include <math.h>
#include <string.h>

namespace recwriter {

namespace {

void Split(double value, int digits, unsigned* degrees, unsigned* minutes, int32_t* fraction) {
    double scale = 1;
    for (int i = 0; i < digits; ++i) scale *= 10;
    // Rounded once, in units of the last digit, so that no carry is lost.
    double units = floor(fabs(value) * 60.0 * scale + 0.5);
    double perDegree = 60.0 * scale;
    double whole = floor(units / perDegree);
    double rest = units - whole * perDegree;
    *degrees = unsigned(whole);
    *minutes = unsigned(floor(rest / scale));
    *fraction = int32_t(rest - *minutes * scale);
}

}  // namespace

void SetLatitude(InfoFields& f, double value, int digits) {
    Split(value, digits, &f.latDegrees, &f.latMinutes, &f.latFraction);
    f.latHemisphere = value < 0 ? 'S' : 'N';
    f.fractionDigits = unsigned(digits);
}

void SetLongitude(InfoFields& f, double value, int digits) {
    Split(value, digits, &f.lonDegrees, &f.lonMinutes, &f.lonFraction);
    f.lonHemisphere = value < 0 ? 'W' : 'E';
    f.fractionDigits = unsigned(digits);
}

InfoFrame EncodeInfoFrame(const InfoFields& f) {
    InfoFrame out;
    memset(&out, 0, sizeof(out));
    uint8_t* b = reinterpret_cast<uint8_t*>(&out);
    memcpy(b, f.date, 6);
    b[8] = uint8_t(f.fix);
    b[10] = uint8_t(f.speedKmh);
    b[11] = uint8_t(f.speedKmh >> 8);
    b[12] = uint8_t(f.latDegrees);
    b[13] = uint8_t(f.latMinutes);
    b[14] = uint8_t(f.lonDegrees);
    b[15] = uint8_t(f.lonMinutes);
    const uint32_t lat = uint32_t(f.latFraction), lon = uint32_t(f.lonFraction);
    for (int i = 0; i < 4; ++i) {
        b[16 + i] = uint8_t(lat >> (8 * i));
        b[20 + i] = uint8_t(lon >> (8 * i));
    }
    b[24] = uint8_t(f.heading);
    b[25] = uint8_t(f.heading >> 8);
    b[26] = uint8_t(f.latHemisphere);
    b[27] = uint8_t(f.lonHemisphere);
    b[28] = uint8_t(f.fractionDigits);
    for (int i = 0; i < 3; ++i) b[40 + i] = uint8_t(f.accel[i]);
    return out;
}

std::vector<uint8_t> InfoBlock(const InfoFields& f, size_t length) {
    InfoFrame frame = EncodeInfoFrame(f);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&frame);
    if (length > sizeof(frame)) length = sizeof(frame);
    return std::vector<uint8_t>(b, b + length);
}

}  // namespace recwriter
