// Start-up to the first complete paint, watched from outside: this process starts the
// program and polls until its top-level window is visible and neither it nor any of its
// visible children has anything left to paint. The floor is bare_dialog.exe, a program that
// shows only a dialog of the main window's size, started and watched the same way in the
// same rounds. Tollan runs over the panel simulator (VUZoz.dll beside it) with one panel of
// each type, pushbutton first, and once more with no panel attached.
//
//   startup_bench <Tollan.exe> <bare_dialog.exe> [rounds]
//
// Tollan's settings live under HKEY_CURRENT_USER\Software\Brellow Group: what is there is
// copied aside first and put back at the end. Prints the markdown rows of scripts/bench's
// table: median, minimum and maximum of the ratio of each round.
#include "bench_process_windows.h"
#include "bench_clock.h"
#include "bench_stats.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using bench::Now;

const int kDefaultRounds = 30;
const double kTimeoutMilliseconds = 30000.0;
const wchar_t kVendorKey[] = L"Software\\Brellow Group";

using bench_windows::FindTopWindow;
using bench_windows::PaintPending;
using bench_windows::TopWindowSearch;
using bench_windows::WindowsPath;

// A page is there when one of its lists is shown.
BOOL CALLBACK FindShownList(HWND child, LPARAM lParam) {
    wchar_t className[32] = L"";
    if (::IsWindowVisible(child) && ::GetClassNameW(child, className, 32) > 0 &&
        _wcsicmp(className, L"ComboBox") == 0) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

bool ShowsPage(HWND top) {
    bool shown = false;
    (void)::EnumChildWindows(top, FindShownList, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

struct Run {
    double firstPaint = -1.0;   // visible, nothing left to paint
    double pagePainted = -1.0;  // the same with a page shown
    SIZE size = {};
};

// Starts commandLine and times it; with waitForPage, also until a page is shown and painted.
// The program is closed as its close box closes it and waited for.
bool Watch(const std::wstring& exe, bool waitForPage, Run& run) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = 0.0;
    BOOL started = FALSE;
    // Wine now and then refuses a start right after the previous process ended
    // (ERROR_INTERNAL_ERROR); a moment later the same start goes through.
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            ::Sleep(300);
        start = Now();
        started = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process);
        if (!started && ::GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    if (!started) {
        std::fprintf(stderr, "cannot start %ls, error %lu\n", exe.c_str(), ::GetLastError());
        return false;
    }
    TopWindowSearch search = {process.dwProcessId, nullptr};
    bool done = false;
    while (!done && Now() - start < kTimeoutMilliseconds) {
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        if (search.found == nullptr)
            (void)::EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && !PaintPending(search.found)) {
            const double now = Now() - start;
            if (run.firstPaint < 0.0)
                run.firstPaint = now;
            if (!waitForPage) {
                done = true;
            } else if (ShowsPage(search.found)) {
                run.pagePainted = now;
                done = true;
            }
        }
        if (!done)
            ::Sleep(1);
    }
    if (search.found != nullptr) {
        RECT rect = {};
        (void)::GetWindowRect(search.found, &rect);
        run.size.cx = rect.right - rect.left;
        run.size.cy = rect.bottom - rect.top;
        (void)::PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        (void)::TerminateProcess(process.hProcess, 1);
        (void)::WaitForSingleObject(process.hProcess, 5000);
        done = false;
    }
    (void)::CloseHandle(process.hProcess);
    (void)::CloseHandle(process.hThread);
    if (!done)
        std::fprintf(stderr, "%ls: no complete paint seen\n", exe.c_str());
    return done;
}

// What HKEY_CURRENT_USER\Software\Brellow Group held before the run, put back afterwards.
class CVendorKeyBackup {
public:
    CVendorKeyBackup() : m_backupKey(L"Software\\Tollan Bench Backup " + std::to_wstring(::GetCurrentProcessId())) {
        HKEY vendor = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &vendor) != ERROR_SUCCESS)
            return;
        HKEY backup = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_backupKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup,
                              nullptr) == ERROR_SUCCESS) {
            m_backedUp = ::RegCopyTreeW(vendor, nullptr, backup) == ERROR_SUCCESS;
            (void)::RegCloseKey(backup);
        }
        (void)::RegCloseKey(vendor);
        m_existed = true;
    }
    // False when the key existed and could not be kept: the run must not go on.
    bool Usable() const { return !m_existed || m_backedUp; }

    ~CVendorKeyBackup() {
        if (m_existed && !m_backedUp)
            return;  // nothing was run
        (void)::RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        if (!m_backedUp)
            return;
        HKEY backup = nullptr;
        HKEY vendor = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, m_backupKey.c_str(), 0, KEY_READ, &backup) == ERROR_SUCCESS &&
            ::RegCreateKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &vendor,
                              nullptr) == ERROR_SUCCESS &&
            ::RegCopyTreeW(backup, nullptr, vendor) == ERROR_SUCCESS) {
            (void)::RegDeleteTreeW(HKEY_CURRENT_USER, m_backupKey.c_str());
        } else {
            std::fprintf(stderr, "the settings could not be put back; they are kept under HKCU\\%ls\n",
                         m_backupKey.c_str());
        }
        if (backup != nullptr)
            (void)::RegCloseKey(backup);
        if (vendor != nullptr)
            (void)::RegCloseKey(vendor);
    }

