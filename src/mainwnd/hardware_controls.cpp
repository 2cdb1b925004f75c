// The brightness slider and the blink period edits of the main window: they show what
// the device reports or what was stored for it, send every change to the device at once,
// and are kept in the device's hardware section when its configuration page saves. Only
// what the user changes counts as unsaved; what the program shows itself does not.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "device/panel_leds.h"
#include "afx/focus_handoff.h"
#include "resource.h"
#include "store/panel_settings.h"

#include <string>

namespace {

const int kMaxBlinkPeriod = 255;

// LEDs 0 to 3 show the fast blink and 4 to 7 the slow one while a period is edited.
const int kPreviewFastLeds = 4;

}  // namespace

BOOL CMainDialog::EnableApply(BOOL bEnable) {
    BOOL wasEnabled = m_btnApply.IsWindowEnabled();
    EnableKeepingFocus(m_btnApply.m_hWnd, bEnable);
    return wasEnabled;
}

BOOL CMainDialog::HasUnsavedChanges() const {
    // Only a configuration page can store anything.
    if (m_pConfigPage == nullptr || m_pConfigPage->m_hWnd == nullptr)
        return FALSE;
    return m_pConfigPage->m_bChanged || m_bHardwareChanged;
}

void CMainDialog::UpdateApply() { (void)EnableApply(HasUnsavedChanges()); }

void CMainDialog::DropHardwareChanges() {
    m_bHardwareChanged = false;
    UpdateApply();
}

BOOL CMainDialog::QuerySavePage() {
    if (m_pConfigPage == nullptr || m_pConfigPage->m_hWnd == nullptr)
        return TRUE;
    ++m_nBusy;
    const bool goOn = m_pConfigPage->QuerySaveChanges();
    --m_nBusy;
    return goOn ? TRUE : FALSE;
}

void CMainDialog::ShowBrightness(BYTE level) {
    ++m_nShowingValues;
    m_sliderBrightness.SetPos(level);
    m_nLastBrightness = level;
    m_editBrightness.SetWindowText(std::to_wstring(level).c_str());
    m_bBrightnessLive = true;
    m_sliderBrightness.EnableWindow(TRUE);
    --m_nShowingValues;
}

void CMainDialog::ShowBlinkPeriods(BYTE fastOn, BYTE fastOff, BYTE slowOn, BYTE slowOff) {
    // Each text still goes to the device as it changes (OnBlinkChange).
    ++m_nShowingValues;
    m_editFastOn.SetWindowText(std::to_wstring(fastOn).c_str());
    m_editFastOff.SetWindowText(std::to_wstring(fastOff).c_str());
    m_editSlowOn.SetWindowText(std::to_wstring(slowOn).c_str());
    m_editSlowOff.SetWindowText(std::to_wstring(slowOff).c_str());
    --m_nShowingValues;
}

// The leading decimal digits of the edit's text (none: 0), at most 255.
int CMainDialog::ReadBlinkEdit(const CEdit& edit) const {
    std::wstring text = edit.GetWindowText();
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + (c - L'0');
        if (value > kMaxBlinkPeriod)
            return kMaxBlinkPeriod;
    }
    return value;
}

void CMainDialog::ApplyBlinkPeriods() {
    int fastOn = ReadBlinkEdit(m_editFastOn);
    int fastOff = ReadBlinkEdit(m_editFastOff);
    int slowOn = ReadBlinkEdit(m_editSlowOn);
    int slowOff = ReadBlinkEdit(m_editSlowOff);
    // A panel that went hears nothing; the periods stay for Apply.
    if (LibraryDevice() >= 0)
        BG_SetBlinkPeriod(LibraryDevice(), slowOn, fastOn, slowOff, fastOff);
}

void CMainDialog::WriteHardwareSettings(store::SettingSection& section) const {
    section.AddDword(store::kBrightness, static_cast<DWORD>(m_sliderBrightness.GetPos()));
    section.AddDword(store::kSlowOff, static_cast<DWORD>(ReadBlinkEdit(m_editSlowOff)));
    section.AddDword(store::kSlowOn, static_cast<DWORD>(ReadBlinkEdit(m_editSlowOn)));
    section.AddDword(store::kFastOff, static_cast<DWORD>(ReadBlinkEdit(m_editFastOff)));
    section.AddDword(store::kFastOn, static_cast<DWORD>(ReadBlinkEdit(m_editFastOn)));
    section.AddDword(store::kType, static_cast<DWORD>(CurrentDeviceType()));
}

void CMainDialog::HardwareSettingsSaved() {
    m_storedHardware = ShownHardware();
    m_bHardwareChanged = false;
    EnableApply(FALSE);
}

