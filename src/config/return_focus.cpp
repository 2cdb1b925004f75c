#include "config/return_focus.h"

#include <commctrl.h>

namespace {

const UINT_PTR kSubclassId = 0x52464F;

}  // namespace

CReturnFocus::CReturnFocus() : m_window(nullptr), m_control(nullptr) {}

CReturnFocus::~CReturnFocus() { Cancel(); }

bool CReturnFocus::Set(HWND control) {
    HWND window = ::GetAncestor(control, GA_ROOT);
    if (window == nullptr || window == control)
        return false;
    if (window != m_window) {
        Cancel();
        if (!::SetWindowSubclass(window, WatchProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
            return false;
        m_window = window;
    }
    m_control = control;
    return true;
}

void CReturnFocus::Cancel() {
    if (m_window != nullptr && ::IsWindow(m_window))
        (void)::RemoveWindowSubclass(m_window, WatchProc, kSubclassId);
    m_window = nullptr;
    m_control = nullptr;
}

LRESULT CALLBACK CReturnFocus::WatchProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    CReturnFocus* watch = reinterpret_cast<CReturnFocus*>(self);
    if (message == WM_NCDESTROY) {
        watch->Cancel();
        return ::DefSubclassProc(hWnd, message, wParam, lParam);
    }
    if (message != WM_ACTIVATE || LOWORD(wParam) == WA_INACTIVE)
        return ::DefSubclassProc(hWnd, message, wParam, lParam);
    // The dialog gives the focus back to the control that had it first; a click that
    // activated the window goes on to the control clicked afterwards.
    const LRESULT result = ::DefSubclassProc(hWnd, message, wParam, lParam);
    const HWND control = watch->m_control;
    watch->Cancel();
    if (control != nullptr && ::IsWindow(control) && ::IsWindowVisible(control) && ::IsWindowEnabled(control) &&
        ::GetAncestor(control, GA_ROOT) == hWnd)
        (void)::SendMessageW(hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return result;
}
