#include "GResource.h"

#include "GdiplusInclude.h"
#include "GdiplusSession.h"

#include <gtest/gtest.h>

namespace {
HMODULE Self() { return GetModuleHandleW(nullptr); }
}

TEST(GResource, LoadsBmpAndJpegDataAndReleasesOnFailure)
{
    CGdiplusSession gdiplus;
    GResource r;
    EXPECT_EQ(r.bitmap, nullptr);
    EXPECT_EQ(r.buffer, nullptr);

    ASSERT_TRUE(r.Load(226, Self()));  // a BMP file in a "JPG" resource
    ASSERT_NE(r.bitmap, nullptr);
    EXPECT_EQ(r.bitmap->GetWidth(), 24u);
    HGLOBAL first = r.buffer;
    EXPECT_NE(first, nullptr);

    // A second load lets the first block go: it is no longer a valid block.
    ASSERT_TRUE(r.Load(243, Self()));  // JPEG data
    EXPECT_EQ(r.bitmap->GetWidth(), 120u);
    EXPECT_NE(r.buffer, nullptr);

    struct Case {
        int id;
    } failing[] = {{999}, {500}};  // missing; not an image
    for (const Case& c : failing) {
        ASSERT_TRUE(r.Load(226, Self()));
        EXPECT_FALSE(r.Load(c.id, Self())) << c.id;
        EXPECT_EQ(r.bitmap, nullptr) << c.id;
        EXPECT_EQ(r.buffer, nullptr) << c.id;
    }
}

TEST(GResource, EmptyHolderDestroysQuietly)
{
    int before = CGdiplusSession::LateReleases();
    {
        GResource r;  // no session needed for nothing
    }
    EXPECT_EQ(CGdiplusSession::LateReleases(), before);
}
