#include "ColorConvert.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

using namespace color;

namespace {

struct Bgr {
    int b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};

Bgr OnePixel24(uint8_t y, uint8_t u, uint8_t v) {
    uint8_t p[4] = {};
    YuvToRgb24(p, 4, &y, &u, &v, 1, 1, 1, 1);
    return {p[0], p[1], p[2]};
}

uint16_t OnePixel565(uint8_t y, uint8_t u, uint8_t v) {
    uint16_t p = 0;
    YuvToRgb565(&p, &y, &u, &v, 1, 1, 1, 1);
    return p;
}

// A buffer whose last byte sits just before an inaccessible page, so that
// reading one byte too far faults.
class GuardedPlane {
public:
    explicit GuardedPlane(size_t size) : size_(size) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        page_ = si.dwPageSize;
        size_t span = (size + page_ - 1) / page_ * page_;
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, span + page_, MEM_COMMIT | MEM_RESERVE,
                                                   PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + span, page_, PAGE_NOACCESS, &old);
        data_ = base_ + span - size;
    }
    ~GuardedPlane() { VirtualFree(base_, 0, MEM_RELEASE); }
    uint8_t* data() { return data_; }
    size_t size() const { return size_; }

private:
    size_t size_, page_;
    uint8_t* base_;
    uint8_t* data_;
};

}  // namespace

TEST(ColorConvert, StatedValues) {
    struct Case {
        uint8_t y, u, v;
        Bgr bgr;
        uint16_t rgb565;
    };
    const Case cases[] = {
        {128, 128, 128, {130, 130, 130}, 0x8410},  // mid-grey
        {16, 128, 128, {0, 0, 0}, 0x1082},         // studio black; RGB565 takes luma as stored
        {255, 128, 128, {255, 255, 255}, 0xFFFF},  // above studio white clamps
        {0, 128, 128, {0, 0, 0}, 0x0000},          // below studio black clamps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "y " << int(c.y) << " u " << int(c.u) << " v " << int(c.v));
        EXPECT_EQ(OnePixel24(c.y, c.u, c.v), c.bgr);
        EXPECT_EQ(OnePixel565(c.y, c.u, c.v), c.rgb565);
    }
}

TEST(ColorConvert, SaturatedChromaClampsEachChannel) {
    // Pure blue-ish and red-ish extremes push single channels past the range.
    Bgr blue = OnePixel24(128, 255, 128);
    EXPECT_EQ(blue.b, 255);
    EXPECT_EQ(blue.r, 130);
    Bgr red = OnePixel24(128, 128, 255);
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.b, 130);
    Bgr dark = OnePixel24(16, 0, 0);
    EXPECT_EQ(dark.b, 0);    // a negative sum gives 0
    EXPECT_EQ(dark.r, 0);
    EXPECT_EQ(OnePixel565(255, 255, 255) & 0x1F, 0x1F);   // beyond the top guard band's start
    EXPECT_EQ(OnePixel565(0, 0, 0) & 0x1F, 0);            // below zero lands in the lower guard band
}

TEST(ColorConvert, TableEntries) {
    const Rgb24Tables& a = Rgb24();
    EXPECT_EQ(a.luma[0], -16 * 9535);
    EXPECT_EQ(a.luma[255], 239 * 9535);
    EXPECT_EQ(a.redFromV[0], -128 * 13074);
    EXPECT_EQ(a.greenFromU[255], 127 * 3203);
    EXPECT_EQ(a.greenFromV[128], 0);
    EXPECT_EQ(a.blueFromU[1], -127 * 16531);

    const Rgb565Tables& b = Rgb565();
    EXPECT_EQ(b.luma[37], 37);
    // Truncated toward zero: -179.37 gives -179, not -180.
    EXPECT_EQ(b.redFromV[0], -179);
    EXPECT_EQ(b.redFromV[255], 177);
    EXPECT_EQ(b.greenFromV[255], -90);
    EXPECT_EQ(b.greenFromU[0], 44);
    EXPECT_EQ(b.blueFromU[0], -226);   // -226.99
    EXPECT_EQ(b.blueFromU[255], 225);
}

