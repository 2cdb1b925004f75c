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

// By item: the first, "(none)", as an empty label that no search finds, then the rows.
template <class LabelOf>
std::vector<std::wstring> FoldedLabels(int rowCount, LabelOf labelOf) {
    std::vector<std::wstring> labels;
    labels.reserve(static_cast<size_t>(rowCount + 1));
    labels.emplace_back();
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
    OnCommand(BN_CLICKED, ID_ROW_CLEAR, &CConfigPanel::OnClearRow),
    OnMessage(WM_DESTROY, &CConfigPanel::OnDestroy),
};

CConfigPanel::CConfigPanel(UINT nIDTemplate, const CUpperColumn& upperColumn, const PanelRows& rows,
                           CWnd* pParent)
    : CConfigDialog(nIDTemplate, pParent),
      m_upperColumn(upperColumn),
      m_rows(rows),
      m_hSearchTip(nullptr),
      m_nLastButtons(-1) {
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
    for (int k = 0; k < store::kRowCount; ++k) {
        if (!HasRow(IDC_BUTTON_LIST_FIRST + k))
            (void)m_cbButton[k].EnableWindow(FALSE);
        if (!HasRow(IDC_LED_LIST_FIRST + k))
            (void)m_cbLED[k].EnableWindow(FALSE);
    }
    if (m_nDevice == kNoDevice)
        m_bHoldsDevice = false;
    else
        PointAtDevice(m_nDevice);
    return TRUE;
}

void CConfigPanel::PointAtDevice(int device) {
    CConfigDialog::PointAtDevice(device);
    m_returnFocus.Cancel();
    SetAllPanelLeds(m_nDevice, BG_LED_FAST);
    ForgetRows();
    // Until something is restored, every list holds and shows nothing, which is what a
    // save writes for it.
    ShowHeldRows();
    (void)LoadConfig();
    // The positions of the switches, so that the next report tells which one was flipped.
    m_nLastButtons = -1;
    (void)BG_GetButtonStatus(m_nDevice);
}

BOOL CConfigPanel::OnDestroy(WPARAM, LPARAM, LRESULT*) {
    m_returnFocus.Cancel();
    return FALSE;  // on to the base's handling
}

void CConfigPanel::ForgetRow(int k) {
    m_nButtonRow[k] = kNoRow;
    m_nLEDRow[k] = kNoRow;
    for (DWORD& value : m_keptButton[k])
        value = 0;
    m_keptLED[k] = KeptLED{0, 0, std::wstring()};
}

void CConfigPanel::ForgetRows() {
    for (int k = 0; k < store::kRowCount; ++k)
        ForgetRow(k);
    for (CListSearch& search : m_search)
        search.Reset();
    // The box the lists share shows no text of the device before, even hidden.
    if (m_hSearchTip != nullptr)
        (void)::SetWindowTextW(m_hSearchTip, L"");
}

void CConfigPanel::FillLists() {
    const std::wstring none = AfxLoadString(IDS_NO_ROW);
    const CUpperColumn& upper = m_upperColumn;
    auto upperLabel = [&upper](int row) { return upper.Label(row); };
    m_upperLabels = FoldedLabels(upper.RowCount(), upperLabel);
    m_ledLabels = FoldedLabels(g_nLedCount, LedLabel);
    // The search shows its text in a box; without one it still searches.
    m_hSearchTip = list_search::CreateTextWindow(m_hWnd);
    auto widest = [&none](const CComboBox& list, int rowCount, auto labelOf) {
        return std::max(vocabulary_list::WidestLabel(list, rowCount, labelOf),
                        vocabulary_list::WidestLabel(list, 1, [&none](int) { return none.c_str(); }));
    };
    const int upperWidth = widest(m_cbButton[0], upper.RowCount(), upperLabel);
    const int ledWidth = widest(m_cbLED[0], g_nLedCount, LedLabel);
    for (int k = 0; k < store::kRowCount; ++k) {
        const CComboBox& list = m_cbButton[k];
        // A list that could not take every row offers what it took; picks stay in the table.
        (void)vocabulary_list::Fill(list, none.c_str(), upper.RowCount(), upper.LongestLabel(), upperLabel);
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
        vocabulary_list::FitDroppedWidth(list, upperWidth);
        // A list whose keys cannot be taken over keeps its own first-letter search.
        (void)m_search[k].Attach(list, &m_upperLabels, m_hSearchTip);
        // Without them it still offers "(none)" for the mouse.
        (void)m_keys[k].Attach(list);
    }
    for (int k = 0; k < store::kRowCount; ++k) {
        const CComboBox& list = m_cbLED[k];
        (void)vocabulary_list::Fill(list, none.c_str(), g_nLedCount, g_nLedLabelMax, LedLabel);
        vocabulary_list::ShowRowsWhenOpen(list, kVisibleRowsWhenOpen);
        vocabulary_list::FitDroppedWidth(list, ledWidth);
        (void)m_search[store::kRowCount + k].Attach(list, &m_ledLabels, m_hSearchTip);
        (void)m_keys[store::kRowCount + k].Attach(list);
    }
}

