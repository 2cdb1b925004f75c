#include "config/page_keys.h"

#include "resource.h"

namespace {

const UINT_PTR kSubclassId = 0x4B45;

bool IsDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

CPageKeys::CPageKeys() : m_source(nullptr), m_keyWindow(nullptr), m_bRowKeys(false) {}

CPageKeys::~CPageKeys() { Detach(); }

bool CPageKeys::Attach(const CComboBox& list) {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    HWND keyWindow = list.m_hWnd;
    if (list.GetComboBoxInfo(&info) && info.hwndItem != nullptr)
        keyWindow = info.hwndItem;
    return Subclass(keyWindow, list.m_hWnd, true);
}

bool CPageKeys::AttachUndoKeys(HWND control) { return Subclass(control, control, false); }

bool CPageKeys::Subclass(HWND keyWindow, HWND source, bool rowKeys) {
    Detach();
    if (!::SetWindowSubclass(keyWindow, KeyProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_keyWindow = keyWindow;
    m_source = source;
    m_bRowKeys = rowKeys;
    return true;
}

void CPageKeys::Detach() {
    if (m_keyWindow == nullptr)
        return;
    if (::IsWindow(m_keyWindow))
        (void)::RemoveWindowSubclass(m_keyWindow, KeyProc, kSubclassId);
    m_keyWindow = nullptr;
}

UINT CPageKeys::CommandOf(WPARAM key, bool control, bool shift, bool alt) {
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

LRESULT CALLBACK CPageKeys::KeyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self) {
    CPageKeys* keys = reinterpret_cast<CPageKeys*>(self);
    switch (message) {
    case WM_KEYDOWN: {
        const UINT command = CommandOf(wParam, IsDown(VK_CONTROL), IsDown(VK_SHIFT), IsDown(VK_MENU));
        if (command == 0 || (command == ID_ROW_CLEAR && !keys->m_bRowKeys))
            break;
        const HWND source = keys->m_source;
        (void)::SendMessageW(::GetParent(source), WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(source));
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
