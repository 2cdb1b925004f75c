// How answers reach the input callback: only through the message loop of the thread that
// called BGInit, to the callback registered when they are delivered.
#include "vuzoz_test_support.h"

#include "vuzoz_simulator_control.h"

#include <thread>

namespace {

using AnswerDelivery = vuzoz_test::SimulatorTest;
using vuzoz_test::PumpMessages;
using vuzoz_test::Received;

TEST_F(AnswerDelivery, ArriveOnlyWhenTheMessagesAreHandled)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    EXPECT_TRUE(Received().empty());  // not from inside the request

    PumpMessages();
    ASSERT_EQ(2u, Received().size());
    EXPECT_EQ(BG_REPORT_BRIGHTNESS, Received()[0].bytes[0]);
    EXPECT_EQ(BG_REPORT_BLINK, Received()[1].bytes[0]);
    EXPECT_EQ(GetCurrentThreadId(), Received()[0].thread);

    PumpMessages();
    EXPECT_EQ(2u, Received().size());  // each answer once
}

TEST_F(AnswerDelivery, RequestsMadeBeforeAnyCallbackAreAnsweredOnceOneIsRegistered)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, 4));
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(1));
    PumpMessages();  // as a page might while it is being made
    EXPECT_TRUE(Received().empty());

    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(1));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{1, 4, 0}, {2, 0}, {3, 127}}),
              vuzoz_test::ReceivedReports());
}

TEST_F(AnswerDelivery, GoToTheCallbackRegisteredAtDelivery)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::OtherRecordingCallback));
    PumpMessages();
    ASSERT_EQ(1u, Received().size());
    EXPECT_EQ(2, Received()[0].receiver);

    // Unregistered: answers wait for the next callback instead of being lost.
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(nullptr));
    PumpMessages();
    EXPECT_EQ(1u, Received().size());
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    PumpMessages();
    ASSERT_EQ(2u, Received().size());
    EXPECT_EQ(1, Received()[1].receiver);
    EXPECT_EQ(BG_REPORT_BUTTONS, Received()[1].bytes[0]);
}

TEST_F(AnswerDelivery, RequestsFromAnotherThreadAreAnsweredOnTheInitThread)
{
    StartWith(L"1,2");
    tagBGDevResult fromWorker = BG_ERR_NOT_READY;
    size_t seenByWorker = 99;
    std::thread worker([&] {
        fromWorker = BG_GetCurBrightness(1);
        PumpMessages();  // the worker's own messages: none of the answers
        seenByWorker = Received().size();
    });
    worker.join();
    EXPECT_EQ(BG_OK, fromWorker);
    EXPECT_EQ(0u, seenByWorker);
    EXPECT_TRUE(Received().empty());

    PumpMessages();
    ASSERT_EQ(1u, Received().size());
    EXPECT_EQ(GetCurrentThreadId(), Received()[0].thread);
    EXPECT_EQ(1, Received()[0].device);
}

TEST_F(AnswerDelivery, ComeInTheOrderOfTheRequests)
{
    StartWith(L"1,1");
    ASSERT_EQ(BG_OK, BG_SetLEDState(1, 6, BG_LED_FAST, 0));
    for (int led = 0; led < 8; ++led)
        ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, led));
    ASSERT_EQ(BG_OK, VUZozSimulator_PressButtons(0, 0x81));
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    PumpMessages();
    ASSERT_EQ(10u, Received().size());
    for (int led = 0; led < 8; ++led) {
        const unsigned char state = led == 6 ? BG_LED_FAST : BG_LED_OFF;
        EXPECT_EQ((std::vector<unsigned char>{1, static_cast<unsigned char>(led), state}),
                  Received()[led].bytes);
    }
    EXPECT_EQ(BG_PACKET_BUTTONS, Received()[8].kind);
    EXPECT_EQ((std::vector<unsigned char>{2, 0x81}), Received()[9].bytes);
}

TEST_F(AnswerDelivery, TerminateDropsAnswersNotYetDelivered)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BGTerminate());
    StartWith(L"1");
    PumpMessages();
    EXPECT_TRUE(Received().empty());

    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    PumpMessages();
    ASSERT_EQ(1u, Received().size());
    EXPECT_EQ(BG_REPORT_BLINK, Received()[0].bytes[0]);
}

TEST_F(AnswerDelivery, TerminateFromAnotherThreadLeavesNoStrayAnswers)
{
    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    tagBGDevResult fromWorker = BG_ERR_NOT_READY;
    std::thread worker([&] { fromWorker = BGTerminate(); });
    worker.join();
    EXPECT_EQ(BG_OK, fromWorker);
    EXPECT_EQ(nullptr, BGGetDevType());

    StartWith(L"1");
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{4, 12, 12, 25, 25}}),
              vuzoz_test::ReceivedReports());
}

int TerminatingCallback(tagBGDevHWType type, unsigned short device, unsigned short kind,
                        void* data)
{
    vuzoz_test::RecordingCallback(type, device, kind, data);
    (void)BGTerminate();
    return 1;
}

TEST_F(AnswerDelivery, CallbackMayShutTheLibraryDownWhileAnswersWait)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(TerminatingCallback));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(0));
    PumpMessages();
    ASSERT_EQ(1u, Received().size());
    EXPECT_EQ(nullptr, BGGetDevType());
    EXPECT_EQ(BG_OK, BGInit(nullptr));  // and the library starts again cleanly
}

int AskingAgainCallback(tagBGDevHWType type, unsigned short device, unsigned short kind,
                        void* data)
{
    vuzoz_test::RecordingCallback(type, device, kind, data);
    if (Received().size() < 5)
        (void)BG_GetCurBrightness(device);
    return 1;
}

TEST_F(AnswerDelivery, CallbackMayAskAgainFromInsideTheCallback)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(AskingAgainCallback));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    PumpMessages();
    EXPECT_EQ(5u, Received().size());
}

}  // namespace
