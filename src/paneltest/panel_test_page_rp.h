// CTestPanelRP: the test page of the radio panel (LEDs 0 to 4, buttons 0 to 3).
#ifndef TOLLAN_PANELTEST_PANEL_TEST_PAGE_RP_H
#define TOLLAN_PANELTEST_PANEL_TEST_PAGE_RP_H

#include "paneltest/panel_test_page.h"

class CTestPanelRP : public CTestPanel {
public:
    explicit CTestPanelRP(CWnd* pParent = nullptr);
};

#endif
