#include "config/config_panel.h"

#include "config/table_statistics.h"
#include "config/vocabulary_list.h"
#include "config/vocabulary_tables.h"
#include "device/device_key.h"
#include "device/panel_leds.h"
#include "config/page_host.h"
#include "resource.h"
#include "scaling/page_scaling.h"
#include "store/panel_settings.h"
#include "VUZoz.h"

#include <algorithm>

#include <cwchar>

namespace {

// The open list shows this many rows; the templates leave room for barely two.
const int kVisibleRowsWhenOpen = 20;

const wchar_t* LedLabel(int row) { return g_LedTable[row].label; }

template <class LabelOf>
std::vector<std::wstring> FoldedLabels(int rowCount, LabelOf labelOf) {
    std::vector<std::wstring> labels;
    labels.reserve(static_cast<size_t>(rowCount));
    for (int row = 0; row < rowCount; ++row)
        labels.push_back(list_search::Fold(labelOf(row)));
    return labels;
}

bool IsEditable(const CComboBox& list) { return (list.GetStyle() & 0x3) == CBS_DROPDOWN; }

std::wstring Hexadecimal(DWORD value) {
    wchar_t text[16] = L"";
    (void)std::swprintf(text, 16, L"0x%lX", static_cast<unsigned long>(value));
    return text;
}

}  // namespace

const MessageMapEntry<CConfigPanel> CConfigPanel::s_messageMap[] = {
    OnCommand(CBN_SETFOCUS, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnButtonSetFocus),
    OnCommand(CBN_SETFOCUS, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnLEDSetFocus),
    OnCommand(CBN_KILLFOCUS, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnListKillFocus),
    OnCommand(CBN_KILLFOCUS, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnListKillFocus),
    OnCommand(CBN_SELCHANGE, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnListSelChange),
    OnCommand(CBN_SELCHANGE, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnListSelChange),
    OnCommand(CBN_CLOSEUP, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnListCloseUp),
    OnCommand(CBN_CLOSEUP, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnListCloseUp),
    OnCommand(CBN_SELENDCANCEL, IDC_BUTTON_LIST_FIRST, IDC_BUTTON_LIST_LAST, &CConfigPanel::OnListSelEndCancel),
    OnCommand(CBN_SELENDCANCEL, IDC_LED_LIST_FIRST, IDC_LED_LIST_LAST, &CConfigPanel::OnListSelEndCancel),
};

CConfigPanel::CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, CWnd* pParent)
    : CConfigDialog(nIDTemplate, pParent), m_upperColumn(upperColumn), m_hSearchTip(nullptr) {
    ForgetRows();
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
    scaling::ScalePage(m_hWnd, m_nIDTemplate);
    FillLists();
    if (m_nDevice == kNoDevice)
        m_bHoldsDevice = false;
    else
        PointAtDevice(m_nDevice);
    return TRUE;
}

void CConfigPanel::PointAtDevice(int device) {
    CConfigDialog::PointAtDevice(device);
    SetAllPanelLeds(m_nDevice, BG_LED_FAST);
    ForgetRows();
    // Until something is restored, every list holds and shows its table's first row,
    // which is what a save writes for it.
    for (int k = 0; k < store::kRowCount; ++k) {
        ShowHeldRow(IDC_BUTTON_LIST_FIRST + k);
        ShowHeldRow(IDC_LED_LIST_FIRST + k);
    }
    (void)LoadConfig();
}

void CConfigPanel::ForgetRows() {
    for (int k = 0; k < store::kRowCount; ++k) {
        m_nButtonRow[k] = 0;
        m_nLEDRow[k] = 0;
        for (DWORD& value : m_keptButton[k])
            value = 0;
        m_keptLED[k] = KeptLED{0, 0, std::wstring()};
    }
    for (CListSearch& search : m_search)
        search.Reset();
    // The box the lists share shows no text of the device before, even hidden.
    if (m_hSearchTip != nullptr)
        (void)::SetWindowTextW(m_hSearchTip, L"");
}

