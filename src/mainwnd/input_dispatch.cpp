// The input callback of the device library: packets of the selected device go to the
// test page (buttons, LED states) or the configuration page (buttons) and to the brightness
// and blink controls (reports).
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "device/device_types.h"

#include "paneltest/panel_test_dialog.h"

namespace {

int DeviceCount(const tagBGDevHWType* types) {
    int count = 0;
    while (types[count] != BG_HW_NONE)
        ++count;
    return count;
}

}  // namespace

int CMainDialog::InputCallback(tagBGDevHWType type, unsigned short device, unsigned short kind, void* data) {
    CMainDialog* main = GetMainDialog();
    // After the dialog ended there is no window to show anything in.
    if (main == nullptr || main->m_hWnd == nullptr || main->m_pDevTypes == nullptr)
        return 0;
    if (device >= DeviceCount(main->m_pDevTypes) || device != main->m_nCurDevice ||
        type != main->m_pDevTypes[main->m_nCurDevice])
        return 0;

    CTestDialog* testPage = IsPanelType(type) ? main->m_pTestPage : nullptr;
    // Only one of the two is shown: the configuration page in configuration mode.
    CConfigDialog* configPage = IsPanelType(type) ? main->m_pConfigPage : nullptr;
    if (kind == BG_PACKET_BUTTONS) {
        const BYTE buttons = static_cast<BYTE>(reinterpret_cast<UINT_PTR>(data) & 0xFF);
        if (testPage != nullptr)
            testPage->UpdateButtonStatus(buttons);
        else if (configPage != nullptr)
            configPage->OnPanelInput(buttons);
    } else if (kind == BG_PACKET_REPORT) {
        if (data == nullptr)
            return 0;
        const BYTE* bytes = static_cast<const BYTE*>(data);
        switch (static_cast<signed char>(bytes[0])) {
        case BG_REPORT_LED_STATE:
            if (testPage != nullptr)
                testPage->UpdateLEDState(bytes[1], bytes[2]);
            break;
        case BG_REPORT_BUTTONS:
            if (testPage != nullptr)
                testPage->UpdateButtonStatus(bytes[1]);
            else if (configPage != nullptr)
                configPage->OnPanelInput(bytes[1]);
            break;
        case BG_REPORT_BRIGHTNESS:
            main->ShowBrightness(bytes[1]);
            break;
        case BG_REPORT_BLINK:
            main->ShowBlinkPeriods(bytes[1], bytes[2], bytes[3], bytes[4]);
            break;
        default:
            break;
        }
    }
    return 1;
}
