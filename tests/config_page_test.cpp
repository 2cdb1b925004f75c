// What the three configuration pages share, run on each of them: the lists and how a
// pick is taken, the panel's LEDs while the user edits, Apply, the gear rows of the LED
// table, and saves that cannot be done.
#include "config_page_harness.h"

#include "afx/registry_key.h"
#include "config/table_statistics.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using config_test::ConfigSection;
using config_test::DescribeValue;
using config_test::LedRow;


std::vector<std::string> HighlightCalls(int device, int led) {
    std::vector<std::string> calls;
    for (int i = 0; i < 8; ++i)
        calls.push_back("BG_SetLEDState " + std::to_string(device) + " " + std::to_string(i) + " " +
                        (i == led ? "2" : "0") + " 0");
    return calls;
}

std::vector<std::string> AllLEDCalls(int device, int state) {
    std::vector<std::string> calls;
    for (int i = 0; i < 8; ++i)
        calls.push_back("BG_SetLEDState " + std::to_string(device) + " " + std::to_string(i) + " " +
                        std::to_string(state) + " 0");
    return calls;
}

std::wstring ItemText(HWND list, int item) {
    wchar_t text[128] = L"";
    if (::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) >= 128)
        return L"<too long>";
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    return text;
}

class ConfigPageTest : public config_test::ConfigPageFixture,
                       public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    tagBGDevHWType Type() const { return GetParam(); }
    std::wstring Section(int device = 0) const { return ConfigSection(Type(), device); }
    int UpperRowCount() const { return Type() == BG_HW_PUSHBUTTON_8X8 ? g_nEventCount : g_nToggleCount; }
    const wchar_t* UpperLabel(int row) const {
        return Type() == BG_HW_PUSHBUTTON_8X8 ? g_EventTable[row].label : g_ToggleTable[row].label;
    }
    // The radio panel has LEDs 0 to 4 only: the device refuses the page's commands for 5 to 7.
    size_t DeviceLEDCount() const { return Type() == BG_HW_RADIO ? 5 : 8; }
    std::vector<int> DeviceLEDs(int device) {
        std::vector<int> states = LedStates(device);
        states.resize(DeviceLEDCount());
        return states;
    }
    std::vector<int> AllLEDs(int state) const { return std::vector<int>(DeviceLEDCount(), state); }
    std::vector<int> OnlyFast(int led) const {
        std::vector<int> states(8, BG_LED_OFF);
        states[led] = BG_LED_FAST;
        states.resize(DeviceLEDCount());
        return states;
    }
    // Any change of a blink period enables Apply, as the user would do before saving an
    // untouched page.
    void EnableApplyByBlinkEdit() { ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_ON, L"12"); }
};

