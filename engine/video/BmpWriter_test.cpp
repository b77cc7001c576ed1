#include "BmpWriter.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <vector>

namespace {

uint32_t Le(const uint8_t* p, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

std::vector<uint8_t> ReadAll(const char* path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path, "rb");
    if (!f) return bytes;
    uint8_t buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

}  // namespace

TEST(BmpWriter, HeaderFields) {
    struct Field {
        int offset, size;
        uint32_t value;
    };
    // 1280 x 720: rows need no padding, the file is 54 + 2,764,800 bytes.
    const Field fields[] = {
        {0, 1, 'B'}, {1, 1, 'M'}, {2, 4, 54 + 2764800}, {6, 2, 0}, {8, 2, 0}, {10, 4, 54},
        {14, 4, 40}, {18, 4, 1280}, {22, 4, 720}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
        {34, 4, 2764800}, {38, 4, 0}, {42, 4, 0}, {46, 4, 0}, {50, 4, 0},
    };
    uint8_t h[bmp::kHeaderBytes];
    bmp::BuildHeaders(1280, 720, h);
    for (const Field& f : fields) EXPECT_EQ(Le(h + f.offset, f.size), f.value) << "offset " << f.offset;
}

TEST(BmpWriter, RowsArePaddedToFourBytes) {
    struct Case {
        int w, h;
        uint32_t row;
    };
    for (Case c : {Case{350, 286, 1052}, Case{1, 1, 4}, Case{2, 3, 8}, Case{3, 2, 12}, Case{5, 1, 16}}) {
        SCOPED_TRACE(c.w);
        EXPECT_EQ(bmp::RowBytes(c.w), c.row);
        uint8_t h[bmp::kHeaderBytes];
        bmp::BuildHeaders(c.w, c.h, h);
        EXPECT_EQ(Le(h + 2, 4), 54 + c.row * uint32_t(c.h));
        EXPECT_EQ(Le(h + 34, 4), c.row * uint32_t(c.h));
    }
}

TEST(BmpWriter, WritesHeaderAndPixels) {
    const int w = 3, h = 2;
    std::vector<uint8_t> pixels(bmp::PixelBytes(w, h));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7);
    const char* path = "bmp_writer_test.bmp";
    ASSERT_TRUE(bmp::WriteFile(path, pixels.data(), w, h));
    std::vector<uint8_t> file = ReadAll(path);
    ASSERT_EQ(file.size(), 54u + pixels.size());
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 54));
    remove(path);
}

TEST(BmpWriter, ReportsWhatItCouldNotWrite) {
    uint8_t px[4] = {};
    EXPECT_FALSE(bmp::WriteFile("no-such-folder\\x.bmp", px, 1, 1));
    EXPECT_FALSE(bmp::WriteFile(nullptr, px, 1, 1));
    EXPECT_FALSE(bmp::WriteFile("zero.bmp", px, 0, 1));
    FILE* f = fopen("zero.bmp", "rb");
    EXPECT_EQ(f, nullptr);  // a refused size creates no file
    if (f) fclose(f);
}