bool CConfigPanel::IsButtonList(UINT nID) { return nID >= IDC_BUTTON_LIST_FIRST && nID <= IDC_BUTTON_LIST_LAST; }

bool CConfigPanel::IsList(int nID) {
    return (nID >= IDC_BUTTON_LIST_FIRST && nID <= IDC_BUTTON_LIST_LAST) ||
           (nID >= IDC_LED_LIST_FIRST && nID <= IDC_LED_LIST_LAST);
}

bool CConfigPanel::HasRow(UINT nID) const {
    return IsButtonList(nID) ? static_cast<int>(nID - IDC_BUTTON_LIST_FIRST) < m_rows.inputCount
                             : static_cast<int>(nID - IDC_LED_LIST_FIRST) < m_rows.ledCount;
}

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

// Closing a list picks what it shows; closed on the row it held, it changes nothing.
void CConfigPanel::OnListCloseUp(UINT nID) { RecordPick(nID); }

// An open list closed without a choice (Escape, a click elsewhere) gives its row back; the
// close-up that follows then finds the row it held.
void CConfigPanel::OnListSelEndCancel(UINT nID) { ShowHeldRow(nID); }

// Only a list's selection is a pick, never text typed into an editable list; a list without
// a selection keeps the row it had.
void CConfigPanel::RecordPick(UINT nID) {
    const int rowCount = IsButtonList(nID) ? m_upperColumn.RowCount() : g_nLedCount;
    int row = 0;
    if (!vocabulary_list::SelectedRow(ListOf(nID), rowCount, &row))
        return;
    ChangeRow(nID, row);
}

void CConfigPanel::ChangeRow(UINT nID, int row) {
    int& held = RowOf(nID);
    // A row the panel lacks keeps what is stored, whatever its list is told.
    if (held == row || !HasRow(nID))
        return;
    History().Record(static_cast<int>(nID), held, row);
    held = row;
    UpdateChanged();
}

// Delete on the focused list: its row is set to nothing. An open list closes first and
// gives its row back, so that the change is one step of the history.
void CConfigPanel::OnClearRow(UINT) {
    HWND focus = ::GetFocus();
    if (focus == nullptr || !::IsChild(m_hWnd, focus))
        return;
    if (::GetParent(focus) != m_hWnd)
        focus = ::GetParent(focus);  // the edit field of an editable list
    const int nID = ::GetDlgCtrlID(focus);
    if (!IsList(nID) || !HasRow(static_cast<UINT>(nID)))
        return;
    const CComboBox& list = ListOf(static_cast<UINT>(nID));
    if (list.GetDroppedState())
        list.ShowDropDown(FALSE);
    ChangeRow(static_cast<UINT>(nID), kNoRow);
    ShowHeldRow(static_cast<UINT>(nID));
}

bool CConfigPanel::SetTarget(int target, int value) {
    if (!IsList(target))
        return false;
    const UINT nID = static_cast<UINT>(target);
    const int rowCount = IsButtonList(nID) ? m_upperColumn.RowCount() : g_nLedCount;
    // Only a row the list could hold: a change recorded by others is not trusted further.
    if (value != kNoRow && value != kKeptRow && (value < 0 || value >= rowCount))
        return true;
    const CComboBox& list = ListOf(nID);
    if (list.GetDroppedState())
        list.ShowDropDown(FALSE);
    RowOf(nID) = value;
    ShowHeldRow(nID);
    return true;
}

void CConfigPanel::ShowHeldRow(UINT nID) {
    const CComboBox& list = ListOf(nID);
    const int row = RowOf(nID);
    if (row == kKeptRow) {
        (void)list.SetCurSel(-1);
        if (IsEditable(list)) {
            const DWORD id = IsButtonList(nID) ? m_keptButton[nID - IDC_BUTTON_LIST_FIRST][0]
                                               : m_keptLED[nID - IDC_LED_LIST_FIRST].variable;
            list.SetWindowText(Hexadecimal(id).c_str());
        }
        return;
    }
    (void)list.SetCurSel(vocabulary_list::ItemOfRow(row));
}

