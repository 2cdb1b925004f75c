// Random stored states, with a fixed seed per panel type: wrong types and sizes, numbers
// no row carries, 0 and 0xFFFFFFFF, empty and huge strings, missing values and sections,
// sections stored as values, values of other tools. Each configuration page opens on them,
// shows nothing or a real row in each list and hardware values within 0..255, writes
// nothing until Apply, and Apply leaves exactly the store layout.
#include "config_page_harness.h"
#include "hostile_support.h"

#include "afx/registry_key.h"
#include "config/table_statistics.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <cstdio>
#include <string>

namespace {

const int kStatesPerPanelType = 1000;
// Opening a page costs a few hundred milliseconds under Wine: every so many states open a
// new page, the others are loaded into the page already open, its lists emptied first.
const int kStatesPerOpenedPage = 50;
// Every state is loaded and checked; every so many, and every one on a new page, applied.
const int kStatesPerApply = 4;

class HostileStoredState : public config_test::ConfigPageFixture,
                           public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    tagBGDevHWType Type() const { return GetParam(); }
    int UpperRowCount() const { return Type() == BG_HW_PUSHBUTTON_8X8 ? g_nEventCount : g_nToggleCount; }

    void ExpectListsShowNothingOrRealRows() {
        const HWND page = PageWindow();
        const bool events = Type() == BG_HW_PUSHBUTTON_8X8;
        for (int k = 0; k < 8; ++k) {
            hostile::ExpectListShowsNothingOrARealRow(page, IDC_BUTTON_LIST_FIRST + k, UpperRowCount(), [events](int row) {
                return events ? g_EventTable[row].label : g_ToggleTable[row].label;
            });
            hostile::ExpectListShowsNothingOrARealRow(page, IDC_LED_LIST_FIRST + k, g_nLedCount,
                                                      [](int row) { return g_LedTable[row].label; });
        }
    }

    // Each list selects exactly the row the page holds for it, the row Apply writes ("(none)"
    // for nothing); a list whose stored identifier is kept selects nothing.
    void ExpectListsShowWhatApplyWrites() {
        CConfigPanel& panel = Panel();
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(panel.m_nButtonRow[k] == CConfigPanel::kKeptRow ? CB_ERR : ItemOfRow(panel.m_nButtonRow[k]),
                      SelectedItem(IDC_BUTTON_LIST_FIRST + k))
                << "button list " << k;
            EXPECT_EQ(panel.m_nLEDRow[k] == CConfigPanel::kKeptRow ? CB_ERR : ItemOfRow(panel.m_nLEDRow[k]),
                      SelectedItem(IDC_LED_LIST_FIRST + k))
                << "LED list " << k;
        }
    }

    // After Apply every list's row is what its section holds: 0 for nothing. A row the panel
    // lacks keeps whatever was stored.
    void ExpectStoredRowsAsShown(const std::wstring& config) {
        CConfigPanel& panel = Panel();
        const bool events = Type() == BG_HW_PUSHBUTTON_8X8;
        for (int k = 0; k < 8; ++k) {
            const std::wstring index = std::to_wstring(k);
            DWORD stored = 0;
            const int button = panel.m_nButtonRow[k];
            if (button != CConfigPanel::kKeptRow && panel.HasRow(IDC_BUTTON_LIST_FIRST + k)) {
                EXPECT_TRUE(test_settings::ReadDword(config, (events ? L"Button" : L"OnButton") + index, &stored));
                const DWORD expected = button == CConfigPanel::kNoRow ? 0
                                       : events                       ? g_EventTable[button].event
                                                                      : g_ToggleTable[button].onEvent;
                EXPECT_EQ(expected, stored) << "button " << k;
            }
            const int led = panel.m_nLEDRow[k];
            if (led != CConfigPanel::kKeptRow && panel.HasRow(IDC_LED_LIST_FIRST + k)) {
                EXPECT_TRUE(test_settings::ReadDword(config, L"LED" + index, &stored));
                EXPECT_EQ(led == CConfigPanel::kNoRow ? 0 : g_LedTable[led].variable, stored) << "LED " << k;
            }
        }
    }

    // The open page as a new one is before it loads: every list set to nothing.
    void ReloadInPlace() {
        CConfigPanel& panel = Panel();
        for (int k = 0; k < 8; ++k) {
            (void)::SendDlgItemMessageW(panel.m_hWnd, IDC_BUTTON_LIST_FIRST + k, CB_SETCURSEL, 0, 0);
            (void)::SendDlgItemMessageW(panel.m_hWnd, IDC_LED_LIST_FIRST + k, CB_SETCURSEL, 0, 0);
            panel.m_nButtonRow[k] = CConfigPanel::kNoRow;
            panel.m_nLEDRow[k] = CConfigPanel::kNoRow;
        }
        ASSERT_TRUE(panel.LoadConfig());
    }

    void Forget(int device) {
        const std::wstring profile = test_settings::ProfilePath() + L"\\";
        (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (profile + config_test::ConfigSection(Type(), device)).c_str());
        (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (profile + config_test::HardwareSection(Type(), device)).c_str());
        const std::wstring key = L"FAKE-" + std::to_wstring(static_cast<int>(Type())) + L"-" + std::to_wstring(device);
        for (const wchar_t* parent : {L"All aircraft", L"Hardware"}) {
            CKey section;
            if (section.Open(HKEY_CURRENT_USER, (profile + parent).c_str(), KEY_SET_VALUE) == ERROR_SUCCESS)
                (void)::RegDeleteValueW(section, key.c_str());
        }
    }
};

