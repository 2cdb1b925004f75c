// The LED grid of every test page: a click on a radio drives its LED at once, a report
// of the device checks the radio of the reported state, and nothing outside the page's
// LEDs and buttons is touched.
#include "test_page_support.h"

#include "paneltest/panel_test_page_b88.h"
#include "paneltest/panel_test_page_rp.h"
#include "paneltest/panel_test_page_t88.h"
#include "resource.h"

#include <string>
#include <vector>

namespace {

using namespace test_page;

// The page under test serves device 1; device 0 is a panel of another type, so a page
// that addressed the wrong device would show in the calls.
const int kDevice = 1;

std::string Call(const char* function, std::vector<int> args) {
    std::string line(function);
    for (int arg : args)
        line += " " + std::to_string(arg);
    return line;
}

class TestPageGrid : public ui::MainWindowTest, public ::testing::WithParamInterface<PageKind> {
protected:
    void OpenPage() {
        const PageKind& kind = GetParam();
        const tagBGDevHWType other = kind.type == BG_HW_PUSHBUTTON_8X8 ? BG_HW_RADIO : BG_HW_PUSHBUTTON_8X8;
        Start({other, kind.type}, /*testMode*/ true);
        ASSERT_NE(main->TestPage(), nullptr);
        fake_vuzoz::ClearCalls();
        ui::ActivateDeviceItem(*main, kDevice);
        ASSERT_EQ(main->CurrentDevice(), kDevice);
        ASSERT_NE(main->TestPage(), nullptr);
        page = Page();
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(::IsWindowVisible(page));
        panel = dynamic_cast<CTestPanel*>(main->TestPage());
        ASSERT_NE(panel, nullptr);
        switch (kind.type) {
        case BG_HW_PUSHBUTTON_8X8:
            ASSERT_NE(dynamic_cast<CTestPanelB88*>(panel), nullptr);
            break;
        case BG_HW_TOGGLE_8X8:
            ASSERT_NE(dynamic_cast<CTestPanelT88*>(panel), nullptr);
            break;
        default:
            ASSERT_NE(dynamic_cast<CTestPanelRP*>(panel), nullptr);
            break;
        }
    }

    // A click of the user: the radio checks itself and tells the page.
    void ClickRadio(int led, int state) {
        HWND radio = ::GetDlgItem(page, RadioId(led, state));
        ASSERT_NE(radio, nullptr) << "LED " << led << " state " << state;
        ::SendMessageW(radio, BM_CLICK, 0, 0);
    }

    int Report(int led, int state) { return fake_vuzoz::DeliverLedState(GetParam().type, kDevice, led, state); }

    HWND page = nullptr;
    CTestPanel* panel = nullptr;
};

TEST_P(TestPageGrid, OpensAllOffWithBitClearPicturesAndAsksTheDevice) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const PageKind& kind = GetParam();
    EXPECT_EQ(Grid(page, kind.leds), AllOff(kind.leds));
    EXPECT_EQ(panel->GetLEDCount(), kind.leds);
    EXPECT_EQ(panel->GetIndicatorCount(), kind.indicators);
    for (int button = 0; button < kind.indicators; ++button) {
        EXPECT_TRUE(ui::IsEnabled(page, IndicatorId(button))) << "button " << button;
        EXPECT_EQ(ShownPicture(*panel, kind, button), kind.bitClearPicture) << "button " << button;
    }

    // Every LED in ascending order, then the buttons; no command at start.
    std::vector<std::string> expected;
    for (int led = 0; led < kind.leds; ++led)
        expected.push_back(Call("BG_GetLEDStatus", {kDevice, led}));
    expected.push_back(Call("BG_GetButtonStatus", {kDevice}));
    EXPECT_EQ(PageCalls(), expected);
}

TEST_P(TestPageGrid, EveryRadioSendsItsStateOnEachClick) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const PageKind& kind = GetParam();
    for (int led = 0; led < kind.leds; ++led) {
        for (int state = 0; state < 4; ++state) {
            SCOPED_TRACE("LED " + std::to_string(led) + " state " + std::to_string(state));
            const std::vector<std::string> others = [&] {
                std::vector<std::string> grid = Grid(page, kind.leds);
                grid.erase(grid.begin() + led);
                return grid;
            }();
            for (int click = 0; click < 2; ++click) {
                fake_vuzoz::ClearCalls();
                ASSERT_NO_FATAL_FAILURE(ClickRadio(led, state));
                EXPECT_EQ(fake_vuzoz::Calls(), std::vector<std::string>{Call("BG_SetLEDState", {kDevice, led, state, 0})});
                EXPECT_EQ(Column(page, led), Only(state));
            }
            std::vector<std::string> grid = Grid(page, kind.leds);
            grid.erase(grid.begin() + led);
            EXPECT_EQ(grid, others) << "a click changed another LED's column";
        }
    }
}

