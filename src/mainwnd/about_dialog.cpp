#include "mainwnd/about_dialog.h"

#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/scaled_pictures.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    HICON icon = scaling::SharedIcon(IDI_TOLLAN, scaling::SystemMetricForDpi(SM_CXICON, scaling::WindowDpi(m_hWnd)));
    if (icon == nullptr)
        return TRUE;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = L"";
        (void)::GetClassNameW(child, className, 16);
        // The icon the control loaded for itself is a shared one: it is not destroyed.
        if (::lstrcmpiW(className, L"Static") == 0 && (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            (void)::SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    return TRUE;
}
