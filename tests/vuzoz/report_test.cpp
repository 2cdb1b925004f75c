// The packets the simulator sends: their kinds, byte layouts and what they report.
#include "vuzoz_test_support.h"

#include "vuzoz_simulator_control.h"

namespace {

using Reports = vuzoz_test::SimulatorTest;
using vuzoz_test::PumpMessages;
using vuzoz_test::Received;

TEST_F(Reports, LedStateReportCarriesLedAndState)
{
    StartWith(L"2,1");
    ASSERT_EQ(BG_OK, BG_SetLEDState(1, 3, BG_LED_FAST, 0));
    ASSERT_EQ(BG_OK, BG_SetLEDState(1, 7, BG_LED_ON, 0));
    ASSERT_EQ(BG_OK, BG_SetLEDState(1, 7, BG_LED_SLOW, 0));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, 3));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, 7));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 3));
    PumpMessages();
    ASSERT_EQ(3u, Received().size());
    EXPECT_EQ(BG_HW_PUSHBUTTON_8X8, Received()[0].type);
    EXPECT_EQ(1, Received()[0].device);
    EXPECT_EQ(BG_PACKET_REPORT, Received()[0].kind);
    EXPECT_EQ((std::vector<unsigned char>{1, 3, BG_LED_FAST}), Received()[0].bytes);
    EXPECT_EQ((std::vector<unsigned char>{1, 7, BG_LED_SLOW}), Received()[1].bytes);
    EXPECT_EQ(BG_HW_TOGGLE_8X8, Received()[2].type);
    EXPECT_EQ(0, Received()[2].device);
    EXPECT_EQ((std::vector<unsigned char>{1, 3, BG_LED_OFF}), Received()[2].bytes);
}

TEST_F(Reports, ButtonChangesArriveAsPacketValueAndButtonReportAsMask)
{
    StartWith(L"1,3");
    ASSERT_EQ(BG_OK, VUZozSimulator_PressButtons(0, 0xA5));
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    ASSERT_EQ(BG_OK, VUZozSimulator_PressButtons(1, 0xFF));  // the radio panel has 4 buttons
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(1));
    PumpMessages();
    ASSERT_EQ(4u, Received().size());
    EXPECT_EQ(BG_PACKET_BUTTONS, Received()[0].kind);
    EXPECT_EQ(0xA5u, Received()[0].value);
    EXPECT_EQ(BG_HW_PUSHBUTTON_8X8, Received()[0].type);
    EXPECT_EQ((std::vector<unsigned char>{2, 0xA5}), Received()[1].bytes);
    EXPECT_EQ(BG_PACKET_BUTTONS, Received()[2].kind);
    EXPECT_EQ(0x0Fu, Received()[2].value);
    EXPECT_EQ(BG_HW_RADIO, Received()[2].type);
    EXPECT_EQ(1, Received()[2].device);
    EXPECT_EQ((std::vector<unsigned char>{2, 0x0F}), Received()[3].bytes);
}

TEST_F(Reports, BrightnessReportCarriesTheLevelLastSet)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 255));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 0));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{3, 127}, {3, 255}, {3, 0}}),
              vuzoz_test::ReceivedReports());
}

TEST_F(Reports, BlinkReportListsFastBeforeSlowWhileTheSetCallTakesOnTimesFirst)
{
    StartWith(L"3");
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    // slow on 40, fast on 10, slow off 50, fast off 5
    ASSERT_EQ(BG_OK, BG_SetBlinkPeriod(0, 40, 10, 50, 5));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    ASSERT_EQ(BG_OK, BG_SetBlinkPeriod(0, 255, 0, 1, 254));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    PumpMessages();
    // fast on, fast off, slow on, slow off
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{
                  {4, 12, 12, 25, 25}, {4, 10, 5, 40, 50}, {4, 0, 254, 255, 1}}),
              vuzoz_test::ReceivedReports());
    EXPECT_EQ(BG_HW_RADIO, Received()[0].type);
}

TEST_F(Reports, SettingAnLedSendsNothingUnasked)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_SetLEDState(0, 0, BG_LED_ON, 0));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 1));
    ASSERT_EQ(BG_OK, BG_SetBlinkPeriod(0, 1, 2, 3, 4));
    PumpMessages();
    EXPECT_TRUE(Received().empty());
}

TEST_F(Reports, DemoPressesButtonsOnATimer)
{
    vuzoz_test::SetEnv(L"VUZOZ_DEMO", L"1");
    StartWith(L"1");
    // Wait for the first press; the limit only keeps a broken timer from hanging the run.
    const ULONGLONG giveUpAt = GetTickCount64() + 30000;
    while (Received().empty() && GetTickCount64() < giveUpAt) {
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        PumpMessages();
    }
    ASSERT_FALSE(Received().empty());
    const vuzoz_test::ReceivedPacket press = Received().back();
    EXPECT_EQ(BG_PACKET_BUTTONS, press.kind);
    EXPECT_NE(0u, press.value);

    // The panel now reports the buttons as the last press left them.
    Received().clear();
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    PumpMessages();
    ASSERT_FALSE(Received().empty());
    EXPECT_EQ((std::vector<unsigned char>{2, static_cast<unsigned char>(press.value)}),
              Received().front().bytes);
}

}  // namespace
