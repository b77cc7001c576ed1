#include "RecordFormat.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

using namespace rec;

TEST(RecordFormat, TagsAreClassifiedIgnoringTheChannelNibble) {
    struct Case {
        uint8_t bytes[4];
        TagKind kind;
    } cases[] = {
        {{'0', '0', 'i', 'p'}, TagKind::IFrame},
        {{'7', '0', 'i', 'p'}, TagKind::IFrame},
        {{'?', '0', 'i', 'p'}, TagKind::IFrame},
        {{'3', '1', 'i', 'p'}, TagKind::PFrame},
        {{'0', '2', 'a', 'a'}, TagKind::Audio2},
        {{'9', '3', 'a', 'a'}, TagKind::Audio3},
        {{0x40, '0', 'i', 'p'}, TagKind::None},
        {{0x2F, '0', 'i', 'p'}, TagKind::None},
        {{'0', '2', 'i', 'p'}, TagKind::None},
        {{'0', '0', 'a', 'a'}, TagKind::None},
        {{'0', '4', 'a', 'a'}, TagKind::None},
        {{'0', '0', 'I', 'P'}, TagKind::None},
        {{0, 0, 0, 0}, TagKind::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(int(ClassifyTag(c.bytes)), int(c.kind)) << c.bytes[0] << c.bytes[1] << c.bytes[2] << c.bytes[3];
    }
}

TEST(RecordFormat, MadeTagsReadBackAsTheirKind) {
    for (unsigned ch = 0; ch < 16; ++ch) {
        for (TagKind k : {TagKind::IFrame, TagKind::PFrame, TagKind::Audio2, TagKind::Audio3}) {
            uint32_t tag = MakeTag(k, ch);
            uint8_t bytes[4];
            memcpy(bytes, &tag, 4);
            EXPECT_EQ(bytes[0], '0' + ch);
            EXPECT_EQ(int(ClassifyTag(bytes)), int(k));
        }
    }
    EXPECT_EQ(TagHeaderSize(TagKind::IFrame), 24u);
    EXPECT_EQ(TagHeaderSize(TagKind::Audio3), 8u);
    EXPECT_EQ(TagHeaderSize(TagKind::None), 0u);
}

static RecFileHeader HeaderWithMagic(const void* bytes, size_t n) {
    RecFileHeader h;
    memset(&h, 0, sizeof(h));
    memcpy(h.magic, bytes, n);
    return h;
}

TEST(RecordFormat, MagicIsCheckedAsTheRecorderWritesIt) {
    struct Case {
        const char* bytes;  // 13 bytes at offset 80
        FileKind kind;
    } cases[] = {
        {"QZR_DVR_10XX\0", FileKind::Recorder},
        {"qzr_dvr_10xx\0", FileKind::Recorder},
        {"Qzr_Dvr_10xX\0", FileKind::Recorder},
        {"QZR_DVR_10XXZ", FileKind::Invalid},   // no NUL at 92
        {"QZR_DVR_10X\0\0", FileKind::Invalid},
        {"QZR-DVR_10XX\0", FileKind::Invalid},
        {"IPC_anything!", FileKind::Camera},
        {"IPCQZR_DVR_10", FileKind::Camera},
        {"ipc\0\0\0\0\0\0\0\0\0\0", FileKind::Invalid},
        {"IP\0\0\0\0\0\0\0\0\0\0\0", FileKind::Invalid},
        {"\0\0\0\0\0\0\0\0\0\0\0\0\0", FileKind::Invalid},
    };
    for (const Case& c : cases) {
        RecFileHeader h = HeaderWithMagic(c.bytes, 13);
        EXPECT_EQ(int(CheckMagic(h)), int(c.kind)) << c.bytes;
    }
}

TEST(RecordFormat, HeaderFieldsSitAtTheirByteOffsets) {
    std::vector<uint8_t> raw(kHeaderSize, 0);
    raw[37] = 26;
    raw[42] = 59;
    raw[43] = 27;
    raw[48] = 7;
    raw[50] = 5;
    raw[58] = 3;
    raw[68] = 0x78; raw[69] = 0x56; raw[70] = 0x34; raw[71] = 0x12;
    raw[140] = 9;
    const RecFileHeader* h = reinterpret_cast<const RecFileHeader*>(raw.data());
    EXPECT_EQ(h->start[0], 26);
    EXPECT_EQ(h->start[5], 59);
    EXPECT_EQ(h->end[0], 27);
    EXPECT_EQ(h->end[5], 7);
    EXPECT_EQ(h->recordKind, 5);
    EXPECT_EQ(h->audioCodec, 3);
    EXPECT_EQ(h->endOfData, 0x12345678u);
    EXPECT_EQ(h->channels[1].channel, 9);

    uint8_t packet[24] = {'1', '0', 'i', 'p', 0, 0, 0, 0, 0x10, 0x27, 0, 0, 48, 0, 0, 0,
                          1, 2, 3, 4, 5, 6, 7, 8};
    const VideoPacketHeader* v = reinterpret_cast<const VideoPacketHeader*>(packet);
    EXPECT_EQ(v->videoLength, 10000u);
    EXPECT_EQ(v->infoLength, 48);
    EXPECT_EQ(v->timestamp, 0x0807060504030201ull);
    EXPECT_EQ(LoadLE64(packet + 16), 0x0807060504030201ull);
}

TEST(RecordFormat, HeaderTextsAreCutAtThirtyOneCharacters) {
    char out[32];
    memset(out, 'x', sizeof(out));
    const char* longText = "0123456789012345678901234567890123456789";
    CopyHeaderText(out, longText, 40, kHeaderTextMax);
    EXPECT_EQ(std::string(out, 31), std::string(longText, 31));
    EXPECT_EQ(out[31], 'x');  // the 32nd byte stays as it was

    memset(out, 'x', sizeof(out));
    CopyHeaderText(out, "abc", 4, kHeaderTextMax);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[30], 0);

    // A text at the very end of the header is not read past its bytes.
    memset(out, 'x', sizeof(out));
    const char tail[3] = {'a', 'b', 'c'};
    CopyHeaderText(out, tail, 3, kHeaderTextMax);
    EXPECT_STREQ(out, "abc");
}

TEST(RecordFormat, DateBytesFillASystemTime) {
    uint8_t bytes[6] = {26, 12, 10, 8, 30, 15};
    SYSTEMTIME st;
    memset(&st, 0xEE, sizeof(st));
    DateBytesToSystemTime(bytes, &st);
    EXPECT_EQ(st.wYear, 26);
    EXPECT_EQ(st.wMonth, 12);
    EXPECT_EQ(st.wDay, 10);
    EXPECT_EQ(st.wHour, 8);
    EXPECT_EQ(st.wMinute, 30);
    EXPECT_EQ(st.wSecond, 15);
    EXPECT_EQ(st.wDayOfWeek, 0xEEEE);      // not set
    EXPECT_EQ(st.wMilliseconds, 0xEEEE);   // not set
}
