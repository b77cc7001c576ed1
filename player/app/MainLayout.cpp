#include "app/MainLayout.h"

#include "vehicle/SidePanelLayout.h"

int ToolButtonY(int y1, int y2)
{
    return y1 + (y2 - y1 - 24) / 2;
}

namespace {
// A vertical scroll bar and the list's borders.
const int kListScrollRoom = 22;
}  // namespace

MainLayout ComputeMainLayout(int W, int H, const ListWidths& list)
{
    MainLayout m = {};
    const int wanted = list.allColumns <= 28 * W / 100 ? list.allColumns : list.timeColumns;
    const int L = 20 * W / 100 + 5 > wanted ? 20 * W / 100 + 5 : wanted;
    const int R = 23 * W / 100;
    const int y84 = 84 * H / 100;
    m.left = L;
    m.right = R;
    // The left column from the top: the search panel with its date picker,
    // the row of tool buttons, the recording list; none over another.
    m.search = {0, 0, L, kSearchPanelHeight};
    const int y = kSearchPanelHeight + 2;
    for (int i = 0; i < 6; ++i)
        m.toolButtons[i] = {20 + 29 * i, y, 24, 24};
    const int listTop = y + 24 + 2;
    m.fileList = {-11, listTop, L + 11, y84 - listTop};  // its margin left of the window's edge
    m.streamInfo = {0, y84, L, H - y84};
    // The right column: the GPS panel along the bottom, as high as its
    // controls need (at least what is left under the 84% line), the map
    // above it.
    const int gpsTop = y84 + 2 < H - kGpsPanelHeight ? y84 + 2 : H - kGpsPanelHeight;
    m.map = {W - R, 0, R, gpsTop - 2};
    m.gps = {W - R, gpsTop, R, H - gpsTop};
    const int middle = (W - R - 2) - (L + 2);
    m.playback = {L + 2, 0, middle, y84};
    m.scope = {L + 2, y84, middle, H - 17 - y84};
    m.legend = {L + 2, H - 17, middle, 17};
    // Date, begin, channel and end have fixed widths; type and size share
    // what the list (as wide as the left column) has left beside a
    // vertical scroll bar, and never get less than 8% and 9% of the column.
    // The list widens a column whose texts need more (it then scrolls).
    const int rest = L - (68 + 56 + 31 + 56) - kListScrollRoom;
    const int type = rest * 3 / 5 > 8 * L / 100 ? rest * 3 / 5 : 8 * L / 100;
    const int size = rest - type > 9 * L / 100 ? rest - type : 9 * L / 100;
    const int cols[6] = {68, 56, 31, 56, type, size};
    for (int i = 0; i < 6; ++i)
        m.listColumns[i] = cols[i];
    return m;
}

int WindowsVersionCode(unsigned major, unsigned minor)
{
    if (major == 5 && minor <= 2)
        return static_cast<int>(minor) + 1;
    if (major == 6 && minor == 0)
        return 4;
    if (major == 6 && minor == 1)
        return 5;
    return 2;
}
