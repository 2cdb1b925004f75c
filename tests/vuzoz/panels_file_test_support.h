// What the tests of the panels file share: a folder of their own with the panels file and
// the call log, a window that BGInit gets and that records WM_DEVICECHANGE, and the
// plugging and unplugging read back from the call log.
#ifndef TOLLAN_TESTS_VUZOZ_PANELS_FILE_TEST_SUPPORT_H
#define TOLLAN_TESTS_VUZOZ_PANELS_FILE_TEST_SUPPORT_H

#include "vuzoz_test_support.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace vuzoz_test {

// The promise: a change of the file is a plug or unplug within this time.
const DWORD kPlugDeadlineMs = 250;
// For tests that wait for the end of many changes, not for the speed of one.
const DWORD kSettleWaitMs = 5000;

struct DeviceChange {
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};

inline std::vector<DeviceChange>& DeviceChanges()
{
    static std::vector<DeviceChange> changes;
    return changes;
}

inline LRESULT CALLBACK RecordingOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) {
        DeviceChanges().push_back({wParam, lParam, GetCurrentThreadId()});
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Handles this thread's messages for a while, as a message loop would.
inline void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        PumpMessages();
        Sleep(5);
    } while (GetTickCount64() < end);
    PumpMessages();
}

inline std::string ReadWholeFile(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class PanelsFileTest : public SimulatorTest {
protected:
    void SetUp() override
    {
        SimulatorTest::SetUp();
        DeviceChanges().clear();
        wchar_t temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
        static int folders = 0;
        m_folder = std::wstring(temp) + L"vuzoz_panels_" + std::to_wstring(GetCurrentProcessId()) +
            L"_" + std::to_wstring(++folders);
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr)) << GetLastError();
        m_path = m_folder + L"\\panels.txt";
        m_logPath = m_folder + L"\\calls.log";

        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = RecordingOwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"PanelsFileTestOwner";
        (void)RegisterClassExW(&wc);
        m_owner = CreateWindowExW(0, wc.lpszClassName, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  400, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_owner);
        (void)SetForegroundWindow(m_owner);
        PumpFor(30);
    }

    void TearDown() override
    {
        SimulatorTest::TearDown();
        if (m_owner != nullptr)
            (void)DestroyWindow(m_owner);
        PumpMessages();
        // Only what this test made.
        (void)DeleteFileW(m_path.c_str());
        (void)DeleteFileW(m_logPath.c_str());
        (void)RemoveDirectoryW(m_folder.c_str());
    }

    // Replaces the file's content at once, as a program saving it does; waits while the
    // simulator happens to be reading it.
    void WriteList(const std::string& text)
    {
        const ULONGLONG end = GetTickCount64() + 2000;
        for (;;) {
            HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                const BOOL wrote =
                    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
                (void)CloseHandle(file);
                ASSERT_TRUE(wrote);
                ASSERT_EQ(text.size(), written);
                return;
            }
            ASSERT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
            ASSERT_LT(GetTickCount64(), end) << "the panels file stays locked";
            Sleep(1);
        }
    }

    // The panels file opened for writing, as another program holds it; waits while the
    // simulator happens to be reading it.
    HANDLE OpenList(DWORD access, DWORD share, DWORD disposition)
    {
        const ULONGLONG end = GetTickCount64() + 2000;
        for (;;) {
            HANDLE file = CreateFileW(m_path.c_str(), access, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
                GetTickCount64() >= end)
                return file;
            Sleep(1);
        }
    }

    void DeleteList()
    {
        const ULONGLONG end = GetTickCount64() + 2000;
        while (!DeleteFileW(m_path.c_str())) {
            ASSERT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
            ASSERT_LT(GetTickCount64(), end);
            Sleep(1);
        }
    }

    // BGInit with the panels file holding text (the log on, the recording callback in).
    void StartWithFile(const std::string& text)
    {
        WriteList(text);
        SetEnv(L"VUZOZ_PANELS_FILE", m_path.c_str());
        SetEnv(L"VUZOZ_LOG", m_logPath.c_str());
        ASSERT_EQ(BG_OK, BGInit(m_owner));
        ASSERT_EQ(BG_OK, BG_RegisterInputCallback(RecordingCallback));
    }

    // Handles messages until WM_DEVICECHANGE has come once more than before, or the time
    // is over.
    static bool WaitForDeviceChange(DWORD timeoutMs = kPlugDeadlineMs)
    {
        const size_t before = DeviceChanges().size();
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        for (;;) {
            PumpMessages();
            if (DeviceChanges().size() > before)
                return true;
            if (GetTickCount64() >= end)
                return false;
            Sleep(2);
        }
    }

    // BGTerminate, then BGInit again, as a program does on WM_DEVICECHANGE.
    void TakePanelsAfresh()
    {
        ASSERT_EQ(BG_OK, BGTerminate());
        ASSERT_EQ(BG_OK, BGInit(m_owner));
        ASSERT_EQ(BG_OK, BG_RegisterInputCallback(RecordingCallback));
    }

    // What BGGetDevKey gives for each entry of the type array (of up to 1,000).
    static std::vector<std::string> Keys()
    {
        std::vector<std::string> keys;
        const tagBGDevHWType* types = BGGetDevType();
        for (size_t device = 0; types != nullptr && types[device] != BG_HW_NONE && device < 1000;
             ++device) {
            const char* key = nullptr;
            if (BGGetDevKey(static_cast<int>(device), &key) != BG_OK || key == nullptr) {
                keys.push_back("<none>");
                continue;
            }
            keys.push_back(key);
            std::free(const_cast<char*>(key));
        }
        return keys;
    }

    // The plug and unplug lines of the call log, in order.
    std::vector<std::string> PlugLines() const
    {
        std::istringstream log(ReadWholeFile(m_logPath));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(log, line)) {
            if (line.compare(0, 5, "plug ") == 0 || line.compare(0, 7, "unplug ") == 0)
                lines.push_back(line);
        }
        return lines;
    }

    // The keys attached after the log's plugging and unplugging, starting from start;
    // a line that plugs in a panel already there or unplugs one not there fails the test.
    std::set<std::string> ReplayPlugLines(std::set<std::string> attached) const
    {
        for (const std::string& line : PlugLines()) {
            if (line.compare(0, 5, "plug ") == 0) {
                EXPECT_TRUE(attached.insert(line.substr(5)).second) << line;
            } else {
                EXPECT_EQ(1u, attached.erase(line.substr(7))) << line;
            }
        }
        return attached;
    }

    std::wstring m_folder;
    std::wstring m_path;
    std::wstring m_logPath;
    HWND m_owner = nullptr;
};

}  // namespace vuzoz_test

#endif
