// Panels plugged in and out, watched from outside: Tollan.exe and the floor program each
// run over the panel simulator with a panels file of their own; each round saves a file
// with another panel list (one panel, then two) and polls until the program's device list
// holds as many items and neither its window nor any visible child has anything left to
// paint. The floor, panel_list_floor.exe, takes the panels afresh at the first notice and
// fills a plain list view: the simulator's own time to notice the change is in both.
//
//   panels_bench <Tollan.exe> <panel_list_floor.exe> <VUZoz.dll> [rounds]
#include "bench_process_windows.h"
#include "bench_clock.h"
#include "bench_stats.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using bench::Now;

const int kDefaultRounds = 30;
const double kTimeoutMilliseconds = 10000.0;

using bench_windows::FindTopWindow;
using bench_windows::PaintPending;
using bench_windows::TopWindowSearch;
using bench_windows::WindowsPath;

bool SaveText(const std::wstring& path, const char* text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    (void)::CloseHandle(file);
    return ok != FALSE;
}

// One program over the simulator with its own panels file.
class Watched {
public:
    Watched(const std::wstring& commandLine, const std::wstring& panelsFile, int listId)
        : m_commandLine(commandLine), m_file(panelsFile), m_listId(listId) {}
    ~Watched() {
        if (m_window != nullptr)
            (void)::PostMessageW(m_window, WM_CLOSE, 0, 0);
        if (m_process.hProcess != nullptr) {
            if (::WaitForSingleObject(m_process.hProcess, 20000) != WAIT_OBJECT_0)
                (void)::TerminateProcess(m_process.hProcess, 1);
            (void)::CloseHandle(m_process.hProcess);
            (void)::CloseHandle(m_process.hThread);
        }
        (void)::DeleteFileW(m_file.c_str());
    }

    bool Start() {
        if (!SaveText(m_file, "1:A7\n"))
            return false;
        (void)::SetEnvironmentVariableW(L"VUZOZ_PANELS_FILE", m_file.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        std::wstring commandLine = m_commandLine;
        if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &m_process))
            return false;
        TopWindowSearch search = {m_process.dwProcessId, nullptr};
        const double start = Now();
        while (search.found == nullptr && Now() - start < 30000.0) {
            (void)::EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
            ::Sleep(10);
        }
        m_window = search.found;
        return m_window != nullptr && WaitForList(1) >= 0.0;
    }

    // Saves the list and times until the device list shows count items, painted; -1: never.
    double Change(const char* list, int count) {
        const double start = Now();
        if (!SaveText(m_file, list))
            return -1.0;
        const double shown = WaitForList(count);
        return shown < 0.0 ? -1.0 : shown - start;
    }

private:
    double WaitForList(int count) {
        HWND list = ::GetDlgItem(m_window, m_listId);
        const double start = Now();
        while (Now() - start < kTimeoutMilliseconds) {
            if (::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == count && !PaintPending(m_window))
                return Now();
            ::Sleep(1);
        }
        return -1.0;
    }

    std::wstring m_commandLine;
    std::wstring m_file;
    int m_listId;
    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: panels_bench <Tollan.exe> <panel_list_floor.exe> <VUZoz.dll> [rounds]\n");
        return 2;
    }
    const std::wstring tollan = WindowsPath(argv[1]);
    const std::wstring floor = WindowsPath(argv[2]);
    const std::wstring library = WindowsPath(argv[3]);
    const int roundCount = argc > 4 ? std::atoi(argv[4]) : kDefaultRounds;
    (void)::SetEnvironmentVariableW(L"VUZOZ_LOG", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_DEMO", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_VIRTUAL", L"0");
    (void)::SetEnvironmentVariableW(L"VUZOZ_PANELS", L"");

    wchar_t temp[MAX_PATH] = L"";
    (void)::GetTempPathW(MAX_PATH, temp);
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    Watched tollanRun(L"\"" + tollan + L"\"", std::wstring(temp) + L"tollan-bench-panels-" + id + L".txt", 1010);
    Watched floorRun(L"\"" + floor + L"\" \"" + library + L"\"",
                     std::wstring(temp) + L"floor-bench-panels-" + id + L".txt", 1000);
    if (!tollanRun.Start() || !floorRun.Start()) {
        std::fprintf(stderr, "the programs did not start\n");
        return 1;
    }
    std::vector<double> plugTollan, plugFloor, unplugTollan, unplugFloor;
    // One change each first, not counted.
    for (int round = -1; round < roundCount; ++round) {
        const double t1 = tollanRun.Change("1:A7\n2:T1\n", 2);
        const double f1 = floorRun.Change("1:A7\n2:T1\n", 2);
        const double t2 = tollanRun.Change("1:A7\n", 1);
        const double f2 = floorRun.Change("1:A7\n", 1);
        if (t1 < 0.0 || f1 < 0.0 || t2 < 0.0 || f2 < 0.0) {
            std::fprintf(stderr, "a list did not follow its file\n");
            return 1;
        }
        if (round < 0)
            continue;
        plugTollan.push_back(t1);
        plugFloor.push_back(f1);
        unplugTollan.push_back(t2);
        unplugFloor.push_back(f2);
    }
    const char* const what = "program that refills a plain list at the first notice, painted";
    bench::PrintRatioRow("Panel plugged in: file saved until the device list is updated and painted", what,
                         plugTollan, plugFloor, {0.0});
    bench::PrintRatioRow("Panel pulled out: file saved until the device list is updated and painted", what,
                         unplugTollan, unplugFloor, {0.0});
    const bench::Stats plug = bench::StatsOf(plugTollan);
    const bench::Stats unplug = bench::StatsOf(unplugTollan);
    std::fprintf(stderr, "Tollan: plug median %.1f ms (max %.1f), unplug median %.1f ms (max %.1f)\n", plug.median,
                 plug.max, unplug.median, unplug.max);
    return 0;
}
