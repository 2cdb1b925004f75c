#include "scaling/picture_alignment.h"

#include "scaling/display_scale.h"

namespace scaling {

namespace {

const int kColumnCount = 8;
// A panel picture is 200 pixels wide at 100 %: eight columns of 25 pixels.
const int kColumnWidth100 = 25;
// The numbers stand one pixel (at 100 %) below the picture.
const int kGapBelowPicture100 = 1;

}  // namespace

int NumberedColumn(HWND control) {
    wchar_t className[16] = L"";
    (void)::GetClassNameW(control, className, 16);
    if (::lstrcmpiW(className, L"Static") != 0)
        return -1;
    const LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
        return -1;
    wchar_t text[4] = L"";
    if (::GetWindowTextW(control, text, 4) != 1 || text[0] < L'1' || text[0] > L'0' + kColumnCount)
        return -1;
    return text[0] - L'1';
}

bool StandsUnder(const RECT& label, const RECT& picture) {
    const LONG height = label.bottom - label.top;
    return label.top >= (picture.top + picture.bottom) / 2 && label.top <= picture.bottom + height;
}

RECT AlignedLabelRect(const RECT& label, const RECT& picture, int column, int percent) {
    const LONG width = label.right - label.left;
    const LONG height = label.bottom - label.top;
    RECT aligned = {};
    // The column's middle at 100 % is 12.5 + 25 * column: left = middle * percent / 100 - width / 2,
    // rounded to the nearest pixel.
    aligned.left = picture.left + (kColumnWidth100 * (2 * column + 1) * percent - 100 * width + 100) / 200;
    aligned.top = picture.bottom + ScaleLength(kGapBelowPicture100, percent);
    aligned.right = aligned.left + width;
    aligned.bottom = aligned.top + height;
    return aligned;
}

}  // namespace scaling
