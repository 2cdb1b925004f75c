// A test page over its life in the main window: made for the selected device, fed by
// the device's answers while it is being created, replaced by a fresh page when another
// device is activated, and left alone when the current one is activated again.
#include "test_page_support.h"

#include "paneltest/panel_test_page_b88.h"
#include "paneltest/panel_test_page_rp.h"
#include "paneltest/panel_test_page_t88.h"

#include <string>
#include <vector>

namespace {

using namespace test_page;

class TestPageLifecycle : public ui::MainWindowTest {
protected:
    CTestPanel* Panel() const { return dynamic_cast<CTestPanel*>(main->TestPage()); }
};

TEST_F(TestPageLifecycle, EachPanelTypeGetsItsOwnPage) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO}, /*testMode*/ true);
    EXPECT_NE(dynamic_cast<CTestPanelB88*>(main->TestPage()), nullptr);
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_NE(dynamic_cast<CTestPanelT88*>(main->TestPage()), nullptr);
    ui::ActivateDeviceItem(*main, 2);
    ASSERT_NE(dynamic_cast<CTestPanelRP*>(main->TestPage()), nullptr);
    EXPECT_EQ(main->TestPage()->m_nDevice, 2);
    EXPECT_EQ(::GetParent(Page()), main->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(Page()));
}

TEST_F(TestPageLifecycle, AnotherDeviceAndBackGivesAFreshPageThatAsksAgain) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_RADIO}, /*testMode*/ true);
    ASSERT_NE(Page(), nullptr);
    fake_vuzoz::DeliverLedState(BG_HW_PUSHBUTTON_8X8, 0, 2, 3);
    fake_vuzoz::DeliverButtons(BG_HW_PUSHBUTTON_8X8, 0, 0x04);
    ::SendMessageW(::GetDlgItem(Page(), RadioId(5, 1)), BM_CLICK, 0, 0);
    ASSERT_EQ(Column(Page(), 2), Only(3));
    ASSERT_EQ(Column(Page(), 5), Only(1));
    ASSERT_FALSE(ui::IsEnabled(Page(), IndicatorId(2)));

    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 1);
    // Leaving a test page sends nothing to its panel: its LEDs stay as last set.
    EXPECT_EQ(fake_vuzoz::CallsStartingWith("BG_SetLEDState"), std::vector<std::string>());
    EXPECT_EQ(fake_vuzoz::CallsStartingWith("BG_GetLEDStatus 0"), std::vector<std::string>());

    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 0);
    ASSERT_NE(Page(), nullptr);
    CTestPanel* panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Grid(Page(), 8), AllOff(8));
    for (int button = 0; button < 8; ++button) {
        EXPECT_TRUE(ui::IsEnabled(Page(), IndicatorId(button))) << "button " << button;
        EXPECT_EQ(ShownPicture(*panel, kPushbuttonPage, button), kPushbuttonPage.bitClearPicture);
    }
    EXPECT_EQ(PageCalls(), (std::vector<std::string>{"BG_GetLEDStatus 0 0", "BG_GetLEDStatus 0 1", "BG_GetLEDStatus 0 2",
                                                     "BG_GetLEDStatus 0 3", "BG_GetLEDStatus 0 4", "BG_GetLEDStatus 0 5",
                                                     "BG_GetLEDStatus 0 6", "BG_GetLEDStatus 0 7",
                                                     "BG_GetButtonStatus 0"}));
}

TEST_F(TestPageLifecycle, AnswersDeliveredWhileThePageIsCreatedReachIt) {
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8, BG_HW_RADIO});
    fake_vuzoz::SetAnswerRequests(true);
    const int radioLeds[5] = {3, 2, 1, 0, 3};
    for (int led = 0; led < 5; ++led)
        fake_vuzoz::Panel(1).led[led] = radioLeds[led];
    fake_vuzoz::Panel(1).buttons = 0x05;
    const int pushbuttonLeds[8] = {0, 1, 2, 3, 3, 2, 1, 0};
    for (int led = 0; led < 8; ++led)
        fake_vuzoz::Panel(0).led[led] = pushbuttonLeds[led];
    fake_vuzoz::Panel(0).buttons = 0x80;
    StartPrepared(/*testMode*/ true);
    ASSERT_NE(main->TestPage(), nullptr);

    ui::ActivateDeviceItem(*main, 1);
    ASSERT_NE(dynamic_cast<CTestPanelRP*>(main->TestPage()), nullptr);
    EXPECT_EQ(Grid(Page(), 5), (std::vector<std::string>{Only(3), Only(2), Only(1), Only(0), Only(3)}));
    for (int button = 0; button < 4; ++button)
        EXPECT_EQ(ui::IsEnabled(Page(), IndicatorId(button)), button != 0 && button != 2) << "button " << button;

    ui::ActivateDeviceItem(*main, 0);
    ASSERT_NE(dynamic_cast<CTestPanelB88*>(main->TestPage()), nullptr);
    std::vector<std::string> expected;
    for (int led = 0; led < 8; ++led)
        expected.push_back(Only(pushbuttonLeds[led]));
    EXPECT_EQ(Grid(Page(), 8), expected);
    for (int button = 0; button < 8; ++button)
        EXPECT_EQ(ui::IsEnabled(Page(), IndicatorId(button)), button != 7) << "button " << button;
    EXPECT_EQ(fake_vuzoz::CallsStartingWith("BG_SetLEDState"), std::vector<std::string>());
}

TEST_F(TestPageLifecycle, ActivatingTheCurrentDeviceKeepsThePageAsItIs) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_PUSHBUTTON_8X8}, /*testMode*/ true);
    CTestDialog* const before = main->TestPage();
    ASSERT_NE(before, nullptr);
    const HWND page = Page();
    fake_vuzoz::DeliverLedState(BG_HW_TOGGLE_8X8, 0, 4, 2);
    fake_vuzoz::DeliverButtons(BG_HW_TOGGLE_8X8, 0, 0x10);
    const std::vector<std::string> display = Snapshot(page);

    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(main->TestPage(), before);
    EXPECT_EQ(Page(), page);
    EXPECT_TRUE(::IsWindow(page));
    EXPECT_EQ(Snapshot(page), display);
    EXPECT_EQ(Column(page, 4), Only(2));
    EXPECT_EQ(fake_vuzoz::Calls(), std::vector<std::string>());
}

}  // namespace
