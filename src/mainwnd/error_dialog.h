// CErrorDialog: the page that says no panel was found.
#ifndef TOLLAN_MAINWND_ERROR_DIALOG_H
#define TOLLAN_MAINWND_ERROR_DIALOG_H

#include "afx/afx.h"

class CErrorDialog : public CDialog {
public:
    CErrorDialog();
    virtual BOOL Create(CWnd* pParentWnd);
    using CDialog::Create;

    CStatic m_staticText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

#endif
