// Tollan.exe as a whole process over the panel simulator: what the program sends to the
// panels is read back from the simulator's log (VUZOZ_LOG).
#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using process_test::TollanPath;

class TollanProcess : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, folder);
        m_logPath = std::wstring(folder) + L"tollan-process-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++s_runs) + L".log";
        ::DeleteFileW(m_logPath.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_LOG", m_logPath.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
        ::SetEnvironmentVariableW(L"VUZOZ_DEMO", nullptr);
    }

    void TearDown() override {
        process_test::EndProcess(&m_process);
        ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
        ::DeleteFileW(m_logPath.c_str());
    }

    // Starts Tollan with these panels and arguments and waits for its window.
    HWND Start(const wchar_t* panels, const std::wstring& arguments = L"") {
        return process_test::StartTollanWindow(panels, arguments, &m_process);
    }

    // Closes the window as its close box does; the exit code of the process, or -1.
    int CloseAndWait(HWND window) { return process_test::CloseAndWait(window, m_process); }

    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        FILE* file = _wfopen(m_logPath.c_str(), L"r");
        if (file == nullptr)
            return lines;
        char line[256];
        while (std::fgets(line, sizeof(line), file) != nullptr) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            lines.push_back(text);
        }
        std::fclose(file);
        return lines;
    }

    static int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == line)
                return static_cast<int>(i);
        }
        return -1;
    }

    static int s_runs;
    std::wstring m_logPath;
    PROCESS_INFORMATION m_process = {};
};

int TollanProcess::s_runs = 0;

TEST_F(TollanProcess, ClosingSwitchesOffEveryPanelAndTerminates) {
    HWND window = Start(L"1,1,3");
    ASSERT_NE(nullptr, window);
    wchar_t caption[128] = L"";
    ::GetWindowTextW(window, caption, 128);
    EXPECT_STREQ(L"BG Brellow Config", caption);
    ASSERT_EQ(0, CloseAndWait(window));

    std::vector<std::string> log = Log();
    ASSERT_FALSE(log.empty());
    int init = IndexOf(log, "BGInit");
    ASSERT_GE(init, 0);
    // The start: the callback, the panel list, the first page (its LEDs, its settings), then
    // the first requests, whatever the window painted in between.
    const int registered = IndexOf(log, "BG_RegisterInputCallback 1");
    const int types = IndexOf(log, "BGGetDevType");
    const int pageLeds = IndexOf(log, "BG_SetLEDState 0 0 2 0");
    EXPECT_LT(init, registered);
    EXPECT_LT(registered, types);
    EXPECT_LT(types, IndexOf(log, "BGGetDevKey 0"));
    EXPECT_LT(types, pageLeds);
    EXPECT_LT(pageLeds, IndexOf(log, "BG_GetCurBrightness 0"));
    EXPECT_LT(IndexOf(log, "BG_GetCurBrightness 0"), IndexOf(log, "BG_GetCurBlinkPeriod 0"));
    EXPECT_EQ("BGTerminate", log.back());
    // The last commands before terminating switch off every panel, the radio panel too.
    ASSERT_GE(log.size(), 25u);
    std::vector<std::string> expected;
    for (int device = 0; device < 3; ++device) {
        for (int led = 0; led < 8; ++led)
            expected.push_back("BG_SetLEDState " + std::to_string(device) + " " + std::to_string(led) + " 0 0");
    }
    EXPECT_EQ(expected, std::vector<std::string>(log.end() - 25, log.end() - 1));
}

TEST_F(TollanProcess, TestSwitchAsksThePanelForItsState) {
    HWND window = Start(L"1", L"/test");
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(0, CloseAndWait(window));
    std::vector<std::string> log = Log();
    int previous = IndexOf(log, "BGInit");
    ASSERT_GE(previous, 0);
    for (int led = 0; led < 8; ++led) {
        int request = IndexOf(log, "BG_GetLEDStatus 0 " + std::to_string(led));
        EXPECT_GT(request, previous) << "LED " << led;
        previous = request;
    }
    EXPECT_GT(IndexOf(log, "BG_GetButtonStatus 0"), previous);
    // Test mode neither reads nor writes the settings: only the device list took the key.
    EXPECT_EQ(1, static_cast<int>(std::count(log.begin(), log.end(), std::string("BGGetDevKey 0"))));
}

TEST_F(TollanProcess, RunsWithoutPanels) {
    HWND window = Start(L"");
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(0, CloseAndWait(window));
    std::vector<std::string> log = Log();
    EXPECT_GE(IndexOf(log, "BGInit"), 0);
    EXPECT_EQ(-1, IndexOf(log, "BGGetDevKey 0"));
    EXPECT_EQ("BGTerminate", log.back());
}

TEST_F(TollanProcess, RunsWithAFailingLibrary) {
    ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", L"1");
    HWND window = Start(L"1,2");
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(0, CloseAndWait(window));
    std::vector<std::string> log = Log();
    EXPECT_EQ(-1, IndexOf(log, "BGGetDevType"));
    EXPECT_EQ("BGTerminate", log.back());
}

}  // namespace
