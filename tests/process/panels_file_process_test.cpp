// Tollan.exe over the simulator with a panels file that the test edits as a user plugs
// panels in and out: the device list follows, also through a storm of changes, a file
// that cannot be read and a file that is deleted, and memory stays flat.
#include "process_support.h"

#include "../support/real_input.h"
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

// The settings a user makes while panels come and go, in the prefix's own registry: what
// was there is put aside for the suite and put back afterwards.
class TollanPanelsFileSettings : public TollanPanelsFile {
protected:
    static constexpr const wchar_t* kVendorKey = L"Software\\Brellow Group";
    static constexpr const wchar_t* kBackupKey = L"Software\\Tollan Panels File Tests Backup";
    static void SetUpTestSuite() {
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
        HKEY vendor = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &vendor) == ERROR_SUCCESS) {
            HKEY backup = nullptr;
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup,
                                  nullptr) == ERROR_SUCCESS) {
                s_backedUp = ::RegCopyTreeW(vendor, nullptr, backup) == ERROR_SUCCESS;
                ::RegCloseKey(backup);
            }
            ::RegCloseKey(vendor);
        }
    }
    static void TearDownTestSuite() {
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        if (s_backedUp) {
            HKEY backup = nullptr;
            HKEY vendor = nullptr;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, kBackupKey, 0, KEY_READ, &backup) == ERROR_SUCCESS &&
                ::RegCreateKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &vendor,
                                  nullptr) == ERROR_SUCCESS)
                (void)::RegCopyTreeW(backup, nullptr, vendor);
            if (backup != nullptr)
                ::RegCloseKey(backup);
            if (vendor != nullptr)
                ::RegCloseKey(vendor);
        }
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kBackupKey);
    }
    void SetUp() override {
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        TollanPanelsFile::SetUp();
    }
    // A pick left unsaved is let go when the window closes: No to the question.
    void TearDown() override {
        if (m_window != nullptr && ::IsWindowEnabled(::GetDlgItem(m_window, IDC_APPLY))) {
            (void)::PostMessageW(m_window, WM_CLOSE, 0, 0);
            if (WaitUntil([this] { return QuestionBox() != nullptr; }, 3000)) {
                ::SetForegroundWindow(QuestionBox());
                (void)real_input::Send(real_input::KeyStroke('N'));
            }
            if (WaitForExit(m_process, 5000) >= 0)
                m_window = nullptr;
        }
        TollanPanelsFile::TearDown();
    }

    // The user clicks the first button list and presses Down: a pick, unsaved.
    void PickInTheFirstButtonList() {
        HWND list = WaitForControl(m_window, IDC_BUTTON_LIST_FIRST);
        ASSERT_NE(list, nullptr);
        ::SetForegroundWindow(m_window);
        ASSERT_TRUE(real_input::Send(real_input::ClickAt(real_input::CentreOf(list))));
        ::Sleep(300);
        ASSERT_TRUE(real_input::Send(real_input::KeyStroke(VK_ESCAPE)));
        ::Sleep(200);
        ASSERT_TRUE(real_input::Send(real_input::KeyStroke(VK_DOWN)));
        ASSERT_TRUE(WaitUntil([this] { return ::IsWindowEnabled(::GetDlgItem(m_window, IDC_APPLY)) != FALSE; }));
    }
    std::wstring FirstButtonListText() const {
        wchar_t text[128] = L"";
        (void)::GetWindowTextW(FindVisibleControl(m_window, IDC_BUTTON_LIST_FIRST), text, 128);
        return text;
    }
    static bool StoredButton0(const wchar_t* key) {
        DWORD value = 0;
        DWORD size = sizeof(value);
        const std::wstring path = std::wstring(L"Software\\Brellow Group\\Settings\\All aircraft\\") + key;
        return ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"Button0", RRF_RT_REG_DWORD, nullptr, &value,
                              &size) == ERROR_SUCCESS;
    }
    HWND QuestionBox() const {
        HWND found = nullptr;
        for (HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD); window != nullptr && found == nullptr;
             window = ::GetWindow(window, GW_HWNDNEXT)) {
            if (::GetWindow(window, GW_OWNER) == m_window && ::IsWindowVisible(window))
                found = window;
        }
        return found;
    }

    static bool s_backedUp;
};

bool TollanPanelsFileSettings::s_backedUp = false;

TEST_F(TollanPanelsFileSettings, ThePanelOnShowPulledOutKeepsItsPickWhichApplySavesAndComesBack) {
    Write(L"1:A7\n2:T1\n");
    m_window = StartTollanWindow(L"", L"", &m_process);
    ASSERT_NE(m_window, nullptr);
    ASSERT_TRUE(WaitUntil([this] { return ListCount() == 2; }));
    PickInTheFirstButtonList();
    const std::wstring picked = FirstButtonListText();

    Write(L"2:T1\n");
    // The toggle switch panel, and the one that went: still on show, its pick with it.
    // The list follows within half a second; the same count either way: wait that long.
    ::Sleep(800);
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(FirstButtonListText(), picked);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_window, IDC_APPLY)));

    ::SetForegroundWindow(m_window);
    ASSERT_TRUE(real_input::Send(real_input::ClickAt(real_input::CentreOf(::GetDlgItem(m_window, IDC_APPLY)))));
    EXPECT_TRUE(WaitUntil([] { return StoredButton0(L"Simulated B88 A7"); }));
    EXPECT_TRUE(WaitUntil([this] { return !::IsWindowEnabled(::GetDlgItem(m_window, IDC_APPLY)); }));

    Write(L"2:T1\n1:A7\n");
    ::Sleep(700);
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(FirstButtonListText(), picked);
}

TEST_F(TollanPanelsFileSettings, APanelThatComesWhileAQuestionIsOpenJoinsTheListAfterIt) {
    Write(L"1:A7\n2:T1\n");
    m_window = StartTollanWindow(L"", L"", &m_process);
    ASSERT_NE(m_window, nullptr);
    ASSERT_TRUE(WaitUntil([this] { return ListCount() == 2; }));
    PickInTheFirstButtonList();

    // Down in the device list asks about the unsaved pick.
    HWND list = DeviceList();
    ::SetForegroundWindow(m_window);
    ASSERT_TRUE(real_input::Send(real_input::ClickAt(real_input::CentreOf(list))));
    ASSERT_TRUE(real_input::Send(real_input::KeyStroke(VK_END)));
    ASSERT_TRUE(WaitUntil([this] { return QuestionBox() != nullptr; }, 3000));

    Write(L"1:A7\n2:T1\n3:R2\n");
    ::Sleep(800);
    EXPECT_EQ(ListCount(), 2) << "the list changed under the question";

    HWND box = QuestionBox();
    ASSERT_NE(box, nullptr);
    ::SetForegroundWindow(box);
    ASSERT_TRUE(real_input::Send(real_input::KeyStroke(VK_ESCAPE)));
    EXPECT_TRUE(WaitUntil([this] { return ListCount() == 3; }, 2000));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_window, IDC_APPLY)));
}

}  // namespace
