// Information frames from plain field values, for fixtures that need what
// a recorder may write: degrees past 127, either hemisphere, any digit
// count, fractions out of range, no fix, and blocks cut short.
#pragma once

#include "Ostrivel.h"

#include <stddef.h>
#include <stdint.h>
#include <vector>

namespace recwriter {

struct InfoFields {
    uint8_t date[6] = {26, 12, 10, 8, 30, 0};  // year - 2000, month, day, h, m, s
    char fix = 'A';                            // 'A': the receiver had a fix
    unsigned speedKmh = 0;
    unsigned latDegrees = 0, latMinutes = 0;   // each stored as one byte
    int32_t latFraction = 0;                   // digits after the minutes' point
    char latHemisphere = 'N';
    unsigned lonDegrees = 0, lonMinutes = 0;
    int32_t lonFraction = 0;
    char lonHemisphere = 'E';
    unsigned fractionDigits = 4;               // stored as one byte; 0 = not given
    unsigned heading = 0;                      // hundredths of a degree
    int accel[3] = {0, 0, 0};                  // sixteenths of a g, one signed byte each
};

// Degrees, minutes and `digits` (1-9) fractional digits of the minutes of
// |value|, with the hemisphere letter of its sign ('S', 'W' below zero).
void SetLatitude(InfoFields& f, double value, int digits);
void SetLongitude(InfoFields& f, double value, int digits);

// The 48 bytes, each value stored as the byte or word it becomes.
InfoFrame EncodeInfoFrame(const InfoFields& f);
// The first `length` bytes of the frame (at most 48): a block cut short.
std::vector<uint8_t> InfoBlock(const InfoFields& f, size_t length = sizeof(InfoFrame));

}  // namespace recwriter
