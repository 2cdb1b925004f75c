// Apply cut short: Tollan.exe ended at many points of a save, then started again from the
// command line. The panel's two sections hold what they held before Apply or everything
// Apply wrote, never a part of it, and no record of the save is left.
#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t kConfigSection[] = L"Software\\Brellow Group\\Settings\\All aircraft\\Simulated B88 1";
const wchar_t kHardwareSection[] = L"Software\\Brellow Group\\Settings\\Hardware\\Simulated B88 1";
const wchar_t kRecordFolder[] = L"Software\\Brellow Group\\Tollan";
const wchar_t kBackup[] = L"Software\\Tollan Interrupted Save Backup";

// Every value of a key as "name type bytes" lines in the registry's order; "absent".
std::wstring Describe(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"absent";
    std::wstring text;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = L"";
        DWORD length = 256;
        BYTE data[1024] = {};
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        text += name + std::wstring(L" ") + std::to_wstring(type) + L" ";
        for (DWORD i = 0; i < size; ++i) {
            wchar_t hex[4] = L"";
            std::swprintf(hex, 4, L"%02x", data[i]);
            text += hex;
        }
        text += L"\n";
    }
    ::RegCloseKey(key);
    return text;
}

bool Exists(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// Moves a key (and what is below it) to or from the backup.
void Move(const wchar_t* from, const wchar_t* to) {
    (void)::RegDeleteTreeW(HKEY_CURRENT_USER, to);
    HKEY source = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS)
        return;
    HKEY target = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
        ERROR_SUCCESS) {
        if (::RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS) {
            ::RegCloseKey(source);
            source = nullptr;
            (void)::RegDeleteTreeW(HKEY_CURRENT_USER, from);
        }
        ::RegCloseKey(target);
    }
    if (source != nullptr)
        ::RegCloseKey(source);
}

class TollanInterruptedSave : public ::testing::Test {
protected:
    // The panel's sections and any record are the test's own while it runs.
    static void SetUpTestSuite() {
        Move(kConfigSection, (std::wstring(kBackup) + L"\\Config").c_str());
        Move(kHardwareSection, (std::wstring(kBackup) + L"\\Hardware").c_str());
    }
    static void TearDownTestSuite() {
        Clean();
        Move((std::wstring(kBackup) + L"\\Config").c_str(), kConfigSection);
        Move((std::wstring(kBackup) + L"\\Hardware").c_str(), kHardwareSection);
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kBackup);
    }
    static void Clean() {
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kConfigSection);
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kHardwareSection);
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kRecordFolder);
    }
    void TearDown() override { Stop(); }

    // Starts Tollan.exe over one simulated pushbutton panel and waits for its last list.
    HWND Start() {
        // Nothing another test left in the environment changes the simulator.
        for (const wchar_t* name : {L"VUZOZ_LOG", L"VUZOZ_FAIL_INIT", L"VUZOZ_DEMO", L"VUZOZ_VIRTUAL"})
            ::SetEnvironmentVariableW(name, nullptr);
        HWND main = process_test::StartTollanWindow(L"1", L"", &m_process);
        if (main == nullptr)
            return nullptr;
        EXPECT_NE(nullptr, process_test::WaitForControl(main, IDC_LED_LIST_FIRST + 7, 15000)) << "no page";
        return main;
    }

    void Stop() { process_test::EndProcess(&m_process); }

    // The user picks a row in the last LED list: Apply becomes available.
    static bool Pick(HWND main) {
        const HWND list = process_test::FindVisibleControl(main, IDC_LED_LIST_FIRST + 7);
        if (list == nullptr)
            return false;
        ::SendMessageW(list, CB_SETCURSEL, 5, 0);
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(::GetParent(list), WM_COMMAND,
                                     MAKEWPARAM(IDC_LED_LIST_FIRST + 7, CBN_CLOSEUP),
                                     reinterpret_cast<LPARAM>(list), SMTO_BLOCK, 10000, &result) != 0;
    }

    static void ClickApply(HWND main) {
        const HWND apply = process_test::FindVisibleControl(main, IDC_APPLY);
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    }

    // Tollan.exe from the command line, as a start after a crash: it finishes a save first.
    static void StartAgainFromTheCommandLine() {
        wchar_t temp[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, temp);
        const std::wstring file = std::wstring(temp) + L"tollan-interrupted-save.reg";
        process_test::StartOptions options;
        options.arguments = L"/export \"" + file + L"\"";
        // What it says (nothing stored, when the save was dropped) is not the test's output.
        options.quiet = true;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(process_test::StartProcess(options, &process));
        EXPECT_NE(-1, process_test::WaitForExit(process));
        process_test::EndProcess(&process);
        (void)::DeleteFileW(file.c_str());
    }

    PROCESS_INFORMATION m_process = {};
};

TEST_F(TollanInterruptedSave, EndedAtAnyPointOfASaveTheNextStartLeavesAllOrNothing) {
    // Apply as it goes when nothing stops it: what every try must end with if it got that far.
    Clean();
    HWND window = Start();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(Pick(window));
    ClickApply(window);
    ASSERT_TRUE(process_test::WaitUntil([] { return Describe(kHardwareSection) != L"absent"; }));
    ::Sleep(200);
    Stop();
    const std::wstring savedConfig = Describe(kConfigSection);
    const std::wstring savedHardware = Describe(kHardwareSection);
    ASSERT_NE(L"absent", savedConfig);
    ASSERT_FALSE(Exists(kRecordFolder)) << "a save that ended left its record";

    int nothing = 0;
    int everything = 0;
    int cutShort = 0;  // ended with a record or a part of the sections written
    const int kTries = 24;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        SCOPED_TRACE("ended " + std::to_string(attempt) + " ms after Apply");
        Clean();
        window = Start();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(Pick(window));
        ClickApply(window);
        ::Sleep(static_cast<DWORD>(attempt));
        Stop();  // ended at once, as a crash ends it
        const std::wstring config = Describe(kConfigSection);
        const std::wstring hardware = Describe(kHardwareSection);
        const bool whole = config == savedConfig && hardware == savedHardware;
        const bool none = config == L"absent" && hardware == L"absent";
        if (Exists(kRecordFolder) || (!whole && !none))
            ++cutShort;

        StartAgainFromTheCommandLine();
        const std::wstring configAfter = Describe(kConfigSection);
        const std::wstring hardwareAfter = Describe(kHardwareSection);
        if (configAfter == savedConfig && hardwareAfter == savedHardware)
            ++everything;
        else if (configAfter == L"absent" && hardwareAfter == L"absent")
            ++nothing;
        else
            ADD_FAILURE() << "a part of the save is stored";
        EXPECT_FALSE(Exists(kRecordFolder)) << "the record of the save is left";
    }
    std::printf("[ figures  ] %d saves ended: %d cut short, then %d whole and %d not at all\n", kTries, cutShort,
                everything, nothing);
    Clean();
}

}  // namespace
