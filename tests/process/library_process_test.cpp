// Tollan.exe copied into a folder of its own, as an installation holds it: without a
// VUZoz.dll beside it, or with one that lacks a function, it still starts and its error
// page says what is wrong; a VUZoz.dll in the current directory or on PATH is not used.
#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"

#include <cstdio>
#include <string>

namespace {

using process_test::FolderOf;
using process_test::WinePath;

// Gathers the texts of the static controls (WM_GETTEXT crosses processes).
BOOL CALLBACK CollectStaticText(HWND window, LPARAM lParam) {
    wchar_t className[32] = L"";
    ::GetClassNameW(window, className, 32);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[1024] = L"";
        ::GetWindowTextW(window, text, 1024);
        reinterpret_cast<std::wstring*>(lParam)->append(text).append(L"\n");
    }
    return TRUE;
}

class TollanInstalledAlone : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = L"";
        ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
        std::wstring id = std::to_wstring(::GetCurrentProcessId());
        m_folder = std::wstring(temp) + L"tollan-alone-" + id;
        m_elsewhere = std::wstring(temp) + L"tollan-elsewhere-" + id;
        m_log = std::wstring(temp) + L"tollan-alone-" + id + L".log";
        ASSERT_TRUE(::CreateDirectoryW(m_folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(::CreateDirectoryW(m_elsewhere.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(::CopyFileW(WinePath(L"TOLLAN_EXE").c_str(), (m_folder + L"\\Tollan.exe").c_str(), FALSE));
        // The simulator where a planted DLL would be: the current directory and PATH.
        std::wstring simulator = FolderOf(WinePath(L"TOLLAN_EXE")) + L"\\VUZoz.dll";
        ASSERT_TRUE(::CopyFileW(simulator.c_str(), (m_elsewhere + L"\\VUZoz.dll").c_str(), FALSE));
        ::DeleteFileW(m_log.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_LOG", m_log.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_PANELS", L"1");
    }

    void TearDown() override {
        process_test::EndProcess(&m_process);
        for (const std::wstring& folder : {m_folder, m_elsewhere}) {
            ::DeleteFileW((folder + L"\\Tollan.exe").c_str());
            ::DeleteFileW((folder + L"\\VUZoz.dll").c_str());
            ::RemoveDirectoryW(folder.c_str());
        }
        ::DeleteFileW(m_log.c_str());
    }

    // Starts the copy with the current directory and PATH holding the simulator; the
    // texts of its error page.
    std::wstring StartAndReadPage() {
        std::wstring path(32767, L'\0');
        path.resize(::GetEnvironmentVariableW(L"PATH", &path[0], 32767));
        ::SetEnvironmentVariableW(L"PATH", (m_elsewhere + L";" + path).c_str());
        process_test::StartOptions options;
        options.program = m_folder + L"\\Tollan.exe";
        options.folder = m_elsewhere;
        const bool started = process_test::StartProcess(options, &m_process);
        ::SetEnvironmentVariableW(L"PATH", path.c_str());
        if (!started)
            return L"";
        const DWORD id = m_process.dwProcessId;
        (void)process_test::WaitUntil([this, id] { return (m_window = process_test::FindMainWindow(id)) != nullptr; },
                                      30000);
        if (m_window == nullptr) {
            ADD_FAILURE() << "Tollan's window did not appear";
            return L"";
        }
        std::wstring texts;
        for (int tries = 0; tries < 50 && texts.find(L"VUZoz.dll") == std::wstring::npos; ++tries) {
            texts.clear();
            ::EnumChildWindows(m_window, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
            if (texts.find(L"VUZoz.dll") == std::wstring::npos)
                ::Sleep(100);
        }
        return texts;
    }

    int CloseWithOk() {
        // OK, as the button sends it.
        ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return process_test::WaitForExit(m_process);
    }

    bool LogWritten() const { return ::GetFileAttributesW(m_log.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring m_folder;
    std::wstring m_elsewhere;
    std::wstring m_log;
    HWND m_window = nullptr;
    PROCESS_INFORMATION m_process = {};
};

TEST_F(TollanInstalledAlone, WithoutTheLibraryItSaysWhereItLookedAndClosesWithOk) {
    std::wstring texts = StartAndReadPage();
    EXPECT_NE(std::wstring::npos, texts.find(L"VUZoz.dll")) << texts;
    EXPECT_NE(std::wstring::npos, texts.find(m_folder)) << texts;
    EXPECT_EQ(0, CloseWithOk());
    // The simulator in the current directory and on PATH was never loaded.
    EXPECT_FALSE(LogWritten());
}

TEST_F(TollanInstalledAlone, ALibraryWithoutOneFunctionIsNamedAndNotCalled) {
    ASSERT_TRUE(::CopyFileW(WinePath(L"VUZOZ_INCOMPLETE_DLL").c_str(), (m_folder + L"\\VUZoz.dll").c_str(), FALSE));
    std::wstring texts = StartAndReadPage();
    EXPECT_NE(std::wstring::npos, texts.find(L"BG_GetCurBlinkPeriod")) << texts;
    EXPECT_NE(std::wstring::npos, texts.find(m_folder)) << texts;
    EXPECT_EQ(0, CloseWithOk());
    EXPECT_FALSE(LogWritten());
}

TEST_F(TollanInstalledAlone, TheSimulatorBesideItDrivesThePanels) {
    std::wstring simulator = FolderOf(WinePath(L"TOLLAN_EXE")) + L"\\VUZoz.dll";
    ASSERT_TRUE(::CopyFileW(simulator.c_str(), (m_folder + L"\\VUZoz.dll").c_str(), FALSE));
    std::wstring texts = StartAndReadPage();
    EXPECT_EQ(std::wstring::npos, texts.find(L"VUZoz.dll")) << texts;
    EXPECT_EQ(0, CloseWithOk());
    EXPECT_TRUE(LogWritten());
}

}  // namespace

namespace {

// The Help button of the installed program asks the shell to open the guide: a class
// registered for .html records what the shell was asked to open.
class TollanHelpThroughTheShell : public TollanInstalledAlone {
protected:
    void SetUp() override {
        TollanInstalledAlone::SetUp();
        m_record = m_folder + L"-opened.txt";
        ::DeleteFileW(m_record.c_str());
        wchar_t previous[256] = L"";
        LONG size = sizeof(previous);
        m_hadHtml = ::RegQueryValueW(HKEY_CLASSES_ROOT, L".html", previous, &size) == ERROR_SUCCESS;
        m_previousHtml = previous;
        std::wstring command = L"cmd.exe /c echo %1> \"" + m_record + L"\"";
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueW(HKEY_CLASSES_ROOT, L".html", REG_SZ, L"TollanTest.GuideRecorder", 0));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueW(HKEY_CLASSES_ROOT, L"TollanTest.GuideRecorder\\shell\\open\\command",
                                                REG_SZ, command.c_str(), 0));
        // The guide beside the copy, as the installer lays it out.
        for (const wchar_t* folder : {L"\\help", L"\\help\\en"})
            ::CreateDirectoryW((m_folder + folder).c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW((FolderOf(WinePath(L"TOLLAN_EXE")) + L"\\help\\en\\index.html").c_str(),
                                (m_folder + L"\\help\\en\\index.html").c_str(), FALSE));
        std::wstring simulator = FolderOf(WinePath(L"TOLLAN_EXE")) + L"\\VUZoz.dll";
        ASSERT_TRUE(::CopyFileW(simulator.c_str(), (m_folder + L"\\VUZoz.dll").c_str(), FALSE));
    }

    void TearDown() override {
        if (m_hadHtml)
            ::RegSetValueW(HKEY_CLASSES_ROOT, L".html", REG_SZ, m_previousHtml.c_str(), 0);
        else
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TollanTest.GuideRecorder");
        TollanInstalledAlone::TearDown();
        ::DeleteFileW((m_folder + L"\\help\\en\\index.html").c_str());
        ::RemoveDirectoryW((m_folder + L"\\help\\en").c_str());
        ::RemoveDirectoryW((m_folder + L"\\help").c_str());
        ::RemoveDirectoryW(m_folder.c_str());
        ::DeleteFileW(m_record.c_str());
    }

    std::wstring m_record;
    std::wstring m_previousHtml;
    bool m_hadHtml = false;
};

TEST_F(TollanHelpThroughTheShell, HelpButtonOpensTheInstalledGuide) {
    StartAndReadPage();
    ASSERT_NE(nullptr, m_window);
    HWND help = ::GetDlgItem(m_window, 0xE146);  // ID_HELP
    ASSERT_NE(nullptr, help);
    ::PostMessageW(help, BM_CLICK, 0, 0);
    std::string opened;
    for (int tries = 0; tries < 100 && opened.empty(); ++tries) {
        ::Sleep(100);
        FILE* file = _wfopen(m_record.c_str(), L"r");
        if (file == nullptr)
            continue;
        char line[1024] = "";
        if (std::fgets(line, sizeof(line), file) != nullptr)
            opened = line;
        std::fclose(file);
    }
    std::wstring expected = m_folder + L"\\help\\en\\index.html";
    EXPECT_NE(std::string::npos, opened.find(std::string(expected.begin(), expected.end()))) << opened;
    EXPECT_EQ(0, CloseWithOk());
}

}  // namespace
