// The pushbutton panel's configuration page: what it stores value by value, what it
// shows for a stored configuration, and the brightness and blink periods it loads.
#include "config_page_harness.h"

#include "config/table_statistics.h"
#include "config/config_panel_b88.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::EventRow;
using config_test::LedRow;

const std::wstring kSection = config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0);
const std::wstring kHardware = config_test::HardwareSection(BG_HW_PUSHBUTTON_8X8, 0);

class ConfigB88Test : public config_test::ConfigPageFixture {
protected:
    void StartPushbuttonPanel() { Start({BG_HW_PUSHBUTTON_8X8}); }
    void ExpectButtonValues(int d, const std::wstring& button) {
        EXPECT_EQ(button, DescribeValue(kSection, L"Button" + std::to_wstring(d))) << "button " << d;
    }
    void ExpectLEDValues(int d, const std::wstring& variable, const std::wstring& comparison,
                         const std::wstring& value) {
        const std::wstring index = std::to_wstring(d);
        EXPECT_EQ(variable, DescribeValue(kSection, L"LED" + index)) << "LED " << d;
        EXPECT_EQ(comparison, DescribeValue(kSection, L"LEDcomp" + index)) << "LED " << d;
        EXPECT_EQ(value, DescribeValue(kSection, L"LEDval" + index)) << "LED " << d;
    }
};

TEST_F(ConfigB88Test, IsThePageOfAPushbuttonPanel) {
    StartPushbuttonPanel();
    EXPECT_NE(nullptr, dynamic_cast<CConfigPanelB88*>(main->ConfigPage()));
    // "(none)" and the rows of the tables.
    EXPECT_EQ(1 + 468, ::SendDlgItemMessageW(PageWindow(), IDC_BUTTON_LIST_FIRST + 7, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1 + 211, ::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 7, CB_GETCOUNT, 0, 0));
}

TEST_F(ConfigB88Test, UntouchedPageSavesNothingForEveryRow) {
    StartPushbuttonPanel();
    ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_ON, L"12");  // enables Apply
    Apply();

    EXPECT_EQ(32u, test_settings::ValueCount(kSection));
    for (int d = 0; d < 8; ++d) {
        ExpectButtonValues(d, L"dword 0");
        ExpectLEDValues(d, L"dword 0", L"dword 0", L"sz ");
    }
    // The hardware section is written with it: the defaults that the load showed, and the type.
    EXPECT_EQ(6u, test_settings::ValueCount(kHardware));
    EXPECT_EQ(L"dword 0x7f", DescribeValue(kHardware, L"Brightness"));
    EXPECT_EQ(L"dword 0x19", DescribeValue(kHardware, L"Slow On"));
    EXPECT_EQ(L"dword 0x19", DescribeValue(kHardware, L"Slow Off"));
    EXPECT_EQ(L"dword 0xc", DescribeValue(kHardware, L"Fast On"));
    EXPECT_EQ(L"dword 0xc", DescribeValue(kHardware, L"Fast Off"));
    EXPECT_EQ(L"dword 0x1", DescribeValue(kHardware, L"Type"));
}

TEST_F(ConfigB88Test, PickedRowsAreSavedValueByValue) {
    StartPushbuttonPanel();
    PickButton(0, EventRow(L"Landing Gear"));
    PickButton(1, EventRow(L"STARTER1 OFF"));
    PickButton(2, EventRow(L"FLAPS 4"));
    PickButton(6, EventRow(L"Flight Director"));
    PickButton(7, g_nEventCount - 1);
    PickLED(1, LedRow(L"Strobe Lights On"));
    PickLED(6, LedRow(L"GEAR_LEFT_DOWN"));
    Apply();

    EXPECT_EQ(32u, test_settings::ValueCount(kSection));
    ExpectButtonValues(0, L"dword 0x10022");
    ExpectButtonValues(1, L"dword 0x10187");
    ExpectButtonValues(2, L"dword 0x10043");
    for (int d : {3, 4, 5})
        ExpectButtonValues(d, L"dword 0");
    ExpectButtonValues(6, L"dword 0x102f0");
    DWORD last = 0;
    ASSERT_TRUE(test_settings::ReadDword(kSection, L"Button7", &last));
    EXPECT_EQ(g_EventTable[g_nEventCount - 1].event, last);

    ExpectLEDValues(0, L"dword 0", L"dword 0", L"sz ");
    ExpectLEDValues(1, L"dword 0xb", L"dword 0x1", L"sz 1");
    ExpectLEDValues(6, L"dword 0x14d", L"dword 0x2", L"sz 16000");
    ExpectLEDValues(7, L"dword 0", L"dword 0", L"sz ");
}

