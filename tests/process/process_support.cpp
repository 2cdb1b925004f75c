#include "process_support.h"

#include <gtest/gtest.h>

#include <cwchar>

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

bool StartTollan(const std::wstring& panels, const std::wstring& arguments, PROCESS_INFORMATION* process) {
    ::SetEnvironmentVariableW(L"VUZOZ_PANELS", panels.c_str());
    std::wstring commandLine = L"\"" + TollanPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process)) {
        ADD_FAILURE() << "cannot start Tollan.exe, error " << ::GetLastError();
        return false;
    }
    return true;
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
