// Controls that line up with a picture: the numbers "1" to "8" in a row under a panel
// picture stand under the picture's eight columns (its buttons or switches and their LEDs).
// The dialog manager places them by the font's dialog units, which do not grow exactly as
// the picture does, so they are placed again relative to the picture.
#ifndef TOLLAN_SCALING_PICTURE_ALIGNMENT_H
#define TOLLAN_SCALING_PICTURE_ALIGNMENT_H

#include <windows.h>

namespace scaling {

// The column (0 to 7) that a static text numbers ("1" to "8"); -1 for any other control.
int NumberedColumn(HWND control);

// A label stands under a picture when its top is between the picture's middle and one
// label height below the picture. Its left and right are not asked: the dialog units may
// have spread the row wider than the picture.
bool StandsUnder(const RECT& label, const RECT& picture);

// Where the label of column goes: centred under the column, just below the picture.
RECT AlignedLabelRect(const RECT& label, const RECT& picture, int column, int percent);

}  // namespace scaling

#endif
