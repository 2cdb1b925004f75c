#include "config/config_panel.h"

#include "app/table_statistics.h"
#include "config/vocabulary_list.h"
#include "config/vocabulary_tables.h"
#include "device/device_key.h"
#include "device/panel_leds.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "store/section_snapshot.h"
#include "VUZoz.h"

namespace {

// The open list shows this many rows; the templates leave room for barely two.
const int kVisibleRowsWhenOpen = 20;

const wchar_t* LedLabel(int row) { return g_LedTable[row].label; }

}  // namespace

const MessageMapEntry<CConfigPanel> CConfigPanel::s_messageMap[] = {
    OnCommand(CBN_SETFOCUS, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnButtonSetFocus),
    OnCommand(CBN_SETFOCUS, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnLEDSetFocus),
    OnCommand(CBN_KILLFOCUS, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnListKillFocus),
    OnCommand(CBN_KILLFOCUS, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnListKillFocus),
    OnCommand(CBN_CLOSEUP, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnButtonCloseUp),
    OnCommand(CBN_CLOSEUP, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnLEDCloseUp),
};

CConfigPanel::CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, CWnd* pParent)
    : CConfigDialog(nIDTemplate, pParent), m_upperColumn(upperColumn) {
    for (int k = 0; k < store::kRowCount; ++k) {
        m_nButtonRow[k] = 0;
        m_nLEDRow[k] = 0;
    }
}

BOOL CConfigPanel::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult))
        return TRUE;
    return CConfigDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CConfigPanel::DoDataExchange(CDataExchange* pDX) {
    CConfigDialog::DoDataExchange(pDX);
    for (int k = 0; k < store::kRowCount; ++k)
        DDX_Control(pDX, IDC_BUTTON_LIST_FIRST + k, m_cbButton[k]);
    for (int k = 0; k < store::kRowCount; ++k)
        DDX_Control(pDX, IDC_LED_LIST_FIRST + k, m_cbLED[k]);
}

BOOL CConfigPanel::OnInitDialog() {
    CConfigDialog::OnInitDialog();
    SetAllPanelLeds(m_nDevice, BG_LED_FAST);
    FillLists();
    (void)LoadConfig();
    return TRUE;
}

void CConfigPanel::FillLists() {
    const CUpperColumn& upper = m_upperColumn;
    for (const CComboBox& list : m_cbButton) {
        // A list that could not take every row offers what it took; picks stay in the table.
        (void)vocabulary_list::Fill(list, upper.RowCount(), upper.LongestLabel(),
                                    [&upper](int row) { return upper.Label(row); });
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
    }
    for (const CComboBox& list : m_cbLED) {
        (void)vocabulary_list::Fill(list, g_nLedCount, g_nLedLabelMax, LedLabel);
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
    }
}

void CConfigPanel::OnButtonSetFocus(UINT nID) { HighlightLED(static_cast<int>(nID - IDC_BUTTON_LIST_FIRST)); }

void CConfigPanel::OnLEDSetFocus(UINT nID) { HighlightLED(static_cast<int>(nID - IDC_LED_LIST_FIRST)); }

void CConfigPanel::OnListKillFocus(UINT) { SetAllPanelLeds(m_nDevice, BG_LED_FAST); }

// Only a list's selection is a pick, never text typed into an editable list; a list closed
// without a selection keeps the row it had.
void CConfigPanel::OnButtonCloseUp(UINT nID) {
    const int k = static_cast<int>(nID - IDC_BUTTON_LIST_FIRST);
    const int row = vocabulary_list::SelectedRow(m_cbButton[k], m_upperColumn.RowCount());
    if (row < 0)
        return;
    m_nButtonRow[k] = row;
    MarkChanged();
}

void CConfigPanel::OnLEDCloseUp(UINT nID) {
    const int k = static_cast<int>(nID - IDC_LED_LIST_FIRST);
    const int row = vocabulary_list::SelectedRow(m_cbLED[k], g_nLedCount);
    if (row < 0)
        return;
    m_nLEDRow[k] = row;
    MarkChanged();
}

void CConfigPanel::RestoreButton(int index, DWORD id) {
    const CUpperColumn& upper = m_upperColumn;
    const int item = vocabulary_list::FindItem(m_cbButton[index], [&upper, id](int row) {
        return row >= 0 && row < upper.RowCount() && upper.KeyOf(row) == id;
    });
    if (item < 0)
        return;
    // The lists are unsorted: an item's index is its row.
    (void)m_cbButton[index].SetCurSel(item);
    m_nButtonRow[index] = item;
}

