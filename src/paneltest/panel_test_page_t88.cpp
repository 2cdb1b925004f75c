#include "paneltest/panel_test_page_t88.h"

#include "resource.h"

namespace {

const TestPanelLayout kLayout = {IDD_TEST_T88, /*LEDs*/ 8, /*switches*/ 8, IDB_TOGGLE_END, IDB_TOGGLE_UP};

}  // namespace

CTestPanelT88::CTestPanelT88(CWnd* pParent) : CTestPanel(kLayout, pParent) {}
