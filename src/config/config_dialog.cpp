#include "config/config_dialog.h"

#include "device/panel_leds.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "VUZoz.h"

const MessageMapEntry<CConfigDialog> CConfigDialog::s_messageMap[] = {
    OnMessage(WM_DESTROY, &CConfigDialog::OnDestroy),
    OnMessage(WM_CLOSE, &CConfigDialog::OnClose),
    OnCommand(BN_CLICKED, ID_PAGE_UNDO, &CConfigDialog::OnUndo),
    OnCommand(BN_CLICKED, ID_PAGE_REDO, &CConfigDialog::OnRedo),
};

CConfigDialog::CConfigDialog(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nDevice(0), m_bChanged(false), m_bHoldsDevice(true) {}

bool CConfigDialog::LoadConfig() { return false; }

bool CConfigDialog::SaveConfig() { return false; }

void CConfigDialog::PointAtDevice(int device) {
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

void CConfigDialog::SetOtherChangeTarget(std::function<void(int target, int value)> setValue) {
    m_setOtherTarget = std::move(setValue);
}

void CConfigDialog::SetChangedTarget(int target, int value) {
    if (!SetTarget(target, value) && m_setOtherTarget)
        m_setOtherTarget(target, value);
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

BOOL CConfigDialog::Create(CWnd* pParentWnd) { return CDialog::Create(m_nIDTemplate, pParentWnd); }

bool CConfigDialog::QuerySaveChanges() {
    CMainDialog* main = GetMainDialog();
    // The brightness and blink controls belong to the page the main window shows.
    const bool hardwareChanged = main != nullptr && main->m_pConfigPage == this && main->m_bHardwareChanged;
    if (!m_bChanged && !hardwareChanged)
        return true;
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
            main->DropHardwareChanges();
        break;
    default:
        return false;
    }
    if (main != nullptr && main->m_pConfigPage == this)
        main->UpdateApply();
    return true;
}

BOOL CConfigDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult))
        return TRUE;
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CConfigDialog::HighlightLED(int led) const {
    for (int i = 0; i < kPanelLedCount; ++i)
        (void)BG_SetLEDState(m_nDevice, i, i == led ? BG_LED_FAST : BG_LED_OFF, 0);
}

void CConfigDialog::UpdateChanged() {
    m_bChanged = DiffersFromStored();
    CMainDialog* main = GetMainDialog();
    if (main != nullptr)
        main->UpdateApply();
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
