// CConfigPanelRP: the configuration page of the radio panel. It is configured like the
// toggle switch panel and stores the same values; the rows of buttons 5 to 8 and LEDs 6 to 8,
// which the radio panel lacks, are shown disabled and keep what is stored for them.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_RP_H
#define TOLLAN_CONFIG_CONFIG_PANEL_RP_H

#include "config/config_panel.h"

class CConfigPanelRP : public CConfigPanel {
public:
    explicit CConfigPanelRP(CWnd* pParent = nullptr);
};

#endif
