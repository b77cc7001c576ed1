#include "H264Units.h"

namespace calverin {

namespace {

constexpr int kNalAccessUnitDelimiter = 9;

// Reads the bits of a NAL unit's payload with the emulation prevention
// bytes taken out. Reading past the end gives zeros and marks a failure.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) {
        rbsp_.reserve(size);
        int zeros = 0;
        for (size_t i = 0; i < size; ++i) {
            if (zeros >= 2 && data[i] == 3) {
                zeros = 0;
                continue;
            }
            zeros = data[i] == 0 ? zeros + 1 : 0;
            rbsp_.push_back(data[i]);
        }
    }

    uint32_t Bit() {
        if (pos_ >= rbsp_.size() * 8) {
            failed_ = true;
            return 0;
        }
        uint32_t b = rbsp_[pos_ >> 3] >> (7 - (pos_ & 7)) & 1;
        ++pos_;
        return b;
    }
    uint32_t Bits(int n) {
        uint32_t v = 0;
        while (n-- > 0) v = v << 1 | Bit();
        return v;
    }
    // Exp-Golomb codes; longer than 32 bits is no valid stream.
    uint32_t Ue() {
        int zeros = 0;
        while (Bit() == 0) {
            if (failed_ || ++zeros > 31) {
                failed_ = true;
                return 0;
            }
        }
        return zeros ? (uint32_t(1) << zeros) - 1 + Bits(zeros) : 0;
    }
    int32_t Se() {
        uint32_t k = Ue();
        return k & 1 ? int32_t((k + 1) / 2) : -int32_t(k / 2);
    }
    bool Failed() const { return failed_; }

private:
    std::vector<uint8_t> rbsp_;
    size_t pos_ = 0;
    bool failed_ = false;
};

void SkipScalingList(BitReader& r, int entries) {
    int last = 8, next = 8;
    for (int j = 0; j < entries && !r.Failed(); ++j) {
        if (next != 0) next = (last + r.Se() + 256) % 256;
        if (next != 0) last = next;
    }
}

bool HasChromaFormat(uint32_t profile) {
    switch (profile) {
    case 100: case 110: case 122: case 244: case 44: case 83: case 86:
    case 118: case 128: case 138: case 139: case 134: case 135:
        return true;
    default:
        return false;
    }
}

// A 3-byte start code begins at `i`.
bool StartCodeAt(const uint8_t* d, size_t size, size_t i) {
    return i + 3 <= size && d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1;
}

void AppendUnit(std::vector<uint8_t>* out, const std::vector<uint8_t>& unit) {
    static const uint8_t kStartCode[4] = {0, 0, 0, 1};
    out->insert(out->end(), kStartCode, kStartCode + 4);
    out->insert(out->end(), unit.begin(), unit.end());
}

}  // namespace

std::vector<NalUnit> FindNalUnits(const uint8_t* data, size_t size) {
    std::vector<NalUnit> units;
    size_t i = 0;
    while (i < size && !StartCodeAt(data, size, i)) ++i;
    while (i < size) {
        size_t begin = i + 3;
        size_t j = begin;
        while (j < size && !StartCodeAt(data, size, j)) ++j;
        size_t end = j;
        while (end > begin && data[end - 1] == 0) --end;   // leads the next start code
        if (end > begin) units.push_back({begin, end - begin, data[begin] & 0x1F});
        i = j;
    }
    return units;
}

bool StartsWithStartCode(const uint8_t* data, size_t size) {
    if (StartCodeAt(data, size, 0)) return true;
    return size >= 4 && data[0] == 0 && StartCodeAt(data, size, 1);
}

