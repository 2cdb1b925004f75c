#include "afx/data_exchange.h"

#include "afx/bitmap_button.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    rControl.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (rControl.m_hWnd == nullptr) {
        pDX->m_bFailed = true;
        assert(!"DDX_Control: no such control in the dialog");
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CBitmapButton& rControl) {
    DDX_Control(pDX, nIDC, static_cast<CWnd&>(rControl));
    if (rControl.m_hWnd != nullptr)
        rControl.AttachDrawTarget();
}
