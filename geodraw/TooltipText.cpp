#include "TooltipText.h"

#include <wctype.h>

namespace geodraw {

namespace {

bool OpensTag(wchar_t c) {
    return iswalpha(c) || c == L'/' || c == L'!';
}

// The tag's name, lower case, without a leading '/'.
std::wstring TagName(const std::wstring& s, size_t open, size_t close) {
    size_t i = open + 1;
    if (i < close && s[i] == L'/') ++i;
    std::wstring name;
    while (i < close && iswalnum(s[i])) name += wchar_t(towlower(s[i++]));
    return name;
}

// Decodes the entity at `amp`; gives its length in `length`, 0 when it is none.
wchar_t Entity(const std::wstring& s, size_t amp, size_t* length) {
    static const struct { const wchar_t* name; wchar_t c; } kNamed[] = {
        {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}, {L"nbsp", L' '},
    };
    *length = 0;
    size_t semi = s.find(L';', amp);
    if (semi == std::wstring::npos || semi - amp > 10) return 0;
    std::wstring body = s.substr(amp + 1, semi - amp - 1);
    if (body.size() > 1 && body[0] == L'#') {
        bool hex = body[1] == L'x' || body[1] == L'X';
        size_t first = hex ? 2 : 1;
        if (first >= body.size()) return 0;
        unsigned long code = 0;
        for (size_t i = first; i < body.size(); ++i) {
            wchar_t c = body[i];
            int digit = iswdigit(c) ? c - L'0' : hex && iswxdigit(c) ? (towlower(c) - L'a' + 10) : -1;
            if (digit < 0) return 0;
            code = code * (hex ? 16 : 10) + unsigned(digit);
            if (code > 0xFFFF) return 0;
        }
        if (code == 0) return 0;
        *length = semi - amp + 1;
        return wchar_t(code);
    }
    for (const auto& e : kNamed)
        if (body == e.name) {
            *length = semi - amp + 1;
            return e.c;
        }
    return 0;
}

}  // namespace

std::wstring TooltipText(const std::wstring& balloon) {
    // Pass 1: tags out, entities decoded; '\n' marks the breaks of <br> and <p>.
    std::wstring flat;
    for (size_t i = 0; i < balloon.size();) {
        wchar_t c = balloon[i];
        if (c == L'<' && i + 1 < balloon.size() && OpensTag(balloon[i + 1])) {
            size_t close = balloon.find(L'>', i);
            if (close != std::wstring::npos) {
                std::wstring name = TagName(balloon, i, close);
                if (name == L"br" || name == L"p") flat += L'\n';
                i = close + 1;
                continue;
            }
        }
        if (c == L'&') {
            size_t length;
            wchar_t decoded = Entity(balloon, i, &length);
            if (length) {
                flat += decoded;
                i += length;
                continue;
            }
        }
        flat += c == L'\n' ? L' ' : c;   // a line break in the text is white space
        ++i;
    }
    // Pass 2: white space folded, lines trimmed, empty lines dropped.
    std::wstring text, line;
    bool space = false;
    auto endLine = [&]() {
        if (!line.empty()) {
            if (!text.empty()) text += L"\r\n";
            text += line;
        }
        line.clear();
        space = false;
    };
    for (wchar_t c : flat) {
        if (c == L'\n') {
            endLine();
        } else if (iswspace(c) || c < 0x20) {
            space = !line.empty();
        } else {
            if (space) line += L' ';
            space = false;
            line += c;
        }
    }
    endLine();
    return text;
}

}  // namespace geodraw
