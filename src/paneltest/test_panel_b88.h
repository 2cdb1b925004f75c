// CTestPanelB88: the test page of the 8x8 pushbutton panel (8 LEDs, 8 buttons).
#ifndef TOLLAN_PANELTEST_TEST_PANEL_B88_H
#define TOLLAN_PANELTEST_TEST_PANEL_B88_H

#include "paneltest/test_panel.h"

class CTestPanelB88 : public CTestPanel {
public:
    explicit CTestPanelB88(CWnd* pParent = nullptr);
};

#endif
