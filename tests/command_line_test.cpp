// The command line decides the mode: "test" (plain, /test, -test; lower case only)
// selects the test pages, anything else leaves configuration mode.
#include "app/app_command_line_info.h"

#include <gtest/gtest.h>

namespace {

CAppCommandLineInfo Parse(const wchar_t* commandLine) {
    CAppCommandLineInfo info;
    AfxParseCommandLine(info, commandLine);
    return info;
}

TEST(CommandLine, NoParametersMeansConfigurationMode) {
    EXPECT_FALSE(Parse(L"Tollan.exe").m_bTest);
    EXPECT_FALSE(Parse(L"\"C:\\Program Files\\Tollan\\Tollan.exe\"").m_bTest);
}

TEST(CommandLine, TestAsWordOrSwitchSelectsTestMode) {
    EXPECT_TRUE(Parse(L"Tollan.exe test").m_bTest);
    EXPECT_TRUE(Parse(L"Tollan.exe /test").m_bTest);
    EXPECT_TRUE(Parse(L"Tollan.exe -test").m_bTest);
}

TEST(CommandLine, TestAnywhereAmongParameters) {
    EXPECT_TRUE(Parse(L"Tollan.exe file.cfg /x test").m_bTest);
    EXPECT_TRUE(Parse(L"Tollan.exe -test other more").m_bTest);
    EXPECT_TRUE(Parse(L"Tollan.exe a b c /test").m_bTest);
}

TEST(CommandLine, OtherSpellingsDoNotSelectTestMode) {
    EXPECT_FALSE(Parse(L"Tollan.exe Test").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe /TEST").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe -Test").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe tests").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe --test").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe testing /t").m_bTest);
}

TEST(CommandLine, QuotedTestCountsAsTheWord) {
    EXPECT_TRUE(Parse(L"Tollan.exe \"test\"").m_bTest);
    EXPECT_FALSE(Parse(L"Tollan.exe \"test mode\"").m_bTest);
}

TEST(CommandLine, TheFrameworkStillSeesTheFileName) {
    CAppCommandLineInfo info = Parse(L"Tollan.exe /test panel.cfg");
    EXPECT_TRUE(info.m_bTest);
    EXPECT_EQ(L"panel.cfg", info.m_strFileName);
}

// Every parameter reaches ParseParam once, switch prefixes removed, the last one marked.
class RecordingCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override {
        params.push_back(pszParam);
        flags.push_back(bFlag != FALSE);
        lasts.push_back(bLast != FALSE);
    }
    std::vector<std::wstring> params;
    std::vector<bool> flags;
    std::vector<bool> lasts;
};

TEST(CommandLine, ParametersReachParseParamWithoutSwitchPrefix) {
    RecordingCommandLineInfo info;
    AfxParseCommandLine(info, L"Tollan.exe /a -b c");
    ASSERT_EQ(3u, info.params.size());
    EXPECT_EQ(L"a", info.params[0]);
    EXPECT_EQ(L"b", info.params[1]);
    EXPECT_EQ(L"c", info.params[2]);
    EXPECT_EQ((std::vector<bool>{true, true, false}), info.flags);
    EXPECT_EQ((std::vector<bool>{false, false, true}), info.lasts);
}

}  // namespace
