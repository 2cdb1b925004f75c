// Tollan.exe over the simulator with a panels file that the test edits as a user plugs
// panels in and out: the device list follows, also through a storm of changes, a file
// that cannot be read and a file that is deleted, and memory stays flat.
#include "process_support.h"

#include "resource.h"

#include <commctrl.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace process_test;

class TollanPanelsFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = L"";
        ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
        m_file = std::wstring(folder) + L"tollan-panels-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
        Write(L"1:A7\n");
        ::SetEnvironmentVariableW(L"VUZOZ_PANELS_FILE", m_file.c_str());
    }
    void TearDown() override {
        if (m_window != nullptr)
            (void)CloseAndWait(m_window, m_process);
        EndProcess(&m_process);
        ::SetEnvironmentVariableW(L"VUZOZ_PANELS_FILE", nullptr);
        (void)::DeleteFileW(m_file.c_str());
    }
    void Write(const std::wstring& text) {
        const std::string bytes(text.begin(), text.end());
        // The simulator may be reading the file this moment: an editor would try again.
        FILE* file = nullptr;
        for (int attempt = 0; attempt < 100 && file == nullptr; ++attempt) {
            file = _wfopen(m_file.c_str(), L"wb");
            if (file == nullptr)
                ::Sleep(10);
        }
        ASSERT_NE(file, nullptr);
        (void)std::fwrite(bytes.data(), 1, bytes.size(), file);
        (void)std::fclose(file);
    }
    void StartTollanOverTheFile() {
        m_window = StartTollanWindow(L"", L"", &m_process);
        ASSERT_NE(m_window, nullptr);
        ASSERT_TRUE(WaitUntil([this] { return ListCount() == 1; }));
    }
    HWND DeviceList() const { return ::GetDlgItem(m_window, IDC_DEVICE_LIST); }
    int ListCount() const { return static_cast<int>(::SendMessageW(DeviceList(), LVM_GETITEMCOUNT, 0, 0)); }
    bool ErrorPageShown() const { return FindVisibleControl(m_window, IDC_BUTTON_LIST_FIRST) == nullptr; }
    SIZE_T CommittedMemory() const {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (!::GetProcessMemoryInfo(m_process.hProcess, &counters, sizeof(counters)))
            return 0;
        return counters.PagefileUsage;
    }

    std::wstring m_file;
    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
};

TEST_F(TollanPanelsFile, PlugInPullOutAllAndPlugIntoAnEmptyTollan) {
    StartTollanOverTheFile();
    ASSERT_NE(WaitForControl(m_window, IDC_BUTTON_LIST_FIRST), nullptr);

    Write(L"2:T1\n1:A7\n");
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 2; }, 2000));
    // The pushbutton panel stays on show: its page did not go.
    EXPECT_NE(FindVisibleControl(m_window, IDC_BUTTON_LIST_FIRST), nullptr);

    Write(L"# nothing attached\n");
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 0 && ErrorPageShown(); }, 2000));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_window, IDC_FAST_ON)));

    Write(L"3:R2\n");
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 1 && !ErrorPageShown(); }, 2000));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_window, IDC_FAST_ON)));
}

TEST_F(TollanPanelsFile, AStormOfChangesAndBrokenFilesEndAsTheLastFileSays) {
    StartTollanOverTheFile();
    for (int i = 0; i < 100; ++i) {
        Write(i % 2 == 0 ? L"1:A7\n2:T1\n" : L"1:A7\n");
        ::Sleep(50);
    }
    Write(L"1:A7\n2:T1\n3:R2\n");
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 3; }, 3000));

    // Not a list: no panel; 200 panels; deleted: those of VUZOZ_PANELS, empty here.
    Write(L"\x01\x02 garbage\n1:\n");
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 0; }, 3000));
    std::wstring many;
    for (int i = 0; i < 200; ++i)
        many += L"1:P" + std::to_wstring(i) + L"\n";
    Write(many);
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 200; }, 5000));
    ASSERT_TRUE(::DeleteFileW(m_file.c_str()));
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 0; }, 3000));
    EXPECT_NE(FindMainWindow(m_process.dwProcessId), nullptr);
}

TEST_F(TollanPanelsFile, MemoryStaysFlatOverAHundredPlugCycles) {
    StartTollanOverTheFile();
    auto cycle = [this] {
        Write(L"1:A7\n2:T1\n3:R2\n");
        ASSERT_TRUE(WaitUntil([this] { return ListCount() == 3; }, 3000));
        Write(L"1:A7\n");
        ASSERT_TRUE(WaitUntil([this] { return ListCount() == 1; }, 3000));
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    const SIZE_T before = CommittedMemory();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 100; ++i)
        cycle();
    const SIZE_T after = CommittedMemory();
    EXPECT_LE(after, before + 1024 * 1024) << "before " << before << ", after " << after;
}

}  // namespace
