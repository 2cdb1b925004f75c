// Tollan.exe /export <file> and /import <file> as whole processes: no window, the exit
// code, the reason on standard error, and the settings in the registry of the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"

#include <string>
#include <vector>

namespace {

const wchar_t kProfileKey[] = L"Software\\Brellow Group\\Settings";

using process_test::CommandRun;

CommandRun RunTollan(const std::wstring& arguments) { return process_test::RunWithoutWindow(arguments); }

void WriteDword(const std::wstring& section, const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    std::wstring path = std::wstring(kProfileKey) + L"\\" + section;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                               &key, nullptr));
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
}

void WriteString(const std::wstring& section, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    std::wstring path = std::wstring(kProfileKey) + L"\\" + section;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                               &key, nullptr));
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

// "dword 0x1002c", "sz 1" or "absent".
std::wstring Describe(const std::wstring& section, const wchar_t* name) {
    std::wstring path = std::wstring(kProfileKey) + L"\\" + section;
    BYTE data[512] = {};
    DWORD size = sizeof(data) - 2;
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return L"absent";
    if (type == REG_DWORD) {
        wchar_t hex[16];
        swprintf(hex, 16, L"0x%lx", *reinterpret_cast<const DWORD*>(data));
        return L"dword " + std::wstring(hex);
    }
    return L"sz " + std::wstring(reinterpret_cast<const wchar_t*>(data));
}

class TransferCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, folder);
        m_file = std::wstring(folder) + L"tollan-transfer-" + std::to_wstring(::GetCurrentProcessId()) + L".reg";
    }
    void TearDown() override { ::DeleteFileW(m_file.c_str()); }

    // The prefix may hold settings of Tollan's own: they are kept aside and put back.
    process_test::CVendorKeyAside m_aside;
    std::wstring m_file;
};

TEST_F(TransferCommandLine, ExportThenImportOnACleanStoreBringsEverythingBack) {
    WriteDword(L"All aircraft\\Simulated B88 0", L"Button3", 0x10187);
    WriteString(L"All aircraft\\Simulated B88 0", L"LEDval3", L"16000");
    WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 44);
    WriteDword(L"Hardware\\Simulated B88 0", L"Type", 1);
    WriteDword(L"Hardware\\Simulated RP 0", L"Slow On", 300);
    WriteDword(L"Hardware\\Simulated RP 0", L"Type", 3);

    CommandRun exported = RunTollan(L"/export \"" + m_file + L"\"");
    EXPECT_EQ(0, exported.exitCode);
    EXPECT_EQ("", exported.error);
    EXPECT_FALSE(exported.showedWindow);

    HANDLE file = ::CreateFileW(m_file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    unsigned char start[4] = {};
    DWORD read = 0;
    ::ReadFile(file, start, 4, &read, nullptr);
    ::CloseHandle(file);
    EXPECT_EQ(0xFF, start[0]);
    EXPECT_EQ(0xFE, start[1]);
    EXPECT_EQ('W', start[2]);

    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
    ASSERT_EQ(L"absent", Describe(L"Hardware\\Simulated B88 0", L"Type"));
    CommandRun imported = RunTollan(L"-IMPORT \"" + m_file + L"\"");
    EXPECT_EQ(0, imported.exitCode);
    EXPECT_EQ("", imported.error);
    EXPECT_FALSE(imported.showedWindow);
    EXPECT_EQ(L"dword 0x10187", Describe(L"All aircraft\\Simulated B88 0", L"Button3"));
    EXPECT_EQ(L"sz 16000", Describe(L"All aircraft\\Simulated B88 0", L"LEDval3"));
    EXPECT_EQ(L"dword 0x2c", Describe(L"Hardware\\Simulated B88 0", L"Brightness"));
    EXPECT_EQ(L"dword 0x12c", Describe(L"Hardware\\Simulated RP 0", L"Slow On"));
    EXPECT_EQ(L"dword 0x3", Describe(L"Hardware\\Simulated RP 0", L"Type"));
}

TEST_F(TransferCommandLine, RefusedFileExitsWithTheReasonOnStandardErrorAndWritesNothing) {
    WriteDword(L"Hardware\\Simulated T88 0", L"Type", 2);
    std::wstring text = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                        L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings\\Hardware\\Simulated T88 0]\r\n"
                        L"\"Type\"=dword:00000001\r\n"
                        L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n";
    HANDLE file = ::CreateFileW(m_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);

    CommandRun run = RunTollan(L"/import \"" + m_file + L"\"");
    EXPECT_EQ(1, run.exitCode);
    EXPECT_NE(std::string::npos, run.error.find("Line 5:")) << run.error;
    EXPECT_FALSE(run.showedWindow);
    EXPECT_EQ(L"dword 0x2", Describe(L"Hardware\\Simulated T88 0", L"Type"));
}

TEST_F(TransferCommandLine, MissingFileNameOrFileIsAnError) {
    CommandRun usage = RunTollan(L"/export");
    EXPECT_EQ(2, usage.exitCode);
    EXPECT_NE(std::string::npos, usage.error.find("/export <file>")) << usage.error;
    EXPECT_FALSE(usage.showedWindow);

    CommandRun missing = RunTollan(L"/import \"" + m_file + L"\"");
    EXPECT_EQ(1, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.error.find("could not be read")) << missing.error;

    CommandRun nothing = RunTollan(L"/export \"" + m_file + L"\"");  // nothing stored
    EXPECT_EQ(1, nothing.exitCode);
    EXPECT_NE(std::string::npos, nothing.error.find("No panel settings")) << nothing.error;
}

}  // namespace
