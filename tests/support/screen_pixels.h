// Pixels as the screen shows them and as the program's bitmap resources hold them, for
// comparing what a window shows with the picture it should show.
#ifndef TOLLAN_TESTS_SCREEN_PIXELS_H
#define TOLLAN_TESTS_SCREEN_PIXELS_H

#include <windows.h>

#include <vector>

namespace screen_pixels {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;  // row by row from the top, RGB()
    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

// What the screen shows in rect (screen coordinates) right now.
Pixels Capture(const RECT& rect);
// A bitmap's pixels (its size is the bitmap's); empty when it cannot be read.
Pixels OfBitmap(HBITMAP bitmap);
// Bitmap resource id of the program; empty when there is none.
Pixels OfResource(UINT id);

// Pixels of region (left, top, width, height) of picture that differ from shown at the same
// place of shown's region starting at (shownLeft, shownTop).
int Differences(const Pixels& picture, const Pixels& shown, int shownLeft, int shownTop, int width, int height);

}  // namespace screen_pixels

#endif
