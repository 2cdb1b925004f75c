// The keys that act on a configuration page rather than on the control that has the focus.
// In the page's lists: Delete sets the list's row to nothing, Ctrl+Z takes back the page's
// last change, Ctrl+Y and Ctrl+Shift+Z make it again. Each reaches the page as a command
// (ID_ROW_CLEAR, ID_PAGE_UNDO, ID_PAGE_REDO) sent from the list, as a menu or accelerator
// would send it. Another control of the window (the device list, the brightness slider, a
// blink period) may take over the undo and redo keys alone, which then reach its parent the
// same way.
#ifndef TOLLAN_CONFIG_PAGE_KEYS_H
#define TOLLAN_CONFIG_PAGE_KEYS_H

#include "afx/controls.h"

class CPageKeys {
public:
    CPageKeys();
    ~CPageKeys();
    CPageKeys(const CPageKeys&) = delete;
    CPageKeys& operator=(const CPageKeys&) = delete;

    // Takes over those keys of list (of the edit field of an editable list); false when
    // they could not be taken over.
    bool Attach(const CComboBox& list);
    // Takes over Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z of control (Delete stays its own).
    bool AttachUndoKeys(HWND control);
    void Detach();

    // The command a key stands for, 0 for none.
    static UINT CommandOf(WPARAM key, bool control, bool shift, bool alt);

private:
    static LRESULT CALLBACK KeyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

    bool Subclass(HWND keyWindow, HWND source, bool rowKeys);

    HWND m_source;  // the control the commands come from
    HWND m_keyWindow;
    bool m_bRowKeys;
};

#endif
