#include "mainwnd/error_dialog.h"

#include "resource.h"

CErrorDialog::CErrorDialog() : CDialog(IDD_ERROR) {}

BOOL CErrorDialog::Create(CWnd* pParentWnd) { return CDialog::Create(IDD_ERROR, pParentWnd); }

void CErrorDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ERROR_TEXT, m_staticText);
}
