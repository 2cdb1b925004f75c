// CTestDialog: the base of the test pages. The main window hands it the button bits and
// LED states that its device reports.
#ifndef TOLLAN_PANELTEST_TEST_DIALOG_H
#define TOLLAN_PANELTEST_TEST_DIALOG_H

#include "afx/afx.h"

class CTestDialog : public CDialog {
public:
    CTestDialog(UINT nIDTemplate, CWnd* pParent);

    // Bit i (least significant first) belongs to button or switch i.
    virtual void UpdateButtonStatus(BYTE bits);
    virtual void UpdateLEDState(BYTE led, BYTE state);
    // Creates the page window from its own template as a child of pParentWnd.
    virtual BOOL Create(CWnd* pParentWnd);
    using CDialog::Create;

    int m_nDevice;
};

#endif
