// CDialog: a modal or modeless dialog from a template resource. One static dialog
// procedure keeps `this` in DWLP_USER from WM_INITDIALOG on and hands every message to
// OnWndMsg, which derived classes override with their message maps.
#ifndef TOLLAN_AFX_DIALOG_H
#define TOLLAN_AFX_DIALOG_H

#include "afx/data_exchange.h"
#include "afx/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog's own message loop until EndDialog; -1 when it cannot be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (a child when its template says so); TRUE on success.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL DestroyWindow();
    // Modal: ends the loop. Modeless: destroys the window, which is how it ends.
    void EndDialog(int nResult);
    int GetResult() const { return m_nResult; }

    // The message entry point of the dialog procedure; public so tests and owners may
    // route a message exactly as the dialog procedure would.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bModal;
    int m_nResult;
};

// A control that draws itself when its owner receives WM_DRAWITEM for it.
class CDrawItemTarget {
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) = 0;

protected:
    ~CDrawItemTarget() {}
};

void AfxSetDrawItemTarget(HWND hControl, CDrawItemTarget* pTarget);  // null removes it

#endif