bool ParseSpsSize(const uint8_t* nal, size_t size, int* width, int* height) {
    if (size < 4 || (nal[0] & 0x1F) != kNalSps) return false;
    BitReader r(nal + 1, size - 1);
    uint32_t profile = r.Bits(8);
    r.Bits(16);   // constraint flags, level
    r.Ue();       // seq_parameter_set_id
    uint32_t chromaFormat = 1;
    bool separatePlanes = false;
    if (HasChromaFormat(profile)) {
        chromaFormat = r.Ue();
        if (chromaFormat > 3) return false;
        if (chromaFormat == 3) separatePlanes = r.Bit() != 0;
        r.Ue();   // bit depth, luma
        r.Ue();   // bit depth, chroma
        r.Bit();  // transform bypass
        if (r.Bit()) {
            int lists = chromaFormat != 3 ? 8 : 12;
            for (int i = 0; i < lists && !r.Failed(); ++i)
                if (r.Bit()) SkipScalingList(r, i < 6 ? 16 : 64);
        }
    }
    r.Ue();   // log2_max_frame_num_minus4
    uint32_t pocType = r.Ue();
    if (pocType == 0) {
        r.Ue();
    } else if (pocType == 1) {
        r.Bit();
        r.Se();
        r.Se();
        uint32_t cycle = r.Ue();
        if (cycle > 255) return false;
        for (uint32_t i = 0; i < cycle && !r.Failed(); ++i) r.Se();
    } else if (pocType != 2) {
        return false;
    }
    r.Ue();   // max_num_ref_frames
    r.Bit();  // gaps_in_frame_num_value_allowed_flag
    uint32_t widthMbs = r.Ue() + 1;
    uint32_t heightUnits = r.Ue() + 1;
    bool frameMbsOnly = r.Bit() != 0;
    if (!frameMbsOnly) r.Bit();   // mb_adaptive_frame_field_flag
    r.Bit();                      // direct_8x8_inference_flag
    uint32_t cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    if (r.Bit()) {
        cropLeft = r.Ue();
        cropRight = r.Ue();
        cropTop = r.Ue();
        cropBottom = r.Ue();
    }
    if (r.Failed() || widthMbs > 1024 || heightUnits > 1024) return false;

    uint32_t arrayType = separatePlanes ? 0 : chromaFormat;
    uint32_t unitX = 1, unitY = frameMbsOnly ? 1 : 2;
    if (arrayType != 0) {
        unitX *= arrayType == 3 ? 1 : 2;
        unitY *= arrayType == 1 ? 2 : 1;
    }
    uint64_t w = uint64_t(widthMbs) * 16;
    uint64_t h = uint64_t(heightUnits) * 16 * (frameMbsOnly ? 1 : 2);
    uint64_t cropX = uint64_t(unitX) * (uint64_t(cropLeft) + cropRight);
    uint64_t cropY = uint64_t(unitY) * (uint64_t(cropTop) + cropBottom);
    if (cropX >= w || cropY >= h) return false;
    *width = int(w - cropX);
    *height = int(h - cropY);
    return true;
}

void CollectParameterSets(const uint8_t* frame, size_t size, ParameterSets* sets) {
    for (const NalUnit& u : FindNalUnits(frame, size)) {
        if (u.type == kNalSps) sets->sps.assign(frame + u.offset, frame + u.offset + u.size);
        if (u.type == kNalPps) sets->pps.assign(frame + u.offset, frame + u.offset + u.size);
    }
}

bool HasParameterSetsFirst(const uint8_t* frame, size_t size) {
    bool sps = false, pps = false;
    for (const NalUnit& u : FindNalUnits(frame, size)) {
        if (u.type == kNalSlice || u.type == kNalIdrSlice) break;
        sps = sps || u.type == kNalSps;
        pps = pps || u.type == kNalPps;
    }
    return sps && pps;
}

std::vector<uint8_t> WithParameterSets(const uint8_t* frame, size_t size, const ParameterSets& sets) {
    if (HasParameterSetsFirst(frame, size) || !sets.Complete()) return std::vector<uint8_t>(frame, frame + size);
    std::vector<NalUnit> units = FindNalUnits(frame, size);
    std::vector<uint8_t> out;
    out.reserve(size + sets.sps.size() + sets.pps.size() + 8);
    bool inserted = false;
    for (const NalUnit& u : units) {
        if (!inserted && u.type != kNalAccessUnitDelimiter) {
            AppendUnit(&out, sets.sps);
            AppendUnit(&out, sets.pps);
            inserted = true;
        }
        AppendUnit(&out, std::vector<uint8_t>(frame + u.offset, frame + u.offset + u.size));
    }
    if (!inserted) {
        AppendUnit(&out, sets.sps);
        AppendUnit(&out, sets.pps);
    }
    return out;
}

}  // namespace calverin
