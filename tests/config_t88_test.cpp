// The toggle switch panel's and the radio panel's configuration pages: the toggle rows
// they store and restore, text typed into their editable lists, and the one layout that
// both panel types share.
#include "config_page_harness.h"

#include "config/table_statistics.h"
#include "config/config_panel_rp.h"
#include "config/config_panel_t88.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::LedRow;
using config_test::ToggleRow;

std::wstring Section(tagBGDevHWType type, int device = 0) { return config_test::ConfigSection(type, device); }

class ToggleConfigFixture : public config_test::ConfigPageFixture {
protected:
    void ExpectSwitchValues(const std::wstring& section, int d, const std::wstring& on, const std::wstring& off,
                            const std::wstring& stateVariable) {
        const std::wstring index = std::to_wstring(d);
        EXPECT_EQ(on, DescribeValue(section, L"OnButton" + index)) << "switch " << d;
        EXPECT_EQ(off, DescribeValue(section, L"OffButton" + index)) << "switch " << d;
        EXPECT_EQ(stateVariable, DescribeValue(section, L"ButtonVar" + index)) << "switch " << d;
    }
    HWND EditOf(int id) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (!::GetComboBoxInfo(::GetDlgItem(PageWindow(), id), &info))
            return nullptr;
        return info.hwndItem;
    }
    // Types text into the edit field of list id, as the keyboard sends its characters.
    void TypeInto(int id, const wchar_t* text) {
        const HWND edit = EditOf(id);
        ASSERT_NE(nullptr, edit);
        for (const wchar_t* c = text; *c != L'\0'; ++c)
            ::SendMessageW(edit, WM_CHAR, *c, 1);
    }
};

class ConfigT88Test : public ToggleConfigFixture {};

TEST_F(ConfigT88Test, IsThePageOfAToggleSwitchPanel) {
    Start({BG_HW_TOGGLE_8X8});
    EXPECT_NE(nullptr, dynamic_cast<CConfigPanelT88*>(main->ConfigPage()));
    EXPECT_EQ(1 + 50, ::SendDlgItemMessageW(PageWindow(), IDC_BUTTON_LIST_FIRST + 3, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1 + 211, ::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 3, CB_GETCOUNT, 0, 0));
}

TEST_F(ConfigT88Test, UntouchedPageSavesNothingForEveryRow) {
    Start({BG_HW_TOGGLE_8X8});
    ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"25");  // enables Apply
    Apply();

    const std::wstring section = Section(BG_HW_TOGGLE_8X8);
    EXPECT_EQ(48u, test_settings::ValueCount(section));
    for (int d = 0; d < 8; ++d) {
        ExpectSwitchValues(section, d, L"dword 0", L"dword 0", L"dword 0");
        const std::wstring index = std::to_wstring(d);
        EXPECT_EQ(L"dword 0", DescribeValue(section, L"LED" + index));
        EXPECT_EQ(L"dword 0", DescribeValue(section, L"LEDcomp" + index));
        EXPECT_EQ(L"sz ", DescribeValue(section, L"LEDval" + index));
    }
    EXPECT_EQ(L"dword 0x2", DescribeValue(config_test::HardwareSection(BG_HW_TOGGLE_8X8, 0), L"Type"));
}

