// CMenu: a view of a menu handle that it does not own.
#ifndef TOLLAN_AFX_MENU_H
#define TOLLAN_AFX_MENU_H

#include <windows.h>

class CMenu {
public:
    CMenu() : m_hMenu(nullptr) {}
    explicit CMenu(HMENU hMenu) : m_hMenu(hMenu) {}

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr) const {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

    HMENU m_hMenu;
};

#endif
