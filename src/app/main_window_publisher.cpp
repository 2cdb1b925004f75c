#include "app/main_window_publisher.h"

#include "afx/dialog.h"

namespace {

// The one publisher whose hook is in place (the hook procedure has no context of its own).
CMainWindowPublisher* g_active = nullptr;

}  // namespace

CMainWindowPublisher::CMainWindowPublisher(CSingleInstance& instance, const CDialog& dialog,
                                           CSingleInstance::Mode mode)
    : m_instance(instance), m_dialog(dialog), m_mode(mode), m_hook(nullptr) {
    if (g_active != nullptr)
        return;
    m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, ::GetCurrentThreadId());
    // Without the hook the window runs unpublished: later starts wait for it and end.
    if (m_hook != nullptr)
        g_active = this;
}

CMainWindowPublisher::~CMainWindowPublisher() { Unhook(); }

void CMainWindowPublisher::Unhook() {
    if (m_hook == nullptr)
        return;
    (void)::UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    g_active = nullptr;
}

LRESULT CALLBACK CMainWindowPublisher::CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallNextHookEx(nullptr, code, wParam, lParam);
    CMainWindowPublisher* publisher = g_active;
    if (code == HC_ACTION && publisher != nullptr) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // The dialog's creation parameter is the dialog object itself.
        if (call->message == WM_INITDIALOG && call->lParam == reinterpret_cast<LPARAM>(&publisher->m_dialog)) {
            publisher->m_instance.Publish(call->hwnd, publisher->m_mode);
            publisher->Unhook();
        }
    }
    return result;
}
