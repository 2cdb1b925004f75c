// One Tollan window per user session: a second start brings the running window to the front
// (restored from minimised, or the box it shows) and ends with 0 and no window of its own; a
// start for the other mode says so first, in the user's language; two starts at the same
// moment give one window; /export and /import run beside the window.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "process_support.h"
#include "resource.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using process_test::FindMainWindow;
using process_test::WaitForMainWindow;

const wchar_t kProfileKey[] = L"Software\\Brellow Group\\Settings";
const wchar_t kRecordKey[] = L"Software\\Brellow Group\\Tollan\\Pending save";

// Waits like process_test::WaitUntil, but the test's own window goes on answering: the
// system tells it when it loses the foreground.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (!condition()) {
        if (::GetTickCount64() > end)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
    return true;
}

struct WindowList {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM lParam) {
    WindowList* list = reinterpret_cast<WindowList*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == list->processId && ::IsWindowVisible(window))
        list->windows.push_back(window);
    return TRUE;
}

// The visible top-level windows of a process.
std::vector<HWND> VisibleWindows(DWORD processId) {
    WindowList list = {processId, {}};
    ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = L"";
    ::GetWindowTextW(window, text, 512);
    return text;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM lParam) {
    wchar_t name[32] = L"";
    ::GetClassNameW(child, name, 32);
    std::wstring* longest = reinterpret_cast<std::wstring*>(lParam);
    const std::wstring text = TextOf(child);
    if (::lstrcmpiW(name, L"Static") == 0 && text.size() > longest->size())
        *longest = text;
    return TRUE;
}

// The message of a message box: its longest static text.
std::wstring MessageOf(HWND box) {
    std::wstring text;
    ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string Utf8(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(2u, ::SendInput(2, input, sizeof(INPUT)));
}

// A started Tollan: its exit code and whether it ever showed a window.
class TollanRun {
public:
    ~TollanRun() { process_test::EndProcess(&m_process); }

    bool Start(const std::wstring& arguments) { return process_test::StartTollan(L"1", arguments, &m_process); }
    DWORD Id() const { return m_process.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code once the process ended, watching it for windows meanwhile; -1 when it
    // did not end in time.
    int Finish(DWORD milliseconds = 30000) {
        const ULONGLONG end = ::GetTickCount64() + milliseconds;
        while (::WaitForSingleObject(m_process.hProcess, 20) == WAIT_TIMEOUT) {
            if (!VisibleWindows(Id()).empty())
                m_showedWindow = true;
            if (::GetTickCount64() > end)
                return -1;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return static_cast<int>(code);
    }
    bool ShowedWindow() const { return m_showedWindow; }

    // Closes the window as its close box does and waits for the end; the exit code or -1.
    int Close(HWND window) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return Finish();
    }

private:
    PROCESS_INFORMATION m_process = {};
    bool m_showedWindow = false;
};

class TollanSingleInstance : public ::testing::Test {
protected:
    // The prefix may hold settings of Tollan's own: they are kept aside and put back.
    void SetUp() override {
        ::SetEnvironmentVariableW(L"VUZOZ_LOG", nullptr);
        ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
        m_settingsAside.reset(new process_test::CVendorKeyAside);
        wchar_t folder[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, folder);
        m_file = std::wstring(folder) + L"tollan-single-" + std::to_wstring(::GetCurrentProcessId()) + L".reg";
    }

    void TearDown() override {
        if (m_other != nullptr)
            ::DestroyWindow(m_other);
        ::DeleteFileW(m_file.c_str());
        m_settingsAside.reset();
    }

    // Starts the first Tollan and waits for its window.
    HWND StartFirst(const std::wstring& arguments = L"") {
        if (!m_first.Start(arguments))
            return nullptr;
        HWND main = WaitForMainWindow(m_first.Id());
        EXPECT_NE(nullptr, main) << "the first Tollan's window did not appear";
        return main;
    }

    // A window of the test in front of everything, as another program the user went to.
    void PutAnotherWindowInFront() {
        if (m_other == nullptr)
            m_other = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Another program", WS_POPUP | WS_VISIBLE, 300, 300,
                                        200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_other);
        ::SetWindowPos(m_other, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetForegroundWindow(m_other);
        ASSERT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == m_other; }));
    }

    // Runs a second start to its end; expects exit code 0 and no window of its own.
    void SecondStartEndsQuietly(const std::wstring& arguments) {
        TollanRun second;
        ASSERT_TRUE(second.Start(arguments));
        EXPECT_EQ(0, second.Finish()) << arguments;
        EXPECT_FALSE(second.ShowedWindow()) << arguments;
    }

    TollanRun m_first;
    HWND m_other = nullptr;
    std::wstring m_file;
    std::unique_ptr<process_test::CVendorKeyAside> m_settingsAside;
};

