#include "paneltest/panel_test_page_b88.h"

#include "resource.h"

namespace {

const TestPanelLayout kLayout = {IDD_TEST_B88, /*LEDs*/ 8, /*buttons*/ 8, IDB_BUTTON_UP, IDB_BUTTON_DOWN};

}  // namespace

CTestPanelB88::CTestPanelB88(CWnd* pParent) : CTestPanel(kLayout, pParent) {}
