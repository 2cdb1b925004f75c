// CConfigPanelB88: the configuration page of the 8x8 pushbutton panel. Each of its eight
// buttons gets a key event of the event table, each of its eight LEDs a row of the LED table.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_B88_H
#define TOLLAN_CONFIG_CONFIG_PANEL_B88_H

#include "config/config_panel.h"

class CConfigPanelB88 : public CConfigPanel {
public:
    explicit CConfigPanelB88(CWnd* pParent = nullptr);
};

#endif