TEST_F(TollanSingleInstance, ASecondStartBringsTheWindowForwardAndEnds) {
    HWND first = StartFirst();
    ASSERT_NE(nullptr, first);

    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"");
    EXPECT_TRUE(PumpUntil([first] { return ::GetForegroundWindow() == first; })) << "behind another window";

    // Minimised: restored first.
    ::ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([first] { return ::IsIconic(first) != FALSE; }));
    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"");
    EXPECT_TRUE(PumpUntil([first] { return !::IsIconic(first) && ::GetForegroundWindow() == first; }))
        << "minimised";
    EXPECT_TRUE(::IsWindowVisible(first));

    // The first Tollan goes on as before.
    EXPECT_EQ(first, FindMainWindow(m_first.Id()));
    EXPECT_EQ(0, m_first.Close(first));
}

TEST_F(TollanSingleInstance, TheBoxTheWindowShowsComesForward) {
    HWND first = StartFirst();
    ASSERT_NE(nullptr, first);
    // The window menu's About box: modal, the window disabled under it.
    ::PostMessageW(first, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND window : VisibleWindows(m_first.Id())) {
            if (::GetWindow(window, GW_OWNER) == first)
                about = window;
        }
        return about != nullptr;
    }));
    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"");
    EXPECT_TRUE(PumpUntil([about] { return ::GetForegroundWindow() == about; }));
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([about] { return !::IsWindow(about); }));
    EXPECT_EQ(0, m_first.Close(first));
}

TEST_F(TollanSingleInstance, TestModeBesideTestModeComesForwardWithoutAWord) {
    HWND first = StartFirst(L"/test");
    ASSERT_NE(nullptr, first);
    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"test");
    EXPECT_TRUE(PumpUntil([first] { return ::GetForegroundWindow() == first; }));
    EXPECT_EQ(0, m_first.Close(first));
}

// A start for the other mode says why no window opens, in the user's language (this test
// runs again with LC_ALL=ru_RU.UTF-8, which makes Wine's user interface language Russian);
// Enter closes the box, and the running window comes forward.
bool RussianRun() {
    const wchar_t* locale = _wgetenv(L"LC_ALL");
    return locale != nullptr && std::wstring(locale).compare(0, 2, L"ru") == 0;
}

TEST_F(TollanSingleInstance, TheOtherModeSaysTollanIsRunningInTheUsersLanguage) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        const wchar_t* english;
        const wchar_t* russian;
    };
    const Case cases[] = {
        {L"", L"/test", L"Tollan is already running in configuration mode.\nClose it to start Tollan in test mode.",
         L"Tollan уже запущен в режиме настройки.\nЗакройте его, чтобы запустить Tollan в режиме проверки."},
        {L"-test", L"", L"Tollan is already running in test mode.\nClose it to start Tollan in configuration mode.",
         L"Tollan уже запущен в режиме проверки.\nЗакройте его, чтобы запустить Tollan в режиме настройки."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(std::wstring(L"first '") + c.first + L"', second '" + c.second + L"'"));
        TollanRun first;
        ASSERT_TRUE(first.Start(c.first));
        HWND firstWindow = WaitForMainWindow(first.Id());
        ASSERT_NE(nullptr, firstWindow);
        PutAnotherWindowInFront();

        TollanRun second;
        ASSERT_TRUE(second.Start(c.second));
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (box = FindMainWindow(second.Id())) != nullptr; }));
        EXPECT_EQ(L"Tollan", TextOf(box));
        EXPECT_EQ(Utf8(RussianRun() ? c.russian : c.english), Utf8(MessageOf(box)));
        EXPECT_EQ(1u, VisibleWindows(second.Id()).size()) << "the box, no window of its own";
        EXPECT_TRUE(second.Running()) << "the box waits for the user";

        ::SetForegroundWindow(box);
        ASSERT_TRUE(PumpUntil([box] { return ::GetForegroundWindow() == box; }));
        PressKey(VK_RETURN);
        EXPECT_EQ(0, second.Finish());
        EXPECT_TRUE(PumpUntil([firstWindow] { return ::GetForegroundWindow() == firstWindow; }))
            << "the running window comes forward after the box";
        EXPECT_EQ(0, first.Close(firstWindow));
    }
}

TEST_F(TollanSingleInstance, TwoStartsAtTheSameMomentGiveOneWindow) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        TollanRun one;
        TollanRun two;
        ASSERT_TRUE(one.Start(L""));
        ASSERT_TRUE(two.Start(L""));
        HWND window = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] { return (window = FindMainWindow(one.Id())) != nullptr || (window = FindMainWindow(two.Id())) != nullptr; },
            30000));
        DWORD winner = 0;
        ::GetWindowThreadProcessId(window, &winner);
        TollanRun& loser = winner == one.Id() ? two : one;
        EXPECT_EQ(0, loser.Finish());
        EXPECT_FALSE(loser.ShowedWindow());
        EXPECT_EQ(1u, VisibleWindows(winner).size());
        TollanRun& kept = winner == one.Id() ? one : two;
        EXPECT_TRUE(kept.Running());
        EXPECT_EQ(0, kept.Close(window));
    }
}

