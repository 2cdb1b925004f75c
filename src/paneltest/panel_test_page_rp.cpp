#include "paneltest/panel_test_page_rp.h"

#include "resource.h"

namespace {

const TestPanelLayout kLayout = {IDD_TEST_RP, /*LEDs*/ 5, /*buttons*/ 4, IDB_BUTTON_UP, IDB_BUTTON_DOWN};

}  // namespace

CTestPanelRP::CTestPanelRP(CWnd* pParent) : CTestPanel(kLayout, pParent) {}