TEST_F(ConfigT88Test, PickedRowsStoreTheirOnOffAndStateValues) {
    Start({BG_HW_TOGGLE_8X8});
    PickButton(0, ToggleRow(L"Landing Gear"));      // no state variable
    PickButton(1, ToggleRow(L"Flight Director"));   // one event for both positions
    PickButton(2, ToggleRow(L"COM Receive All"));   // the same, without state variable
    PickButton(3, ToggleRow(L"Autothrottle Arm"));
    PickButton(4, ToggleRow(L"Panel Lights"));
    PickButton(7, g_nToggleCount - 1);
    PickLED(2, LedRow(L"GEAR_NOSE_DOWN"));
    Apply();

    const std::wstring section = Section(BG_HW_TOGGLE_8X8);
    EXPECT_EQ(48u, test_settings::ValueCount(section));
    ExpectSwitchValues(section, 0, L"dword 0x1021f", L"dword 0x10220", L"dword 0");
    ExpectSwitchValues(section, 1, L"dword 0x102f0", L"dword 0x102f0", L"dword 0x318");
    ExpectSwitchValues(section, 2, L"dword 0x103a2", L"dword 0x103a2", L"dword 0");
    ExpectSwitchValues(section, 3, L"dword 0x1010c", L"dword 0x10114", L"dword 0");
    ExpectSwitchValues(section, 4, L"dword 0x10208", L"dword 0x10209", L"dword 0xa");
    ExpectSwitchValues(section, 5, L"dword 0", L"dword 0", L"dword 0");
    ExpectSwitchValues(section, 7, L"dword 0x103a0", L"dword 0x103a0", L"dword 0");
    EXPECT_EQ(L"dword 0x14c", DescribeValue(section, L"LED2"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(section, L"LEDcomp2"));
    EXPECT_EQ(L"sz 16000", DescribeValue(section, L"LEDval2"));
}

TEST_F(ConfigT88Test, TheTwoAutothrottleArmRowsRestoreToThemselves) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_TOGGLE_8X8});
    PickButton(0, ToggleRow(L"AutoThrottle Arm"));
    PickButton(1, ToggleRow(L"Autothrottle Arm"));
    Apply();
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);

    EXPECT_EQ(L"AutoThrottle Arm", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(L"Autothrottle Arm", SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(2, Panel().m_nButtonRow[0]);
    EXPECT_EQ(32, Panel().m_nButtonRow[1]);

    // Emptied outside the page: the save asks, and No keeps the page's picks to be written.
    ui::MessageBoxAnswerer keepPicks({IDNO, IDNO});
    test_settings::Clear();
    EXPECT_TRUE(Panel().SaveConfig());
    const std::wstring section = Section(BG_HW_TOGGLE_8X8);
    ExpectSwitchValues(section, 0, L"dword 0x10144", L"dword 0x10144", L"dword 0x7b");
    ExpectSwitchValues(section, 1, L"dword 0x1010c", L"dword 0x10114", L"dword 0");
}

TEST_F(ConfigT88Test, StoredOnEventsAreRestoredAndUnknownOnesKept) {
    fake_vuzoz::Reset({BG_HW_TOGGLE_8X8});
    const std::wstring section = Section(BG_HW_TOGGLE_8X8);
    test_settings::WriteDword(section, L"OnButton0", 0x1021F);
    test_settings::WriteDword(section, L"OnButton1", 0x10022);  // the pushbutton event of "Landing Gear"
    test_settings::WriteDword(section, L"OffButton1", 0x12345);
    test_settings::WriteDword(section, L"ButtonVar1", 0x77);
    test_settings::WriteDword(section, L"Button2", 0x10022);    // a pushbutton value: not read here
    test_settings::WriteDword(section, L"OnButton3", 0x10348);
    StartPrepared();

    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    // No row has the identifier: no selection, the identifier itself in the edit field.
    EXPECT_EQ(-1, SelectedItem(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(L"0x10022", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(CConfigPanel::kKeptRow, Panel().m_nButtonRow[1]);
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_EQ(L"Logo Lights", SelectedLabel(IDC_BUTTON_LIST_FIRST + 3));

    // Applied untouched, the switch keeps all three values it had.
    ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"25");  // enables Apply
    Apply();
    ExpectSwitchValues(section, 1, L"dword 0x10022", L"dword 0x12345", L"dword 0x77");
    ExpectSwitchValues(section, 2, L"dword 0", L"dword 0", L"dword 0");
    EXPECT_EQ(49u, test_settings::ValueCount(section));  // the 48 and the foreign "Button2"
}

// Typing into the editable lists, on both pages that have them.
class TypedTextTest : public ToggleConfigFixture, public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    static const int kList = IDC_BUTTON_LIST_FIRST + 2;

    void StartWithSmokePickedAndSaved() {
        Start({GetParam()});
        PickButton(2, ToggleRow(L"Smoke"));
        Apply();
        ASSERT_FALSE(Panel().m_bChanged);
    }
    void ExpectSmokeSaved() {
        // Emptied outside the page: the save asks, and No keeps the page's picks to be written.
        ui::MessageBoxAnswerer keepPicks({IDNO, IDNO});
        test_settings::Clear();
        EXPECT_TRUE(Panel().SaveConfig());
        ExpectSwitchValues(Section(GetParam()), 2, L"dword 0x10201", L"dword 0x10202", L"dword 0");
    }
    // The focus leaves the list as Tab would move it.
    void TabAway() {
        ui::Focus(PageWindow(), kList);
        ::SendMessageW(main->m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
        ui::PumpMessages();
    }
};

TEST_P(TypedTextTest, TypingALabelPicksItsRowAtOnce) {
    Start({GetParam()});
    ui::Focus(PageWindow(), kList);
    TypeInto(kList, L"Landing Gear");
    EXPECT_EQ(L"Landing Gear", SelectedLabel(kList));
    EXPECT_EQ(ToggleRow(L"Landing Gear"), Panel().m_nButtonRow[2]);
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_TRUE(ApplyEnabled());

    TabAway();
    EXPECT_EQ(L"Landing Gear", ui::Text(PageWindow(), kList));
    Apply();
    ExpectSwitchValues(Section(GetParam()), 2, L"dword 0x1021f", L"dword 0x10220", L"dword 0");
}

TEST_P(TypedTextTest, TextOfNoRowIsNoPickAndGoesWhenTheFocusLeaves) {
    StartWithSmokePickedAndSaved();
    ui::Focus(PageWindow(), kList);
    TypeInto(kList, L"~#");  // in no label
    EXPECT_EQ(ToggleRow(L"Smoke"), ShownRow(kList));
    // Text put into the edit field by other means (pasted, say) picks nothing either.
    ::SetWindowTextW(EditOf(kList), L"Landing Gearbox");
    EXPECT_EQ(ToggleRow(L"Smoke"), Panel().m_nButtonRow[2]);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());

    TabAway();
    EXPECT_EQ(L"Smoke", ui::Text(PageWindow(), kList));
    EXPECT_EQ(ToggleRow(L"Smoke"), ShownRow(kList));
    ExpectSmokeSaved();
}

TEST_P(TypedTextTest, OpenListClosedWithoutAChoiceAfterTypingKeepsTheRow) {
    StartWithSmokePickedAndSaved();
    ui::Focus(PageWindow(), kList);
    const HWND list = ::GetDlgItem(PageWindow(), kList);
    ::SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    TypeInto(kList, L"Landing Gear");
    // In the open list only the highlight moved.
    EXPECT_EQ(ToggleRow(L"Landing Gear"), ShownRow(kList));
    EXPECT_EQ(ToggleRow(L"Smoke"), Panel().m_nButtonRow[2]);
    ::SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);

    EXPECT_EQ(ToggleRow(L"Smoke"), Panel().m_nButtonRow[2]);
    EXPECT_EQ(L"Smoke", ui::Text(PageWindow(), kList));
    ExpectSmokeSaved();
}

INSTANTIATE_TEST_SUITE_P(ConfigT88, TypedTextTest, ::testing::Values(BG_HW_TOGGLE_8X8),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>&) { return std::string("T88"); });
INSTANTIATE_TEST_SUITE_P(ConfigRP, TypedTextTest, ::testing::Values(BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>&) { return std::string("RP"); });

