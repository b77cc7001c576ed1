#include "LanguageHolder.h"

#include <gtest/gtest.h>

namespace {
const int kIds[] = {
#include "StringIds.inc"
};
}

TEST(StringTable, EveryIdHasATextInAllThreeLanguages)
{
    LanguageHolder holder;
    for (int id : kIds) {
        for (int lang = 0; lang < 3; ++lang) {
            holder.SetLanguage(lang);
            EXPECT_FALSE(holder.Text(id).IsEmpty()) << "id " << id << " language " << lang;
        }
    }
}

TEST(StringTable, ChineseComesBackExactlyAndMissingIdsAreEmpty)
{
    LanguageHolder holder;  // Simplified Chinese until the start-up choice
    EXPECT_EQ(holder.Text(509), L"车载录像分析软件");
    holder.SetLanguage(2);
    EXPECT_EQ(holder.Text(509), L"車載錄影分析軟體");
    holder.SetLanguage(0);
    EXPECT_EQ(holder.Text(509), L"Vehicle Recorder Analysis Software");
    EXPECT_EQ(holder.Text(1), L"&About KELVANIX...");
    EXPECT_TRUE(holder.Text(3).IsEmpty());  // no fallback to another id
}
