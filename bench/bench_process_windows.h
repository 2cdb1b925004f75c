// What the whole-process benchmarks look at in Tollan.exe: a build-tree path as Wine sees
// it, the process's top window, and whether any of its windows still waits to be painted.
#ifndef TOLLAN_BENCH_BENCH_PROCESS_WINDOWS_H
#define TOLLAN_BENCH_BENCH_PROCESS_WINDOWS_H

#include <windows.h>

#include <string>

namespace bench_windows {

// A path of the Linux build tree, seen from Wine.
inline std::wstring WindowsPath(const char* path) {
    std::wstring wide;
    for (const char* c = path; *c != '\0'; ++c)
        wide.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return !wide.empty() && wide[0] == L'\\' ? L"Z:" + wide : wide;
}

struct TopWindowSearch {
    DWORD processId;
    HWND found;
};

inline BOOL CALLBACK FindTopWindow(HWND window, LPARAM lParam) {
    TopWindowSearch* search = reinterpret_cast<TopWindowSearch*>(lParam);
    DWORD owner = 0;
    (void)::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

inline BOOL CALLBACK FindPendingPaint(HWND child, LPARAM lParam) {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

inline bool PaintPending(HWND top) {
    if (::GetUpdateRect(top, nullptr, FALSE))
        return true;
    bool pending = false;
    (void)::EnumChildWindows(top, FindPendingPaint, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

}  // namespace bench_windows

#endif
