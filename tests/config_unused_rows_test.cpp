// Rows set to nothing: "(none)" first in every list, picked with the mouse, or Delete on a
// focused list. Nothing is stored as 0 for every number of the row and "" for its text,
// which is what a reader with a default of 0 sees for a row never written; a stored 0 or a
// value never written shows as nothing. Driven with real input on all three page types.
#include "config_page_harness.h"

#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::LedRow;

class UnusedRowsTest : public config_test::ConfigPageFixture, public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    bool Pushbutton() const { return GetParam() == BG_HW_PUSHBUTTON_8X8; }
    std::wstring Section(int device = 0) const { return config_test::ConfigSection(GetParam(), device); }
    // The name of the number that finds input k's row again ("Button1", "OnButton1").
    std::wstring KeyName(int k) const { return (Pushbutton() ? L"Button" : L"OnButton") + std::to_wstring(k); }
    // A row of the upper table that every type has by this label.
    int UpperRow(const wchar_t* label) const {
        return Pushbutton() ? config_test::EventRow(label) : config_test::ToggleRow(label);
    }
    DWORD UpperKey(int row) const { return Pushbutton() ? g_EventTable[row].event : g_ToggleTable[row].onEvent; }

    // Stores "Landing Gear" for input k and "AUTOPILOT ACTIVE" for LED k, in full.
    void StoreRows(int k) {
        const int row = UpperRow(L"Landing Gear");
        test_settings::WriteDword(Section(), KeyName(k), UpperKey(row));
        if (!Pushbutton()) {
            test_settings::WriteDword(Section(), L"OffButton" + std::to_wstring(k), g_ToggleTable[row].offEvent);
            test_settings::WriteDword(Section(), L"ButtonVar" + std::to_wstring(k), g_ToggleTable[row].stateVar);
        }
        const LedEntry& led = g_LedTable[LedRow(L"AUTOPILOT ACTIVE")];
        test_settings::WriteDword(Section(), L"LED" + std::to_wstring(k), led.variable);
        test_settings::WriteDword(Section(), L"LEDcomp" + std::to_wstring(k), static_cast<DWORD>(led.comparison));
        test_settings::WriteString(Section(), L"LEDval" + std::to_wstring(k), led.value);
    }
    // Every value of input k and LED k as a reader sees it.
    std::vector<std::wstring> StoredRow(int k) {
        const std::wstring d = std::to_wstring(k);
        std::vector<std::wstring> values;
        const std::vector<std::wstring> names =
            Pushbutton() ? std::vector<std::wstring>{L"Button"}
                         : std::vector<std::wstring>{L"OnButton", L"OffButton", L"ButtonVar"};
        for (const std::wstring& name : names)
            values.push_back(name + d + L" = " + DescribeValue(Section(), name + d));
        for (const wchar_t* name : {L"LED", L"LEDcomp", L"LEDval"})
            values.push_back(name + d + L" = " + DescribeValue(Section(), name + d));
        return values;
    }
    std::vector<std::wstring> NothingStored(int k) const {
        const std::wstring d = std::to_wstring(k);
        std::vector<std::wstring> values;
        if (Pushbutton()) {
            values.push_back(L"Button" + d + L" = dword 0");
        } else {
            values.push_back(L"OnButton" + d + L" = dword 0");
            values.push_back(L"OffButton" + d + L" = dword 0");
            values.push_back(L"ButtonVar" + d + L" = dword 0");
        }
        values.push_back(L"LED" + d + L" = dword 0");
        values.push_back(L"LEDcomp" + d + L" = dword 0");
        values.push_back(L"LEDval" + d + L" = sz ");
        return values;
    }
    // Over to the second panel and back: the page loads the first one's section again.
    void Reload() {
        ui::ActivateDeviceItem(*main, 1);
        ui::ActivateDeviceItem(*main, 0);
        ASSERT_EQ(0, Panel().m_nDevice);
    }
};