TEST_F(ConfigB88Test, StoredConfigurationIsShownAndSavedAgainUnchanged) {
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8});
    test_settings::WriteDword(kSection, L"Button0", 0x10187);  // MAGNETO1 OFF and STARTER1 OFF
    test_settings::WriteDword(kSection, L"Button1", 0x10043);  // FLAPS DOWN and FLAPS 4
    test_settings::WriteDword(kSection, L"Button2", 0x10022);
    test_settings::WriteDword(kSection, L"Button3", 0);
    // Button5 to Button7 absent.
    test_settings::WriteDword(kSection, L"LED0", 0x67);
    StartPrepared();

    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(L"FLAPS DOWN", SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));
    // A stored 0 or nothing stored: "(none)", which is what a save writes.
    for (int k = 3; k < 8; ++k)
        EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + k)) << "button " << k;
    EXPECT_EQ(EventRow(L"MAGNETO1 OFF"), Panel().m_nButtonRow[0]);
    EXPECT_EQ(180, Panel().m_nButtonRow[1]);
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[3]);
    EXPECT_EQ(L"AUTOPILOT ACTIVE", SelectedLabel(IDC_LED_LIST_FIRST + 0));
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());

    // Emptied outside the page: the save asks, and No keeps the page's picks to be written.
    ui::MessageBoxAnswerer keepPicks({IDNO, IDNO});
    test_settings::Clear();
    EXPECT_TRUE(Panel().SaveConfig());
    ExpectButtonValues(0, L"dword 0x10187");
    ExpectButtonValues(1, L"dword 0x10043");
    ExpectButtonValues(2, L"dword 0x10022");
    // What showed "(none)" is saved as 0.
    for (int d = 3; d < 8; ++d)
        ExpectButtonValues(d, L"dword 0");
    ExpectLEDValues(0, L"dword 0x67", L"dword 0x1", L"sz 1");
}

TEST_F(ConfigB88Test, LaterRowOfASharedEventComesBackAsTheEarlierRow) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
    PickButton(0, EventRow(L"STARTER1 OFF"));
    PickButton(1, EventRow(L"STARTER GEN"));
    Apply();
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);

    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(L"MAGNETO LEFT", SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    // Emptied outside the page: the save asks, and No keeps the page's picks to be written.
    ui::MessageBoxAnswerer keepPicks({IDNO, IDNO});
    test_settings::Clear();
    EXPECT_TRUE(Panel().SaveConfig());
    ExpectButtonValues(0, L"dword 0x10187");
    ExpectButtonValues(1, L"dword 0x101e9");
}

TEST_F(ConfigB88Test, NeverSavedDeviceShowsAndSendsTheDefaultBrightnessAndBlinkPeriods) {
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8});
    fake_vuzoz::Panel(0).brightness = 200;
    fake_vuzoz::Panel(0).fastOn = 40;
    StartPrepared();

    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_OFF));
    EXPECT_EQ(L"25", ui::Text(main->m_hWnd, IDC_SLOW_ON));
    EXPECT_EQ(L"25", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
    EXPECT_EQ(L"127", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(127, ui::BrightnessSlider(*main).GetPos());

    const std::vector<std::string> calls = fake_vuzoz::Calls();
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "BG_SetBlinkPeriod 0 25 12 25 12"));
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "BG_SetBrightness 0 127"));
    EXPECT_EQ(127, fake_vuzoz::Panel(0).brightness);
    EXPECT_EQ(12, fake_vuzoz::Panel(0).fastOn);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(ConfigB88Test, StoredHardwareSettingsOfTheDeviceAreLoadedWithThePage) {
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8});
    test_settings::WriteDword(kHardware, L"Brightness", 90);
    test_settings::WriteDword(kHardware, L"Fast On", 7);
    StartPrepared();
    EXPECT_EQ(L"90", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(L"7", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_EQ(90, fake_vuzoz::Panel(0).brightness);
    EXPECT_EQ(7, fake_vuzoz::Panel(0).fastOn);
}

}  // namespace