TEST_P(TestPageGrid, ReportChecksOneRadioOfItsColumnAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const PageKind& kind = GetParam();
    std::vector<std::string> expected = AllOff(kind.leds);
    for (int led = 0; led < kind.leds; ++led) {
        for (int state : {3, 1, 2, 0, (led + 1) % 4}) {
            SCOPED_TRACE("LED " + std::to_string(led) + " state " + std::to_string(state));
            fake_vuzoz::ClearCalls();
            EXPECT_EQ(Report(led, state), 1);
            expected[static_cast<size_t>(led)] = Only(state);
            EXPECT_EQ(Grid(page, kind.leds), expected);
            EXPECT_EQ(fake_vuzoz::Calls(), std::vector<std::string>());
        }
    }
}

TEST_P(TestPageGrid, ReportOverridesTheUsersClick) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const int led = GetParam().leds - 1;
    ASSERT_NO_FATAL_FAILURE(ClickRadio(led, 3));
    ASSERT_EQ(Column(page, led), Only(3));
    fake_vuzoz::ClearCalls();
    Report(led, 1);
    EXPECT_EQ(Column(page, led), Only(1));
    EXPECT_EQ(PageCalls(), std::vector<std::string>());
}

TEST_P(TestPageGrid, ReportedStatesAreReadModuloFour) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    fake_vuzoz::ClearCalls();
    const int led = 2;
    Report(led, 3);
    ASSERT_EQ(Column(page, led), Only(3));
    Report(led, 6);
    EXPECT_EQ(Column(page, led), Only(2)) << "6 is Fast";
    Report(led, 4);
    EXPECT_EQ(Column(page, led), Only(0)) << "4 is Off";
    Report(led, 5);
    EXPECT_EQ(Column(page, led), Only(1)) << "5 is Slow";
    Report(led, 255);
    EXPECT_EQ(Column(page, led), Only(3)) << "255 is On";
    EXPECT_EQ(PageCalls(), std::vector<std::string>());
}

TEST_P(TestPageGrid, ReportsBeyondThePagesLEDsAndButtonsChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const PageKind& kind = GetParam();
    // Something other than the initial display, so that a stray write would show.
    Report(0, 3);
    Report(kind.leds - 1, 2);
    fake_vuzoz::DeliverButtons(kind.type, kDevice, 1u << (kind.indicators - 1));
    const std::vector<std::string> before = Snapshot(page);
    ASSERT_FALSE(before.empty());

    fake_vuzoz::ClearCalls();
    for (int led = kind.leds; led <= 255; ++led) {
        for (int state = 0; state < 4; ++state)
            Report(led, state);
    }
    if (kind.indicators < 8) {
        const unsigned beyond = (0xFFu << kind.indicators) & 0xFFu;
        // The page's own bit stays set; only the bits it has no indicator for change.
        fake_vuzoz::DeliverButtons(kind.type, kDevice, beyond | (1u << (kind.indicators - 1)));
        fake_vuzoz::DeliverButtonReport(kind.type, kDevice, beyond | (1u << (kind.indicators - 1)));
    }
    EXPECT_EQ(Snapshot(page), before);
    EXPECT_EQ(PageCalls(), std::vector<std::string>());
    EXPECT_EQ(ShownPicture(*panel, kind, kind.indicators - 1), kind.bitSetPicture);
}

TEST_P(TestPageGrid, ClickingAnIndicatorChangesNothingAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(OpenPage());
    const PageKind& kind = GetParam();
    Report(1, 2);
    const std::vector<std::string> grid = Grid(page, kind.leds);
    fake_vuzoz::ClearCalls();
    for (int button = 0; button < kind.indicators; ++button) {
        HWND indicator = ::GetDlgItem(page, IndicatorId(button));
        ASSERT_NE(indicator, nullptr);
        ::SendMessageW(indicator, BM_CLICK, 0, 0);
        EXPECT_TRUE(::IsWindowEnabled(indicator)) << "button " << button;
        EXPECT_EQ(ShownPicture(*panel, kind, button), kind.bitClearPicture) << "button " << button;
    }
    EXPECT_EQ(Grid(page, kind.leds), grid);
    EXPECT_EQ(fake_vuzoz::Calls(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(TestPages, TestPageGrid, ::testing::Values(kPushbuttonPage, kTogglePage, kRadioPage),
                         [](const ::testing::TestParamInfo<PageKind>& info) { return std::string(info.param.name); });

using TestPageRadioGrid = ui::MainWindowTest;

TEST_F(TestPageRadioGrid, ClicksFromIdsBeyondItsFiveLEDsSendNothing) {
    Start({BG_HW_RADIO}, /*testMode*/ true);
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    // Template 143 has no such controls; a forged notification must not reach the device.
    for (int id = RadioId(5, 0); id <= RadioId(7, 3); ++id)
        ASSERT_EQ(::GetDlgItem(page, id), nullptr) << id;
    fake_vuzoz::ClearCalls();
    for (int id = RadioId(5, 0); id <= RadioId(7, 3); ++id)
        ui::Click(page, id);
    EXPECT_EQ(fake_vuzoz::Calls(), std::vector<std::string>());
    EXPECT_EQ(Grid(page, 5), AllOff(5));
}

}  // namespace
