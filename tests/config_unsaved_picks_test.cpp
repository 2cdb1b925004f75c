// Picks that were not applied: before a configuration page with unsaved picks goes away
// (another device, OK, Cancel or Escape, closing the window) the user is asked whether
// to save them. Yes saves, No drops them, and either way the action goes on; Cancel, or
// a save that failed, stops it.
#include "call_log.h"
#include "config_page_harness.h"

#include "config/config_panel_rp.h"
#include "config/config_panel_t88.h"
#include "resource.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::EventRow;

const std::wstring kSection0 = config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0);

class UnsavedPicksTest : public config_test::ConfigPageFixture {
protected:
    void StartTwoPanelsWithAPick() {
        Start({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
        PickButton(3, EventRow(L"Landing Gear"));
        ASSERT_TRUE(Panel().m_bChanged);
    }
    std::vector<std::wstring> Prompt() const { return {config_test::SavePromptText()}; }
    bool PickSaved() const { return DescribeValue(kSection0, L"Button3") == L"dword 0x10022"; }
    bool MainWindowEnded() const { return main->m_hWnd == nullptr || !::IsWindow(main->m_hWnd); }
    // Escape in a list of the page, as the dialog manager of the modal loop handles it.
    void PressEscapeInList() {
        ui::Focus(PageWindow(), IDC_BUTTON_LIST_FIRST);
        MSG msg = {};
        msg.hwnd = ::GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_ESCAPE;
        msg.lParam = 0x00010001;
        ::IsDialogMessageW(main->m_hWnd, &msg);
        ui::PumpMessages();
    }
};

TEST_F(UnsavedPicksTest, SwitchingDeviceAsksAndYesSaves) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDYES});
    ui::ActivateDeviceItem(*main, 1);

    ASSERT_FALSE(config_test::SavePromptText().empty());
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_EQ(std::vector<UINT>({static_cast<UINT>(MB_YESNOCANCEL)}), answerer.Buttons());
    EXPECT_TRUE(PickSaved());
    EXPECT_EQ(1, main->CurrentDevice());
    EXPECT_EQ(1, Panel().m_nDevice);
    // The new page loaded its own device's settings: nothing is unsaved there.
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(UnsavedPicksTest, SwitchingDeviceAsksAndNoDropsThePicks) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDNO});
    ui::ActivateDeviceItem(*main, 1);

    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_FALSE(test_settings::SectionExists(kSection0));
    EXPECT_EQ(1, Panel().m_nDevice);

    // Back on the first device the dropped pick is gone.
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(0, SelectedItem(IDC_BUTTON_LIST_FIRST + 3));
}

TEST_F(UnsavedPicksTest, NothingIsAskedWithoutUnsavedPicks) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
    ui::MessageBoxAnswerer answerer({IDYES, IDYES, IDYES});
    // A list closed without a selection is no pick.
    PickButton(0, -1);
    ui::ActivateDeviceItem(*main, 1);
    // Brightness and blink values that the device reports are not the user's changes.
    fake_vuzoz::DeliverBrightness(BG_HW_PUSHBUTTON_8X8, 1, 200);
    fake_vuzoz::DeliverBlink(BG_HW_PUSHBUTTON_8X8, 1, 1, 2, 3, 4);
    ui::ActivateDeviceItem(*main, 0);
    // Picks that were applied.
    PickButton(0, 4);
    Apply();
    ui::ActivateDeviceItem(*main, 1);
    ui::Click(main->m_hWnd, IDOK);

    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, OkAsksAndYesSaves) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDYES});
    ui::Click(main->m_hWnd, IDOK);
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_TRUE(PickSaved());
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, CancelAsksAndNoDropsThePicks) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDNO});
    ui::Click(main->m_hWnd, IDCANCEL);
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_FALSE(test_settings::SectionExists(kSection0));
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, EscapeAsksAndYesSaves) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDYES});
    PressEscapeInList();
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_TRUE(PickSaved());
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, ClosingTheWindowAsksYesSavesBeforeTheLibraryIsShutDown) {
    StartTwoPanelsWithAPick();
    fake_vuzoz::ClearCalls();
    ui::MessageBoxAnswerer answerer({IDYES});
    Close();

    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_TRUE(PickSaved());
    EXPECT_EQ(L"dword 0x1", DescribeValue(config_test::HardwareSection(BG_HW_PUSHBUTTON_8X8, 0), L"Type"));
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    const auto key = std::find(calls.begin(), calls.end(), "BGGetDevKey 0");
    const auto terminate = std::find(calls.begin(), calls.end(), "BGTerminate");
    EXPECT_TRUE(key < terminate);
    EXPECT_NE(calls.end(), terminate);
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, ClosingTheWindowAsksAndNoDropsThePicks) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDNO});
    Close();
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_FALSE(test_settings::SectionExists(kSection0));
    EXPECT_TRUE(MainWindowEnded());
}

