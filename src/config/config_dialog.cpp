#include "config/config_dialog.h"

#include "device/device_key.h"
#include "device/panel_leds.h"
#include "config/page_host.h"
#include "resource.h"
#include "VUZoz.h"

const MessageMapEntry<CConfigDialog> CConfigDialog::s_messageMap[] = {
    OnMessage(WM_DESTROY, &CConfigDialog::OnDestroy),
    OnMessage(WM_CLOSE, &CConfigDialog::OnClose),
    OnCommand(BN_CLICKED, ID_PAGE_UNDO, &CConfigDialog::OnUndo),
    OnCommand(BN_CLICKED, ID_PAGE_REDO, &CConfigDialog::OnRedo),
};

CConfigDialog::CConfigDialog(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nDevice(0), m_bChanged(false), m_bHoldsDevice(true), m_pHost(nullptr),
      m_bDetached(false) {}

bool CConfigDialog::LoadConfig() { return false; }

bool CConfigDialog::SaveConfig() { return false; }

void CConfigDialog::PointAtDevice(int device) {
    m_bDetached = false;
    m_strDetachedKey.clear();
    m_nDevice = device;
    m_bHoldsDevice = true;
    m_bChanged = false;
    m_history.Clear();
}

bool CConfigDialog::DiffersFromStored() const { return false; }

void CConfigDialog::RevertToStored() {
    m_history.Clear();
    UpdateChanged();
}

bool CConfigDialog::Undo() {
    CEditHistory::Change change = {};
    if (!m_history.Undo(&change))
        return false;
    SetChangedTarget(change.target, change.before);
    return true;
}

bool CConfigDialog::Redo() {
    CEditHistory::Change change = {};
    if (!m_history.Redo(&change))
        return false;
    SetChangedTarget(change.target, change.after);
    return true;
}

void CConfigDialog::SetChangedTarget(int target, int value) {
    if (!SetTarget(target, value) && m_pHost != nullptr)
        m_pHost->SetHardwareValue(target, value);
    UpdateChanged();
}

bool CConfigDialog::SetTarget(int, int) { return false; }

void CConfigDialog::OnPanelInput(BYTE) {}

void CConfigDialog::OnUndo(UINT) { (void)Undo(); }

void CConfigDialog::OnRedo(UINT) { (void)Redo(); }

void CConfigDialog::LeaveDevice() {
    if (!m_bHoldsDevice)
        return;
    m_bHoldsDevice = false;
    SetAllPanelLeds(m_nDevice, BG_LED_OFF);
}

void CConfigDialog::Detach(const std::string& deviceKey) {
    m_bDetached = true;
    m_strDetachedKey = deviceKey;
    m_bHoldsDevice = false;
    m_nDevice = kNoDevice;
}

void CConfigDialog::Reattach(int device) {
    m_bDetached = false;
    m_strDetachedKey.clear();
    m_nDevice = device;
    m_bHoldsDevice = true;
    HWND focus = ::GetFocus();
    // The edit of an editable list has the focus for its list.
    if (focus != nullptr && ::GetParent(focus) != m_hWnd && ::IsChild(m_hWnd, focus))
        focus = ::GetParent(focus);
    const int id = focus != nullptr && ::GetParent(focus) == m_hWnd ? ::GetDlgCtrlID(focus) : 0;
    if (id >= IDC_BUTTON_LIST_FIRST && id <= IDC_BUTTON_LIST_LAST)
        HighlightLED(id - IDC_BUTTON_LIST_FIRST);
    else if (id >= IDC_LED_LIST_FIRST && id <= IDC_LED_LIST_FIRST + kPanelLedCount - 1)
        HighlightLED(id - IDC_LED_LIST_FIRST);
    else
        SetAllPanelLeds(m_nDevice, BG_LED_FAST);
}

bool CConfigDialog::GetDeviceKey(CDeviceKey& key) const {
    if (m_bDetached)
        return key.Keep(m_strDetachedKey);
    return m_nDevice != kNoDevice && key.Get(m_nDevice);
}

BOOL CConfigDialog::Create(CWnd* pParentWnd) { return CDialog::Create(m_nIDTemplate, pParentWnd); }

bool CConfigDialog::QuerySaveChanges() {
    // The brightness and blink controls belong to the page the main window shows.
    const bool hardwareChanged = m_pHost != nullptr && m_pHost->HardwareChanged(*this);
    if (!m_bChanged && !hardwareChanged)
        return true;
    // Changed back to what is stored: there is nothing to lose and nothing to ask about.
    if (!ShownDiffersFromStored()) {
        m_bChanged = false;
        if (hardwareChanged)
            m_pHost->DropHardwareChanges();
        return true;
    }
    switch (AfxMessageBox(IDS_SAVE_PROMPT, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        // A failed save has told the user itself; the changes stay, and so does the page.
        if (!SaveConfig())
            return false;
        break;
    case IDNO:
        // The user let the changes go: the page shows what is stored again.
        RevertToStored();
        if (hardwareChanged)
            m_pHost->DropHardwareChanges();
        break;
    default:
        return false;
    }
    if (m_pHost != nullptr)
        m_pHost->UpdateApply();
    return true;
}

BOOL CConfigDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult))
        return TRUE;
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CConfigDialog::HighlightLED(int led) const {
    if (m_nDevice < 0)
        return;
    for (int i = 0; i < kPanelLedCount; ++i)
        (void)BG_SetLEDState(m_nDevice, i, i == led ? BG_LED_FAST : BG_LED_OFF, 0);
}

void CConfigDialog::UpdateChanged() {
    m_bChanged = DiffersFromStored();
    if (m_pHost != nullptr)
        m_pHost->UpdateApply();
}

BOOL CConfigDialog::OnDestroy(WPARAM, LPARAM, LRESULT*) {
    // The dialog's default handling of WM_DESTROY has nothing that the LEDs depend on
    // and runs when this returns.
    LeaveDevice();
    return FALSE;
}

BOOL CConfigDialog::OnClose(WPARAM, LPARAM, LRESULT*) {
    // Cancelled: the page stays as it is.
    return QuerySaveChanges() ? FALSE : TRUE;
}
