// The vehicle of the demo card: a drive with a stop, turns and braking, as
// the information frames of its recordings describe it.
#pragma once

#include "Ostrivel.h"

namespace recwriter {

struct VehicleState {
    double latitude;    // degrees, north positive
    double longitude;   // degrees, east positive
    double speedKmh;
    double headingDeg;  // 0 = north, clockwise
    double accelX;      // g, along the vehicle
    double accelY;      // g, across it
    double accelZ;      // g, up
};

class DemoRoute {
public:
    DemoRoute(double latitude, double longitude);
    // Advances the drive by `seconds` and gives the new state.
    const VehicleState& Step(double seconds);
    const VehicleState& State() const { return state_; }

private:
    VehicleState state_;
    double elapsed_ = 0;
};

// Speed the drive has at `t` seconds: moving off, cruising, braking to a
// stop at 50 s, waiting, moving off again.
double DemoSpeedAt(double t);

// The information frame of one moment. Time of day as six date bytes.
InfoFrame MakeInfoFrame(const VehicleState& s, const unsigned char date[6]);

}  // namespace recwriter
