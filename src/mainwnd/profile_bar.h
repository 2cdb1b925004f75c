// The profile row along the bottom of the main window: the list shows the active profile and
// switches to another one when the user picks it (with the mouse: open, pick; with the
// keyboard: Alt+P and the arrow keys); beside it "Save as profile...", "Rename" and "Delete"
// (each of the last two offers the profiles in a menu) and "Open profiles folder". The row
// keeps no state of its own: the list is filled again from the profiles folder whenever it
// opens or takes the focus, and after everything the row does.
#ifndef TOLLAN_MAINWND_PROFILE_BAR_H
#define TOLLAN_MAINWND_PROFILE_BAR_H

#include <windows.h>

class CMainDialog;

namespace profile_bar {

// Fills the row once the main window's controls exist; in test mode the row is disabled.
void Attach(CMainDialog& main);
// The main window's messages that concern the row: its controls' notifications and the
// pick it posts to itself. TRUE when the message was the row's.
BOOL OnMessage(CMainDialog& main, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

}  // namespace profile_bar

#endif