TEST_P(UnusedRowsTest, NoneIsTheFirstEntryOfEveryList) {
    Start({GetParam()});
    ASSERT_EQ(L"(none)", AfxLoadString(IDS_NO_ROW));
    for (int id = IDC_BUTTON_LIST_FIRST; id <= IDC_LED_LIST_LAST; ++id) {
        if (id == IDC_BUTTON_LIST_LAST + 1)
            continue;
        wchar_t text[32] = L"";
        ::SendDlgItemMessageW(PageWindow(), id, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(L"(none)", text) << "list " << id;
    }
}

TEST_P(UnusedRowsTest, NoneIsInRussianOnARussianWindow) {
    // The thread loads the Russian resources while the window is made.
    const LANGID language = ::GetThreadUILanguage();
    const LCID locale = ::GetThreadLocale();
    const LANGID russian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    ::SetThreadUILanguage(russian);
    ::SetThreadLocale(MAKELCID(russian, SORT_DEFAULT));
    Start({GetParam()});
    wchar_t text[32] = L"";
    ::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    const std::wstring apply = ui::Text(main->m_hWnd, IDC_APPLY);
    ::SetThreadUILanguage(language);
    ::SetThreadLocale(locale);
    EXPECT_NE(L"Apply", apply) << "the window is not in Russian";
    EXPECT_STREQ(L"(нет)", text);
    EXPECT_EQ(L"(нет)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST));
}

TEST_P(UnusedRowsTest, ARowSetToNothingWithTheMouseIsStoredAsZerosAndReloadedAsNothing) {
    fake_vuzoz::Reset({GetParam(), GetParam()});
    StoreRows(2);
    StartPrepared();
    ASSERT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));

    FocusList(IDC_BUTTON_LIST_FIRST + 2);
    ClickListItem(IDC_BUTTON_LIST_FIRST + 2, 0);
    FocusList(IDC_LED_LIST_FIRST + 2);
    ClickListItem(IDC_LED_LIST_FIRST + 2, 0);
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 2));
    EXPECT_TRUE(ApplyEnabled());

    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(NothingStored(2), StoredRow(2));
    Reload();
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 2));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(UnusedRowsTest, DeleteSetsTheFocusedRowToNothingClosedOrOpen) {
    fake_vuzoz::Reset({GetParam(), GetParam()});
    StoreRows(1);
    StoreRows(3);
    StartPrepared();

    FocusList(IDC_BUTTON_LIST_FIRST + 1);  // a closed list
    Press(VK_DELETE);
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_TRUE(ApplyEnabled());
    FocusList(IDC_LED_LIST_FIRST + 3);  // an open list, closed by it
    Press(VK_F4);
    ASSERT_TRUE(::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 3, CB_GETDROPPEDSTATE, 0, 0));
    Press(VK_DELETE);
    EXPECT_FALSE(::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 3, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 3));
    FocusList(IDC_BUTTON_LIST_FIRST + 0);  // the focus left both lists: they still show nothing
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 3));

    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    std::vector<std::wstring> expected = NothingStored(1);
    expected.resize(Pushbutton() ? 1 : 3);  // the upper row only
    std::vector<std::wstring> stored = StoredRow(1);
    stored.resize(expected.size());
    EXPECT_EQ(expected, stored);
    EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LED3"));
    EXPECT_EQ(L"sz ", DescribeValue(Section(), L"LEDval3"));
    // What was not deleted stays.
    EXPECT_EQ(L"dword 0x67", DescribeValue(Section(), L"LED1"));
    EXPECT_EQ(L"dword " + std::wstring(Pushbutton() ? L"0x10022" : L"0x1021f"), DescribeValue(Section(), KeyName(3)));
    Reload();
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 3));
}