TEST_P(HostileStoredState, EveryPageOpensShowsRealRowsAndAppliesTheLayout) {
    hostile::Dice dice(0x70117A00u + static_cast<uint32_t>(Type()));
    // Two panels of the type: the page of one is open while the other's store is spoilt.
    Start({Type(), Type()});
    int writesBeforeApply = 0;
    int pagesOpened = 0;
    int applied = 0;
    int wrongLayouts = 0;
    for (int state = 0; state < kStatesPerPanelType; ++state) {
        SCOPED_TRACE("state " + std::to_string(state));
        const bool opensPage = state % kStatesPerOpenedPage == 0;
        const int device = opensPage ? 1 - main->CurrentDevice() : main->CurrentDevice();
        const std::wstring config = config_test::ConfigSection(Type(), device);
        const std::wstring hardware = config_test::HardwareSection(Type(), device);
        Forget(device);
        const hostile::NameSet configExtras = hostile::WriteRandomConfig(dice, Type(), config);
        const hostile::NameSet hardwareExtras = hostile::WriteRandomHardware(dice, hardware);
        hostile::ProfileWatch watch;
        ASSERT_TRUE(watch.Watching());

        if (opensPage) {
            ui::ActivateDeviceItem(*main, device);
            ++pagesOpened;
        } else {
            ReloadInPlace();
        }
        ASSERT_EQ(device, main->CurrentDevice());
        ASSERT_NO_FATAL_FAILURE(ExpectListsShowNothingOrRealRows());
        ASSERT_NO_FATAL_FAILURE(ExpectListsShowWhatApplyWrites());
        ASSERT_NO_FATAL_FAILURE(hostile::ExpectHardwareControlsInRange(main->m_hWnd));
        if (watch.Changed()) {
            ++writesBeforeApply;
            ADD_FAILURE() << "the page wrote before Apply";
        }

        if (!opensPage && state % kStatesPerApply != 0)
            continue;
        ++applied;
        int k = static_cast<int>(dice.Below(8));
        int row = static_cast<int>(dice.Below(static_cast<uint32_t>(g_nLedCount)));
        // The radio panel lacks LEDs 6 to 8: one it has instead. The row held already is no
        // change, so the next one is picked.
        if (!Panel().HasRow(IDC_LED_LIST_FIRST + k))
            k %= 5;
        if (Panel().m_nLEDRow[k] == row)
            row = (row + 1) % g_nLedCount;
        PickLED(k, row);
        ui::MessageBoxAnswerer answerer({IDOK});
        Apply();
        ASSERT_TRUE(answerer.Texts().empty());
        ASSERT_FALSE(Panel().m_bChanged);
        ASSERT_TRUE(watch.Changed()) << "the watch saw no write at all";
        hostile::NameSet expectedConfig = hostile::ConfigLayout(Type());
        for (const auto& extra : configExtras) {
            bool named = false;
            for (const auto& value : expectedConfig)
                named = named || value.first == extra.first;
            if (!named)
                expectedConfig.insert(extra);
        }
        hostile::NameSet expectedHardware = hostile::HardwareLayout();
        for (const auto& extra : hardwareExtras)
            expectedHardware.insert(extra);
        const bool layout = store_test::NamesAndTypes(config) == expectedConfig &&
                            store_test::NamesAndTypes(hardware) == expectedHardware;
        if (!layout)
            ++wrongLayouts;
        EXPECT_EQ(expectedConfig, store_test::NamesAndTypes(config));
        EXPECT_EQ(expectedHardware, store_test::NamesAndTypes(hardware));
        DWORD variable = 0;
        EXPECT_TRUE(test_settings::ReadDword(config, L"LED" + std::to_wstring(k), &variable));
        EXPECT_EQ(g_LedTable[row].variable, variable);
        ExpectStoredRowsAsShown(config);
        ASSERT_NO_FATAL_FAILURE(hostile::ExpectHardwareControlsInRange(main->m_hWnd));
        if (HasFailure())
            break;
    }
    std::printf("[ figures  ] %s: %d stored states (%d on newly opened pages, %d applied), %d pages that wrote "
                "before Apply, %d Apply results off the layout\n",
                config_test::PanelName(Type()), kStatesPerPanelType, pagesOpened, applied, writesBeforeApply,
                wrongLayouts);
}

std::string PanelParamName(const ::testing::TestParamInfo<tagBGDevHWType>& info) {
    return config_test::PanelName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Panels, HostileStoredState,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO), PanelParamName);

}  // namespace
