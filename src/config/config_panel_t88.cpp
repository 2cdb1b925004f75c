#include "config/config_panel_t88.h"

#include "resource.h"

namespace {

const PanelRows kT88Rows = {store::kRowCount, store::kRowCount, true};

}  // namespace

CConfigPanelT88::CConfigPanelT88(CWnd* pParent) : CConfigPanel(IDD_CONFIG_T88, ToggleColumn(), kT88Rows, pParent) {}