TEST_F(UnsavedPicksTest, FailedSaveAfterYesIsReportedAndTheSwitchStops) {
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
    StartPrepared();
    PickButton(3, EventRow(L"Landing Gear"));
    // A volatile parent key can have no lasting subkeys: the section cannot be created.
    ASSERT_TRUE(store_test::CreateVolatileKey(test_settings::ProfilePath() + L"\\All aircraft"));

    ui::MessageBoxAnswerer answerer({IDYES, IDOK, IDNO});
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(std::vector<std::wstring>({config_test::SavePromptText(), config_test::SaveFailedText()}),
              answerer.Texts());
    // The pick is still there to be saved or dropped.
    EXPECT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(0, Panel().m_nDevice);
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(0, main->DeviceList().GetNextItem(-1, LVNI_SELECTED));

    // No lets it go and the switch happens.
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(3u, answerer.Texts().size());
    EXPECT_EQ(1, Panel().m_nDevice);
}

TEST_F(UnsavedPicksTest, CancelKeepsEverythingAsItWas) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL});
    CConfigPanel* page = &Panel();
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(page, main->ConfigPage());
    EXPECT_EQ(0, main->DeviceList().GetNextItem(-1, LVNI_SELECTED));
    ui::Click(main->m_hWnd, IDOK);
    ui::Click(main->m_hWnd, IDCANCEL);
    Close();

    EXPECT_EQ(4u, answerer.Texts().size());
    EXPECT_FALSE(MainWindowEnded());
    EXPECT_EQ(page, main->ConfigPage());
    EXPECT_TRUE(Panel().m_bChanged);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_FALSE(test_settings::SectionExists(kSection0));
    // The close sequence did not start: the library is still there.
    EXPECT_EQ(-1, call_log::IndexOf("BGTerminate"));
}

TEST_F(UnsavedPicksTest, ClosingThePageItselfAsks) {
    StartTwoPanelsWithAPick();
    ui::MessageBoxAnswerer answerer({IDYES});
    ::SendMessageW(PageWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Prompt(), answerer.Texts());
    EXPECT_TRUE(PickSaved());
}

TEST_F(UnsavedPicksTest, ToggleSwitchAndRadioPagesAskToo) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_RADIO, BG_HW_PUSHBUTTON_8X8});
    ui::MessageBoxAnswerer answerer({IDYES, IDNO});
    PickLED(5, config_test::LedRow(L"GEAR_LEFT_DOWN"));
    ui::ActivateDeviceItem(*main, 1);
    ASSERT_NE(nullptr, dynamic_cast<CConfigPanelRP*>(main->ConfigPage()));
    PickButton(0, config_test::ToggleRow(L"Smoke"));
    ui::ActivateDeviceItem(*main, 2);

    EXPECT_EQ(std::vector<std::wstring>(2, config_test::SavePromptText()), answerer.Texts());
    EXPECT_EQ(L"dword 0x2", DescribeValue(config_test::ConfigSection(BG_HW_TOGGLE_8X8, 0), L"LEDcomp5"));
    EXPECT_FALSE(test_settings::SectionExists(config_test::ConfigSection(BG_HW_RADIO, 1)));
}

}  // namespace
