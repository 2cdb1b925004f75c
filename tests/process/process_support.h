// What the whole-process tests share: where Tollan.exe is, finding its windows from
// another process, and waiting for what it does.
#ifndef TOLLAN_TESTS_PROCESS_SUPPORT_H
#define TOLLAN_TESTS_PROCESS_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>

namespace process_test {

// The value of an environment variable as a Wine path: a path of the Linux build tree
// ("/work/...") becomes "Z:\work\..."; fallback when the variable is not set.
std::wstring WinePath(const wchar_t* variable, const wchar_t* fallback = L"");
// Tollan.exe of the build (TOLLAN_EXE).
std::wstring TollanPath();
std::wstring FolderOf(const std::wstring& path);

// The visible top-level window of the process that no other window owns, or null.
HWND FindMainWindow(DWORD processId);
// The main window once it is there; null when it did not appear within milliseconds.
HWND WaitForMainWindow(DWORD processId, DWORD milliseconds = 30000);
// A visible control with this id anywhere below parent (the main window or its page), or null.
HWND FindVisibleControl(HWND parent, int id);

// The control once it is there: the window paints before its page is built, so a control
// of the page may take a moment to appear. Null when it did not, or the window went away.
HWND WaitForControl(HWND parent, int id, DWORD milliseconds = 5000);

// How a program is started: which one, with what, where, and where what it writes goes.
struct StartOptions {
    std::wstring program;          // empty: Tollan.exe of the build
    std::wstring arguments;
    std::wstring folder;           // its current directory; empty: the test's
    HANDLE output = nullptr;       // its standard output and error (inherited); null: the test's
    bool quiet = false;            // what it writes goes nowhere
};
// Starts the program; false, with a failure of the test, when it could not be started.
// Wine now and then refuses a start right after the previous process ended
// (ERROR_INTERNAL_ERROR); a moment later the same start goes through.
bool StartProcess(const StartOptions& options, PROCESS_INFORMATION* process);
// Starts Tollan.exe with the simulator's panels (VUZOZ_PANELS) and the arguments; false,
// with a failure of the test, when it could not be started.
bool StartTollan(const std::wstring& panels, const std::wstring& arguments, PROCESS_INFORMATION* process);
// The exit code once the process has ended by itself within milliseconds; -1 when it did not.
int WaitForExit(const PROCESS_INFORMATION& process, DWORD milliseconds = 30000);
// Starts Tollan.exe as StartTollan does and waits for its window; null, with a failure of
// the test, when it did not appear.
HWND StartTollanWindow(const std::wstring& panels, const std::wstring& arguments, PROCESS_INFORMATION* process);
// Closes the window as its close box does; the exit code of the process, or -1 when it did not end.
int CloseAndWait(HWND window, const PROCESS_INFORMATION& process);
// Ends the process if it still runs, waits for it and closes its handles.
void EndProcess(PROCESS_INFORMATION* process);

// A run of Tollan.exe for a command without a window: its exit code, what it wrote to standard
// output and to standard error (UTF-8), and whether a window of it became visible.
struct CommandRun {
    int exitCode = -1;
    std::string output;
    std::string error;
    bool showedWindow = false;
};
// Runs Tollan.exe with the arguments and the environment of this process, and waits for it.
CommandRun RunWithoutWindow(const std::wstring& arguments);

// Tollan's settings in the prefix (HKEY_CURRENT_USER\Software\Brellow Group) are kept aside
// while the object lives, the key starts empty, and they are put back at the end.
class CVendorKeyAside {
public:
    CVendorKeyAside();
    ~CVendorKeyAside();
    CVendorKeyAside(const CVendorKeyAside&) = delete;
    CVendorKeyAside& operator=(const CVendorKeyAside&) = delete;

private:
    std::wstring m_backup;
    bool m_hadSettings;
};

// Polls condition until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

}  // namespace process_test

#endif
