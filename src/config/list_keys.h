// The keys of a configuration page's list that act on the page rather than on the list:
// Delete sets the list's row to nothing, Ctrl+Z takes back the page's last change, Ctrl+Y
// and Ctrl+Shift+Z make it again. Each reaches the page as a command (ID_ROW_CLEAR,
// ID_PAGE_UNDO, ID_PAGE_REDO) sent from the list, as a menu or accelerator would send it.
// Another control of the window (the brightness slider, a blink period) may take over the
// undo and redo keys alone, which then reach its parent the same way.
#ifndef TOLLAN_CONFIG_LIST_KEYS_H
#define TOLLAN_CONFIG_LIST_KEYS_H

#include "afx/controls.h"

class CListKeys {
public:
    CListKeys();
    ~CListKeys();
    CListKeys(const CListKeys&) = delete;
    CListKeys& operator=(const CListKeys&) = delete;

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
