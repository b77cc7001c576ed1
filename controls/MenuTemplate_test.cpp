#include "MenuTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A template written word by word, as the resource compiler does.
class Template {
public:
    explicit Template(WORD version = 0, WORD offset = 0)
    {
        Word(version);
        Word(offset);
        bytes.resize(bytes.size() + offset, 0);
    }
    Template& Item(WORD flags, WORD id, const std::wstring& caption)
    {
        Word(flags);
        Word(id);
        return Text(caption);
    }
    Template& Popup(WORD flags, const std::wstring& caption)
    {
        Word(static_cast<WORD>(flags | MF_POPUP));
        return Text(caption);
    }
    Template& Word(WORD w)
    {
        bytes.push_back(static_cast<BYTE>(w & 0xFF));
        bytes.push_back(static_cast<BYTE>(w >> 8));
        return *this;
    }
    Template& Text(const std::wstring& s)
    {
        for (wchar_t c : s)
            Word(static_cast<WORD>(c));
        return Word(0);
    }
    bool Parse(std::vector<MenuTemplateStep>* steps = nullptr) const
    {
        // An exact-size heap copy: nothing past it is readable by chance.
        std::vector<BYTE> copy(bytes);
        return ParseMenuTemplate(copy.data(), copy.size(), steps);
    }
    std::vector<BYTE> bytes;
};

// Steps as text: "Item:flags:id:caption" or "Close".
std::vector<std::string> Describe(const std::vector<MenuTemplateStep>& steps)
{
    std::vector<std::string> out;
    for (const MenuTemplateStep& s : steps) {
        if (s.kind == MenuTemplateStep::Close) {
            out.push_back("Close");
            continue;
        }
        std::string caption;
        for (wchar_t c : s.caption)
            caption += c < 0x80 ? static_cast<char>(c) : '?';
        out.push_back(caption + ":" + std::to_string(s.flags & ~MF_END) + ":" + std::to_string(s.id) +
                      (s.flags & MF_END ? ":end" : ""));
    }
    return out;
}

// File { Open, separator, More { A }, } Edit { Undo }
Template Nested()
{
    Template t;
    t.Popup(0, L"File")
        .Item(0, 1, L"Open\tCtrl+O")
        .Item(0, 0, L"")
        .Popup(MF_END, L"More")
        .Item(MF_END | MF_GRAYED, 2, L"A")
        .Popup(MF_END, L"Edit")
        .Item(MF_END, 3, L"\x64a4\x9500");
    return t;
}

}  // namespace

TEST(MenuTemplate, StepsFollowTheNesting)
{
    std::vector<MenuTemplateStep> steps;
    ASSERT_TRUE(Nested().Parse(&steps));
    std::vector<std::string> expected = {
        "File:16:0", "Open\tCtrl+O:0:1", ":0:0", "More:16:0:end", "A:1:2:end", "Close", "Close", "Edit:16:0:end",
        "??:0:3:end", "Close", "Close",
    };
    EXPECT_EQ(Describe(steps), expected);
    EXPECT_EQ(steps[8].caption, L"\x64a4\x9500");
}

TEST(MenuTemplate, FirstPopupThatIsAlsoTheLastItemClosesTheMenuWithIt)
{
    Template t;
    t.Popup(MF_END, L"Only").Item(0, 1, L"One").Item(MF_END, 2, L"Two");
    std::vector<MenuTemplateStep> steps;
    ASSERT_TRUE(t.Parse(&steps));
    std::vector<std::string> expected = {"Only:16:0:end", "One:0:1", "Two:0:2:end", "Close", "Close"};
    EXPECT_EQ(Describe(steps), expected);
}

TEST(MenuTemplate, HeaderOffsetAndZeroPaddingAreAccepted)
{
    Template t(0, 6);
    t.Item(MF_END, 7, L"x").Word(0);
    std::vector<MenuTemplateStep> steps;
    ASSERT_TRUE(t.Parse(&steps));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].id, 7);
}

TEST(MenuTemplate, EveryTruncationIsRejected)
{
    const std::vector<BYTE> whole = Nested().bytes;
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<BYTE> cut(whole.begin(), whole.begin() + n);
        EXPECT_FALSE(ParseMenuTemplate(cut.data(), cut.size(), nullptr)) << n << " bytes";
    }
    EXPECT_FALSE(ParseMenuTemplate(nullptr, 100, nullptr));
}

TEST(MenuTemplate, MalformedTemplatesGiveNoSteps)
{
    struct Case {
        const char* what;
        Template t;
    } cases[] = {
        {"extended template", Template(1, 4).Word(0).Word(0).Word(0).Word(0)},
        {"another version over a plain body", Template(1, 0).Item(MF_END, 1, L"a")},
        {"offset past the end", Template(0, 0).Word(0).Word(0)},
        {"no END at all", Template().Item(0, 1, L"a").Item(0, 2, L"b")},
        {"popup without its END", Template().Popup(MF_END, L"p").Item(0, 1, L"a")},
        {"items after the end", Template().Item(MF_END, 1, L"a").Item(MF_END, 2, L"b")},
        {"an odd byte after the end", Template().Item(MF_END, 1, L"a")},
        {"caption without its NUL", Template().Word(MF_END).Word(1).Word('a').Word('b')},
    };
    cases[2].t.bytes[2] = 0x40;  // offset 0x40 past a short template
    cases[6].t.bytes.push_back(1);
    for (Case& c : cases) {
        std::vector<MenuTemplateStep> steps(1);
        EXPECT_FALSE(c.t.Parse(&steps)) << c.what;
        EXPECT_EQ(steps.size(), 1u) << c.what;  // untouched
    }
}