// Every value written out: the one pick and zeros everywhere else.
TEST_P(UnusedRowsTest, AFreshPanelSavedAfterOnePickWritesZeroForEveryOtherRow) {
    Start({GetParam()});
    FocusList(IDC_LED_LIST_FIRST + 0);
    Press(VK_DOWN);  // from "(none)" to the table's first row
    ASSERT_EQ(std::wstring(g_LedTable[0].label), ui::Text(PageWindow(), IDC_LED_LIST_FIRST));
    ui::ClickControl(main->m_hWnd, IDC_APPLY);

    std::vector<std::wstring> stored;
    std::vector<std::wstring> expected;
    for (int k = 0; k < 8; ++k) {
        const std::vector<std::wstring> row = StoredRow(k);
        stored.insert(stored.end(), row.begin(), row.end());
        const std::vector<std::wstring> nothing = NothingStored(k);
        expected.insert(expected.end(), nothing.begin(), nothing.end());
    }
    const size_t led0 = Pushbutton() ? 1 : 3;
    expected[led0] = L"LED0 = dword 0xa";
    expected[led0 + 1] = L"LEDcomp0 = dword 0x1";
    expected[led0 + 2] = L"LEDval0 = sz 1";
    EXPECT_EQ(expected, stored);
    EXPECT_EQ(Pushbutton() ? 32u : 48u, test_settings::ValueCount(Section()));
}

TEST_P(UnusedRowsTest, AStoredZeroOrAValueNeverWrittenShowsNothing) {
    fake_vuzoz::Reset({GetParam()});
    test_settings::WriteDword(Section(), KeyName(0), 0);
    if (!Pushbutton())
        test_settings::WriteDword(Section(), L"OffButton0", 0x100FF);  // beside a 0: still nothing
    // Input 1 and LED 1 never written.
    test_settings::WriteDword(Section(), L"LED0", 0);
    test_settings::WriteDword(Section(), L"LEDcomp0", 1);
    test_settings::WriteString(Section(), L"LEDval0", L"1");
    StartPrepared();

    for (int k : {0, 1}) {
        EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + k)) << k;
        EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + k)) << k;
    }
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
    // Picking "(none)" where nothing is stored is no change either.
    FocusList(IDC_LED_LIST_FIRST + 0);
    ClickListItem(IDC_LED_LIST_FIRST + 0, 0);
    EXPECT_FALSE(ApplyEnabled());
}

// An identifier no row has stays as stored until a row is picked for it; "(none)" is a
// pick too, and taking it back with Ctrl+Z brings the identifier back.
TEST_P(UnusedRowsTest, AKeptIdentifierSurvivesUntilARowIsPicked) {
    fake_vuzoz::Reset({GetParam()});
    test_settings::WriteDword(Section(), KeyName(2), 0xABCDE);
    if (!Pushbutton()) {
        test_settings::WriteDword(Section(), L"OffButton2", 0x54321);
        test_settings::WriteDword(Section(), L"ButtonVar2", 0x99);
    }
    test_settings::WriteDword(Section(), L"LED2", 0x9999);
    test_settings::WriteDword(Section(), L"LEDcomp2", 7);
    test_settings::WriteString(Section(), L"LEDval2", L"seven");
    StartPrepared();
    ASSERT_EQ(CConfigPanel::kKeptRow, Panel().m_nButtonRow[2]);
    const std::vector<std::wstring> kept = StoredRow(2);

    FocusList(IDC_BUTTON_LIST_FIRST + 2);
    Press(VK_DELETE);
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 2));
    Press('Z', false, true);
    EXPECT_EQ(CConfigPanel::kKeptRow, Panel().m_nButtonRow[2]);
    EXPECT_EQ(Pushbutton() ? L"" : L"0xABCDE", ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_FALSE(ApplyEnabled());

    FocusList(IDC_LED_LIST_FIRST + 0);  // another row changes, the kept one is applied as it is
    Press(VK_DOWN);
    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    EXPECT_EQ(kept, StoredRow(2));

    FocusList(IDC_LED_LIST_FIRST + 2);  // a pick: the identifier goes
    ClickListItem(IDC_LED_LIST_FIRST + 2, 0);
    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LED2"));
    EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LEDcomp2"));
    EXPECT_EQ(L"sz ", DescribeValue(Section(), L"LEDval2"));
    EXPECT_EQ(L"dword 0xabcde", DescribeValue(Section(), KeyName(2)));
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, UnusedRowsTest,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

}  // namespace
