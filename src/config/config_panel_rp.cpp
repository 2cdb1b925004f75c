#include "config/config_panel_rp.h"

#include "resource.h"

namespace {

// Four push buttons and five LEDs: the page shows the other rows disabled and keeps what is
// stored for them.
const PanelRows kRPRows = {4, 5, false};

}  // namespace

CConfigPanelRP::CConfigPanelRP(CWnd* pParent) : CConfigPanel(IDD_CONFIG_RP, ToggleColumn(), kRPRows, pParent) {}
