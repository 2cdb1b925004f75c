// Press to find: in configuration mode a press of a button, or a flip of a switch either
// way, on the panel on show moves the focus to that input's list, which leaves only its LED
// blinking. Nothing is picked, Tollan does not come to the front, and nothing moves while a
// list is open or a question is asked. The input arrives as the library delivers it.
#include "config_page_harness.h"

#include "resource.h"
#include "test_settings.h"

#include <string>
#include <vector>

namespace {

class PressToFindTest : public config_test::ConfigPageFixture, public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    tagBGDevHWType Type() const { return GetParam(); }
    bool Switches() const { return Type() == BG_HW_TOGGLE_8X8; }
    // The radio panel has buttons 1 to 4 and LEDs 1 to 5; the device refuses LEDs 6 to 8.
    size_t DeviceLEDCount() const { return Type() == BG_HW_RADIO ? 5 : 8; }
    std::vector<int> OnlyBlinking(int led) const {
        std::vector<int> states(DeviceLEDCount(), BG_LED_OFF);
        states[static_cast<size_t>(led)] = BG_LED_FAST;
        return states;
    }
    std::vector<int> DeviceLEDs() {
        std::vector<int> states = LedStates(0);
        states.resize(DeviceLEDCount());
        return states;
    }
    // The buttons of the panel as the device reports them; the page's request for them at
    // its start is answered like this.
    void Report(unsigned bits) { EXPECT_EQ(1, fake_vuzoz::DeliverButtons(Type(), 0, bits)); }
    void Answer(unsigned bits) { EXPECT_EQ(1, fake_vuzoz::DeliverButtonReport(Type(), 0, bits)); }
    void Settle() { ui::PumpDialog(main->m_hWnd); }
    int FocusedList() {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::GetParent(focus) != PageWindow())
            focus = ::GetParent(focus);  // the edit field of an editable list
        return focus != nullptr && ::GetParent(focus) == PageWindow() ? ::GetDlgCtrlID(focus) : 0;
    }
    // Nothing was picked and nothing is left to apply.
    void ExpectNothingPicked() {
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[k]) << "input " << k;
            EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[k]) << "LED " << k;
        }
        EXPECT_FALSE(ApplyEnabled());
    }
};

TEST_P(PressToFindTest, AnInputMovesTheFocusToItsListAndBlinksItsLED) {
    Start({Type()});
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    FocusList(IDC_LED_LIST_FIRST + 0);
    Answer(0x00);

    Report(0x04);  // button or switch 3
    Settle();
    EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 2, FocusedList());
    EXPECT_EQ(OnlyBlinking(2), DeviceLEDs());
    Report(0x00);  // released, or switched back
    Settle();
    if (Switches()) {
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 2, FocusedList());
        // Switched back elsewhere: the focus follows each flip, either way.
        Report(0x01);
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 0, FocusedList());
        Report(0x01 | 0x08);
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 3, FocusedList());
        FocusList(IDC_LED_LIST_FIRST + 1);
        Report(0x08);  // switch 1 off
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 0, FocusedList());
        EXPECT_EQ(OnlyBlinking(0), DeviceLEDs());
    } else {
        // A release is no press: the focus stays.
        FocusList(IDC_LED_LIST_FIRST + 1);
        Report(0x00);
        EXPECT_EQ(IDC_LED_LIST_FIRST + 1, FocusedList());
        Report(0x01);
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 0, FocusedList());
        EXPECT_EQ(OnlyBlinking(0), DeviceLEDs());
        // Held, and another pressed beside it: the new one.
        Report(0x01 | 0x02);
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 1, FocusedList());
    }
    ExpectNothingPicked();
    // The keys go on to the list found, as to any list the user moved to.
    Press(VK_DOWN);
    EXPECT_NE(CConfigPanel::kNoRow, Panel().m_nButtonRow[FocusedList() - IDC_BUTTON_LIST_FIRST]);
}