void CConfigPanel::ShowHeldRows() {
    for (int k = 0; k < store::kRowCount; ++k) {
        ShowHeldRow(IDC_BUTTON_LIST_FIRST + k);
        ShowHeldRow(IDC_LED_LIST_FIRST + k);
    }
}

// What a save would write compared with what a save of the stored rows writes: a stored
// row that no list shows the same way (a 0 beside a missing value, a kept identifier) is
// no difference.
bool CConfigPanel::DiffersFromStored() const { return !store::SameSettings(ShownRows(), m_storedRows); }

void CConfigPanel::RevertToStored() {
    LoadRows();
    ShowHeldRows();
    CConfigDialog::RevertToStored();
}

void CConfigPanel::OnPanelInput(BYTE buttons) {
    const int before = m_nLastButtons;
    m_nLastButtons = buttons;
    if (m_hWnd == nullptr || !m_bHoldsDevice)
        return;
    // Switches in positions not known yet: the report tells where they are, not what moved.
    if (m_rows.switches && before < 0)
        return;
    const unsigned last = before < 0 ? 0u : static_cast<unsigned>(before);
    const unsigned moved = m_rows.switches ? (buttons ^ last) : (buttons & ~last);
    for (int input = 0; input < m_rows.inputCount; ++input) {
        if ((moved & (1u << input)) != 0) {
            FindRow(input);
            return;
        }
    }
}

bool CConfigPanel::MayMoveFocus() const {
    if (!IsWindowVisible())
        return false;
    // A message box or another dialog of the window disables it while it is open.
    const HWND window = ::GetAncestor(m_hWnd, GA_ROOT);
    if (window == nullptr || !::IsWindowEnabled(window))
        return false;
    for (int k = 0; k < store::kRowCount; ++k) {
        if (m_cbButton[k].GetDroppedState() || m_cbLED[k].GetDroppedState())
            return false;
    }
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) &&
        (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE)) != 0)
        return false;
    return ::GetCapture() == nullptr;
}

void CConfigPanel::FindRow(int input) {
    if (!MayMoveFocus())
        return;
    const CComboBox& list = m_cbButton[input];
    const HWND window = ::GetAncestor(m_hWnd, GA_ROOT);
    // A row found already is not found again: a panel that sends presses fast (a bouncing
    // contact, a flood) costs nothing more.
    const HWND focus = ::GetFocus();
    if (focus == list.m_hWnd || (focus != nullptr && ::GetParent(focus) == list.m_hWnd))
        return;
    if (::GetForegroundWindow() == window) {
        m_returnFocus.Cancel();
        // As Tab moves it: the dialog manager keeps its default button right.
        (void)::SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list.m_hWnd), TRUE);
        return;
    }
    // In the background the panel shows the row at once, the window when the user returns.
    if (m_returnFocus.Waiting() != list.m_hWnd && m_returnFocus.Set(list.m_hWnd))
        HighlightLED(input);
}

void CConfigPanel::RestoreButton(const store::SettingSection& section, int index, DWORD id) {
    const CUpperColumn& upper = m_upperColumn;
    // The lists are filled in table order, so the table is searched, not the list (asking a
    // list for each item's data costs a message per item); a row the list could not take is
    // not offered.
    const int shownRows = vocabulary_list::RowsShown(m_cbButton[index]);
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
        KeepStoredValues(section, index, id);
    }
}

void CConfigPanel::KeepStoredValues(const store::SettingSection& section, int index, DWORD id) {
    m_keptButton[index][0] = id;
    for (int value = 1; value < m_upperColumn.ValueCount(); ++value)
        m_keptButton[index][value] =
            section.Number(store::IndexedValueName(m_upperColumn.ValueName(value), index).c_str(), 0);
}

void CConfigPanel::KeepStoredLED(const store::SettingSection& section, int index, DWORD variable) {
    m_keptLED[index].variable = variable;
    m_keptLED[index].comparison = section.Number(store::IndexedValueName(store::kLEDcomp, index).c_str(), 0);
    const store::SettingValue* stored = section.Find(store::IndexedValueName(store::kLEDval, index).c_str());
    m_keptLED[index].value = stored != nullptr ? stored->text : std::wstring();
}

void CConfigPanel::RestoreLED(const store::SettingSection& section, int index, DWORD variable) {
    KeepStoredLED(section, index, variable);
    const DWORD comparison = m_keptLED[index].comparison;
    const std::wstring& value = m_keptLED[index].value;
    // Two rows may share a variable (the gear's up and down rows); the stored comparison
    // and value tell them apart. Without those the first row of the variable comes back.
    const int rows = std::min(g_nLedCount, vocabulary_list::RowsShown(m_cbLED[index]));
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
    m_nLEDRow[index] = item >= 0 ? item : kKeptRow;
}

