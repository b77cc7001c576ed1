#include "TooltipText.h"

#include <gtest/gtest.h>

using namespace geodraw;

TEST(TooltipText, TagsStrippedEntitiesDecodedSpaceFolded) {
    struct Case { const wchar_t* balloon; const wchar_t* text; } cases[] = {
        // What the player sends, in English and in Chinese.
        {L"<span class ='b'>speed:</span>45 mile/h <marquee width=25></marquee>", L"speed:45 mile/h"},
        {L"<span class ='b'>\u901F\u5EA6:</span>45 km/h <marquee width=25></marquee>", L"\u901F\u5EA6:45 km/h"},
        {L"a<br>b", L"a\r\nb"},
        {L"a<BR/>b<p>c</p>", L"a\r\nb\r\nc"},
        {L"<p></p><p> x </p><br><br>", L"x"},
        {L"1 &lt; 2 &amp;&amp; 3 &gt; 2", L"1 < 2 && 3 > 2"},
        {L"&quot;A&quot;&apos;&#x42;&#67;", L"\"A\"'BC"},
        {L"&lt;b&gt;bold&lt;/b&gt;", L"<b>bold</b>"},   // decoded text is no tag
        {L"a&nbsp;&nbsp;b", L"a b"},
        {L"&unknown; &#0; &#xZZ; & ;", L"&unknown; &#0; &#xZZ; & ;"},
        {L"x < y", L"x < y"},                           // no tag
        {L"speed <b", L"speed <b"},                     // never closed
        {L"<!-- note -->x", L"x"},
        {L"  lots   of\t\tspace \r\n here ", L"lots of space here"},
        {L"", L""},
        {L"<span></span>", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(TooltipText(c.balloon), c.text) << testing::PrintToString(c.balloon);
}
