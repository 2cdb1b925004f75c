#include "process_support.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <utility>

namespace process_test {

std::wstring WinePath(const wchar_t* variable, const wchar_t* fallback) {
    const wchar_t* value = _wgetenv(variable);
    std::wstring path = value != nullptr ? value : fallback;
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& c : path)
            c = c == L'/' ? L'\\' : c;
        path = L"Z:" + path;
    }
    return path;
}

std::wstring TollanPath() { return WinePath(L"TOLLAN_EXE", L"Tollan.exe"); }

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

namespace {

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindUnownedWindow(HWND window, LPARAM lParam) {
    MainWindowSearch* search = reinterpret_cast<MainWindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControl(HWND window, LPARAM lParam) {
    ControlSearch* search = reinterpret_cast<ControlSearch*>(lParam);
    if (::GetDlgCtrlID(window) == search->id && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindMainWindow(DWORD processId) {
    MainWindowSearch search = {processId, nullptr};
    ::EnumWindows(FindUnownedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindow(DWORD processId, DWORD milliseconds) {
    HWND main = nullptr;
    (void)WaitUntil([&main, processId] { return (main = FindMainWindow(processId)) != nullptr; }, milliseconds);
    return main;
}

HWND FindVisibleControl(HWND parent, int id) {
    ControlSearch search = {id, nullptr};
    ::EnumChildWindows(parent, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForControl(HWND parent, int id, DWORD milliseconds) {
    HWND found = nullptr;
    (void)WaitUntil([&found, parent, id] { return !::IsWindow(parent) || (found = FindVisibleControl(parent, id)) != nullptr; },
                    milliseconds);
    return found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (!condition()) {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(20);
    }
    return true;
}

bool StartProcess(const StartOptions& options, PROCESS_INFORMATION* process) {
    const std::wstring program = options.program.empty() ? TollanPath() : options.program;
    std::wstring commandLine = L"\"" + program + L"\"" + (options.arguments.empty() ? L"" : L" " + options.arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (options.output != nullptr || options.quiet) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = options.output;
        startup.hStdError = options.output;
    }
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            ::Sleep(300);
        started = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, options.output != nullptr, 0, nullptr,
                                   options.folder.empty() ? nullptr : options.folder.c_str(), &startup, process);
        if (!started && ::GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    if (!started) {
        ADD_FAILURE() << "cannot start " << (options.program.empty() ? "Tollan.exe" : "the program") << ", error "
                      << ::GetLastError();
        *process = PROCESS_INFORMATION();
    }
    return started != FALSE;
}

bool StartTollan(const std::wstring& panels, const std::wstring& arguments, PROCESS_INFORMATION* process) {
    ::SetEnvironmentVariableW(L"VUZOZ_PANELS", panels.c_str());
    StartOptions options;
    options.arguments = arguments;
    return StartProcess(options, process);
}

int WaitForExit(const PROCESS_INFORMATION& process, DWORD milliseconds) {
    if (process.hProcess == nullptr || ::WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
}

HWND StartTollanWindow(const std::wstring& panels, const std::wstring& arguments, PROCESS_INFORMATION* process) {
    if (!StartTollan(panels, arguments, process))
        return nullptr;
    HWND main = WaitForMainWindow(process->dwProcessId);
    EXPECT_NE(nullptr, main) << "Tollan's window did not appear";
    return main;
}

int CloseAndWait(HWND window, const PROCESS_INFORMATION& process) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(process);
}

namespace {

const wchar_t kVendorKey[] = L"Software\\Brellow Group";

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam) {
    std::pair<DWORD, bool>* search = reinterpret_cast<std::pair<DWORD, bool>*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->first && ::IsWindowVisible(window))
        search->second = true;
    return TRUE;
}

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char buffer[1024];
    DWORD read = 0;
    while (::ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

}  // namespace

CommandRun RunWithoutWindow(const std::wstring& arguments) {
    CommandRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outputRead = nullptr;
    HANDLE outputWrite = nullptr;
    HANDLE errorRead = nullptr;
    HANDLE errorWrite = nullptr;
    if (!::CreatePipe(&outputRead, &outputWrite, &inherit, 0) || !::CreatePipe(&errorRead, &errorWrite, &inherit, 0)) {
        ADD_FAILURE() << "no pipe";
        return run;
    }
    ::SetHandleInformation(outputRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errorRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outputWrite;
    startup.hStdError = errorWrite;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + TollanPath() + L"\" " + arguments;
    // Wine now and then refuses a start right after the previous process ended
    // (ERROR_INTERNAL_ERROR); a moment later the same start goes through.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            ::Sleep(300);
        started = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &process);
        if (!started && ::GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    ::CloseHandle(outputWrite);
    ::CloseHandle(errorWrite);
    if (started) {
        std::pair<DWORD, bool> search(process.dwProcessId, false);
        while (::WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && !search.second)
            ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        run.showedWindow = search.second;
        if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            ::TerminateProcess(process.hProcess, 99);
        run.output = ReadAll(outputRead);
        run.error = ReadAll(errorRead);
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        run.exitCode = static_cast<int>(code);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    } else {
        ADD_FAILURE() << "cannot start Tollan.exe, error " << ::GetLastError();
    }
    ::CloseHandle(outputRead);
    ::CloseHandle(errorRead);
    return run;
}

CVendorKeyAside::CVendorKeyAside()
    : m_backup(L"Software\\Tollan test backup " + std::to_wstring(::GetCurrentProcessId())), m_hadSettings(false) {
    HKEY vendor = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &vendor) == ERROR_SUCCESS) {
        HKEY backup = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, m_backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup,
                          nullptr);
        m_hadSettings = ::RegCopyTreeW(vendor, nullptr, backup) == ERROR_SUCCESS;
        ::RegCloseKey(backup);
        ::RegCloseKey(vendor);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
}

CVendorKeyAside::~CVendorKeyAside() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
    if (m_hadSettings) {
        HKEY backup = nullptr;
        HKEY vendor = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, m_backup.c_str(), 0, KEY_READ, &backup) == ERROR_SUCCESS &&
            ::RegCreateKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &vendor,
                              nullptr) == ERROR_SUCCESS)
            ::RegCopyTreeW(backup, nullptr, vendor);
        if (vendor != nullptr)
            ::RegCloseKey(vendor);
        if (backup != nullptr)
            ::RegCloseKey(backup);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_backup.c_str());
}

void EndProcess(PROCESS_INFORMATION* process) {
    if (process->hProcess == nullptr)
        return;
    if (::WaitForSingleObject(process->hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process->hProcess, 1);
    ::WaitForSingleObject(process->hProcess, 10000);
    ::CloseHandle(process->hProcess);
    ::CloseHandle(process->hThread);
    *process = PROCESS_INFORMATION();
}

}  // namespace process_test
