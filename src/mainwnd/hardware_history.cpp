// The brightness and blink controls in the page's history of changes: each change the user
// makes is recorded in the history of the configuration page on show, Ctrl+Z and Ctrl+Y on
// these controls and on the device list reach that page as on its own lists, and what is
// undone or redone comes back here. Apply follows whether the controls show what is stored.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "resource.h"
#include "store/panel_settings.h"

#include <string>

namespace {

bool IsBlinkTarget(int id) { return id >= IDC_FAST_ON && id <= IDC_SLOW_OFF; }

}  // namespace

void CMainDialog::AttachUndoKeys() {
    const HWND controls[] = {m_listDevices.m_hWnd, m_sliderBrightness.m_hWnd, m_editFastOn.m_hWnd,
                             m_editFastOff.m_hWnd,  m_editSlowOn.m_hWnd,       m_editSlowOff.m_hWnd};
    static_assert(sizeof(controls) / sizeof(controls[0]) == kUndoKeyControls, "one key taker per control");
    // Without them the keys do what the control does with them; nothing depends on it.
    for (int i = 0; i < kUndoKeyControls; ++i)
        (void)m_undoKeys[i].AttachUndoKeys(controls[i]);
}

CConfigDialog* CMainDialog::PageWithHistory() const {
    if (m_bTestMode || m_pConfigPage == nullptr || m_pConfigPage->m_hWnd == nullptr)
        return nullptr;
    return m_pConfigPage;
}

void CMainDialog::OnPageUndo(UINT) {
    if (CConfigDialog* page = PageWithHistory())
        (void)page->Undo();
}

void CMainDialog::OnPageRedo(UINT) {
    if (CConfigDialog* page = PageWithHistory())
        (void)page->Redo();
}

void CMainDialog::RecordHardwareChange(int target, int before, int after) {
    // One drag of the slider, or the digits typed into one field, are one change.
    if (CConfigDialog* page = PageWithHistory())
        page->History().Record(target, before, after, true);
    m_bHardwareChanged = HardwareDiffersFromStored();
    UpdateApply();
}

void CMainDialog::SetHardwareValue(int target, int value) {
    if (target == IDC_BRIGHTNESS_SLIDER) {
        const BYTE level = static_cast<BYTE>(value);
        ShowBrightness(level);
        if (LibraryDevice() >= 0)
            BG_SetBrightness(LibraryDevice(), level);
    } else if (IsBlinkTarget(target)) {
        // The edit's change notice sends the periods to the panel (OnBlinkChange).
        ++m_nShowingValues;
        (void)::SetDlgItemInt(m_hWnd, target, static_cast<UINT>(value), FALSE);
        --m_nShowingValues;
    }
    m_bHardwareChanged = HardwareDiffersFromStored();
}

store::HardwareSettings CMainDialog::ShownHardware() const {
    store::HardwareSettings shown = {};
    shown.brightness = static_cast<BYTE>(m_sliderBrightness.GetPos());
    shown.fastOn = static_cast<BYTE>(ReadBlinkEdit(m_editFastOn));
    shown.fastOff = static_cast<BYTE>(ReadBlinkEdit(m_editFastOff));
    shown.slowOn = static_cast<BYTE>(ReadBlinkEdit(m_editSlowOn));
    shown.slowOff = static_cast<BYTE>(ReadBlinkEdit(m_editSlowOff));
    return shown;
}

bool CMainDialog::HardwareDiffersFromStored() const {
    const store::HardwareSettings shown = ShownHardware();
    const store::HardwareSettings& stored = m_storedHardware;
    return shown.brightness != stored.brightness || shown.fastOn != stored.fastOn ||
           shown.fastOff != stored.fastOff || shown.slowOn != stored.slowOn || shown.slowOff != stored.slowOff;
}

void CMainDialog::AcceptStoredHardware(const store::PanelSettings& stored) {
    m_storedHardware = stored.Hardware();
    m_bHardwareChanged = HardwareDiffersFromStored();
}

void CMainDialog::RevertUnsavedChanges() {
    CConfigDialog* page = PageWithHistory();
    if (page == nullptr)
        return;
    ShowHardware(m_storedHardware);
    page->RevertToStored();
    UpdateApply();
}