TEST_P(PressToFindTest, ASwitchFlippedBeforeItsPositionIsKnownOnlyTellsWhereItIs) {
    Start({Type()});
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    FocusList(IDC_LED_LIST_FIRST + 2);
    // No answer to the page's request yet: switches in unknown positions, buttons released.
    Report(0x02);
    if (Switches()) {
        EXPECT_EQ(IDC_LED_LIST_FIRST + 2, FocusedList());
        Report(0x00);
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 1, FocusedList());
    } else {
        EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 1, FocusedList());
    }
    EXPECT_NE(fake_vuzoz::CallsStartingWith("BG_GetButtonStatus 0").size(), 0u);
}

TEST_P(PressToFindTest, InTheBackgroundTheWindowStaysBehindAndTheListWaitsForTheUser) {
    Start({Type()});
    FocusList(IDC_LED_LIST_FIRST + 0);
    Answer(0x00);
    // Another program's window in front.
    const HWND other = ::CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100,
                                         nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    ASSERT_TRUE(ui::BringToFront(other));
    // The list that lost the focus with the window left every LED blinking.
    ASSERT_EQ(std::vector<int>(DeviceLEDCount(), BG_LED_FAST), DeviceLEDs());

    Report(0x08);
    Settle();
    EXPECT_EQ(other, ::GetForegroundWindow());
    EXPECT_EQ(OnlyBlinking(3), DeviceLEDs());
    EXPECT_NE(IDC_BUTTON_LIST_FIRST + 3, FocusedList());
    Report(0x00);  // released, or switched back: the same row
    Settle();
    EXPECT_EQ(other, ::GetForegroundWindow());

    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    EXPECT_EQ(IDC_BUTTON_LIST_FIRST + 3, FocusedList());
    EXPECT_EQ(OnlyBlinking(3), DeviceLEDs());
    ExpectNothingPicked();
    ::DestroyWindow(other);
}

TEST_P(PressToFindTest, NothingMovesWhileAListIsOpenOrAQuestionIsAsked) {
    Start({Type(), Type()});
    FocusList(IDC_LED_LIST_FIRST + 1);
    Answer(0x00);
    Press(VK_F4);
    ASSERT_TRUE(::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 1, CB_GETDROPPEDSTATE, 0, 0));
    Report(0x01);
    Settle();
    EXPECT_TRUE(::SendDlgItemMessageW(PageWindow(), IDC_LED_LIST_FIRST + 1, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(IDC_LED_LIST_FIRST + 1, FocusedList());
    Press(VK_ESCAPE);
    Report(0x00);

    // A pick makes the switch to the other panel ask; the panel's input meanwhile moves nothing.
    FocusList(IDC_LED_LIST_FIRST + 1);
    Press(VK_DOWN);
    ASSERT_TRUE(ApplyEnabled());
    std::vector<int> ledsWhileAsked;
    ui::MessageBoxAnswerer answerer({IDCANCEL}, [&] {
        Report(0x04);
        ledsWhileAsked = DeviceLEDs();
    });
    ui::ActivateDeviceItem(*main, 1);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_NE(OnlyBlinking(2), ledsWhileAsked);
    EXPECT_EQ(0, main->CurrentDevice());
    Settle();
    EXPECT_EQ(IDC_LED_LIST_FIRST + 1, FocusedList());
    // Input from the other panel is not the shown panel's.
    FocusList(IDC_LED_LIST_FIRST + 1);
    EXPECT_EQ(0, fake_vuzoz::DeliverButtons(Type(), 1, 0x02));
    EXPECT_EQ(IDC_LED_LIST_FIRST + 1, FocusedList());
}

TEST_P(PressToFindTest, TestModeIsAsBefore) {
    Start({Type()}, /*testMode*/ true);
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ui::Focus(Page(), IDC_LED_RADIO_FIRST);
    const HWND focus = ::GetFocus();
    Report(0x01);
    Report(0x00);
    Report(0x02);
    EXPECT_EQ(focus, ::GetFocus());
    EXPECT_EQ(main->m_hWnd, ::GetForegroundWindow());
    EXPECT_FALSE(ui::IsEnabled(Page(), IDC_INDICATOR_FIRST + 1));  // the indicator shows the press
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, PressToFindTest,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

}  // namespace
