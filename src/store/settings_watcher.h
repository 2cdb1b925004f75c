// CSettingsWatcher: tells a window that a registry key under HKEY_CURRENT_USER, or anything
// below it, changed. A thread of its own waits on RegNotifyChangeKeyValue (a notification
// belongs to the thread that asked for it, so the thread lives as long as the watch) and
// posts one message per burst of changes: after the first change it waits until the key has
// been quiet for a moment, or at most a few tenths of a second, and it posts nothing more
// until the owner calls Acknowledge. A storm of writes thus gives a few messages, never a
// flooded queue.
//
// A key deleted and created again is watched again. While the key is missing, its nearest
// existing parent is watched instead (the watcher never creates keys); the key's deletion
// and its return are both changes.
#ifndef TOLLAN_STORE_SETTINGS_WATCHER_H
#define TOLLAN_STORE_SETTINGS_WATCHER_H

#include <windows.h>

#include <atomic>
#include <string>

namespace store {

class CSettingsWatcher {
public:
    // After the first change of a burst, the key must stay quiet this long before the post...
    static constexpr DWORD kQuietMilliseconds = 50;
    // ...but the post never waits longer than this after the first change.
    static constexpr DWORD kLongestDelayMilliseconds = 300;

    CSettingsWatcher();
    ~CSettingsWatcher();  // stops the watch
    CSettingsWatcher(const CSettingsWatcher&) = delete;
    CSettingsWatcher& operator=(const CSettingsWatcher&) = delete;

    // Watches keyPath (relative to HKEY_CURRENT_USER) and posts message (wParam and lParam 0)
    // to window after changes; a watch that runs is stopped first. Returns once the watch is
    // in place: a change made after it is reported. False, with nothing watched, when the
    // thread could not be started.
    bool Start(const std::wstring& keyPath, HWND window, UINT message);
    // Ends the watch: returns once the thread has ended. Nothing is posted after it returns;
    // a message posted before may still be in the window's queue.
    void Stop();
    bool IsWatching() const { return m_thread != nullptr; }

    // The owner took the posted message: call it first, then read the settings. A change
    // after the call posts again; changes before it are what the owner reads.
    void Acknowledge() { m_posted.store(false); }

private:
    static DWORD WINAPI ThreadProc(void* parameter);
    void Watch();
    void CloseEvents();
    void Post();

    std::wstring m_keyPath;
    HWND m_window;
    UINT m_message;
    HANDLE m_thread;
    HANDLE m_stop;   // manual reset: set by Stop
    HANDLE m_ready;  // set by the thread once the first registrations are made
    std::atomic<bool> m_posted;
};

}  // namespace store

#endif
