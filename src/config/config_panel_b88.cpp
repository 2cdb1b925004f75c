#include "config/config_panel_b88.h"

#include "resource.h"

CConfigPanelB88::CConfigPanelB88(CWnd* pParent) : CConfigPanel(IDD_CONFIG_B88, EventColumn(), pParent) {}
