// libFuzzer target for the record-file reader (native build, see
// scripts/fuzz-reader). The input is a record file without its reserved
// area: 592 header bytes, then the packet data that starts at 0x10000.
#include "FileQuib.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

// Ends the run loudly: a reader that loops is as bad as one that crashes.
void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "reader fault: %s\n", what);
        abort();
    }
}

void Drain(CFileQuib& r, size_t bound) {
    size_t n = 0;
    RecPacket* p = nullptr;
    for (;; ++n) {
        Check(n < bound, "reading does not end");
        RecPacket* info = nullptr;
        if (r.ReadPacket(&p, &info) != 0) break;
        Check(p->length <= p->capacity, "packet longer than its buffer");
        r.ReleasePacket(p);
        if (info) r.ReleasePacket(info);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/zarv-reader-fuzz-" + std::to_string(getpid()) + ".h264";
    std::vector<uint8_t> file(rec::kDataStart, 0);
    memcpy(file.data(), data, size < rec::kHeaderSize ? size : rec::kHeaderSize);
    if (size > rec::kHeaderSize) file.insert(file.end(), data + rec::kHeaderSize, data + size);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    fwrite(file.data(), 1, file.size(), f);
    fclose(f);

    const size_t bound = file.size() / 8 + 4;
    CFileQuib r;
    FileInfo fi;
    memset(&fi, 0, sizeof(fi));
    r.ProbeFileParam(&fi, path.c_str());
    if (r.Open(path.c_str()) == 0) {
        r.Rewind();
        Drain(r, bound);
        const uint32_t d = r.GetFileInfo().durationMs;
        const uint32_t targets[] = {0, d / 4, d / 2, d, data[0] * 97u};
        for (uint32_t ms : targets) {
            r.SeekTime(int32_t(ms), nullptr);
            Drain(r, bound);
        }
        RecPacket* p = nullptr;
        r.Rewind();
        for (size_t n = 0; r.NextIFrame(&p) == 0; ++n) {
            Check(n < bound, "forward steps do not end");
            r.ReleasePacket(p);
        }
        r.SeekTime(int32_t(d / 2), nullptr);
        for (size_t n = 0; r.PrevIFrame(&p) == 0; ++n) {
            Check(n < bound, "backward steps do not end");
            r.ReleasePacket(p);
        }
        Check(r.FreePacketCount() == size_t(CRecFile::kPoolSize), "packet lost from the pool");
        r.Close();
    }
    return 0;
}
