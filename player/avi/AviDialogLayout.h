// The AVI export dialog's labels sit in a column left of the fields. Where
// a language's label is wider than that column, the column widens and what
// lies right of it moves over (the dialog grows by as much), so that every
// label reads whole on one line. Plain maths on the dialog's client
// rectangles, in pixels.
#pragma once

#include <windows.h>

// How much the label column must widen for its widest text (0 when every
// text fits).
int AviLabelColumnGrowth(const int* textWidths, int count, int columnWidth);

// What a control does when the column widens.
enum class AviControlKind {
    Label,    // in the column: as wide as the column
    Field,    // right of the column: moves over
    Spanning, // from the column across the fields (the progress bar): widens
    Centred,  // centred in the dialog (START): moves half as far
};

RECT AviControlPlace(const RECT& r, AviControlKind kind, int growth);

// The kind of a control at r for a label column ending at columnRight.
AviControlKind AviControlKindOf(const RECT& r, int columnRight);
