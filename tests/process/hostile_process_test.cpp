// Tollan.exe as a whole process on hostile input: panel lists the simulator cannot read,
// a thousand panels, random stored states in the program's own registry place, and what
// a whole session changes in HKEY_CURRENT_USER. The settings the program finds there
// before the tests are kept aside and put back afterwards.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "process_support.h"
#include "resource.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using process_test::TollanPath;

// A control of the main window or of its page, found by its id.
HWND Control(HWND main, int id) { return process_test::WaitForControl(main, id); }

const wchar_t kVendorKey[] = L"Software\\Brellow Group";
const wchar_t kBackupKey[] = L"Software\\Tollan Process Tests Backup";
const wchar_t kProfile[] = L"Software\\Brellow Group\\Settings";

// Every key and value below root\path as sorted lines, values by type, size and a checksum.
void Describe(HKEY root, const std::wstring& path, std::vector<std::wstring>& lines) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        lines.push_back(path + L" unreadable");
        return;
    }
    lines.push_back(path + L"\\");
    std::vector<wchar_t> name(32768);
    std::vector<BYTE> data(1 << 20);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        unsigned sum = 0;
        for (DWORD i = 0; i < size; ++i)
            sum = sum * 31 + data[i];
        lines.push_back(path + L"\\\\" + std::wstring(name.data(), nameLength) + L" " + std::to_wstring(type) + L" " +
                        std::to_wstring(size) + L" " + std::to_wstring(sum));
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(std::wstring(name.data(), nameLength));
    }
    ::RegCloseKey(key);
    for (const std::wstring& subkey : subkeys)
        Describe(root, path.empty() ? subkey : path + L"\\" + subkey, lines);
}

std::set<std::wstring> DescribeAll(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> lines;
    Describe(root, path, lines);
    return std::set<std::wstring>(lines.begin(), lines.end());
}

std::set<std::pair<std::wstring, DWORD>> NamesAndTypes(const std::wstring& path) {
    std::set<std::pair<std::wstring, DWORD>> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = 16384;
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.insert(std::make_pair(std::wstring(name, length), type));
    }
    ::RegCloseKey(key);
    return names;
}

void WriteValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, size_t size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    (void)::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    ::RegCloseKey(key);
}

class TollanHostileProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The settings found here stay aside until the tests are over.
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
        ::SetEnvironmentVariableW(L"VUZOZ_LOG", nullptr);
        ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
        ::SetEnvironmentVariableW(L"VUZOZ_DEMO", nullptr);
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
    }
    void TearDown() override { Stop(); }

    HWND Start(const std::wstring& panels, const std::wstring& arguments = L"") {
        return process_test::StartTollanWindow(panels, arguments, &m_process);
    }

    // The exit code after the close box, or -1.
    int CloseAndWait(HWND window) {
        const int code = process_test::CloseAndWait(window, m_process);
        Stop();
        return code;
    }

    void Stop() { process_test::EndProcess(&m_process); }

    // A command of a control, sent as the control sends it; false when it did not come back.
    static bool Command(HWND target, HWND control, int code) {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(target, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                                     reinterpret_cast<LPARAM>(control), SMTO_BLOCK, 10000, &result) != 0;
    }

    // The user picks item of a list on the page: the list shows it, then closes.
    static bool Pick(HWND main, int id, int item) {
        const HWND list = Control(main, id);
        if (list == nullptr)
            return false;
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        return Command(::GetParent(list), list, CBN_CLOSEUP);
    }

    static bool Apply(HWND main) {
        const HWND apply = Control(main, IDC_APPLY);
        return apply != nullptr && Command(main, apply, BN_CLICKED);
    }

    static bool s_backedUp;
    PROCESS_INFORMATION m_process = {};
};

bool TollanHostileProcess::s_backedUp = false;

