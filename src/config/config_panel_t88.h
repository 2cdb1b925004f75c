// CConfigPanelT88: the configuration page of the 8x8 toggle switch panel. Each of its eight
// switches gets a row of the toggle table, each of its eight LEDs a row of the LED table.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_T88_H
#define TOLLAN_CONFIG_CONFIG_PANEL_T88_H

#include "config/config_panel.h"

class CConfigPanelT88 : public CConfigPanel {
public:
    explicit CConfigPanelT88(CWnd* pParent = nullptr);
};

#endif
