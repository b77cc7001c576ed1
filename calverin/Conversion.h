// One conversion, run on the converter's own thread from start to end: the
// plan pass, then the copy pass that writes "<target>.part", which becomes
// the target when it is complete. Progress and the end go to the gate.
#pragma once

#include "CutTimes.h"
#include "ProgressGate.h"

#include <string>

namespace calverin {

struct ConversionRequest {
    std::string source;   // ANSI paths, as the caller gave them
    std::string target;
    TimeOfDay cutStart;
    TimeOfDay cutEnd;
};

// How a conversion ended, for the caller's tests; the callback tells the
// same to the user (its last call: (total, total) or (-1, total)).
enum class ConversionResult {
    kDone,
    kUnreadableSource,
    kNothingInRange,
    kNoParameterSets,
    kCannotWrite,
    kSourceChanged,   // the second pass did not meet what the first found
};

ConversionResult RunConversion(const ConversionRequest& request, ProgressGate& gate);

// A path in the ANSI code page as UTF-8, the way FFmpeg takes file names.
std::string AnsiToUtf8(const std::string& ansi);

}  // namespace calverin
