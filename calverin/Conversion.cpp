#include "Conversion.h"

#include "AudioDecoder.h"
#include "AviWriter.h"
#include "ClipScan.h"
#include "ClipTiming.h"
#include "FileQuib.h"
#include "VoiceEngine.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace calverin {

namespace {

constexpr size_t kSilenceChunk = kSampleRate / 2;

// The copy pass: the plan's packets from its seek position into the writer.
class ClipCopy {
public:
    ClipCopy(CFileQuib& reader, const ClipPlan& plan, AviWriter& writer, ProgressGate& gate)
        : reader_(reader), plan_(plan), writer_(writer), gate_(gate),
          video_(plan.firstTimestamp, RateFromTimestamps(plan.timestamps)), sound_(plan.firstTimestamp) {}

    ConversionResult Run() {
        if (reader_.SeekTime(plan_.seekMs, nullptr) != 0) return ConversionResult::kSourceChanged;
        StreamPackets(reader_, [&](const RecPacket& p) {
            return p.type == rec::kPacketAudio ? Sound(p) : Picture(p);
        });
        if (failed_) return failed_result_;
        return written_ == plan_.frames ? ConversionResult::kDone : ConversionResult::kSourceChanged;
    }

private:
    bool Fail(ConversionResult r) {
        failed_ = true;
        failed_result_ = r;
        return false;
    }

    bool Picture(const RecPacket& p) {
        if (!writing_) {
            if (seen_++ < plan_.leadingVideo) return true;
            if (p.timestamp != plan_.firstTimestamp || p.type != rec::kPacketIFrame)
                return Fail(ConversionResult::kSourceChanged);
            writing_ = true;
        }
        if (written_ == plan_.frames) return false;   // the first picture past the clip
        int64_t slot = video_.SlotOf(p.timestamp);
        bool key = p.type == rec::kPacketIFrame;
        bool ok;
        if (written_ == 0) {
            std::vector<uint8_t> first = WithParameterSets(p.data, p.length, plan_.params);
            ok = writer_.WriteVideo(first.data(), first.size(), slot, key);
        } else {
            ok = writer_.WriteVideo(p.data, p.length, slot, key);
        }
        if (!ok) return Fail(ConversionResult::kCannotWrite);
        ++written_;
        if (written_ < plan_.frames) gate_.Report(int(written_), int(plan_.frames));
        return true;
    }

    bool Sound(const RecPacket& p) {
        if (!writing_ || !plan_.hasSound) return true;
        if (!decoder_) {
            decoder_.reset(CreateAudioDecoder(int(reader_.AudioCodec())));
            if (!decoder_ || !decoder_->Reset()) return Fail(ConversionResult::kCannotWrite);
            frameSamples_ = reader_.AudioCodec() == 2 ? kVoiceG726FrameSamples : kVoiceAdpcmFrameSamples;
        }
        const uint32_t frameBytes = uint32_t(decoder_->InputFrameBytes());
        pcm_.clear();
        for (uint32_t at = 0; at + frameBytes <= p.length; at += frameBytes) {
            int16_t out[kVoiceMaxFrameSamples];
            int16_t n = 0;
            if (decoder_->Decode(p.data + at, out, kVoiceMaxFrameSamples, &n))
                pcm_.insert(pcm_.end(), out, out + n);
            else
                pcm_.insert(pcm_.end(), size_t(frameSamples_), 0);   // a lost frame keeps its time
        }
        if (pcm_.empty()) return true;
        int64_t silence = sound_.SilenceBefore(p.timestamp);
        while (silence > 0) {
            size_t n = size_t(std::min<int64_t>(silence, int64_t(kSilenceChunk)));
            zeros_.assign(n, 0);
            if (!writer_.WriteSound(zeros_.data(), n, sound_.Position())) return Fail(ConversionResult::kCannotWrite);
            sound_.Written(int64_t(n));
            silence -= int64_t(n);
        }
        if (!writer_.WriteSound(pcm_.data(), pcm_.size(), sound_.Position()))
            return Fail(ConversionResult::kCannotWrite);
        sound_.Written(int64_t(pcm_.size()));
        return true;
    }

    CFileQuib& reader_;
    const ClipPlan& plan_;
    AviWriter& writer_;
    ProgressGate& gate_;
    VideoClock video_;
    SoundClock sound_;
    std::unique_ptr<CADEC> decoder_;
    int frameSamples_ = 0;
    std::vector<int16_t> pcm_, zeros_;
    uint32_t seen_ = 0;
    uint32_t written_ = 0;
    bool writing_ = false;
    bool failed_ = false;
    ConversionResult failed_result_ = ConversionResult::kDone;
};

ConversionResult Convert(const ConversionRequest& request, const std::string& part, ProgressGate& gate,
                         int* total, bool* created) {
    CFileQuib reader;
    if (reader.Open(request.source.c_str()) != 0) return ConversionResult::kUnreadableSource;
    const rec::RecFileHeader& h = reader.Header();
    TimeOfDay headerStart;
    headerStart.hour = h.start[3];
    headerStart.minute = h.start[4];
    headerStart.second = h.start[5];
    ClipWindow window = MapCut(headerStart, reader.GetFileInfo().firstTimestamp, request.cutStart, request.cutEnd);

    ClipPlan plan;
    switch (PlanClip(reader, window, &plan)) {
    case PlanResult::kOk: break;
    case PlanResult::kNothingInRange: return ConversionResult::kNothingInRange;
    case PlanResult::kNoParameterSets: return ConversionResult::kNoParameterSets;
    }
    *total = int(plan.frames);
    gate.Report(0, *total);

    AviVideoFormat format;
    format.width = plan.width;
    format.height = plan.height;
    format.rate = RateFromTimestamps(plan.timestamps);
    AviWriter writer;
    *created = true;
    if (!writer.Open(AnsiToUtf8(part), format, plan.hasSound)) return ConversionResult::kCannotWrite;
    ConversionResult r = ClipCopy(reader, plan, writer, gate).Run();
    reader.Close();
    if (r != ConversionResult::kDone) return r;
    return writer.Finish() ? ConversionResult::kDone : ConversionResult::kCannotWrite;
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi) {
    int wide = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (wide <= 0) return ansi;
    std::vector<wchar_t> w(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, w.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return ansi;
    std::vector<char> u(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, w.data(), -1, u.data(), bytes, nullptr, nullptr);
    return std::string(u.data());
}

ConversionResult RunConversion(const ConversionRequest& request, ProgressGate& gate) {
    const std::string part = request.target + ".part";
    int total = 0;
    bool created = false;   // "<target>.part" is ours to delete
    ConversionResult r = Convert(request, part, gate, &total, &created);
    if (r == ConversionResult::kDone &&
        !MoveFileExA(part.c_str(), request.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        r = ConversionResult::kCannotWrite;
    if (r == ConversionResult::kDone) {
        gate.ReportLast(total, total);
    } else {
        if (created) DeleteFileA(part.c_str());
        gate.ReportLast(-1, total);
    }
    return r;
}

}  // namespace calverin
