// CConfigPanel: what the configuration pages of all panel types have in common. Eight
// lists for the panel's buttons or switches (the upper column, filled from the page's own
// vocabulary table) and eight for its LEDs, the row picked in each, the panel's LED
// showing which row is being edited, and loading and saving of the picks.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_H
#define TOLLAN_CONFIG_CONFIG_PANEL_H

#include "config/config_dialog.h"
#include "config/list_search.h"
#include "config/upper_column.h"
#include "store/panel_settings.h"
#include "store/settings_store.h"

#include <string>
#include <vector>

namespace store {
struct SettingSection;
}

class CConfigPanel : public CConfigDialog {
public:
    CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, CWnd* pParent);

    // The row of an input or LED whose stored identifier no row of the table has: its
    // stored values are written back unchanged until the user picks a row for it.
    static constexpr int kKeptRow = -1;

    bool LoadConfig() override;
    bool SaveConfig() override;
    bool StoreChangedOutside() const override;
    bool ShownDiffersFromStored() const override;
    void AcceptStored() override;
    // Every list back to its table's first row, no kept identifier and no search left from
    // the device before, then the device's stored picks.
    void PointAtDevice(int device) override;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // List k of the upper column is control 1011 + k, list k of the LED column 1020 + k.
    CComboBox m_cbButton[store::kRowCount];
    CComboBox m_cbLED[store::kRowCount];
    // Entry k: the row picked for input k in the upper table, for LED k in the LED table,
    // or kKeptRow. Each list shows the row it holds whenever it has no focus.
    int m_nButtonRow[store::kRowCount];
    int m_nLEDRow[store::kRowCount];
    // The search of each list, upper column first.
    CListSearch m_search[2 * store::kRowCount];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry<CConfigPanel> s_messageMap[];

    // What an LED row stores when no row of the LED table has its variable.
    struct KeptLED {
        DWORD variable;
        DWORD comparison;
        std::wstring value;
    };

    void OnButtonSetFocus(UINT nID);
    void OnLEDSetFocus(UINT nID);
    void OnListKillFocus(UINT nID);
    void OnListSelChange(UINT nID);
    void OnListCloseUp(UINT nID);
    void OnListSelEndCancel(UINT nID);

    static bool IsButtonList(UINT nID);
    const CComboBox& ListOf(UINT nID) const;
    int& RowOf(UINT nID);
    // The selection of list nID becomes its row.
    void RecordPick(UINT nID);
    // List nID shows the row it holds again: its label, or the kept identifier in hexadecimal
    // where the list can show text.
    void ShowHeldRow(UINT nID);

    void FillLists();
    void ForgetRows();
    void RestoreButton(const store::SettingSection& section, int index, DWORD id);
    void RestoreLED(const store::SettingSection& section, int index, DWORD variable);
    // What a save writes into the configuration section: every row's values, row by row.
    void WriteRows(store::SettingSection& section) const;
    // Both sections as a save would write them now.
    store::PanelSettings ShownSettings(const std::wstring& deviceKey) const;

    const CUpperColumn& m_upperColumn;
    // Both sections as the page loaded them or last saved them.
    store::PanelSettings m_stored;
    DWORD m_keptButton[store::kRowCount][CUpperColumn::kMaxValues];
    KeptLED m_keptLED[store::kRowCount];
    // The labels of each column, folded for the search.
    std::vector<std::wstring> m_upperLabels;
    std::vector<std::wstring> m_ledLabels;
    HWND m_hSearchTip;
};

#endif