private:
    std::wstring m_backupKey;
    bool m_existed = false;
    bool m_backedUp = false;
};

struct Rounds {
    std::vector<double> bare, firstPaint, pagePainted, noPanel;
};

enum class Program { Bare, Tollan, TollanWithoutPanels };

bool RunOne(Program program, const std::wstring& tollan, const std::wstring& bare, Rounds& rounds, SIZE sizes[2]) {
    Run run;
    switch (program) {
    case Program::Bare:
        if (!Watch(bare, false, run))
            return false;
        rounds.bare.push_back(run.firstPaint);
        sizes[1] = run.size;
        return true;
    case Program::Tollan:
        (void)::SetEnvironmentVariableW(L"VUZOZ_PANELS", L"1,2,3");
        if (!Watch(tollan, true, run))
            return false;
        rounds.firstPaint.push_back(run.firstPaint);
        rounds.pagePainted.push_back(run.pagePainted);
        sizes[0] = run.size;
        return true;
    case Program::TollanWithoutPanels:
        (void)::SetEnvironmentVariableW(L"VUZOZ_PANELS", L"");
        if (!Watch(tollan, false, run))
            return false;
        rounds.noPanel.push_back(run.firstPaint);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <Tollan.exe> <bare_dialog.exe> [rounds]\n");
        return 2;
    }
    const std::wstring tollan = WindowsPath(argv[1]);
    const std::wstring bare = WindowsPath(argv[2]);
    const int roundCount = argc > 3 ? std::atoi(argv[3]) : kDefaultRounds;
    // The simulator as a user meets it: no log, no demo, no virtual panel windows.
    (void)::SetEnvironmentVariableW(L"VUZOZ_LOG", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_DEMO", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
    (void)::SetEnvironmentVariableW(L"VUZOZ_VIRTUAL", L"0");

    const CVendorKeyBackup backup;
    if (!backup.Usable()) {
        std::fprintf(stderr, "the settings under HKCU\\%ls could not be copied aside\n", kVendorKey);
        return 1;
    }
    // One round first, not counted: the first start of each program loads what later starts find cached.
    const Program order[] = {Program::Bare, Program::Tollan, Program::TollanWithoutPanels};
    Rounds warmUp, rounds;
    SIZE sizes[2] = {};
    bool ok = true;
    for (Program program : order)
        ok = ok && RunOne(program, tollan, bare, warmUp, sizes);
    // Each round starts with another of the three, so none always follows the same one.
    for (int round = 0; ok && round < roundCount; ++round) {
        for (int k = 0; ok && k < 3; ++k)
            ok = RunOne(order[(round + k) % 3], tollan, bare, rounds, sizes);
    }
    if (!ok)
        return 1;

    std::fprintf(stderr, "window sizes: Tollan %ldx%ld, bare dialog %ldx%ld\n", sizes[0].cx, sizes[0].cy,
                 sizes[1].cx, sizes[1].cy);
    const char* const floor = "bare dialog program of the main window's size";
    bench::PrintRatioRow("Start-up to the first complete paint (3 panels, pushbutton first)", floor,
                         rounds.firstPaint, rounds.bare, {1.3});
    bench::PrintRatioRow("Start-up until the first page is painted too (3 panels)", floor, rounds.pagePainted,
                         rounds.bare, {0.0});
    bench::PrintRatioRow("Start-up to the first complete paint, no panel attached", floor, rounds.noPanel,
                         rounds.bare, {0.0});
    return 0;
}
