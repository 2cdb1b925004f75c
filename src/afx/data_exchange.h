// Binding of dialog controls to member objects (DoDataExchange).
#ifndef TOLLAN_AFX_DATA_EXCHANGE_H
#define TOLLAN_AFX_DATA_EXCHANGE_H

#include "afx/wnd.h"

class CBitmapButton;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_bFailed(false) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed;  // a control id was not found in the dialog
};

// Points rControl at the dialog's control nIDC.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Also routes the owner's WM_DRAWITEM for the control to the button.
void DDX_Control(CDataExchange* pDX, int nIDC, CBitmapButton& rControl);

#endif