// The claim of a Tollan that is starting, or ending, with no window to show: held by the
// test under the name Tollan gives it (the program, the user's SID, the session).
HANDLE ClaimAsAnotherTollan() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    LPWSTR sid = nullptr;
    std::wstring name;
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        name = std::wstring(L"Local\\Brellow Group Tollan ") + sid + L" window";
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    if (name.empty())
        return nullptr;
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, name.c_str());
    EXPECT_EQ(ERROR_SUCCESS, ::GetLastError()) << "no Tollan may run now";
    return mutex;
}

TEST_F(TollanSingleInstance, AStartWaitsForTheTollanBeforeItToShowOrEnd) {
    HANDLE claim = ClaimAsAnotherTollan();
    ASSERT_NE(nullptr, claim);
    TollanRun waiting;
    ASSERT_TRUE(waiting.Start(L""));
    EXPECT_FALSE(PumpUntil([&] { return FindMainWindow(waiting.Id()) != nullptr; }, 2000));
    EXPECT_TRUE(waiting.Running()) << "it waits while the other may still show its window";
    // The other one ended: this start opens the window itself.
    ::ReleaseMutex(claim);
    ::CloseHandle(claim);
    HWND window = WaitForMainWindow(waiting.Id());
    ASSERT_NE(nullptr, window);
    // And holds the claim now: a further start comes to it.
    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"");
    EXPECT_TRUE(PumpUntil([window] { return ::GetForegroundWindow() == window; }));
    EXPECT_EQ(0, waiting.Close(window));

    // One that never shows a window is waited for a while, then the start ends quietly.
    claim = ClaimAsAnotherTollan();
    ASSERT_NE(nullptr, claim);
    SecondStartEndsQuietly(L"");
    ::ReleaseMutex(claim);
    ::CloseHandle(claim);
}

TEST_F(TollanSingleInstance, ExportAndImportRunBesideTheWindow) {
    HKEY key = nullptr;
    const std::wstring section = std::wstring(kProfileKey) + L"\\Hardware\\Simulated B88 0";
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr));
    const DWORD brightness = 44;
    ::RegSetValueExW(key, L"Brightness", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&brightness), sizeof(DWORD));
    const DWORD type = 1;
    ::RegSetValueExW(key, L"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof(DWORD));
    ::RegCloseKey(key);

    HWND first = StartFirst();
    ASSERT_NE(nullptr, first);
    SecondStartEndsQuietly(L"/export \"" + m_file + L"\"");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_file.c_str())) << "the export wrote its file";
    SecondStartEndsQuietly(L"-Import \"" + m_file + L"\"");
    {
        TollanRun failing;
        ASSERT_TRUE(failing.Start(L"/import \"" + m_file + L".missing\""));
        EXPECT_EQ(1, failing.Finish()) << "the import's own exit code";
        EXPECT_FALSE(failing.ShowedWindow());
    }

    // None of them took the window's place: a window start still finds the first one.
    PutAnotherWindowInFront();
    SecondStartEndsQuietly(L"");
    EXPECT_TRUE(PumpUntil([first] { return ::GetForegroundWindow() == first; }));
    EXPECT_EQ(first, FindMainWindow(m_first.Id()));
    EXPECT_EQ(0, m_first.Close(first));
}

TEST_F(TollanSingleInstance, AnExportLeavesTheWindowsSaveInProgressAlone) {
    HWND first = StartFirst();
    ASSERT_NE(nullptr, first);
    // What the running window's save records before it writes a section.
    const std::wstring record = std::wstring(kRecordKey) + L"\\Section 1";
    const std::wstring target = std::wstring(kProfileKey) + L"\\Hardware\\Simulated B88 0";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, record.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                               nullptr, &key, nullptr));
    ::RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                     static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, (record + L"\\Values").c_str(), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const DWORD brightness = 99;
    ::RegSetValueExW(key, L"Brightness", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&brightness), sizeof(DWORD));
    ::RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_ALL_ACCESS, &key));
    const DWORD complete = 1;
    ::RegSetValueExW(key, L"Complete", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&complete), sizeof(DWORD));
    ::RegCloseKey(key);

    TollanRun exporting;
    ASSERT_TRUE(exporting.Start(L"/export \"" + m_file + L"\""));
    exporting.Finish();
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key)) << "the record stays";
    ::RegCloseKey(key);
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, target.c_str(), 0, KEY_READ, &key))
        << "the export wrote no section";
    EXPECT_EQ(0, m_first.Close(first));

    // Without a window the export finishes it, as the next start does.
    TollanRun alone;
    ASSERT_TRUE(alone.Start(L"/export \"" + m_file + L"\""));
    EXPECT_NE(-1, alone.Finish());
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, KEY_READ, &key));
    DWORD value = 0;
    DWORD size = sizeof(value);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, target.c_str(), L"Brightness", RRF_RT_REG_DWORD,
                                            nullptr, &value, &size));
    EXPECT_EQ(99u, value);
}

}  // namespace