void CConfigPanel::FillLists() {
    const CUpperColumn& upper = m_upperColumn;
    auto upperLabel = [&upper](int row) { return upper.Label(row); };
    m_upperLabels = FoldedLabels(upper.RowCount(), upperLabel);
    m_ledLabels = FoldedLabels(g_nLedCount, LedLabel);
    // The search shows its text in a box; without one it still searches.
    m_hSearchTip = list_search::CreateTextWindow(m_hWnd);
    const int upperWidth = vocabulary_list::WidestLabel(m_cbButton[0], upper.RowCount(), upperLabel);
    const int ledWidth = vocabulary_list::WidestLabel(m_cbLED[0], g_nLedCount, LedLabel);
    for (int k = 0; k < store::kRowCount; ++k) {
        const CComboBox& list = m_cbButton[k];
        // A list that could not take every row offers what it took; picks stay in the table.
        (void)vocabulary_list::Fill(list, upper.RowCount(), upper.LongestLabel(), upperLabel);
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
        vocabulary_list::FitDroppedWidth(list, upperWidth);
        // A list whose keys cannot be taken over keeps its own first-letter search.
        (void)m_search[k].Attach(list, &m_upperLabels, m_hSearchTip);
    }
    for (int k = 0; k < store::kRowCount; ++k) {
        const CComboBox& list = m_cbLED[k];
        (void)vocabulary_list::Fill(list, g_nLedCount, g_nLedLabelMax, LedLabel);
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
        vocabulary_list::FitDroppedWidth(list, ledWidth);
        (void)m_search[store::kRowCount + k].Attach(list, &m_ledLabels, m_hSearchTip);
    }
}

bool CConfigPanel::IsButtonList(UINT nID) { return nID >= IDC_BUTTON_LIST_FIRST && nID <= IDC_BUTTON_LIST_LAST; }

const CComboBox& CConfigPanel::ListOf(UINT nID) const {
    return IsButtonList(nID) ? m_cbButton[nID - IDC_BUTTON_LIST_FIRST] : m_cbLED[nID - IDC_LED_LIST_FIRST];
}

int& CConfigPanel::RowOf(UINT nID) {
    return IsButtonList(nID) ? m_nButtonRow[nID - IDC_BUTTON_LIST_FIRST] : m_nLEDRow[nID - IDC_LED_LIST_FIRST];
}

void CConfigPanel::OnButtonSetFocus(UINT nID) { HighlightLED(static_cast<int>(nID - IDC_BUTTON_LIST_FIRST)); }

void CConfigPanel::OnLEDSetFocus(UINT nID) { HighlightLED(static_cast<int>(nID - IDC_LED_LIST_FIRST)); }

void CConfigPanel::OnListKillFocus(UINT nID) {
    SetAllPanelLeds(m_nDevice, BG_LED_FAST);
    // Text typed into an editable list that picked nothing does not stay on the screen.
    ShowHeldRow(nID);
}

// Any change of a closed list's selection is a pick: a key, the wheel, the search. In an
// open list the selection is only the highlight until the list closes.
void CConfigPanel::OnListSelChange(UINT nID) {
    if (ListOf(nID).GetDroppedState())
        return;
    RecordPick(nID);
}

// Opening and closing a list picks what it shows, even when that did not change.
void CConfigPanel::OnListCloseUp(UINT nID) { RecordPick(nID); }

// An open list closed without a choice (Escape, a click elsewhere) gives its row back; the
// close-up that follows then picks that row.
void CConfigPanel::OnListSelEndCancel(UINT nID) { ShowHeldRow(nID); }

// Only a list's selection is a pick, never text typed into an editable list; a list without
// a selection keeps the row it had.
void CConfigPanel::RecordPick(UINT nID) {
    const int rowCount = IsButtonList(nID) ? m_upperColumn.RowCount() : g_nLedCount;
    const int row = vocabulary_list::SelectedRow(ListOf(nID), rowCount);
    if (row < 0)
        return;
    RowOf(nID) = row;
    MarkChanged();
}

