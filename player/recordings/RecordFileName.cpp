#include "recordings/RecordFileName.h"

#include <cstdio>
#include <type_traits>

namespace {

const size_t kNameLength = 32;
const size_t kFieldsEnd = 24;  // the fields read end before position 24
const char* const kResolutions[] = {"D1", "HD1", "CIF", "QCIF", "960H", "720P", "1080P"};

template <class Ch>
bool IsRecordName(std::basic_string_view<Ch> name)
{
    static const char kExtension[] = ".h264";
    if (name.size() != kNameLength)
        return false;
    for (size_t i = 0; i < 5; ++i)
        if (name[kNameLength - 5 + i] != static_cast<Ch>(kExtension[i]))
            return false;
    return name[3] == '-' && name[6] == '-' && name[13] == '-' && name[20] == '-';
}

// A character as a code from 0 up, whatever the signedness of Ch.
template <class Ch>
unsigned Code(Ch c)
{
    return static_cast<unsigned>(static_cast<std::make_unsigned_t<Ch>>(c));
}

template <class Ch>
int Field(std::basic_string_view<Ch> name, size_t pos)
{
    if (pos + 2 > name.size())
        return 0;
    size_t i = pos, end = pos + 2;
    bool negative = false;
    if (name[i] == '-' || name[i] == '+') {
        negative = name[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < end && Code(name[i]) >= '0' && Code(name[i]) <= '9'; ++i)
        value = value * 10 + static_cast<int>(Code(name[i]) - '0');
    return negative ? -value : value;
}

template <class Ch>
int Parse(std::basic_string_view<Ch> name, int* startHms, int* endHms, std::wstring* info)
{
    if (name.size() < kFieldsEnd) {
        if (startHms)
            *startHms = 0;
        if (endHms)
            *endHms = 0;
        if (info)
            info->clear();
        return 0;
    }
    const int channel = Field(name, 4);
    const int start[3] = {Field(name, 7), Field(name, 9), Field(name, 11)};
    const int end[3] = {Field(name, 14), Field(name, 16), Field(name, 18)};
    if (startHms)
        *startHms = start[0] * 10000 + start[1] * 100 + start[2];
    if (endHms)
        *endHms = end[0] * 10000 + end[1] * 100 + end[2];
    if (!info)
        return channel;

    // A standard character above '0' is NTSC, anything else PAL.
    const char* standard = Code(name[21]) <= '0' ? "PAL" : "NTSC";
    unsigned r = Code(name[22]);
    const char* resolution = r < '0' ? kResolutions[0] : r > '6' ? kResolutions[6] : kResolutions[r - '0'];
    // Below 'A' a character counts from '0' (digits 0..9); from 'A' on,
    // its lower-case code from 87 ('a' 10, 'p' 25).
    unsigned f = Code(name[23]);
    int rate = f < 'A' ? static_cast<int>(f) - '0' : static_cast<int>(f >= 'A' && f <= 'Z' ? f + 32 : f) - 87;

    char text[96];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d-%02d:%02d:%02d CH%02d %s %s %02dF/S", start[0], start[1],
                  start[2], end[0], end[1], end[2], channel, standard, resolution, rate);
    info->assign(text, text + std::char_traits<char>::length(text));
    return channel;
}

}  // namespace

bool IsRecordFileName(std::wstring_view name)
{
    return IsRecordName(name);
}

bool IsRecordFileName(std::string_view name)
{
    return IsRecordName(name);
}

int ParseRecordFileName(std::wstring_view name, int* startHms, int* endHms, std::wstring* info)
{
    return Parse(name, startHms, endHms, info);
}

int ParseRecordFileName(std::string_view name, int* startHms, int* endHms, std::wstring* info)
{
    return Parse(name, startHms, endHms, info);
}

int RecordNameField(std::wstring_view name, size_t pos)
{
    return Field(name, pos);
}