// "(none)" first, then the table: row r is item r + 1 and carries r as its item data.
TEST_P(ConfigPageTest, ListsOfferNoneThenEveryRowInTableOrderAndShowNone) {
    Start({Type()});
    const HWND page = PageWindow();
    for (int k = 0; k < 8; ++k) {
        const HWND upper = ::GetDlgItem(page, IDC_BUTTON_LIST_FIRST + k);
        ASSERT_EQ(UpperRowCount() + 1, ::SendMessageW(upper, CB_GETCOUNT, 0, 0)) << "upper list " << k;
        EXPECT_EQ(L"(none)", ItemText(upper, 0)) << "upper list " << k;
        EXPECT_EQ(CConfigPanel::kNoRow, static_cast<int>(::SendMessageW(upper, CB_GETITEMDATA, 0, 0)));
        for (int row = 0; row < UpperRowCount(); ++row) {
            ASSERT_EQ(row, ::SendMessageW(upper, CB_GETITEMDATA, static_cast<WPARAM>(row + 1), 0)) << "list " << k;
            ASSERT_EQ(std::wstring(UpperLabel(row)), ItemText(upper, row + 1)) << "list " << k;
        }
        EXPECT_EQ(0, ::SendMessageW(upper, CB_GETCURSEL, 0, 0)) << "upper list " << k;
        EXPECT_EQ(L"(none)", ui::Text(page, IDC_BUTTON_LIST_FIRST + k)) << "upper list " << k;
        EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[k]);

        const HWND led = ::GetDlgItem(page, IDC_LED_LIST_FIRST + k);
        ASSERT_EQ(g_nLedCount + 1, ::SendMessageW(led, CB_GETCOUNT, 0, 0)) << "LED list " << k;
        EXPECT_EQ(L"(none)", ItemText(led, 0)) << "LED list " << k;
        for (int row = 0; row < g_nLedCount; ++row) {
            ASSERT_EQ(row, ::SendMessageW(led, CB_GETITEMDATA, static_cast<WPARAM>(row + 1), 0)) << "LED list " << k;
            ASSERT_EQ(std::wstring(g_LedTable[row].label), ItemText(led, row + 1)) << "LED list " << k;
        }
        EXPECT_EQ(0, ::SendMessageW(led, CB_GETCURSEL, 0, 0)) << "LED list " << k;
        EXPECT_EQ(L"(none)", ui::Text(page, IDC_LED_LIST_FIRST + k)) << "LED list " << k;
        EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[k]);
    }
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(ConfigPageTest, OpenListShowsTwentyRowsAndIsWideEnoughForItsLongestLabel) {
    Start({Type()});
    for (int id : {IDC_BUTTON_LIST_FIRST + 3, IDC_LED_LIST_FIRST + 4}) {
        const HWND list = ::GetDlgItem(PageWindow(), id);
        ::SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetComboBoxInfo(list, &info));
        RECT rect = {};
        ::GetClientRect(info.hwndList, &rect);
        const LRESULT itemHeight = ::SendMessageW(list, CB_GETITEMHEIGHT, 0, 0);
        ASSERT_GT(itemHeight, 0);
        EXPECT_GE((rect.bottom - rect.top) / itemHeight, 20) << "list " << id;

        // Every label fits beside the scroll bar, measured in the open list's own font.
        const HDC dc = ::GetDC(info.hwndList);
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
        LONG widest = 0;
        for (int item = 0; item < ::SendMessageW(list, CB_GETCOUNT, 0, 0); ++item) {
            const std::wstring label = ItemText(list, item);
            SIZE size = {};
            ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
            widest = std::max(widest, size.cx);
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(info.hwndList, dc);
        // The client area leaves out the open list's border and scroll bar.
        EXPECT_GE(rect.right - rect.left, widest) << "list " << id;
        RECT closed = {};
        ::GetWindowRect(list, &closed);
        EXPECT_GE(::SendMessageW(list, CB_GETDROPPEDWIDTH, 0, 0), closed.right - closed.left) << "list " << id;

        // Closed again without a choice: the list gives back the row it held.
        ::SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_EQ(CConfigPanel::kNoRow, ShownRow(id));
    }
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[3]);
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[4]);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(ConfigPageTest, NewPageSetsEveryLEDFastBlinking) {
    fake_vuzoz::Reset({Type()});
    for (int led = 0; led < 8; ++led)
        fake_vuzoz::Panel(0).led[led] = BG_LED_ON;
    StartPrepared();
    const std::vector<std::string> calls = fake_vuzoz::CallsStartingWith("BG_SetLEDState");
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(AllLEDCalls(0, BG_LED_FAST), std::vector<std::string>(calls.begin(), calls.begin() + 8));
    EXPECT_EQ(AllLEDs(BG_LED_FAST), DeviceLEDs(0));
}

