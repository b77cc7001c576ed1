#include "avi/AviDialogLayout.h"

int AviLabelColumnGrowth(const int* textWidths, int count, int columnWidth)
{
    int widest = 0;
    for (int i = 0; i < count; ++i)
        if (textWidths[i] > widest)
            widest = textWidths[i];
    return widest > columnWidth ? widest - columnWidth : 0;
}

RECT AviControlPlace(const RECT& r, AviControlKind kind, int growth)
{
    RECT p = r;
    switch (kind) {
    case AviControlKind::Label:
    case AviControlKind::Spanning: p.right += growth; break;
    case AviControlKind::Field: OffsetRect(&p, growth, 0); break;
    case AviControlKind::Centred: OffsetRect(&p, growth / 2, 0); break;
    }
    return p;
}

AviControlKind AviControlKindOf(const RECT& r, int columnRight)
{
    if (r.left >= columnRight)
        return AviControlKind::Field;
    return r.right > columnRight ? AviControlKind::Spanning : AviControlKind::Label;
}
