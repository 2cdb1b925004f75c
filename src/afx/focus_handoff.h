// Keeping the keyboard usable: a control that is about to be disabled or hidden passes
// the focus on first, as Tab would, so the focus never rests on a window that cannot
// take keys.
#ifndef TOLLAN_AFX_FOCUS_HANDOFF_H
#define TOLLAN_AFX_FOCUS_HANDOFF_H

#include <windows.h>

// When window or one of its children has the focus, moves the focus to the next tab stop
// of the top-level dialog that holds window.
void HandOnFocus(HWND window);

// Enables or disables window; a window that is disabled hands the focus on first.
void EnableKeepingFocus(HWND window, BOOL enable);

#endif
