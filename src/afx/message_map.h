// Message maps: a class lists its handlers in a static table of
// (message, notification code, control ids, member handler) and looks a message up with
// DispatchMessageMap. WM_COMMAND is split into its notification code (HIWORD) and control
// id (LOWORD); WM_NOTIFY is matched on NMHDR's code and idFrom.
#ifndef TOLLAN_AFX_MESSAGE_MAP_H
#define TOLLAN_AFX_MESSAGE_MAP_H

#include <windows.h>

#include <cstddef>

template <class T>
struct MessageMapEntry {
    typedef void (T::*CommandHandler)(UINT nID);
    typedef void (T::*NotifyHandler)(NMHDR* pNMHDR, LRESULT* pResult);
    // Returns FALSE to leave the message to the default processing.
    typedef BOOL (T::*MessageHandler)(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    UINT message;
    UINT code;
    UINT idFirst;
    UINT idLast;
    CommandHandler onCommand;
    NotifyHandler onNotify;
    MessageHandler onMessage;
};

// A notification code (BN_CLICKED, CBN_CLOSEUP, ...) from the controls idFirst to idLast.
template <class T>
MessageMapEntry<T> OnCommand(UINT code, UINT idFirst, UINT idLast, void (T::*handler)(UINT)) {
    MessageMapEntry<T> entry = {WM_COMMAND, code, idFirst, idLast, handler, nullptr, nullptr};
    return entry;
}
template <class T>
MessageMapEntry<T> OnCommand(UINT code, UINT id, void (T::*handler)(UINT)) {
    return OnCommand(code, id, id, handler);
}

// A WM_NOTIFY code (LVN_ITEMACTIVATE, NM_CUSTOMDRAW, ...) from control id.
template <class T>
MessageMapEntry<T> OnNotify(UINT code, UINT id, void (T::*handler)(NMHDR*, LRESULT*)) {
    MessageMapEntry<T> entry = {WM_NOTIFY, code, id, id, nullptr, handler, nullptr};
    return entry;
}

// Any other window message.
template <class T>
MessageMapEntry<T> OnMessage(UINT message, BOOL (T::*handler)(WPARAM, LPARAM, LRESULT*)) {
    MessageMapEntry<T> entry = {message, 0, 0, 0, nullptr, nullptr, handler};
    return entry;
}

// Calls the first entry of the table that matches; returns FALSE when none does or the
// handler left the message to the default processing.
template <class T, size_t N>
BOOL DispatchMessageMap(T& target, const MessageMapEntry<T> (&table)[N], UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT* pResult) {
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }
    for (const MessageMapEntry<T>& entry : table) {
        if (entry.message != message)
            continue;
        if (message == WM_COMMAND || message == WM_NOTIFY) {
            if (entry.code != code || id < entry.idFirst || id > entry.idLast)
                continue;
            if (entry.onCommand != nullptr)
                (target.*entry.onCommand)(id);
            else
                (target.*entry.onNotify)(reinterpret_cast<NMHDR*>(lParam), pResult);
            return TRUE;
        }
        return (target.*entry.onMessage)(wParam, lParam, pResult);
    }
    return FALSE;
}

#endif
