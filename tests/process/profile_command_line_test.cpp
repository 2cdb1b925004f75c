// Tollan.exe /save-profile <name>, /profile <name> and /profiles as whole processes: no
// window, the exit codes of /import, the list on standard output, reasons on standard error,
// the settings in the registry of the prefix and the files in a profiles folder of the test's
// own (APPDATA of the process).
#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"

#include <string>

namespace {

using process_test::CommandRun;
using process_test::RunWithoutWindow;

const wchar_t kProfileKey[] = L"Software\\Brellow Group\\Settings";

void WriteDword(const std::wstring& section, const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    std::wstring path = std::wstring(kProfileKey) + L"\\" + section;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                               &key, nullptr));
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
}

DWORD ReadDword(const std::wstring& section, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    std::wstring path = std::wstring(kProfileKey) + L"\\" + section;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

std::wstring ActiveProfile() {
    wchar_t name[256] = L"";
    DWORD size = sizeof(name);
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brellow Group\\Tollan", L"Profile", RRF_RT_REG_SZ, nullptr, name,
                       &size) != ERROR_SUCCESS)
        return L"(none)";
    return name;
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

class ProfileCommandLine : public ::testing::Test {
protected:
    // The profiles live in a folder of the test's own: the processes inherit APPDATA.
    void SetUp() override {
        wchar_t temp[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, temp);
        m_appData = std::wstring(temp) + L"tollan-profiles-" + std::to_wstring(::GetCurrentProcessId());
        DeleteTree(m_appData);
        ASSERT_TRUE(::CreateDirectoryW(m_appData.c_str(), nullptr));
        wchar_t previous[MAX_PATH] = L"";
        m_hadAppData = ::GetEnvironmentVariableW(L"APPDATA", previous, MAX_PATH) > 0;
        m_previousAppData = previous;
        ::SetEnvironmentVariableW(L"APPDATA", m_appData.c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"APPDATA", m_hadAppData ? m_previousAppData.c_str() : nullptr);
        DeleteTree(m_appData);
    }

    std::wstring ProfileFile(const std::wstring& name) const { return m_appData + L"\\Tollan\\Profiles\\" + name + L".reg"; }

    process_test::CVendorKeyAside m_aside;
    std::wstring m_appData;
    std::wstring m_previousAppData;
    bool m_hadAppData = false;
};

TEST_F(ProfileCommandLine, SaveSwitchAndListWithoutAWindow) {
    WriteDword(L"All aircraft\\Simulated B88 0", L"Button3", 0x10187);
    WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 44);
    WriteDword(L"Hardware\\Simulated B88 0", L"Type", 1);

    CommandRun saved = RunWithoutWindow(L"/save-profile \"Ночной полёт\"");
    EXPECT_EQ(0, saved.exitCode);
    EXPECT_EQ("", saved.error);
    EXPECT_FALSE(saved.showedWindow);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(ProfileFile(L"Ночной полёт").c_str()));
    EXPECT_EQ(L"Ночной полёт", ActiveProfile());

    WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 200);
    EXPECT_EQ(0, RunWithoutWindow(L"-SAVE-PROFILE Day").exitCode);

    CommandRun listed = RunWithoutWindow(L"/profiles");
    EXPECT_EQ(0, listed.exitCode);
    EXPECT_EQ("* Day\r\n  " + Utf8(L"Ночной полёт") + "\r\n", listed.output);
    EXPECT_EQ("", listed.error);
    EXPECT_FALSE(listed.showedWindow);

    CommandRun switched = RunWithoutWindow(L"/profile \"Ночной полёт\"");
    EXPECT_EQ(0, switched.exitCode);
    EXPECT_EQ("", switched.error);
    EXPECT_FALSE(switched.showedWindow);
    EXPECT_EQ(44u, ReadDword(L"Hardware\\Simulated B88 0", L"Brightness"));
    EXPECT_EQ(0x10187u, ReadDword(L"All aircraft\\Simulated B88 0", L"Button3"));
    EXPECT_EQ("  Day\r\n* " + Utf8(L"Ночной полёт") + "\r\n", RunWithoutWindow(L"/profiles").output);

    // Changed since the switch: the script's switch updates the active profile first.
    WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 55);
    EXPECT_EQ(0, RunWithoutWindow(L"/profile Day").exitCode);
    EXPECT_EQ(200u, ReadDword(L"Hardware\\Simulated B88 0", L"Brightness"));
    EXPECT_EQ(0, RunWithoutWindow(L"/profile \"Ночной полёт\"").exitCode);
    EXPECT_EQ(55u, ReadDword(L"Hardware\\Simulated B88 0", L"Brightness"));
}

TEST_F(ProfileCommandLine, FailuresExitWithTheirCodesAndChangeNothing) {
    WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 44);
    WriteDword(L"Hardware\\Simulated B88 0", L"Type", 1);
    ASSERT_EQ(0, RunWithoutWindow(L"/save-profile A").exitCode);

    CommandRun usage = RunWithoutWindow(L"/profile");
    EXPECT_EQ(2, usage.exitCode);
    EXPECT_NE(std::string::npos, usage.error.find("/profile <name>")) << usage.error;
    EXPECT_EQ(2, RunWithoutWindow(L"/save-profile").exitCode);

    CommandRun unknown = RunWithoutWindow(L"/profile Nowhere");
    EXPECT_EQ(1, unknown.exitCode);
    EXPECT_NE(std::string::npos, unknown.error.find("There is no profile \"Nowhere\"")) << unknown.error;
    EXPECT_FALSE(unknown.showedWindow);

    CommandRun reserved = RunWithoutWindow(L"/save-profile LPT1");
    EXPECT_EQ(1, reserved.exitCode);
    EXPECT_NE(std::string::npos, reserved.error.find("\"LPT1\" is a name Windows keeps for a device")) << reserved.error;
    CommandRun trailing = RunWithoutWindow(L"/save-profile \"Night.\"");
    EXPECT_EQ(1, trailing.exitCode);
    EXPECT_NE(std::string::npos, trailing.error.find("cannot end with a dot")) << trailing.error;

    // A damaged profile is refused with its line, as /import refuses the file.
    HANDLE file = ::CreateFileW(ProfileFile(L"Bad").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const char text[] = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n";
    DWORD written = 0;
    ::WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    ::CloseHandle(file);
    CommandRun bad = RunWithoutWindow(L"/profile Bad");
    EXPECT_EQ(1, bad.exitCode);
    EXPECT_NE(std::string::npos, bad.error.find("Line 3:")) << bad.error;
    EXPECT_EQ(44u, ReadDword(L"Hardware\\Simulated B88 0", L"Brightness"));
    EXPECT_EQ(L"A", ActiveProfile());
    EXPECT_EQ(1, RunWithoutWindow(L"/import \"" + ProfileFile(L"Bad") + L"\"").exitCode);

    // The active profile's file deleted behind Tollan's back is listed as missing.
    ASSERT_TRUE(::DeleteFileW(ProfileFile(L"A").c_str()));
    ::DeleteFileW(ProfileFile(L"Bad").c_str());
    CommandRun listed = RunWithoutWindow(L"/profiles");
    EXPECT_EQ(0, listed.exitCode);
    EXPECT_EQ("* A (missing)\r\n", listed.output);
}

}  // namespace