TEST_F(TollanHostileProcess, UnreadablePanelListsAndTheLargestPanelListStartAndCloseCleanly) {
    const std::vector<std::wstring> lists = {L"abc", L"1,,2", L"-1", L"4", L"1;2", L"0x1", std::wstring(5000, L'1'),
                                             L"1,2,\x0436"};
    for (const std::wstring& panels : lists) {
        SCOPED_TRACE(std::string(panels.begin(), panels.begin() + std::min<size_t>(panels.size(), 20)));
        HWND window = Start(panels);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(0, CloseAndWait(window));
    }

    // The simulator takes at most 256 panels (a longer list attaches none, as any bad list).
    std::wstring largest;
    for (int i = 0; i < 256; ++i)
        largest += (i == 0 ? L"" : L",") + std::to_wstring(1 + i % 3);
    HWND window = Start(largest);
    ASSERT_NE(nullptr, window);
    const HWND devices = Control(window, IDC_DEVICE_LIST);
    ASSERT_NE(nullptr, devices);
    EXPECT_EQ(256, ::SendMessageW(devices, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_NE(nullptr, Control(window, IDC_LED_LIST_FIRST));
    EXPECT_TRUE(Pick(window, IDC_LED_LIST_FIRST, 1));
    EXPECT_TRUE(Apply(window));
    EXPECT_EQ(0, CloseAndWait(window));
    EXPECT_EQ(6u, NamesAndTypes(std::wstring(kProfile) + L"\\Hardware\\Simulated B88 1").size());
}

// Random stored states for the simulator's first panel of each type, through the program.
TEST_F(TollanHostileProcess, RandomStoredStatesOpenAndApplyTheLayout) {
    const int kStates = 24;
    std::mt19937 dice(0x5EED14u);
    const wchar_t* const kKeys[] = {L"Simulated B88 1", L"Simulated T88 1", L"Simulated RP 1"};
    const wchar_t* const kPanels[] = {L"1", L"2", L"3"};
    const std::vector<std::wstring> hardwareNames = {L"Brightness", L"Slow Off", L"Slow On",
                                                     L"Fast Off",   L"Fast On",  L"Type"};
    int writesBeforeApply = 0;
    for (int state = 0; state < kStates; ++state) {
        SCOPED_TRACE("state " + std::to_string(state));
        const int kind = state % 3;
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        const std::wstring config = std::wstring(kProfile) + L"\\All aircraft\\" + kKeys[kind];
        const std::wstring hardware = std::wstring(kProfile) + L"\\Hardware\\" + kKeys[kind];
        std::vector<std::pair<std::wstring, DWORD>> layout;
        const std::vector<std::wstring> bases =
            kind == 0 ? std::vector<std::wstring>{L"Button", L"LED", L"LEDcomp"}
                      : std::vector<std::wstring>{L"OnButton", L"OffButton", L"ButtonVar", L"LED", L"LEDcomp"};
        for (const std::wstring& base : bases) {
            for (int k = 0; k < 8; ++k)
                layout.push_back(std::make_pair(base + std::to_wstring(k), static_cast<DWORD>(REG_DWORD)));
        }
        for (int k = 0; k < 8; ++k)
            layout.push_back(std::make_pair(L"LEDval" + std::to_wstring(k), static_cast<DWORD>(REG_SZ)));
        const bool sectionAsValue = dice() % 8 == 0;
        if (sectionAsValue) {
            WriteValue(std::wstring(kProfile) + L"\\All aircraft", kKeys[kind], REG_SZ, L"x", 4);
            WriteValue(std::wstring(kProfile) + L"\\Hardware", kKeys[kind], REG_DWORD, "\1\0\0\0", 4);
        } else {
            for (const auto& value : layout) {
                const DWORD numbers[] = {0, 0xFFFFFFFFu, static_cast<DWORD>(dice()), static_cast<DWORD>(dice() % 600)};
                const std::wstring huge(50000, L'9');
                switch (dice() % 6) {
                case 0: break;
                case 1: WriteValue(config, value.first, REG_SZ, huge.c_str(), (huge.size() + 1) * 2); break;
                case 2: WriteValue(config, value.first, REG_BINARY, "\1\2\3", dice() % 4); break;
                default: WriteValue(config, value.first, REG_DWORD, &numbers[dice() % 4], 4); break;
                }
            }
            for (const std::wstring& name : hardwareNames) {
                const DWORD numbers[] = {0, 255, 256, 0xFFFFFFFFu, static_cast<DWORD>(dice())};
                if (dice() % 5 == 0)
                    WriteValue(hardware, name, REG_SZ, L"", 2);
                else if (dice() % 4 != 0)
                    WriteValue(hardware, name, REG_DWORD, &numbers[dice() % 5], 4);
            }
            WriteValue(config, L"Written by another tool", REG_DWORD, "\7\0\0\0", 4);
        }
        const std::set<std::wstring> before = DescribeAll(HKEY_CURRENT_USER, kVendorKey);

        HWND window = Start(kPanels[kind]);
        ASSERT_NE(nullptr, window);
        for (int k = 0; k < 8; ++k) {
            for (int id : {IDC_BUTTON_LIST_FIRST + k, IDC_LED_LIST_FIRST + k}) {
                const HWND list = Control(window, id);
                ASSERT_NE(nullptr, list) << "list " << id;
                const LRESULT item = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
                EXPECT_TRUE(item == CB_ERR || (item >= 0 && item < ::SendMessageW(list, CB_GETCOUNT, 0, 0)))
                    << "list " << id << " item " << item;
            }
        }
        for (int id : {IDC_BRIGHTNESS_VALUE, IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF}) {
            wchar_t text[32] = L"";
            // GetWindowText does not ask another process's control for its text.
            ::SendMessageW(Control(window, id), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
            const std::wstring shown = text;
            ASSERT_TRUE(!shown.empty() && shown.size() <= 3 && shown.find_first_not_of(L"0123456789") == std::wstring::npos)
                << "control " << id << " shows " << testing::PrintToString(shown);
            EXPECT_LE(std::stoi(shown), 255) << "control " << id;
        }
        if (DescribeAll(HKEY_CURRENT_USER, kVendorKey) != before) {
            ++writesBeforeApply;
            ADD_FAILURE() << "the program wrote before Apply";
        }
        ASSERT_TRUE(Pick(window, IDC_LED_LIST_FIRST + 2, 3));
        ASSERT_TRUE(Apply(window));
        EXPECT_EQ(0, CloseAndWait(window));

        std::set<std::pair<std::wstring, DWORD>> expected(layout.begin(), layout.end());
        if (!sectionAsValue)
            expected.insert(std::make_pair(std::wstring(L"Written by another tool"), static_cast<DWORD>(REG_DWORD)));
        EXPECT_EQ(expected, NamesAndTypes(config));
        EXPECT_EQ(6u, NamesAndTypes(hardware).size());
    }
    std::printf("[ figures  ] %d stored states through Tollan.exe, %d written before Apply\n", kStates,
                writesBeforeApply);
}

// The program asks for no more rights than the user who starts it has.
TEST_F(TollanHostileProcess, ManifestAsksToRunAsTheInvoker) {
    HMODULE exe = ::LoadLibraryExW(TollanPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    HRSRC found = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(exe, found)));
    const std::string manifest(text, ::SizeofResource(exe, found));
    ::FreeLibrary(exe);
    EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    EXPECT_EQ(std::string::npos, manifest.find("requireAdministrator"));
    EXPECT_EQ(std::string::npos, manifest.find("highestAvailable"));
}

// A whole session: picks, Apply, close, then the test mode and close. Only the program's
// own key changes in HKEY_CURRENT_USER.
TEST_F(TollanHostileProcess, SessionChangesNothingInTheUserHiveButItsOwnKey) {
    const std::set<std::wstring> before = DescribeAll(HKEY_CURRENT_USER, L"");

    HWND window = Start(L"1,2");
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(Pick(window, IDC_BUTTON_LIST_FIRST, 4));
    ASSERT_TRUE(Pick(window, IDC_LED_LIST_FIRST + 1, 2));
    ASSERT_TRUE(Apply(window));
    EXPECT_EQ(0, CloseAndWait(window));
    window = Start(L"1,2", L"/test");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, CloseAndWait(window));

    const std::set<std::wstring> after = DescribeAll(HKEY_CURRENT_USER, L"");
    std::vector<std::wstring> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    std::vector<std::wstring> elsewhere;
    bool own = false;
    for (const std::wstring& line : changed) {
        if (line.compare(0, std::wcslen(kVendorKey), kVendorKey) == 0)
            own = true;
        else
            elsewhere.push_back(line);
    }
    EXPECT_TRUE(own) << "the session saved nothing";
    EXPECT_TRUE(elsewhere.empty()) << "changed outside the program's key: " << testing::PrintToString(elsewhere);
}

}  // namespace
