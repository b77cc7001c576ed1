// Splits an H.264 Annex B elementary stream (as encoders write it, with
// start codes) into frames: the parameter sets and other units that lead a
// picture go with it. One frame is what one video packet of a record file
// carries.
#pragma once

#include <stdint.h>
#include <vector>

namespace recwriter {

struct H264Frame {
    std::vector<uint8_t> bytes;  // start codes included
    bool intra = false;          // holds an IDR slice
};

std::vector<H264Frame> SplitAnnexB(const std::vector<uint8_t>& stream);

}  // namespace recwriter