void CConfigPanel::RestoreLED(int index, DWORD variable, DWORD comparison, const std::wstring& value) {
    // Two rows may share a variable (the gear's up and down rows); the stored comparison
    // and value tell them apart. Without those the first row of the variable comes back.
    auto isRow = [](int row) { return row >= 0 && row < g_nLedCount; };
    const CComboBox& list = m_cbLED[index];
    int item = vocabulary_list::FindItem(list, [&](int row) {
        return isRow(row) && g_LedTable[row].variable == variable &&
               static_cast<DWORD>(g_LedTable[row].comparison) == comparison && value == g_LedTable[row].value;
    });
    if (item < 0) {
        item = vocabulary_list::FindItem(
            list, [&](int row) { return isRow(row) && g_LedTable[row].variable == variable; });
    }
    if (item < 0)
        return;
    (void)list.SetCurSel(item);
    m_nLEDRow[index] = item;
}

bool CConfigPanel::LoadConfig() {
    CDeviceKey key;
    if (!key.Get(m_nDevice))
        return false;
    CWinApp* app = AfxGetApp();
    const std::wstring section = store::ConfigSectionName(key.c_str());
    for (int k = 0; k < store::kRowCount; ++k) {
        // A stored 0 means nothing is stored.
        const DWORD id = app->GetProfileInt(
            section.c_str(), store::IndexedValueName(m_upperColumn.KeyValueName(), k).c_str(), 0);
        if (id != 0)
            RestoreButton(k, id);
        const DWORD variable = app->GetProfileInt(section.c_str(), store::IndexedValueName(store::kLED, k).c_str(), 0);
        if (variable != 0) {
            const DWORD comparison =
                app->GetProfileInt(section.c_str(), store::IndexedValueName(store::kLEDcomp, k).c_str(), 0);
            RestoreLED(k, variable, comparison,
                       app->GetProfileString(section.c_str(), store::IndexedValueName(store::kLEDval, k).c_str()));
        }
    }
    CMainDialog* main = GetMainDialog();
    if (main != nullptr)
        main->LoadHardwareSettings(key.c_str());
    m_bChanged = false;
    return true;
}

bool CConfigPanel::WriteRows(const std::wstring& section) const {
    CWinApp* app = AfxGetApp();
    for (int k = 0; k < store::kRowCount; ++k) {
        if (!m_upperColumn.WriteRow(section, k, m_nButtonRow[k]))
            return false;
        const LedEntry& led = g_LedTable[m_nLEDRow[k]];
        if (!app->WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLED, k).c_str(),
                                  static_cast<int>(led.variable)) ||
            !app->WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLEDcomp, k).c_str(),
                                  led.comparison) ||
            !app->WriteProfileString(section.c_str(), store::IndexedValueName(store::kLEDval, k).c_str(), led.value))
            return false;
    }
    return true;
}

bool CConfigPanel::SaveConfig() {
    CDeviceKey key;
    if (!key.Get(m_nDevice))
        return false;
    // Both sections are written whole or not at all: what they held is put back when any
    // write fails, and a section that cannot be read whole is not written.
    const std::wstring configSection = store::ConfigSectionName(key.c_str());
    const std::wstring profile = AfxGetApp()->GetAppRegistryPath() + L"\\";
    store::CSectionSnapshot configBefore;
    store::CSectionSnapshot hardwareBefore;
    bool saved = configBefore.Capture(HKEY_CURRENT_USER, profile + configSection) &&
                 hardwareBefore.Capture(HKEY_CURRENT_USER, profile + store::HardwareSectionName(key.c_str())) &&
                 WriteRows(configSection);
    // The hardware section is written only together with a complete configuration section.
    CMainDialog* main = GetMainDialog();
    if (saved && main != nullptr)
        saved = main->SaveHardwareSettings(key.c_str()) != FALSE;
    if (!saved) {
        const bool configRestored = configBefore.Restore();
        const bool restored = hardwareBefore.Restore() && configRestored;
        // The picks stay unsaved: the page stays changed and Apply stays usable.
        AfxMessageBox(restored ? IDS_SAVE_FAILED : IDS_RESTORE_FAILED, MB_OK | MB_ICONERROR);
        return false;
    }
    m_bChanged = false;
    return true;
}
