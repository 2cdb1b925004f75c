// The brightness slider and the blink period edits of the main window: they show what
// the device reports or what was stored for it, send every change to the device at once,
// and are kept in the device's hardware section when its configuration page saves.
#include "mainwnd/main_dialog.h"

#include "device/panel_leds.h"
#include "resource.h"
#include "store/settings_store.h"

#include <string>

namespace {

const int kMaxBlinkPeriod = 255;

// LEDs 0 to 3 show the fast blink and 4 to 7 the slow one while a period is edited.
const int kPreviewFastLeds = 4;

}  // namespace

BOOL CMainDialog::EnableApply(BOOL bEnable) {
    BOOL wasEnabled = m_btnApply.IsWindowEnabled();
    m_btnApply.EnableWindow(bEnable);
    return wasEnabled;
}

void CMainDialog::ShowBrightness(BYTE level) {
    m_sliderBrightness.SetPos(level);
    m_nLastBrightness = level;
    m_editBrightness.SetWindowText(std::to_wstring(level).c_str());
    m_bBrightnessLive = true;
    m_sliderBrightness.EnableWindow(TRUE);
}

void CMainDialog::ShowBlinkPeriods(BYTE fastOn, BYTE fastOff, BYTE slowOn, BYTE slowOff) {
    m_editFastOn.SetWindowText(std::to_wstring(fastOn).c_str());
    m_editFastOff.SetWindowText(std::to_wstring(fastOff).c_str());
    m_editSlowOn.SetWindowText(std::to_wstring(slowOn).c_str());
    m_editSlowOff.SetWindowText(std::to_wstring(slowOff).c_str());
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
    BG_SetBlinkPeriod(m_nCurDevice, slowOn, fastOn, slowOff, fastOff);
    EnableApply(TRUE);
}

BOOL CMainDialog::SaveHardwareSettings(const char* deviceKey) {
    int fastOn = ReadBlinkEdit(m_editFastOn);
    int fastOff = ReadBlinkEdit(m_editFastOff);
    int slowOn = ReadBlinkEdit(m_editSlowOn);
    int slowOff = ReadBlinkEdit(m_editSlowOff);
    std::wstring section = store::HardwareSectionName(deviceKey);
    CWinApp* app = AfxGetApp();
    const wchar_t* name = section.c_str();
    bool written = app->WriteProfileInt(name, store::kBrightness, m_sliderBrightness.GetPos()) &&
                   app->WriteProfileInt(name, store::kSlowOff, slowOff) &&
                   app->WriteProfileInt(name, store::kSlowOn, slowOn) &&
                   app->WriteProfileInt(name, store::kFastOff, fastOff) &&
                   app->WriteProfileInt(name, store::kFastOn, fastOn) &&
                   app->WriteProfileInt(name, store::kType, CurrentDeviceType());
    if (!written)
        return FALSE;
    EnableApply(FALSE);
    return TRUE;
}

void CMainDialog::LoadHardwareSettings(const char* deviceKey) {
    std::wstring section = store::HardwareSectionName(deviceKey);
    CWinApp* app = AfxGetApp();
    const wchar_t* name = section.c_str();
    BYTE slowOn = static_cast<BYTE>(app->GetProfileInt(name, store::kSlowOn, store::kDefaultSlowOn) & 0xFF);
    BYTE fastOn = static_cast<BYTE>(app->GetProfileInt(name, store::kFastOn, store::kDefaultFastOn) & 0xFF);
    BYTE slowOff = static_cast<BYTE>(app->GetProfileInt(name, store::kSlowOff, store::kDefaultSlowOff) & 0xFF);
    BYTE fastOff = static_cast<BYTE>(app->GetProfileInt(name, store::kFastOff, store::kDefaultFastOff) & 0xFF);
    BYTE brightness =
        static_cast<BYTE>(app->GetProfileInt(name, store::kBrightness, store::kDefaultBrightness) & 0xFF);

    ShowBlinkPeriods(fastOn, fastOff, slowOn, slowOff);
    BG_SetBlinkPeriod(m_nCurDevice, slowOn, fastOn, slowOff, fastOff);
    ShowBrightness(brightness);
    BG_SetBrightness(m_nCurDevice, brightness);
    EnableApply(FALSE);
}

void CMainDialog::OnBrightnessCustomDraw(NMHDR*, LRESULT* pResult) {
    *pResult = CDRF_DODEFAULT;
    int position = m_sliderBrightness.GetPos();
    if (position == m_nLastBrightness)
        return;
    m_editBrightness.SetWindowText(std::to_wstring(position).c_str());
    if (m_bBrightnessLive)
        BG_SetBrightness(m_nCurDevice, position);
    m_nLastBrightness = position;
    EnableApply(TRUE);
}

void CMainDialog::OnBlinkApply(UINT) { ApplyBlinkPeriods(); }

void CMainDialog::OnBlinkChange(UINT) { ApplyBlinkPeriods(); }

void CMainDialog::OnBlinkSetFocus(UINT) {
    for (int led = 0; led < kPanelLedCount; ++led)
        BG_SetLEDState(m_nCurDevice, led, led < kPreviewFastLeds ? BG_LED_FAST : BG_LED_SLOW, 0);
}

void CMainDialog::OnBlinkKillFocus(UINT) { SetAllPanelLeds(m_nCurDevice, BG_LED_FAST); }
