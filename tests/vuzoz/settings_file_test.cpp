// VUZoz.ini beside the module of the simulator: the settings without environment
// variables, each of which still overrides its key.
#include "vuzoz_test_support.h"

#include "vuzoz_panel_source.h"
#include "vuzoz_settings.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using vuzoz_test::SetEnv;

class SettingsFile : public vuzoz_test::SimulatorTest {
protected:
    void SetUp() override
    {
        SimulatorTest::SetUp();
        m_iniPath = IniPathBesideTheLibrary();
        ASSERT_FALSE(m_iniPath.empty());
        ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_iniPath.c_str()))
            << "a VUZoz.ini is in the way of the test";
        wchar_t dir[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, dir));
        m_logPath = std::wstring(dir) + L"vuzoz_ini_log_" + std::to_wstring(GetCurrentProcessId()) +
                    L".txt";
        (void)DeleteFileW(m_logPath.c_str());
    }

    void TearDown() override
    {
        SimulatorTest::TearDown();
        (void)DeleteFileW(m_iniPath.c_str());
        (void)DeleteFileW(m_logPath.c_str());
        if (!m_panelsPath.empty())
            (void)DeleteFileW(m_panelsPath.c_str());
    }

    // The folder of the module that holds BGInit: the DLL when there is one, else this program.
    static std::wstring IniPathBesideTheLibrary()
    {
        HMODULE module = GetModuleHandleW(L"VUZoz.dll");
        if (module == nullptr)
            module = GetModuleHandleW(nullptr);
        wchar_t path[MAX_PATH] = L"";
        const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return std::wstring();
        std::wstring folder(path, length);
        return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"VUZoz.ini";
    }

    void WriteIni(const std::string& text)
    {
        std::ofstream file(m_iniPath.c_str(), std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        ASSERT_FALSE(file.fail());
    }

    std::string Narrow(const std::wstring& text) const
    {
        return std::string(text.begin(), text.end());  // test paths are plain ASCII
    }

    std::string LogText() const
    {
        std::ifstream file(m_logPath.c_str(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::wstring m_iniPath;
    std::wstring m_logPath;
    std::wstring m_panelsPath;  // a panels file the test made, if any
};

TEST_F(SettingsFile, LiesBesideTheModuleOfTheSimulator)
{
    EXPECT_EQ(m_iniPath, vuzoz::SettingsFilePath());
}

TEST_F(SettingsFile, GivesThePanelsAndTheLogWithoutEnvironment)
{
    WriteIni("; tried without a shell\r\n[Other]\r\nPanels=2\r\n[Simulator]\r\nPanels = 3, 1\r\nLog=" +
             Narrow(m_logPath) + "\r\n");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{3, 1}), AttachedTypes());
    ASSERT_EQ(BG_OK, BGTerminate());
    EXPECT_EQ("BGInit\nBGGetDevType\nBGTerminate\n", LogText());
}

TEST_F(SettingsFile, NamesThePanelsFileAndARelativeNameLiesBesideIt)
{
    const std::wstring name = L"vuzoz_ini_panels_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    m_panelsPath = m_iniPath.substr(0, m_iniPath.find_last_of(L"\\/") + 1) + name;
    {
        std::ofstream file(m_panelsPath.c_str(), std::ios::binary);
        file << "3:Q1\n";
    }
    WriteIni("[Simulator]\nPanels=1\nPanelsFile=" + Narrow(name) + "\n");
    EXPECT_EQ(m_panelsPath, vuzoz::PanelsFilePath());
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(std::vector<int>{3}, AttachedTypes());
    const char* key = nullptr;
    ASSERT_EQ(BG_OK, BGGetDevKey(0, &key));
    EXPECT_STREQ("Simulated RP Q1", key);
    std::free(const_cast<char*>(key));
    ASSERT_EQ(BG_OK, BGTerminate());

    // An empty variable names no panels file: the Panels key counts.
    SetEnv(L"VUZOZ_PANELS_FILE", L"");
    EXPECT_EQ(L"", vuzoz::PanelsFilePath());
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(std::vector<int>{1}, AttachedTypes());
}

TEST_F(SettingsFile, EnvironmentOverridesEachKey)
{
    WriteIni("[Simulator]\nPanels=3,1\nLog=" + Narrow(m_logPath) + "\nFailInit=1\n");
    SetEnv(L"VUZOZ_PANELS", L"2");
    SetEnv(L"VUZOZ_FAIL_INIT", L"0");
    SetEnv(L"VUZOZ_LOG", L"");  // set, though empty: no log
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{2}), AttachedTypes());
    ASSERT_EQ(BG_OK, BGTerminate());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_logPath.c_str()));

    // An empty variable attaches no panel, whatever the file says.
    SetEnv(L"VUZOZ_PANELS", L"");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(std::vector<int>{}, AttachedTypes());
    ASSERT_EQ(BG_OK, BGTerminate());

    // Without the variables, the file's keys count again.
    vuzoz_test::UnsetEnv(L"VUZOZ_FAIL_INIT");
    vuzoz_test::UnsetEnv(L"VUZOZ_LOG");
    EXPECT_EQ(BG_ERR_INIT_FAILED, BGInit(nullptr));
    EXPECT_EQ("BGInit\n", LogText());
}

TEST_F(SettingsFile, SwitchesTheDemonstrationOnAndMissingKeysKeepTheDefaults)
{
    WriteIni("[Simulator]\nDemo=1\n");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), AttachedTypes());  // one of each
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 1));
    vuzoz_test::PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{BG_REPORT_LED_STATE, 1, BG_LED_SLOW}}),
              vuzoz_test::ReceivedReports());
    ASSERT_EQ(BG_OK, BGTerminate());

    // A switch is on only for exactly 1.
    WriteIni("[Simulator]\nDemo=yes\nFailInit=true\n");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    vuzoz_test::Received().clear();
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 1));
    vuzoz_test::PumpMessages();
    EXPECT_EQ((std::vector<std::vector<unsigned char>>{{BG_REPORT_LED_STATE, 1, BG_LED_OFF}}),
              vuzoz_test::ReceivedReports());
}

}  // namespace
