// VUZOZ_LOG: one line per library call, name and decimal arguments.
#include "vuzoz_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using vuzoz_test::SetEnv;

class CallLog : public vuzoz_test::SimulatorTest {
protected:
    void SetUp() override
    {
        SimulatorTest::SetUp();
        wchar_t dir[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, dir));
        m_path = std::wstring(dir) + L"vuzoz_call_log_" + std::to_wstring(GetCurrentProcessId()) +
                 L".txt";
        (void)DeleteFileW(m_path.c_str());
    }

    void TearDown() override
    {
        SimulatorTest::TearDown();
        (void)DeleteFileW(m_path.c_str());
    }

    std::string LogText() const
    {
        std::ifstream file(m_path.c_str(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    bool LogExists() const { return GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring m_path;
};

TEST_F(CallLog, WritesEveryCallWithItsArgumentsAsItHappens)
{
    SetEnv(L"VUZOZ_LOG", m_path.c_str());
    SetEnv(L"VUZOZ_PANELS", L"1,3");
    (void)BG_SetBlinkPeriod(0, 25, 12, 25, 12);  // before BGInit: logged, though it fails
    ASSERT_EQ(BG_OK, BGInit(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234))));
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 25 12\nBGInit\n", LogText());  // already on disk

    ASSERT_NE(nullptr, BGGetDevType());
    const char* key = nullptr;
    ASSERT_EQ(BG_OK, BGGetDevKey(1, &key));
    std::free(const_cast<char*>(key));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ASSERT_EQ(BG_OK, BG_SetLEDState(0, 3, 2, 0));
    (void)BG_SetLEDState(-1, 9, 4, 7);
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(1, 4));
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    ASSERT_EQ(BG_OK, BG_SetBrightness(1, 200));
    (void)BG_SetBrightness(0, 300);
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(1));
    ASSERT_EQ(BG_OK, BG_SetBlinkPeriod(1, 40, 10, 50, 5));
    ASSERT_EQ(BG_OK, BG_GetCurBlinkPeriod(1));
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(nullptr));
    ASSERT_EQ(BG_OK, BGTerminate());

    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 25 12\n"
              "BGInit\n"
              "BGGetDevType\n"
              "BGGetDevKey 1\n"
              "BG_RegisterInputCallback 1\n"
              "BG_SetLEDState 0 3 2 0\n"
              "BG_SetLEDState -1 9 4 7\n"
              "BG_GetLEDStatus 1 4\n"
              "BG_GetButtonStatus 0\n"
              "BG_SetBrightness 1 200\n"
              "BG_SetBrightness 0 300\n"
              "BG_GetCurBrightness 1\n"
              "BG_SetBlinkPeriod 1 40 10 50 5\n"
              "BG_GetCurBlinkPeriod 1\n"
              "BG_RegisterInputCallback 0\n"
              "BGTerminate\n",
              LogText());
}

TEST_F(CallLog, AppendsToWhatTheFileHolds)
{
    {
        std::ofstream file(m_path.c_str(), std::ios::binary);
        file << "earlier run\n";
    }
    SetEnv(L"VUZOZ_LOG", m_path.c_str());
    SetEnv(L"VUZOZ_FAIL_INIT", L"1");
    EXPECT_NE(BG_OK, BGInit(nullptr));
    EXPECT_EQ(nullptr, BGGetDevType());
    EXPECT_EQ("earlier run\nBGInit\nBGGetDevType\n", LogText());
}

TEST_F(CallLog, FollowsTheVariableFromCallToCall)
{
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 1));
    EXPECT_FALSE(LogExists());

    SetEnv(L"VUZOZ_LOG", m_path.c_str());
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 2));
    SetEnv(L"VUZOZ_LOG", L"");
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 3));
    EXPECT_EQ("BG_SetBrightness 0 2\n", LogText());
}

TEST_F(CallLog, UnwritableLogIsReportedOnceAndChangesNoResult)
{
    const std::wstring badPath = m_path + L".missing\\dir\\log.txt";
    SetEnv(L"VUZOZ_LOG", badPath.c_str());
    testing::internal::CaptureStderr();
    const tagBGDevResult init = BGInit(nullptr);
    const tagBGDevResult set = BG_SetBrightness(0, 5);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(BG_OK, init);
    EXPECT_EQ(BG_OK, set);
    EXPECT_NE(std::string::npos, message.find("VUZOZ_LOG")) << message;
    EXPECT_EQ(message.find("VUZOZ_LOG"), message.rfind("VUZOZ_LOG")) << message;
}

}  // namespace
