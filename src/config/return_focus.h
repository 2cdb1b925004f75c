// CReturnFocus: a control that takes the focus when its top-level window is next
// activated. A window in the background that must not come to the front keeps the focus it
// wants for the user's return this way; the window is watched only while a control waits.
#ifndef TOLLAN_CONFIG_RETURN_FOCUS_H
#define TOLLAN_CONFIG_RETURN_FOCUS_H

#include <windows.h>

class CReturnFocus {
public:
    CReturnFocus();
    ~CReturnFocus();
    CReturnFocus(const CReturnFocus&) = delete;
    CReturnFocus& operator=(const CReturnFocus&) = delete;

    // control takes the focus at the next activation of its top-level window, instead of
    // any control set before; false when the window cannot be watched.
    bool Set(HWND control);
    // No control waits any more.
    void Cancel();
    HWND Waiting() const { return m_control; }

private:
    static LRESULT CALLBACK WatchProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND m_window;   // the top-level window watched
    HWND m_control;  // the control that waits for it
};

#endif
