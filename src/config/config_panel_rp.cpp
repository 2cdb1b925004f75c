#include "config/config_panel_rp.h"

#include "resource.h"

CConfigPanelRP::CConfigPanelRP(CWnd* pParent) : CConfigPanel(IDD_CONFIG_RP, ToggleColumn(), pParent) {}