class ConfigRPTest : public ToggleConfigFixture {
protected:
    void PickTheSameRows() {
        PickButton(0, ToggleRow(L"Landing Gear"));
        PickButton(3, ToggleRow(L"Flight Director"));
        PickButton(2, ToggleRow(L"Autothrottle Arm"));
        PickLED(0, LedRow(L"AUTOPILOT ACTIVE"));
        PickLED(4, LedRow(L"GEAR_RIGHT_DOWN"));
        PickLED(1, LedRow(L"PARKING_BRAKE_POS"));
    }
};

TEST_F(ConfigRPTest, IsThePageOfARadioPanelWithEightRowsOfEachOnlyItsOwnEnabled) {
    Start({BG_HW_RADIO});
    EXPECT_NE(nullptr, dynamic_cast<CConfigPanelRP*>(main->ConfigPage()));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(1 + 50, ::SendDlgItemMessageW(PageWindow(), IDC_BUTTON_LIST_FIRST + k, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(1 + 211, ::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + k, CB_GETCOUNT, 0, 0));
        // Four buttons and five LEDs.
        EXPECT_EQ(k < 4, ui::IsEnabled(PageWindow(), IDC_BUTTON_LIST_FIRST + k)) << "button " << k + 1;
        EXPECT_EQ(k < 5, ui::IsEnabled(PageWindow(), IDC_LED_LIST_FIRST + k)) << "LED " << k + 1;
    }
}

TEST_F(ConfigRPTest, UntouchedRadioPageSavesWhatAnUntouchedToggleSwitchPageSaves) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_RADIO});
    ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"25");  // enables Apply
    Apply();
    ui::ActivateDeviceItem(*main, 1);
    ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"25");
    Apply();

    const std::wstring radio = Section(BG_HW_RADIO, 1);
    EXPECT_EQ(48u, test_settings::ValueCount(radio));
    for (int d = 0; d < 8; ++d)
        ExpectSwitchValues(radio, d, L"dword 0", L"dword 0", L"dword 0");
    for (const std::wstring& name : config_test::ToggleValueNames())
        EXPECT_EQ(DescribeValue(Section(BG_HW_TOGGLE_8X8, 0), name), DescribeValue(radio, name)) << name;
}

