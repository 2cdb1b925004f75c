// Calls outside a session or outside the attached panels, and the start that fails.
#include "vuzoz_test_support.h"

#include "vuzoz_simulator_control.h"

namespace {

using Lifecycle = vuzoz_test::SimulatorTest;
using vuzoz_test::PumpMessages;
using vuzoz_test::Received;

// Every call of a panel with valid arguments, with its result.
std::vector<tagBGDevResult> EveryPanelCall(int device)
{
    return {BG_SetLEDState(device, 0, BG_LED_ON, 0),
            BG_GetLEDStatus(device, 0),
            BG_GetButtonStatus(device),
            BG_SetBrightness(device, 10),
            BG_GetCurBrightness(device),
            BG_SetBlinkPeriod(device, 1, 2, 3, 4),
            BG_GetCurBlinkPeriod(device),
            VUZozSimulator_PressButtons(device, 1)};
}

void ExpectAllFail(const std::vector<tagBGDevResult>& results)
{
    for (size_t i = 0; i < results.size(); ++i)
        EXPECT_NE(BG_OK, results[i]) << "call " << i;
}

TEST_F(Lifecycle, CallsBeforeInitFailAndAnswerNothing)
{
    EXPECT_NE(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ExpectAllFail(EveryPanelCall(0));
    EXPECT_EQ(nullptr, BGGetDevType());
    EXPECT_NE(BG_OK, BGTerminate());
    PumpMessages();
    EXPECT_TRUE(Received().empty());

    // Nothing of the above reaches the panels once the library runs.
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    PumpMessages();
    EXPECT_TRUE(Received().empty());
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 0));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{1, 0, BG_LED_OFF}, {3, 127}}),
              vuzoz_test::ReceivedReports());
}

TEST_F(Lifecycle, CallsAfterTerminateFailAndAnswerNothing)
{
    StartWith(L"1");
    const std::vector<tagBGDevResult> running = EveryPanelCall(0);
    for (size_t i = 0; i < running.size(); ++i)
        EXPECT_EQ(BG_OK, running[i]) << "call " << i;
    ASSERT_EQ(BG_OK, BGTerminate());

    EXPECT_NE(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ExpectAllFail(EveryPanelCall(0));
    EXPECT_EQ(nullptr, BGGetDevType());
    EXPECT_NE(BG_OK, BGTerminate());
    PumpMessages();
    EXPECT_TRUE(Received().empty());  // also the answers asked for before BGTerminate
}

TEST_F(Lifecycle, CallsForAPanelThatIsNotAttachedFail)
{
    StartWith(L"1,3");
    for (int device : {-1, 2, 1000, 65536})
        ExpectAllFail(EveryPanelCall(device));
    PumpMessages();
    EXPECT_TRUE(Received().empty());
}

TEST_F(Lifecycle, ArgumentsOutsideThePanelFailAndChangeNothing)
{
    StartWith(L"1,3");
    EXPECT_NE(BG_OK, BG_SetLEDState(0, 8, BG_LED_ON, 0));
    EXPECT_NE(BG_OK, BG_SetLEDState(0, -1, BG_LED_ON, 0));
    EXPECT_NE(BG_OK, BG_SetLEDState(1, 5, BG_LED_ON, 0));  // the radio panel has LEDs 0 to 4
    EXPECT_NE(BG_OK, BG_GetLEDStatus(0, 8));
    EXPECT_NE(BG_OK, BG_GetLEDStatus(1, 5));
    EXPECT_NE(BG_OK, BG_SetLEDState(0, 1, 4, 0));
    EXPECT_NE(BG_OK, BG_SetLEDState(0, 1, -1, 0));
    EXPECT_NE(BG_OK, BG_SetBrightness(0, 256));
    EXPECT_NE(BG_OK, BG_SetBrightness(0, -1));
    EXPECT_NE(BG_OK, BG_SetBlinkPeriod(0, 300, 1, 1, 1));
    EXPECT_NE(BG_OK, BG_SetBlinkPeriod(0, 1, 1, 1, -5));
    PumpMessages();
    EXPECT_TRUE(Received().empty());

    EXPECT_EQ(BG_OK, BG_SetLEDState(1, 4, BG_LED_SLOW, 0));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 1));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, 4));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{
                  {1, 1, BG_LED_OFF}, {1, 4, BG_LED_SLOW}, {3, 127}, {4, 12, 12, 25, 25}}),
              vuzoz_test::ReceivedReports());
}

TEST_F(Lifecycle, FailInitSwitchMakesInitFailUntilItIsCleared)
{
    vuzoz_test::SetEnv(L"VUZOZ_FAIL_INIT", L"1");
    EXPECT_NE(BG_OK, BGInit(nullptr));
    EXPECT_EQ(nullptr, BGGetDevType());
    ExpectAllFail(EveryPanelCall(0));
    EXPECT_NE(BG_OK, BGTerminate());

    vuzoz_test::SetEnv(L"VUZOZ_FAIL_INIT", L"0");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), AttachedTypes());
    ASSERT_EQ(BG_OK, BGTerminate());

    vuzoz_test::UnsetEnv(L"VUZOZ_FAIL_INIT");
    EXPECT_EQ(BG_OK, BGInit(nullptr));
}

TEST_F(Lifecycle, SecondInitKeepsTheRunningSession)
{
    StartWith(L"1,2");
    const tagBGDevHWType* types = BGGetDevType();
    ASSERT_EQ(BG_OK, BG_SetBrightness(1, 9));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(1));

    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"3");
    EXPECT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(types, BGGetDevType());
    EXPECT_EQ((std::vector<int>{1, 2}), AttachedTypes());
    PumpMessages();
    ASSERT_EQ(1u, Received().size());
    EXPECT_EQ((std::vector<unsigned char>{3, 9}), Received()[0].bytes);
}

TEST_F(Lifecycle, PanelsStartFreshAtEveryInit)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_SetLEDState(0, 2, BG_LED_ON, 0));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 3));
    ASSERT_EQ(BG_OK, BGTerminate());

    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 2));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{1, 2, BG_LED_OFF}, {3, 127}}),
              vuzoz_test::ReceivedReports());
}

}  // namespace
