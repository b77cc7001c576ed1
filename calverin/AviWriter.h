// The AVI file through FFmpeg's own AVI muxer: stream 0 H.264 video
// ('H264'), stream 1 (when asked for) 16-bit mono PCM at 8,000 Hz. Packets
// go through the muxer's interleaving; pictures are placed by frame slot,
// and the muxer fills skipped slots with empty frames. For large clips the
// muxer goes on in OpenDML (AVI 2.0) by itself.
#pragma once

#include "ClipTiming.h"

#include <stddef.h>
#include <stdint.h>

#include <string>

struct AVFormatContext;
struct AVPacket;

namespace calverin {

struct AviVideoFormat {
    int width = 0;
    int height = 0;
    FrameRate rate;
};

class AviWriter {
public:
    AviWriter() = default;
    ~AviWriter();   // an unfinished file is closed as it is
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates the file (a UTF-8 path) and writes the header. False when the
    // file cannot be created or the muxer refuses the streams.
    bool Open(const std::string& utf8Path, const AviVideoFormat& video, bool withSound);
    // One picture in its frame slot (slots rise from 0).
    bool WriteVideo(const uint8_t* data, size_t size, int64_t slot, bool keyFrame);
    // Samples starting at sample `position` of the sound stream.
    bool WriteSound(const int16_t* samples, size_t count, int64_t position);
    // Writes the index and the final header and closes the file.
    bool Finish();
    // Closes the file without finishing it (the caller deletes it).
    void Close();

private:
    bool Write(int stream, const void* data, size_t size, int64_t pts, int64_t duration, bool key);

    AVFormatContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
    FrameRate rate_;
    bool withSound_ = false;
};

}  // namespace calverin