TEST_F(ConfigRPTest, RadioAndToggleSwitchPanelsWithTheSamePicksStoreTheSameSection) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_RADIO});
    PickTheSameRows();
    Apply();
    ui::ActivateDeviceItem(*main, 1);
    ASSERT_NE(nullptr, dynamic_cast<CConfigPanelRP*>(main->ConfigPage()));
    PickTheSameRows();
    Apply();

    const std::wstring toggle = Section(BG_HW_TOGGLE_8X8, 0);
    const std::wstring radio = Section(BG_HW_RADIO, 1);
    EXPECT_EQ(48u, test_settings::ValueCount(radio));
    EXPECT_EQ(test_settings::ValueCount(toggle), test_settings::ValueCount(radio));
    for (const std::wstring& name : config_test::ToggleValueNames()) {
        EXPECT_NE(L"absent", DescribeValue(radio, name)) << name;
        EXPECT_EQ(DescribeValue(toggle, name), DescribeValue(radio, name)) << name;
    }
    ExpectSwitchValues(radio, 0, L"dword 0x1021f", L"dword 0x10220", L"dword 0");
    EXPECT_EQ(L"dword 0x3", DescribeValue(config_test::HardwareSection(BG_HW_RADIO, 1), L"Type"));

    // And the radio page reads its section back like the toggle switch page.
    ui::ActivateDeviceItem(*main, 0);
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(L"Autothrottle Arm", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_EQ(L"GEAR_RIGHT_DOWN", SelectedLabel(IDC_LED_LIST_FIRST + 4));
}

// What the radio panel lacks keeps what is stored for it, value by value, whatever it holds:
// a known row with other values beside it, an identifier no row has, nothing, a bare value.
TEST_F(ConfigRPTest, TheRowsThePanelLacksShowWhatIsStoredAndKeepItAsItIs) {
    fake_vuzoz::Reset({BG_HW_RADIO});
    const std::wstring section = Section(BG_HW_RADIO);
    test_settings::WriteDword(section, L"OnButton4", 0x1021F);   // "Landing Gear"
    test_settings::WriteDword(section, L"OffButton4", 0x12345);  // not its off-event
    test_settings::WriteDword(section, L"ButtonVar4", 0x77);
    test_settings::WriteDword(section, L"OnButton5", 0xABCDE);   // no row has it
    test_settings::WriteDword(section, L"OffButton6", 0x10220);  // and no on-event
    test_settings::WriteDword(section, L"LED5", 0x14C);          // the nose gear's variable
    test_settings::WriteDword(section, L"LEDcomp5", 7);
    test_settings::WriteString(section, L"LEDval5", L"odd");
    test_settings::WriteDword(section, L"LEDcomp7", 5);          // no variable
    StartPrepared();

    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 4));
    EXPECT_EQ(L"0xABCDE", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 5));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + 6));
    EXPECT_EQ(L"GEAR_NOSE_UP", SelectedLabel(IDC_LED_LIST_FIRST + 5));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_LED_LIST_FIRST + 7));
    EXPECT_FALSE(ApplyEnabled());

    // Tab from the last button goes on to the first LED: the disabled lists take no focus.
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ui::Focus(PageWindow(), IDC_BUTTON_LIST_FIRST + 3);
    ui::PressKey(main->m_hWnd, VK_TAB);
    // The focus is in the edit field of the editable list.
    EXPECT_EQ(::GetDlgItem(PageWindow(), IDC_LED_LIST_FIRST), ::GetParent(::GetFocus()));

    PickButton(0, ToggleRow(L"Smoke"));
    Apply();
    ExpectSwitchValues(section, 0, L"dword 0x10201", L"dword 0x10202", L"dword 0");
    ExpectSwitchValues(section, 4, L"dword 0x1021f", L"dword 0x12345", L"dword 0x77");
    ExpectSwitchValues(section, 5, L"dword 0xabcde", L"dword 0", L"dword 0");
    ExpectSwitchValues(section, 6, L"dword 0", L"dword 0x10220", L"dword 0");
    ExpectSwitchValues(section, 7, L"dword 0", L"dword 0", L"dword 0");
    EXPECT_EQ(L"dword 0x14c", DescribeValue(section, L"LED5"));
    EXPECT_EQ(L"dword 0x7", DescribeValue(section, L"LEDcomp5"));
    EXPECT_EQ(L"sz odd", DescribeValue(section, L"LEDval5"));
    EXPECT_EQ(L"dword 0", DescribeValue(section, L"LED7"));
    EXPECT_EQ(L"dword 0x5", DescribeValue(section, L"LEDcomp7"));
    EXPECT_EQ(L"sz ", DescribeValue(section, L"LEDval7"));
    EXPECT_EQ(48u, test_settings::ValueCount(section));
}

}  // namespace