TEST(ColorConvert, PackingTablesCarryGuardBands) {
    const Rgb565Tables& t = Rgb565();
    struct Case {
        int k;
        int32_t red, green, blue;
    };
    const Case cases[] = {
        {-256, 0, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 0},
        {8, 1 << 11, 2 << 5, 1}, {128, 0x8000, 0x0400, 0x10},
        {255, 0xF800, 0x07E0, 0x1F}, {256, 0xF800, 0x07E0, 0x1F}, {511, 0xF800, 0x07E0, 0x1F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        EXPECT_EQ(t.redPack[c.k], c.red);
        EXPECT_EQ(t.greenPack[c.k], c.green);
        EXPECT_EQ(t.bluePack[c.k], c.blue);
    }
}

TEST(ColorConvert, EachChromaSampleServesItsTwoByTwoBlock) {
    // 4 x 4 picture, flat luma, a different chroma pair in each 2 x 2 block.
    const int w = 4, h = 4;
    std::vector<uint8_t> y(w * h), u = {40, 90, 170, 220}, v = {200, 60, 150, 100};
    for (int i = 0; i < w * h; ++i) y[size_t(i)] = uint8_t(60 + 9 * i);
    std::vector<uint8_t> bgr(size_t(3 * w * h));
    std::vector<uint16_t> rgb(size_t(w * h));
    YuvToRgb24(bgr.data(), 3 * w, y.data(), u.data(), v.data(), w, 2, w, h);
    YuvToRgb565(rgb.data(), y.data(), u.data(), v.data(), w, 2, w, h);
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            SCOPED_TRACE(testing::Message() << row << "," << col);
            int block = (row / 2) * 2 + col / 2;
            uint8_t ly = y[size_t(row * w + col)];
            const uint8_t* p = &bgr[size_t(3 * (row * w + col))];
            EXPECT_EQ((Bgr{p[0], p[1], p[2]}), OnePixel24(ly, u[size_t(block)], v[size_t(block)]));
            EXPECT_EQ(rgb[size_t(row * w + col)], OnePixel565(ly, u[size_t(block)], v[size_t(block)]));
        }
    }
}

TEST(ColorConvert, NegativeHeightWritesBottomRowFirst) {
    const int w = 2, h = 4;
    uint8_t y[w * h] = {20, 20, 80, 80, 140, 140, 200, 200};
    uint8_t u[2] = {128, 128}, v[2] = {128, 128};
    std::vector<uint8_t> top(24), bottom(24);
    YuvToRgb24(top.data(), 6, y, u, v, w, 1, w, h);
    YuvToRgb24(bottom.data(), 6, y, u, v, w, 1, w, -h);
    for (int row = 0; row < h; ++row)
        EXPECT_TRUE(std::equal(top.begin() + 6 * row, top.begin() + 6 * row + 6,
                               bottom.begin() + 6 * (h - 1 - row)))
            << row;
}

TEST(ColorConvert, HonoursStridesAndPaddedDestinationRows) {
    // Source rows carry junk past the visible width; destination rows are
    // padded to 4 bytes. Neither junk nor padding may show.
    const int w = 3, h = 2, yStride = 8, uvStride = 5, dstStride = Rgb24RowBytes(w);
    ASSERT_EQ(dstStride, 12);
    std::vector<uint8_t> y(size_t(yStride * h), 255), u(size_t(uvStride), 0), v(size_t(uvStride), 0);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) y[size_t(r * yStride + c)] = 128;
    u[0] = u[1] = v[0] = v[1] = 128;
    std::vector<uint8_t> bgr(size_t(dstStride * h), 0xAB);
    YuvToRgb24(bgr.data(), dstStride, y.data(), u.data(), v.data(), yStride, uvStride, w, h);
    for (int r = 0; r < h; ++r) {
        for (int i = 0; i < 3 * w; ++i) EXPECT_EQ(bgr[size_t(r * dstStride + i)], 130) << r << "," << i;
        for (int i = 3 * w; i < dstStride; ++i) EXPECT_EQ(bgr[size_t(r * dstStride + i)], 0xAB);
    }
    std::vector<uint16_t> rgb(size_t(w * h));
    YuvToRgb565(rgb.data(), y.data(), u.data(), v.data(), yStride, uvStride, w, h);
    for (uint16_t p : rgb) EXPECT_EQ(p, 0x8410);
}

TEST(ColorConvert, OddSizesStayInsideTightPlanes) {
    struct Size { int w, h; };
    for (Size s : {Size{7, 5}, Size{1, 1}, Size{5, 2}, Size{2, 3}, Size{33, 5}, Size{48, 3}}) {
        SCOPED_TRACE(testing::Message() << s.w << "x" << s.h);
        int cw = (s.w + 1) / 2, ch = (s.h + 1) / 2;
        GuardedPlane y(size_t(s.w * s.h)), u(size_t(cw * ch)), v(size_t(cw * ch));
        memset(y.data(), 128, y.size());
        for (int i = 0; i < cw * ch; ++i) {
            u.data()[i] = uint8_t(100 + 10 * i);
            v.data()[i] = uint8_t(200 - 10 * i);
        }
        std::vector<uint8_t> bgr(size_t(Rgb24RowBytes(s.w) * s.h));
        std::vector<uint16_t> rgb(size_t(s.w * s.h));
        YuvToRgb24(bgr.data(), Rgb24RowBytes(s.w), y.data(), u.data(), v.data(), s.w, cw, s.w, s.h);
        YuvToRgb565(rgb.data(), y.data(), u.data(), v.data(), s.w, cw, s.w, s.h);
        // The bottom-right pixel takes the last chroma sample.
        int last = cw * ch - 1;
        const uint8_t* p = &bgr[size_t(Rgb24RowBytes(s.w) * (s.h - 1) + 3 * (s.w - 1))];
        EXPECT_EQ((Bgr{p[0], p[1], p[2]}), OnePixel24(128, u.data()[last], v.data()[last]));
        EXPECT_EQ(rgb.back(), OnePixel565(128, u.data()[last], v.data()[last]));
    }
}