BOOL CMainDialog::SaveHardwareSettings(const char* deviceKey) {
    store::PanelSettings shown;
    shown.deviceKey = store::DeviceKeyText(deviceKey);
    WriteHardwareSettings(shown.Section(store::SectionKind::Hardware));
    if (store::WritePanelSettings(AfxGetApp()->GetAppRegistryPath(), {shown}) != store::kSaveDone)
        return FALSE;
    HardwareSettingsSaved();
    return TRUE;
}

void CMainDialog::LoadHardwareSettings(const char* deviceKey) {
    LoadHardwareSettings(store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), store::DeviceKeyText(deviceKey)));
}

void CMainDialog::LoadHardwareSettings(const store::PanelSettings& stored) {
    m_storedHardware = stored.Hardware();
    ShowHardware(m_storedHardware);
    EnableApply(FALSE);
}

void CMainDialog::ShowHardware(const store::HardwareSettings& hardware) {
    ShowBlinkPeriods(hardware.fastOn, hardware.fastOff, hardware.slowOn, hardware.slowOff);
    if (LibraryDevice() >= 0)
        BG_SetBlinkPeriod(LibraryDevice(), hardware.slowOn, hardware.fastOn, hardware.slowOff, hardware.fastOff);
    ShowBrightness(hardware.brightness);
    if (LibraryDevice() >= 0)
        BG_SetBrightness(LibraryDevice(), hardware.brightness);
    m_bHardwareChanged = false;
}

void CMainDialog::ShowStoredSettings(int device, const std::wstring& deviceKey) {
    if (device == m_nCurDevice && m_pConfigPage != nullptr) {
        CreatePage(FALSE);
        return;
    }
    // Another panel keeps no page: only its brightness and blink periods are live.
    const store::HardwareSettings stored =
        store::ReadPanelSettings(AfxGetApp()->GetAppRegistryPath(), deviceKey).Hardware();
    BG_SetBlinkPeriod(device, stored.slowOn, stored.fastOn, stored.slowOff, stored.fastOff);
    BG_SetBrightness(device, stored.brightness);
}

bool CMainDialog::HardwareChanged(const CConfigDialog& page) const {
    return m_bHardwareChanged && static_cast<const CConfigDialog*>(m_pConfigPage) == &page;
}

void CMainDialog::OnBrightnessCustomDraw(NMHDR*, LRESULT* pResult) {
    *pResult = CDRF_DODEFAULT;
    int position = m_sliderBrightness.GetPos();
    if (position == m_nLastBrightness)
        return;
    m_editBrightness.SetWindowText(std::to_wstring(position).c_str());
    if (m_bBrightnessLive && LibraryDevice() >= 0)
        BG_SetBrightness(LibraryDevice(), position);
    const int before = m_nLastBrightness;
    m_nLastBrightness = position;
    // Only the user moves the slider to a position it was not shown at.
    RecordHardwareChange(IDC_BRIGHTNESS_SLIDER, before, position);
}

// Enter in a blink edit: the hidden button is the default one while an edit has the focus.
// Before the first page is built the device hears nothing from these controls: the page
// loads what they show.
void CMainDialog::OnBlinkApply(UINT) {
    if (!m_bStartPending)
        ApplyBlinkPeriods();
}

void CMainDialog::OnBlinkChange(UINT nID) {
    int& shown = m_nShownBlink[nID - IDC_FAST_ON];
    const int before = shown;
    shown = ReadBlinkEdit(*BlinkEdit(nID));
    if (m_bStartPending)
        return;
    ApplyBlinkPeriods();
    if (m_nShowingValues > 0)
        return;
    RecordHardwareChange(static_cast<int>(nID), before, shown);
}

const CEdit* CMainDialog::BlinkEdit(UINT nID) const {
    switch (nID) {
    case IDC_FAST_ON: return &m_editFastOn;
    case IDC_FAST_OFF: return &m_editFastOff;
    case IDC_SLOW_ON: return &m_editSlowOn;
    default: return &m_editSlowOff;
    }
}

void CMainDialog::OnBlinkSetFocus(UINT) {
    (void)SendMessage(DM_SETDEFID, IDC_BLINK_APPLY);
    if (m_bStartPending || LibraryDevice() < 0)
        return;
    for (int led = 0; led < kPanelLedCount; ++led)
        BG_SetLEDState(LibraryDevice(), led, led < kPreviewFastLeds ? BG_LED_FAST : BG_LED_SLOW, 0);
}

void CMainDialog::OnBlinkKillFocus(UINT) {
    (void)SendMessage(DM_SETDEFID, IDOK);
    if (!m_bStartPending)
        SetAllPanelLeds(LibraryDevice(), BG_LED_FAST);
}
