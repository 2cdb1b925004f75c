// CTestPanelT88: the test page of the 8x8 toggle switch panel (8 LEDs, 8 switches);
// a switch that is up shows the lever-up picture.
#ifndef TOLLAN_PANELTEST_PANEL_TEST_PAGE_T88_H
#define TOLLAN_PANELTEST_PANEL_TEST_PAGE_T88_H

#include "paneltest/panel_test_page.h"

class CTestPanelT88 : public CTestPanel {
public:
    explicit CTestPanelT88(CWnd* pParent = nullptr);
};

#endif