TEST_P(ConfigPageTest, FocusInARowLeavesOnlyThatRowsLEDBlinking) {
    Start({Type()});
    ui::Focus(PageWindow(), IDC_BUTTON_LIST_FIRST + 1);
    EXPECT_EQ(OnlyFast(1), DeviceLEDs(0));

    fake_vuzoz::ClearCalls();
    ui::Focus(PageWindow(), IDC_LED_LIST_FIRST + 3);
    EXPECT_EQ(OnlyFast(3), DeviceLEDs(0));
    // The old list lets go first, so the new row's highlight is what remains.
    std::vector<std::string> expected = AllLEDCalls(0, BG_LED_FAST);
    const std::vector<std::string> highlight = HighlightCalls(0, 3);
    expected.insert(expected.end(), highlight.begin(), highlight.end());
    EXPECT_EQ(expected, fake_vuzoz::CallsStartingWith("BG_SetLEDState"));

    ui::Focus(PageWindow(), IDC_BUTTON_LIST_FIRST + 3);
    EXPECT_EQ(OnlyFast(3), DeviceLEDs(0));

    // Out of the lists, onto the main window's OK button: every LED blinks again.
    ui::Focus(main->m_hWnd, IDOK);
    EXPECT_EQ(AllLEDs(BG_LED_FAST), DeviceLEDs(0));
}

TEST_P(ConfigPageTest, CloseUpRecordsTheRowAndApplyFollowsWhatIsStored) {
    Start({Type()});
    PickButton(2, 5);
    EXPECT_EQ(5, Panel().m_nButtonRow[2]);
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_TRUE(ApplyEnabled());

    Apply();
    ASSERT_FALSE(ApplyEnabled());
    ASSERT_FALSE(Panel().m_bChanged);
    // Opening and closing on the row it already had changes nothing.
    PickLED(4, CConfigPanel::kNoRow);
    PickButton(2, 5);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
    // Another row and back to the stored one: nothing is left to apply.
    PickLED(4, 0);
    EXPECT_EQ(0, Panel().m_nLEDRow[4]);
    EXPECT_TRUE(ApplyEnabled());
    PickLED(4, CConfigPanel::kNoRow);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(ConfigPageTest, CloseUpWithoutSelectionKeepsTheRowAndLeavesApplyAlone) {
    Start({Type()});
    PickButton(0, -1);
    PickLED(0, -1);
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[0]);
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[0]);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());

    PickButton(1, 3);
    PickLED(1, 9);
    Apply();
    PickButton(1, -1);
    PickLED(1, -1);
    EXPECT_EQ(3, Panel().m_nButtonRow[1]);
    EXPECT_EQ(9, Panel().m_nLEDRow[1]);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(ConfigPageTest, SaveAndLoadBothDisableApply) {
    Start({Type()});
    PickLED(4, 13);
    ASSERT_TRUE(ApplyEnabled());
    Apply();
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(Panel().m_bChanged);

    PickLED(4, 14);
    ASSERT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().LoadConfig());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(Panel().m_bChanged);
    // The load brought back what was saved.
    EXPECT_EQ(13, Panel().m_nLEDRow[4]);
    EXPECT_EQ(13, ShownRow(IDC_LED_LIST_FIRST + 4));
}