void CConfigPanel::ShowHeldRow(UINT nID) {
    const CComboBox& list = ListOf(nID);
    const int row = RowOf(nID);
    // The lists are unsorted: an item's index is its row.
    (void)list.SetCurSel(row);
    if (row == kKeptRow && IsEditable(list)) {
        const DWORD id = IsButtonList(nID) ? m_keptButton[nID - IDC_BUTTON_LIST_FIRST][0]
                                           : m_keptLED[nID - IDC_LED_LIST_FIRST].variable;
        list.SetWindowText(Hexadecimal(id).c_str());
    }
}

void CConfigPanel::RestoreButton(const store::SettingSection& section, int index, DWORD id) {
    const CUpperColumn& upper = m_upperColumn;
    // The lists are filled in table order, so the table is searched, not the list (asking a
    // list for each item's data costs a message per item); a row the list could not take is
    // not offered.
    const int shownRows = m_cbButton[index].GetCount();
    int item = -1;
    for (int row = 0; row < upper.RowCount() && row < shownRows && item < 0; ++row) {
        if (upper.KeyOf(row) == id)
            item = row;
    }
    if (item >= 0) {
        m_nButtonRow[index] = item;
    } else {
        // Another tool's or version's identifier: what is stored for the input stays.
        m_nButtonRow[index] = kKeptRow;
        m_keptButton[index][0] = id;
        for (int value = 1; value < upper.ValueCount(); ++value)
            m_keptButton[index][value] = section.Number(store::IndexedValueName(upper.ValueName(value), index).c_str(), 0);
    }
    ShowHeldRow(IDC_BUTTON_LIST_FIRST + index);
}

void CConfigPanel::RestoreLED(const store::SettingSection& section, int index, DWORD variable) {
    const DWORD comparison = section.Number(store::IndexedValueName(store::kLEDcomp, index).c_str(), 0);
    const store::SettingValue* stored = section.Find(store::IndexedValueName(store::kLEDval, index).c_str());
    const std::wstring value = stored != nullptr ? stored->text : std::wstring();
    // Two rows may share a variable (the gear's up and down rows); the stored comparison
    // and value tell them apart. Without those the first row of the variable comes back.
    const int rows = std::min(g_nLedCount, m_cbLED[index].GetCount());
    auto firstRow = [rows](auto matches) {
        for (int row = 0; row < rows; ++row) {
            if (matches(g_LedTable[row]))
                return row;
        }
        return -1;
    };
    int item = firstRow([&](const LedEntry& led) {
        return led.variable == variable && static_cast<DWORD>(led.comparison) == comparison && value == led.value;
    });
    if (item < 0)
        item = firstRow([&](const LedEntry& led) { return led.variable == variable; });
    if (item >= 0) {
        m_nLEDRow[index] = item;
    } else {
        m_nLEDRow[index] = kKeptRow;
        m_keptLED[index].variable = variable;
        m_keptLED[index].comparison = comparison;
        m_keptLED[index].value = value;
    }
    ShowHeldRow(IDC_LED_LIST_FIRST + index);
}

bool CConfigPanel::LoadConfig() {
    CDeviceKey key;
    if (!GetDeviceKey(key))
        return false;
    m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), store::DeviceKeyText(key.c_str()));
    const store::PanelSettings& stored = m_stored;
    static const store::SettingSection kNothingStored = {store::SectionKind::Config, std::wstring(), {}};
    const store::SettingSection* config = stored.Find(store::SectionKind::Config);
    const store::SettingSection& section = config != nullptr ? *config : kNothingStored;
    for (int k = 0; k < store::kRowCount; ++k) {
        // A stored 0 means nothing is stored.
        const DWORD id = section.Number(store::IndexedValueName(m_upperColumn.KeyValueName(), k).c_str(), 0);
        if (id != 0)
            RestoreButton(section, k, id);
        const DWORD variable = section.Number(store::IndexedValueName(store::kLED, k).c_str(), 0);
        if (variable != 0)
            RestoreLED(section, k, variable);
    }
    if (m_pHost != nullptr)
        m_pHost->LoadHardwareSettings(stored);
    m_bChanged = false;
    return true;
}

