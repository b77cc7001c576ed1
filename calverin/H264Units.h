// H.264 Annex B streams as the recorder stores them (every frame opened by
// a start code): its NAL units, the picture size a sequence parameter set
// gives, and the parameter sets a clip's first picture must carry.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace calverin {

enum NalType {
    kNalSlice = 1,
    kNalIdrSlice = 5,
    kNalSps = 7,
    kNalPps = 8,
};

// One NAL unit: its bytes from the unit's header byte on, without the start
// code before it or the zero bytes that lead the next start code.
struct NalUnit {
    size_t offset;
    size_t size;
    int type;
};

std::vector<NalUnit> FindNalUnits(const uint8_t* data, size_t size);

// True when the data opens with a 3- or 4-byte start code.
bool StartsWithStartCode(const uint8_t* data, size_t size);

// The displayed picture size that a sequence parameter set (a whole NAL
// unit, header byte first) describes: the coded macroblocks less the
// cropping. False when the unit is no SPS or is cut short or unusable.
bool ParseSpsSize(const uint8_t* nal, size_t size, int* width, int* height);

// The sequence and picture parameter sets in force, as NAL units.
struct ParameterSets {
    std::vector<uint8_t> sps;
    std::vector<uint8_t> pps;
    bool Complete() const { return !sps.empty() && !pps.empty(); }
};

// Notes the parameter sets that a frame carries (the last of each kind).
void CollectParameterSets(const uint8_t* frame, size_t size, ParameterSets* sets);

// True when the frame carries an SPS and a PPS ahead of its first slice.
bool HasParameterSetsFirst(const uint8_t* frame, size_t size);

// The frame with `sets` put in front of its first unit (after an access
// unit delimiter, which stays first), unless it already carries both ahead
// of its first slice: then the frame as it is.
std::vector<uint8_t> WithParameterSets(const uint8_t* frame, size_t size, const ParameterSets& sets);

}  // namespace calverin
