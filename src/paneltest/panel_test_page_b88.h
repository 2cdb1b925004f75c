// CTestPanelB88: the test page of the 8x8 pushbutton panel (8 LEDs, 8 buttons).
#ifndef TOLLAN_PANELTEST_PANEL_TEST_PAGE_B88_H
#define TOLLAN_PANELTEST_PANEL_TEST_PAGE_B88_H

#include "paneltest/panel_test_page.h"

class CTestPanelB88 : public CTestPanel {
public:
    explicit CTestPanelB88(CWnd* pParent = nullptr);
};

#endif