store::PanelSettings CConfigPanel::ShownSettings(const std::wstring& deviceKey) const {
    store::PanelSettings shown;
    shown.deviceKey = deviceKey;
    WriteRows(shown.Section(store::SectionKind::Config));
    if (m_pHost != nullptr)
        m_pHost->WriteHardwareSettings(shown.Section(store::SectionKind::Hardware));
    return shown;
}

bool CConfigPanel::ShownDiffersFromStored() const {
    if (m_stored.deviceKey.empty())
        return true;
    const store::PanelSettings stored =
        store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), m_stored.deviceKey);
    return !store::Holds(stored, ShownSettings(m_stored.deviceKey));
}

bool CConfigPanel::StoreChangedOutside() const {
    if (m_stored.deviceKey.empty())
        return false;
    const store::PanelSettings now = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), m_stored.deviceKey);
    return !store::SameSettings(now, m_stored);
}

void CConfigPanel::AcceptStored() {
    if (!m_stored.deviceKey.empty())
        m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), m_stored.deviceKey);
}

void CConfigPanel::WriteRows(store::SettingSection& section) const {
    for (int k = 0; k < store::kRowCount; ++k) {
        if (m_nButtonRow[k] == kKeptRow)
            m_upperColumn.WriteValues(section, k, m_keptButton[k]);
        else
            m_upperColumn.WriteRow(section, k, m_nButtonRow[k]);
        KeptLED led = m_keptLED[k];
        if (m_nLEDRow[k] != kKeptRow) {
            const LedEntry& entry = g_LedTable[m_nLEDRow[k]];
            led.variable = entry.variable;
            led.comparison = static_cast<DWORD>(entry.comparison);
            led.value = entry.value;
        }
        section.AddDword(store::IndexedValueName(store::kLED, k), led.variable);
        section.AddDword(store::IndexedValueName(store::kLEDcomp, k), led.comparison);
        section.AddString(store::IndexedValueName(store::kLEDval, k), led.value);
    }
}

bool CConfigPanel::SaveConfig() {
    CDeviceKey key;
    if (!GetDeviceKey(key))
        return false;
    // Both sections are written whole or not at all, also when Tollan ends half-way: a
    // failed write puts back what they held, and a save cut short is finished at the next
    // start. A section that cannot be read whole is not written.
    // Apply never writes over a change made outside Tollan that the page has not shown.
    if (StoreChangedOutside()) {
        if (AfxMessageBox(IDS_CHANGED_OUTSIDE, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            PointAtDevice(m_nDevice);
            return false;
        }
    }
    const store::PanelSettings shown = ShownSettings(store::DeviceKeyText(key.c_str()));
    const store::SaveResult result = store::WritePanelSettings(AfxGetApp()->GetAppRegistryPath(), {shown});
    if (result != store::kSaveDone) {
        // What a save that could not be put back left is Tollan's own writing, not a change
        // made outside it.
        if (result == store::kSaveFailedNotRestored)
            m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), shown.deviceKey);
        // The picks stay unsaved: the page stays changed and Apply stays usable.
        AfxMessageBox(result == store::kSaveFailed ? IDS_SAVE_FAILED : IDS_RESTORE_FAILED, MB_OK | MB_ICONERROR);
        return false;
    }
    if (m_pHost != nullptr)
        m_pHost->HardwareSettingsSaved();
    m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), shown.deviceKey);
    m_bChanged = false;
    return true;
}