TEST_P(ConfigPageTest, LEDValuesAreSavedFromTheRowAndRestoredByVariable) {
    Start({Type()});
    PickLED(0, LedRow(L"AUTOPILOT ACTIVE"));
    PickLED(3, LedRow(L"BRAKE_IND"));
    PickLED(4, LedRow(L"PARKING_BRAKE_POS"));
    PickLED(2, g_nLedCount - 1);
    Apply();

    EXPECT_EQ(L"dword 0x67", DescribeValue(Section(), L"LED0"));
    EXPECT_EQ(L"dword 0x1", DescribeValue(Section(), L"LEDcomp0"));
    EXPECT_EQ(L"sz 1", DescribeValue(Section(), L"LEDval0"));
    EXPECT_EQ(L"dword 0x142", DescribeValue(Section(), L"LED3"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp3"));
    EXPECT_EQ(L"sz 0", DescribeValue(Section(), L"LEDval3"));
    EXPECT_EQ(L"dword 0x143", DescribeValue(Section(), L"LED4"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp4"));
    EXPECT_EQ(L"sz 16000", DescribeValue(Section(), L"LEDval4"));
    const LedEntry& last = g_LedTable[g_nLedCount - 1];
    DWORD variable = 0;
    ASSERT_TRUE(test_settings::ReadDword(Section(), L"LED2", &variable));
    EXPECT_EQ(last.variable, variable);
    // LEDs that were never picked store nothing: zeros and an empty text.
    for (int led : {1, 5, 6, 7}) {
        const std::wstring d = std::to_wstring(led);
        EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LED" + d));
        EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LEDcomp" + d));
        EXPECT_EQ(L"sz ", DescribeValue(Section(), L"LEDval" + d));
    }
}

TEST_P(ConfigPageTest, StoredLEDVariablesAreRestored) {
    fake_vuzoz::Reset({Type()});
    test_settings::WriteDword(Section(), L"LED0", 0x67);
    test_settings::WriteDword(Section(), L"LED1", 0x142);
    test_settings::WriteDword(Section(), L"LED3", 0);  // nothing stored
    StartPrepared();

    EXPECT_EQ(L"AUTOPILOT ACTIVE", SelectedLabel(IDC_LED_LIST_FIRST + 0));
    EXPECT_EQ(LedRow(L"AUTOPILOT ACTIVE"), Panel().m_nLEDRow[0]);
    EXPECT_EQ(L"BRAKE_IND", SelectedLabel(IDC_LED_LIST_FIRST + 1));
    for (int k = 2; k < 8; ++k) {
        EXPECT_EQ(L"(none)", SelectedLabel(IDC_LED_LIST_FIRST + k)) << "LED " << k;
        EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[k]) << "LED " << k;
    }
    EXPECT_FALSE(Panel().m_bChanged);
}

// Identifiers that no row has (another tool's, a newer version's, a hand edit) stay as
// they are stored until the user picks a row for them.
TEST_P(ConfigPageTest, UnknownIdentifiersAreKeptUntilARowIsPicked) {
    fake_vuzoz::Reset({Type()});
    const bool pushbutton = Type() == BG_HW_PUSHBUTTON_8X8;
    const std::wstring key = pushbutton ? L"Button" : L"OnButton";
    test_settings::WriteDword(Section(), key + L"3", 0x12345);
    test_settings::WriteDword(Section(), key + L"1", 0xFFFFFFFF);
    if (!pushbutton) {
        test_settings::WriteDword(Section(), L"OffButton3", 0x54321);
        test_settings::WriteDword(Section(), L"ButtonVar3", 0x99);
    }
    test_settings::WriteDword(Section(), L"LED2", 0x9999);
    test_settings::WriteDword(Section(), L"LEDcomp2", 7);
    test_settings::WriteString(Section(), L"LEDval2", L"42 and more");
    test_settings::WriteDword(Section(), L"LED4", 0xABCDE);
    StartPrepared();

    const int upper3 = IDC_BUTTON_LIST_FIRST + 3;
    const int led2 = IDC_LED_LIST_FIRST + 2;
    EXPECT_EQ(-1, SelectedItem(upper3));
    EXPECT_EQ(-1, SelectedItem(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(-1, SelectedItem(led2));
    // Where the list can show text, it shows the identifier.
    EXPECT_EQ(pushbutton ? L"" : L"0x12345", ui::Text(PageWindow(), upper3));
    EXPECT_EQ(pushbutton ? L"" : L"0xFFFFFFFF", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(pushbutton ? L"" : L"0x9999", ui::Text(PageWindow(), led2));
    // Lists with nothing stored show "(none)".
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_LED_LIST_FIRST + 0));
    // The focus passing through the lists changes nothing.
    ui::Focus(PageWindow(), upper3);
    ui::Focus(PageWindow(), led2);
    ui::Focus(PageWindow(), IDC_LED_LIST_FIRST + 3);
    EXPECT_EQ(pushbutton ? L"" : L"0x12345", ui::Text(PageWindow(), upper3));
    EXPECT_FALSE(Panel().m_bChanged);

    PickLED(4, LedRow(L"BRAKE_IND"));  // the user picks a row for LED 4 only
    Apply();
    EXPECT_EQ(L"dword 0x12345", DescribeValue(Section(), key + L"3"));
    EXPECT_EQ(L"dword 0xffffffff", DescribeValue(Section(), key + L"1"));
    if (!pushbutton) {
        EXPECT_EQ(L"dword 0x54321", DescribeValue(Section(), L"OffButton3"));
        EXPECT_EQ(L"dword 0x99", DescribeValue(Section(), L"ButtonVar3"));
        EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"OffButton1"));
        EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"OnButton0"));
    } else {
        EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"Button0"));
    }
    EXPECT_EQ(L"dword 0x9999", DescribeValue(Section(), L"LED2"));
    EXPECT_EQ(L"dword 0x7", DescribeValue(Section(), L"LEDcomp2"));
    EXPECT_EQ(L"sz 42 and more", DescribeValue(Section(), L"LEDval2"));
    EXPECT_EQ(L"dword 0x142", DescribeValue(Section(), L"LED4"));
    EXPECT_EQ(pushbutton ? 32u : 48u, test_settings::ValueCount(Section()));

    // Once a row is picked, it is that row that is written.
    PickButton(3, 1);
    Apply();
    EXPECT_NE(L"dword 0x12345", DescribeValue(Section(), key + L"3"));
    EXPECT_EQ(1, Panel().m_nButtonRow[3]);
    EXPECT_EQ(L"dword 0x9999", DescribeValue(Section(), L"LED2"));
}

