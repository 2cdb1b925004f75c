#include "mainwnd/profile_name_dialog.h"

#include "resource.h"

CProfileNameDialog::CProfileNameDialog(CWnd* parent, const std::wstring& title, const std::wstring& name,
                                       NameCheck check)
    : CDialog(IDD_PROFILE_NAME, parent), m_title(title), m_name(name), m_check(std::move(check)) {}

void CProfileNameDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROFILE_NAME, m_editName);
}

BOOL CProfileNameDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterOnOwner();
    if (!m_title.empty())
        SetWindowText(m_title.c_str());
    m_editName.SetWindowText(m_name.c_str());
    (void)m_editName.SetFocus();
    m_editName.SendMessage(EM_SETSEL, 0, -1);
    // The focus is set here.
    return FALSE;
}

// Over the middle of the main window, as far as the screen's work area allows.
void CProfileNameDialog::CenterOnOwner() const {
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT box = {};
    RECT over = {};
    if (owner == nullptr || !::GetWindowRect(m_hWnd, &box) || !::GetWindowRect(owner, &over))
        return;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    LONG x = over.left + (over.right - over.left - width) / 2;
    LONG y = over.top + (over.bottom - over.top - height) / 2;
    x = x + width > work.right ? work.right - width : x;
    y = y + height > work.bottom ? work.bottom - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    (void)::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CProfileNameDialog::OnOK() {
    const std::wstring name = m_editName.GetWindowText();
    if (m_check && !m_check(name)) {
        (void)m_editName.SetFocus();
        m_editName.SendMessage(EM_SETSEL, 0, -1);
        return;
    }
    m_name = name;
    CDialog::OnOK();
}
