// A page at the scale of its window: its panel picture is the shared picture of that scale,
// the numbers under the picture stand under its columns, and its indicators show their
// pictures at that scale.
#ifndef TOLLAN_SCALING_PAGE_SCALING_H
#define TOLLAN_SCALING_PAGE_SCALING_H

#include <windows.h>

class CBitmapButton;

namespace scaling {

// Once, when the page from template templateId has been created: the picture controls get
// the shared picture (the template's own copy is deleted) and the numbered labels under
// the picture are lined up with it.
void ScalePage(HWND page, UINT templateId);

// The page laid out again for dpi (the window moved to a monitor of another scale).
void RescalePage(HWND page, int dpi);

// An indicator's pictures (clearId as its normal, selected and focused image, setId as its
// disabled image) at percent; FALSE when not even the 100 % pictures load.
BOOL LoadIndicatorPictures(CBitmapButton& indicator, UINT clearId, UINT setId, int percent);
// The indicator's pictures again, at percent.
BOOL RescaleIndicator(CBitmapButton& indicator, int percent);

}  // namespace scaling

#endif
