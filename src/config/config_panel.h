// CConfigPanel: what the configuration pages of all panel types have in common. Eight
// lists for the panel's buttons or switches (the upper column, filled from the page's own
// vocabulary table) and eight for its LEDs, the row picked in each, the panel's LED
// showing which row is being edited, and loading and saving of the picks.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_H
#define TOLLAN_CONFIG_CONFIG_PANEL_H

#include "config/config_dialog.h"
#include "config/upper_column.h"
#include "store/settings_store.h"

#include <string>

class CConfigPanel : public CConfigDialog {
public:
    CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, CWnd* pParent);

    bool LoadConfig() override;
    bool SaveConfig() override;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // List k of the upper column is control 1011 + k, list k of the LED column 1020 + k.
    CComboBox m_cbButton[store::kRowCount];
    CComboBox m_cbLED[store::kRowCount];
    // Entry k: the row picked for input k in the upper table, for LED k in the LED table.
    int m_nButtonRow[store::kRowCount];
    int m_nLEDRow[store::kRowCount];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry<CConfigPanel> s_messageMap[];

    void OnButtonSetFocus(UINT nID);
    void OnLEDSetFocus(UINT nID);
    void OnListKillFocus(UINT nID);
    void OnButtonCloseUp(UINT nID);
    void OnLEDCloseUp(UINT nID);

    void FillLists();
    void RestoreButton(int index, DWORD id);
    void RestoreLED(int index, DWORD variable, DWORD comparison, const std::wstring& value);
    // False as soon as one write fails.
    bool WriteRows(const std::wstring& section) const;

    const CUpperColumn& m_upperColumn;
};

#endif
