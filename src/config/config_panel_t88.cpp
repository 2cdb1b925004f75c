#include "config/config_panel_t88.h"

#include "resource.h"

CConfigPanelT88::CConfigPanelT88(CWnd* pParent) : CConfigPanel(IDD_CONFIG_T88, ToggleColumn(), pParent) {}
