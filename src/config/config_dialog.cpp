#include "config/config_dialog.h"

#include "device/panel_leds.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "VUZoz.h"

const MessageMapEntry<CConfigDialog> CConfigDialog::s_messageMap[] = {
    OnMessage(WM_DESTROY, &CConfigDialog::OnDestroy),
    OnMessage(WM_CLOSE, &CConfigDialog::OnClose),
};

CConfigDialog::CConfigDialog(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nDevice(0), m_bChanged(false) {}

bool CConfigDialog::LoadConfig() { return false; }

bool CConfigDialog::SaveConfig() { return false; }

BOOL CConfigDialog::Create(CWnd* pParentWnd) { return CDialog::Create(m_nIDTemplate, pParentWnd); }

void CConfigDialog::QuerySaveChanges() {
    if (!m_bChanged)
        return;
    if (AfxMessageBox(IDS_SAVE_PROMPT, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        // A failed save has told the user itself; whatever asked goes on all the same.
        (void)SaveConfig();
    } else {
        // The user let the picks go: there is nothing left to ask about.
        m_bChanged = false;
    }
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

void CConfigDialog::MarkChanged() {
    m_bChanged = true;
    CMainDialog* main = GetMainDialog();
    if (main != nullptr)
        (void)main->EnableApply(TRUE);
}

BOOL CConfigDialog::OnDestroy(WPARAM, LPARAM, LRESULT*) {
    // The dialog's default handling of WM_DESTROY has nothing that the LEDs depend on
    // and runs when this returns.
    SetAllPanelLeds(m_nDevice, BG_LED_OFF);
    return FALSE;
}

BOOL CConfigDialog::OnClose(WPARAM, LPARAM, LRESULT*) {
    QuerySaveChanges();
    return FALSE;
}