bool CConfigPanel::LoadConfig() {
    CDeviceKey key;
    if (!GetDeviceKey(key))
        return false;
    m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), store::DeviceKeyText(key.c_str()));
    LoadRows();
    m_storedRows = ShownRows();
    ShowHeldRows();
    History().Clear();
    if (m_pHost != nullptr)
        m_pHost->LoadHardwareSettings(m_stored);
    m_bChanged = false;
    return true;
}

void CConfigPanel::LoadRows() {
    static const store::SettingSection kNothingStored = {store::SectionKind::Config, std::wstring(), {}};
    const store::SettingSection* config = m_stored.Find(store::SectionKind::Config);
    const store::SettingSection& section = config != nullptr ? *config : kNothingStored;
    for (int k = 0; k < store::kRowCount; ++k) {
        ForgetRow(k);
        // A stored 0, like a value never written, is nothing.
        const DWORD id = section.Number(store::IndexedValueName(m_upperColumn.KeyValueName(), k).c_str(), 0);
        if (id != 0)
            RestoreButton(section, k, id);
        // A row the panel lacks is written back as it is stored, whatever it holds.
        if (!HasRow(IDC_BUTTON_LIST_FIRST + k))
            KeepStoredValues(section, k, id);
        const DWORD variable = section.Number(store::IndexedValueName(store::kLED, k).c_str(), 0);
        if (variable != 0)
            RestoreLED(section, k, variable);
        else if (!HasRow(IDC_LED_LIST_FIRST + k))
            KeepStoredLED(section, k, variable);
    }
}

store::PanelSettings CConfigPanel::ShownRows() const {
    store::PanelSettings rows;
    rows.deviceKey = m_stored.deviceKey;
    WriteRows(rows.Section(store::SectionKind::Config));
    return rows;
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
    if (m_stored.deviceKey.empty())
        return;
    m_stored = store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), m_stored.deviceKey);
    // The rows of what is stored now are what the page is compared with; it keeps showing
    // the user's.
    int buttonRow[store::kRowCount];
    int ledRow[store::kRowCount];
    DWORD keptButton[store::kRowCount][CUpperColumn::kMaxValues];
    KeptLED keptLED[store::kRowCount];
    std::copy(std::begin(m_nButtonRow), std::end(m_nButtonRow), buttonRow);
    std::copy(std::begin(m_nLEDRow), std::end(m_nLEDRow), ledRow);
    std::copy(&m_keptButton[0][0], &m_keptButton[0][0] + store::kRowCount * CUpperColumn::kMaxValues, &keptButton[0][0]);
    std::copy(std::begin(m_keptLED), std::end(m_keptLED), keptLED);
    LoadRows();
    m_storedRows = ShownRows();
    std::copy(std::begin(buttonRow), std::end(buttonRow), m_nButtonRow);
    std::copy(std::begin(ledRow), std::end(ledRow), m_nLEDRow);
    std::copy(&keptButton[0][0], &keptButton[0][0] + store::kRowCount * CUpperColumn::kMaxValues, &m_keptButton[0][0]);
    std::copy(std::begin(keptLED), std::end(keptLED), m_keptLED);
    if (m_pHost != nullptr)
        m_pHost->AcceptStoredHardware(m_stored);
    UpdateChanged();
}

void CConfigPanel::WriteRows(store::SettingSection& section) const {
    const DWORD nothing[CUpperColumn::kMaxValues] = {};
    for (int k = 0; k < store::kRowCount; ++k) {
        const int button = m_nButtonRow[k];
        if (button == kKeptRow || !HasRow(IDC_BUTTON_LIST_FIRST + k))
            m_upperColumn.WriteValues(section, k, m_keptButton[k]);
        else if (button == kNoRow)
            m_upperColumn.WriteValues(section, k, nothing);
        else
            m_upperColumn.WriteRow(section, k, button);
        KeptLED led = m_keptLED[k];
        const int ledRow = m_nLEDRow[k];
        if (HasRow(IDC_LED_LIST_FIRST + k) && ledRow == kNoRow) {
            led = KeptLED{0, 0, std::wstring()};
        } else if (HasRow(IDC_LED_LIST_FIRST + k) && ledRow != kKeptRow) {
            const LedEntry& entry = g_LedTable[ledRow];
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
    m_storedRows = ShownRows();
    History().Clear();
    m_bChanged = false;
    return true;
}
