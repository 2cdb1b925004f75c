#include "config/list_keys.h"

#include "resource.h"

namespace {

const UINT_PTR kSubclassId = 0x4B45;

bool IsDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

CListKeys::CListKeys() : m_keyWindow(nullptr) {}

CListKeys::~CListKeys() { Detach(); }

bool CListKeys::Attach(const CComboBox& list) {
    Detach();
    m_list = list;
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    HWND keyWindow = list.m_hWnd;
    if (list.GetComboBoxInfo(&info) && info.hwndItem != nullptr)
        keyWindow = info.hwndItem;
    if (!::SetWindowSubclass(keyWindow, KeyProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_keyWindow = keyWindow;
    return true;
}

void CListKeys::Detach() {
    if (m_keyWindow == nullptr)
        return;
    if (::IsWindow(m_keyWindow))
        (void)::RemoveWindowSubclass(m_keyWindow, KeyProc, kSubclassId);
    m_keyWindow = nullptr;
}

UINT CListKeys::CommandOf(WPARAM key, bool control, bool shift, bool alt) {
    // Ctrl+Alt is AltGr on many keyboards: a character, not a command.
    if (alt)
        return 0;
    if (key == VK_DELETE && !control && !shift)
        return ID_ROW_CLEAR;
    if (!control)
        return 0;
    if (key == 'Z')
        return shift ? ID_PAGE_REDO : ID_PAGE_UNDO;
    if (key == 'Y' && !shift)
        return ID_PAGE_REDO;
    return 0;
}

LRESULT CALLBACK CListKeys::KeyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    CListKeys* keys = reinterpret_cast<CListKeys*>(self);
    switch (message) {
    case WM_KEYDOWN: {
        const UINT command = CommandOf(wParam, IsDown(VK_CONTROL), IsDown(VK_SHIFT), IsDown(VK_MENU));
        if (command == 0)
            break;
        const HWND list = keys->m_list.m_hWnd;
        (void)::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(list));
        return 0;
    }
    case WM_CHAR:
        // What Ctrl+Z and Ctrl+Y type: an edit field would take its own undo from them.
        if (wParam == 0x1A || wParam == 0x19)
            return 0;
        break;
    case WM_NCDESTROY:
        keys->Detach();
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}
