// CTestDialog: the base of the test pages. The main window hands it the button bits and
// LED states that its device reports; it keeps one page per panel type and points it at
// whichever device of that type is shown.
#ifndef TOLLAN_PANELTEST_PANEL_TEST_DIALOG_H
#define TOLLAN_PANELTEST_PANEL_TEST_DIALOG_H

#include "afx/afx.h"

class CTestDialog : public CDialog {
public:
    // m_nDevice of a page built ahead of its first use: it asks the device nothing until
    // it is pointed at one.
    static const int kNoDevice = -1;

    CTestDialog(UINT nIDTemplate, CWnd* pParent);

    // Bit i (least significant first) belongs to button or switch i.
    virtual void UpdateButtonStatus(BYTE bits);
    virtual void UpdateLEDState(BYTE led, BYTE state);
    // Makes the page the one of device, as a page freshly made for it: OnInitDialog (of a
    // page not built ahead) and every later switch come through here.
    virtual void PointAtDevice(int device);
    // The page's panel went: the page shows what it showed, its indicators disabled, and
    // sends nothing.
    virtual void Detach();
    // The page's panel is attached again as device: its LEDs are set as the page shows
    // them and its buttons asked for.
    virtual void Reattach(int device);
    // Creates the page window from its own template as a child of pParentWnd.
    virtual BOOL Create(CWnd* pParentWnd);
    using CDialog::Create;

    int m_nDevice;
};

#endif
