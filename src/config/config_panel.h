// CConfigPanel: what the configuration pages of all panel types have in common. Eight
// lists for the panel's buttons or switches (the upper column, filled from the page's own
// vocabulary table) and eight for its LEDs, the row picked in each or none, the panel's LED
// showing which row is being edited, finding a row by pressing its button, and loading and
// saving of the picks.
#ifndef TOLLAN_CONFIG_CONFIG_PANEL_H
#define TOLLAN_CONFIG_CONFIG_PANEL_H

#include "config/config_dialog.h"
#include "config/page_keys.h"
#include "config/list_search.h"
#include "config/return_focus.h"
#include "config/upper_column.h"
#include "config/vocabulary_list.h"
#include "store/panel_settings.h"
#include "store/settings_store.h"

#include <string>
#include <vector>

namespace store {
struct SettingSection;
}

// What a panel has of the eight rows of each column, and how its inputs move.
struct PanelRows {
    int inputCount;  // rows 0 to inputCount - 1 of the upper column belong to an input
    int ledCount;    // rows 0 to ledCount - 1 of the LED column belong to an LED
    bool switches;   // a flip either way is input (toggle switches), else a press (buttons)
};

class CConfigPanel : public CConfigDialog {
public:
    CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, const PanelRows& rows, CWnd* pParent);

    // The row of an input or LED whose stored identifier no row of the table has: its
    // stored values are written back unchanged until the user picks a row for it.
    static constexpr int kKeptRow = -1;
    // The row of an input or LED set to nothing ("(none)"): every number of the row is
    // stored as 0, its value text as "".
    static constexpr int kNoRow = vocabulary_list::kNoRow;

    bool LoadConfig() override;
    bool SaveConfig() override;
    bool StoreChangedOutside() const override;
    bool ShownDiffersFromStored() const override;
    void AcceptStored() override;
    // Every list set to nothing, no kept identifier, no history and no search left from the
    // device before, then the device's stored picks.
    void PointAtDevice(int device) override;

    bool DiffersFromStored() const override;
    void RevertToStored() override;

    // A press of a button, or a flip of a switch either way, moves the focus to its row's
    // list (which makes its LED blink), unless a list is open or a question is asked. With
    // the window in the background, the list takes the focus when the window is next
    // activated; the window is not brought to the front.
    void OnPanelInput(BYTE buttons) override;

    // Whether the panel has the row of list nID; the page shows the others disabled.
    bool HasRow(UINT nID) const;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // List k of the upper column is control 1011 + k, list k of the LED column 1020 + k.
    CComboBox m_cbButton[store::kRowCount];
    CComboBox m_cbLED[store::kRowCount];
    // Entry k: the row picked for input k in the upper table, for LED k in the LED table,
    // kNoRow or kKeptRow. Each list shows the row it holds whenever it has no focus.
    int m_nButtonRow[store::kRowCount];
    int m_nLEDRow[store::kRowCount];
    // The search of each list, upper column first.
    CListSearch m_search[2 * store::kRowCount];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    bool SetTarget(int target, int value) override;

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
    void OnClearRow(UINT nID);
    BOOL OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    static bool IsButtonList(UINT nID);
    static bool IsList(int nID);
    const CComboBox& ListOf(UINT nID) const;
    int& RowOf(UINT nID);
    // The selection of list nID becomes its row.
    void RecordPick(UINT nID);
    // List nID holds row from now on, as a change the user made.
    void ChangeRow(UINT nID, int row);
    // List nID shows the row it holds again: its label, "(none)", or the kept identifier in
    // hexadecimal where the list can show text.
    void ShowHeldRow(UINT nID);
    void ShowHeldRows();

    void FillLists();
    void ForgetRows();
    void ForgetRow(int k);
    // Whether the focus may move to a list now: the page is shown, no list is open, no
    // question is asked, no menu is open and no mouse button holds a control.
    bool MayMoveFocus() const;
    void FindRow(int input);
    void RestoreButton(const store::SettingSection& section, int index, DWORD id);
    void RestoreLED(const store::SettingSection& section, int index, DWORD variable);
    // What the panel lacks is written back as it is stored, whatever its list shows.
    void KeepStoredValues(const store::SettingSection& section, int index, DWORD id);
    void KeepStoredLED(const store::SettingSection& section, int index, DWORD variable);
    // Every row as m_stored has it; the lists are not told.
    void LoadRows();
    // The configuration section a save would write now.
    store::PanelSettings ShownRows() const;
    // What a save writes into the configuration section: every row's values, row by row.
    void WriteRows(store::SettingSection& section) const;
    // Both sections as a save would write them now.
    store::PanelSettings ShownSettings(const std::wstring& deviceKey) const;

    const CUpperColumn& m_upperColumn;
    const PanelRows m_rows;
    // Both sections as the page loaded them or last saved them.
    store::PanelSettings m_stored;
    DWORD m_keptButton[store::kRowCount][CUpperColumn::kMaxValues];
    KeptLED m_keptLED[store::kRowCount];
    // What a save of the rows of m_stored writes (the page differs from the store while it
    // would write something else).
    store::PanelSettings m_storedRows;
    // The labels of each column by item, folded for the search; "(none)" is never found.
    std::vector<std::wstring> m_upperLabels;
    std::vector<std::wstring> m_ledLabels;
    HWND m_hSearchTip;
    CPageKeys m_keys[2 * store::kRowCount];
    // The buttons as the device last reported them; -1 until it has.
    int m_nLastButtons;
    CReturnFocus m_returnFocus;
};

#endif