TEST_P(ConfigPageTest, GearDownRowsReloadAsSavedAndSaveUnchanged) {
    Start({Type(), Type()});
    PickLED(1, LedRow(L"GEAR_NOSE_DOWN"));
    PickLED(2, LedRow(L"GEAR_LEFT_DOWN"));
    PickLED(3, LedRow(L"GEAR_RIGHT_UP"));
    PickLED(4, LedRow(L"GEAR_RIGHT_DOWN"));
    Apply();
    EXPECT_EQ(L"dword 0x14c", DescribeValue(Section(), L"LED1"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp1"));
    EXPECT_EQ(L"sz 16000", DescribeValue(Section(), L"LEDval1"));

    // A new page for the device: over to the other device and back.
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(L"GEAR_NOSE_DOWN", SelectedLabel(IDC_LED_LIST_FIRST + 1));
    EXPECT_EQ(L"GEAR_LEFT_DOWN", SelectedLabel(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(L"GEAR_RIGHT_UP", SelectedLabel(IDC_LED_LIST_FIRST + 3));
    EXPECT_EQ(L"GEAR_RIGHT_DOWN", SelectedLabel(IDC_LED_LIST_FIRST + 4));
    EXPECT_EQ(LedRow(L"GEAR_NOSE_DOWN"), Panel().m_nLEDRow[1]);

    // Emptied outside the page: the save asks, and No keeps the page's picks to be written.
    ui::MessageBoxAnswerer keepPicks({IDNO, IDNO});
    test_settings::Clear();
    EnableApplyByBlinkEdit();
    Apply();
    EXPECT_EQ(L"dword 0x14c", DescribeValue(Section(), L"LED1"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp1"));
    EXPECT_EQ(L"sz 16000", DescribeValue(Section(), L"LEDval1"));
    EXPECT_EQ(L"dword 0x14d", DescribeValue(Section(), L"LED2"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp2"));
    EXPECT_EQ(L"sz 16000", DescribeValue(Section(), L"LEDval2"));
    EXPECT_EQ(L"dword 0x14e", DescribeValue(Section(), L"LED3"));
    EXPECT_EQ(L"dword 0x1", DescribeValue(Section(), L"LEDcomp3"));
    EXPECT_EQ(L"sz 0", DescribeValue(Section(), L"LEDval3"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(Section(), L"LEDcomp4"));
}

TEST_P(ConfigPageTest, GearVariableWithoutMatchingComparisonComesBackAsItsFirstRow) {
    fake_vuzoz::Reset({Type()});
    // Only the variable stored.
    test_settings::WriteDword(Section(), L"LED0", 0x14C);
    // A comparison and value that no row of the variable has.
    test_settings::WriteDword(Section(), L"LED1", 0x14C);
    test_settings::WriteDword(Section(), L"LEDcomp1", 2);
    test_settings::WriteString(Section(), L"LEDval1", L"0");
    // The value text stored as a number.
    test_settings::WriteDword(Section(), L"LED2", 0x14D);
    test_settings::WriteDword(Section(), L"LEDcomp2", 2);
    test_settings::WriteDword(Section(), L"LEDval2", 16000);
    // The down row, stored in full.
    test_settings::WriteDword(Section(), L"LED3", 0x14E);
    test_settings::WriteDword(Section(), L"LEDcomp3", 2);
    test_settings::WriteString(Section(), L"LEDval3", L"16000");
    // A non-gear row whose stored comparison does not fit: the variable alone decides.
    test_settings::WriteDword(Section(), L"LED4", 0x67);
    test_settings::WriteDword(Section(), L"LEDcomp4", 2);
    StartPrepared();

    EXPECT_EQ(L"GEAR_NOSE_UP", SelectedLabel(IDC_LED_LIST_FIRST + 0));
    EXPECT_EQ(L"GEAR_NOSE_UP", SelectedLabel(IDC_LED_LIST_FIRST + 1));
    EXPECT_EQ(L"GEAR_LEFT_UP", SelectedLabel(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(L"GEAR_RIGHT_DOWN", SelectedLabel(IDC_LED_LIST_FIRST + 3));
    EXPECT_EQ(L"AUTOPILOT ACTIVE", SelectedLabel(IDC_LED_LIST_FIRST + 4));
    EXPECT_EQ(LedRow(L"GEAR_NOSE_UP"), Panel().m_nLEDRow[1]);
    EXPECT_EQ(LedRow(L"GEAR_RIGHT_DOWN"), Panel().m_nLEDRow[3]);
}

TEST_P(ConfigPageTest, DestroyingThePageSwitchesItsDevicesLEDsOff) {
    Start({Type(), Type()});
    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 1);
    const std::vector<std::string> calls = fake_vuzoz::CallsStartingWith("BG_SetLEDState");
    ASSERT_GE(calls.size(), 16u);
    EXPECT_EQ(AllLEDCalls(0, BG_LED_OFF), std::vector<std::string>(calls.begin(), calls.begin() + 8));
    EXPECT_EQ(AllLEDCalls(1, BG_LED_FAST), std::vector<std::string>(calls.begin() + 8, calls.begin() + 16));
    EXPECT_EQ(AllLEDs(BG_LED_OFF), DeviceLEDs(0));
    EXPECT_EQ(AllLEDs(BG_LED_FAST), DeviceLEDs(1));
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(AllLEDs(BG_LED_FAST), DeviceLEDs(0));
    EXPECT_EQ(AllLEDs(BG_LED_OFF), DeviceLEDs(1));
}

TEST_P(ConfigPageTest, DestroyingThePageWhileAListHasTheFocusLeavesItsLEDsOff) {
    Start({Type(), Type()});
    ui::Focus(PageWindow(), IDC_LED_LIST_FIRST + 2);
    ASSERT_EQ(OnlyFast(2), DeviceLEDs(0));
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(AllLEDs(BG_LED_OFF), DeviceLEDs(0));
    std::vector<std::string> device0;
    for (const std::string& call : fake_vuzoz::CallsStartingWith("BG_SetLEDState 0 "))
        device0.push_back(call);
    ASSERT_GE(device0.size(), 8u);
    EXPECT_EQ(AllLEDCalls(0, BG_LED_OFF), std::vector<std::string>(device0.end() - 8, device0.end()));
}

TEST_P(ConfigPageTest, WithoutDeviceKeyNothingIsWrittenAndApplyStaysEnabled) {
    Start({Type()});
    PickButton(0, 1);
    fake_vuzoz::SetDevKeyFails(true);
    ui::MessageBoxAnswerer answerer({IDOK});
    Apply();
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_FALSE(test_settings::SectionExists(Section()));
    EXPECT_FALSE(test_settings::SectionExists(config_test::HardwareSection(Type(), 0)));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_FALSE(Panel().SaveConfig());
    EXPECT_FALSE(Panel().LoadConfig());
    // A failed load leaves the picks alone.
    EXPECT_EQ(1, Panel().m_nButtonRow[0]);
    EXPECT_TRUE(Panel().m_bChanged);
}

TEST_P(ConfigPageTest, FailedRegistryWriteIsReportedAndApplyStaysEnabled) {
    fake_vuzoz::Reset({Type()});
    StartPrepared();
    PickButton(0, 1);
    PickLED(0, 1);
    // A volatile parent key can have no lasting subkeys: the section cannot be created.
    ASSERT_TRUE(store_test::CreateVolatileKey(test_settings::ProfilePath() + L"\\All aircraft"));

    ui::MessageBoxAnswerer answerer({IDOK, IDOK});
    Apply();
    ASSERT_FALSE(config_test::SaveFailedText().empty());
    EXPECT_EQ(std::vector<std::wstring>({config_test::SaveFailedText()}), answerer.Texts());
    EXPECT_EQ(std::vector<UINT>({static_cast<UINT>(MB_OK)}), answerer.Buttons());
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_FALSE(Panel().SaveConfig());
    EXPECT_EQ(2u, answerer.Texts().size());

    // Once the section can be created again, the same picks save.
    test_settings::Clear();
    Apply();
    EXPECT_EQ(2u, answerer.Texts().size());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_EQ(L"dword 0xb", DescribeValue(Section(), L"LED0"));
}

// A volatile key can have no lasting subkeys: the sections under it cannot be created.
void MakeSectionsUncreatableUnder(const wchar_t* parent) {
    CKey profile;
    ASSERT_EQ(ERROR_SUCCESS, profile.Create(HKEY_CURRENT_USER, test_settings::ProfilePath().c_str()));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(profile, parent, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr));
    ::RegCloseKey(key);
}

TEST_P(ConfigPageTest, FailedConfigurationWriteLeavesTheHardwareSectionUnwritten) {
    fake_vuzoz::Reset({Type()});
    MakeSectionsUncreatableUnder(L"All aircraft");
    StartPrepared();
    PickLED(3, 5);

    ui::MessageBoxAnswerer answerer({IDOK});
    Apply();
    EXPECT_EQ(std::vector<std::wstring>({config_test::SaveFailedText()}), answerer.Texts());
    EXPECT_FALSE(test_settings::SectionExists(Section()));
    EXPECT_FALSE(test_settings::SectionExists(config_test::HardwareSection(Type(), 0)));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().m_bChanged);
}

TEST_P(ConfigPageTest, FailedHardwareWriteIsReportedLikeAnyOther) {
    fake_vuzoz::Reset({Type()});
    MakeSectionsUncreatableUnder(L"Hardware");
    StartPrepared();
    PickLED(3, 5);

    ui::MessageBoxAnswerer answerer({IDOK});
    Apply();
    EXPECT_EQ(std::vector<std::wstring>({config_test::SaveFailedText()}), answerer.Texts());
    // The configuration section written before is taken away again.
    EXPECT_FALSE(test_settings::SectionExists(Section()));
    EXPECT_FALSE(test_settings::SectionExists(config_test::HardwareSection(Type(), 0)));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().m_bChanged);
}

std::string PanelParamName(const ::testing::TestParamInfo<tagBGDevHWType>& info) {
    return config_test::PanelName(info.param);
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, ConfigPageTest,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO), PanelParamName);

}  // namespace
