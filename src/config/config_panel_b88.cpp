#include "config/config_panel_b88.h"

#include "resource.h"

namespace {

const PanelRows kB88Rows = {store::kRowCount, store::kRowCount, false};

}  // namespace

CConfigPanelB88::CConfigPanelB88(CWnd* pParent) : CConfigPanel(IDD_CONFIG_B88, EventColumn(), kB88Rows, pParent) {}