// Every Y, U and V value together: for each U, a picture whose row pairs
// take every V and whose two rows carry every luma value, shifted a little
// per pair so that values meet every position in a row. The fast path must
// give what the tables give, pixel for pixel, in both conversions.
TEST(ColorConvert, FastPathEqualsTheTablesForEveryInput) {
    if (!HasSimdConversion()) GTEST_SKIP() << "no SSE2 here: the tables are the only path";
    const int w = 128, h = 512, cw = w / 2, ch = h / 2;
    std::vector<uint8_t> y(size_t(w * h)), u(size_t(cw * ch)), v(size_t(cw * ch));
    for (int pair = 0; pair < ch; ++pair)
        for (int c = 0; c < w; ++c) {
            y[size_t(2 * pair * w + c)] = uint8_t(c + 3 * pair);
            y[size_t((2 * pair + 1) * w + c)] = uint8_t(128 + c + 3 * pair);
        }
    for (int pair = 0; pair < ch; ++pair)
        for (int c = 0; c < cw; ++c) v[size_t(pair * cw + c)] = uint8_t(pair);
    const int stride24 = 3 * w;
    std::vector<uint8_t> fast24(size_t(stride24 * h)), table24(fast24.size());
    std::vector<uint8_t> fast565(size_t(2 * w * h)), table565(fast565.size());
    int mismatches = 0;
    for (int uu = 0; uu < 256; ++uu) {
        std::fill(u.begin(), u.end(), uint8_t(uu));
        YuvToRgb565(fast565.data(), 2 * w, y.data(), u.data(), v.data(), w, cw, w, h);
        YuvToRgb565Portable(table565.data(), 2 * w, y.data(), u.data(), v.data(), w, cw, w, h);
        if (fast565 != table565) {
            ADD_FAILURE() << "RGB565 differs for U " << uu;
            ++mismatches;
        }
        for (int sign : {1, -1}) {
            YuvToRgb24(fast24.data(), stride24, y.data(), u.data(), v.data(), w, cw, w, sign * h);
            YuvToRgb24Portable(table24.data(), stride24, y.data(), u.data(), v.data(), w, cw, w, sign * h);
            if (fast24 != table24) {
                ADD_FAILURE() << "RGB24 differs for U " << uu << " height sign " << sign;
                ++mismatches;
            }
        }
        if (mismatches > 5) break;
    }
}

// Sizes whose columns and rows leave tails around the fast path's 16 x 2
// steps, with padded source rows and destination rows: the two paths agree
// on every byte, padding included (neither writes past a row's width).
TEST(ColorConvert, FastPathEqualsTheTablesAtAnySizeAndStride) {
    struct Case {
        int w, h, yPad, uvPad, dstPad;
    };
    const Case cases[] = {
        {16, 2, 0, 0, 0},   {17, 3, 5, 3, 2},   {31, 7, 1, 9, 6},  {33, 1, 0, 0, 4},
        {64, 4, 64, 32, 0}, {350, 286, 18, 9, 4}, {704, 576, 64, 32, 128}, {15, 16, 1, 1, 2},
    };
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return uint8_t(seed >> 16);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const int cw = (c.w + 1) / 2, ch = (c.h + 1) / 2;
        const int yStride = c.w + c.yPad, uvStride = cw + c.uvPad;
        std::vector<uint8_t> y(size_t(yStride * c.h)), u(size_t(uvStride * ch)), v(size_t(uvStride * ch));
        for (uint8_t& b : y) b = next();
        for (uint8_t& b : u) b = next();
        for (uint8_t& b : v) b = next();
        const int pitch = 2 * c.w + 2 * c.dstPad;
        std::vector<uint8_t> fast(size_t(pitch * c.h), 0xAB), table(fast.size(), 0xAB);
        YuvToRgb565(fast.data(), pitch, y.data(), u.data(), v.data(), yStride, uvStride, c.w, c.h);
        YuvToRgb565Portable(table.data(), pitch, y.data(), u.data(), v.data(), yStride, uvStride, c.w, c.h);
        EXPECT_TRUE(fast == table) << "RGB565";
        const int stride = Rgb24RowBytes(c.w) + c.dstPad;
        for (int sign : {1, -1}) {
            std::vector<uint8_t> fast24(size_t(stride * c.h), 0xAB), table24(fast24.size(), 0xAB);
            YuvToRgb24(fast24.data(), stride, y.data(), u.data(), v.data(), yStride, uvStride, c.w, sign * c.h);
            YuvToRgb24Portable(table24.data(), stride, y.data(), u.data(), v.data(), yStride, uvStride, c.w,
                               sign * c.h);
            EXPECT_TRUE(fast24 == table24) << "RGB24, height sign " << sign;
        }
    }
}
