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
    if (!m_title.empty())
        SetWindowText(m_title.c_str());
    m_editName.SetWindowText(m_name.c_str());
    (void)m_editName.SetFocus();
    m_editName.SendMessage(EM_SETSEL, 0, -1);
    // The focus is set here.
    return FALSE;
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
