// CConfigPanelRP: the configuration page of the radio panel. It is configured exactly like
// the toggle switch panel and stores the same values.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_RP_H
#define TOLLAN_CONFIG_CONFIG_PANEL_RP_H

#include "config/config_panel.h"

class CConfigPanelRP : public CConfigPanel {
public:
    explicit CConfigPanelRP(CWnd* pParent = nullptr);
};

#endif
