// The channel player on its own: what makes an open fail, and what its
// sound output is given while paused, stepping and after other rates.
#include "Player.h"

#include "ChannelRecordings.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdint.h>
#include <string>
#include <vector>

namespace {

// A decoder library that cannot create a decoder (out of memory, or a
// library that refuses the picture size).
H264DecHandle NoDecoder(const H264DecAttr*) { return nullptr; }
int NoPicture(H264DecHandle, const uint8_t*, uint32_t, uint64_t, H264DecPicture*, uint32_t) {
    return kH264NoPicture;
}
void NothingToFree(H264DecHandle) {}
const H264DecoderApi kNoDecoderApi = {NoDecoder, NoPicture, NothingToFree};

std::string Recording() {
    recwriter::RecordWriter w;
    for (int k = 0; k < 50; ++k)
        w.AddVideo(k % 25 == 0, 1000000 + uint64_t(k) * 40000, std::vector<uint8_t>(64, 0x90));
    w.Finish();
    EXPECT_TRUE(w.WriteFile("player_open.rec"));
    return "player_open.rec";
}

}  // namespace

TEST(Player, OpensOnlyWithAVideoDecoder) {
    std::string path = Recording();
    {
        CPlayer player;
        EXPECT_EQ(player.Open(path.c_str(), nullptr), 0);
        EXPECT_TRUE(player.HasFile());
    }
    CPlayer player(&kNoDecoderApi);
    EXPECT_EQ(player.Open(path.c_str(), nullptr), 1);
    EXPECT_FALSE(player.HasFile());
    EXPECT_EQ(player.Play(), 1);   // nothing to play
    FileInfo info{};
    EXPECT_EQ(player.GetFileInfo(&info), 0);
    EXPECT_EQ(info.durationMs, 0u) << "the record of a file that did not open";
}

