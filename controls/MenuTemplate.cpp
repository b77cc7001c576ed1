#include "MenuTemplate.h"

namespace {

// Words in the template's little-endian order, never past the end.
class WordReader {
public:
    WordReader(const void* data, size_t size) : m_data(static_cast<const BYTE*>(data)), m_size(size) {}
    bool Read(WORD* w)
    {
        if (m_pos > m_size || m_size - m_pos < 2)
            return false;
        *w = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool Skip(size_t n)
    {
        if (n > m_size - m_pos)
            return false;
        m_pos += n;
        return true;
    }
    bool RestIsZero() const
    {
        for (size_t i = m_pos; i < m_size; ++i)
            if (m_data[i])
                return false;
        return true;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace

bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuTemplateStep>* steps)
{
    std::vector<MenuTemplateStep> out;
    if (!data)
        return false;
    WordReader r(data, size);
    WORD version = 0, offset = 0;
    if (!r.Read(&version) || !r.Read(&offset) || version != 0 || !r.Skip(offset))
        return false;
    // One entry per open level: whether its last item has been read.
    std::vector<bool> ended(1, false);
    while (!ended.empty()) {
        MenuTemplateStep item{MenuTemplateStep::Item, 0, 0, {}};
        if (!r.Read(&item.flags))
            return false;
        if (!(item.flags & MF_POPUP) && !r.Read(&item.id))
            return false;
        for (WORD c;;) {
            if (!r.Read(&c))
                return false;
            if (!c)
                break;
            item.caption.push_back(static_cast<wchar_t>(c));
        }
        const bool last = (item.flags & MF_END) != 0;
        const bool popup = (item.flags & MF_POPUP) != 0;
        out.push_back(std::move(item));
        if (last)
            ended.back() = true;
        if (popup) {
            ended.push_back(false);
            continue;
        }
        while (!ended.empty() && ended.back()) {
            out.push_back({MenuTemplateStep::Close, 0, 0, {}});
            ended.pop_back();
        }
    }
    if (!r.RestIsZero())
        return false;
    if (steps)
        *steps = std::move(out);
    return true;
}
