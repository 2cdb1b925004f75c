// What a user sees of a window's controls: where they are, whether their texts are drawn
// whole, and whether any lies over another.
#ifndef TOLLAN_TESTS_WINDOW_LAYOUT_H
#define TOLLAN_TESTS_WINDOW_LAYOUT_H

#include <windows.h>

#include <string>
#include <vector>

namespace window_layout {

RECT ScreenRect(HWND window);
// The rectangle of child in the client coordinates of parent.
RECT RectIn(HWND child, HWND parent);
std::wstring ClassOf(HWND window);
// Class, text and id of a control, for a failure message.
std::string Describe(HWND control);
std::vector<HWND> VisibleChildren(HWND window);

// Empty when the control's text is drawn whole, not cut at the control's edge; else what is wrong.
std::string TextCut(HWND control);
// No control lies over another where the user would see it: controls other than group boxes
// never overlap (a label where its text is), a group box's caption is free, and what is in a
// group box is wholly in it.
void ExpectNoOverlap(const std::vector<HWND>& controls);
// Every control whole inside its window and its text whole, no control over another.
void ExpectLaidOutWhole(HWND window, const std::vector<HWND>& children);

}  // namespace window_layout

#endif
