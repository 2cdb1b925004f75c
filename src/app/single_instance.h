// One Tollan window per user session. The start that is to open the window claims a mutex
// named for the session (Local\), the program and the user; once its window exists it
// publishes the window and its mode in a small shared memory of the same name. A later
// start that finds the mutex taken waits for that window and reports it; when the running
// Tollan ends meanwhile, the later start takes the mutex over and opens its own window.
// Starts that open no window (/export, /import) never claim it.
#ifndef TOLLAN_APP_SINGLE_INSTANCE_H
#define TOLLAN_APP_SINGLE_INSTANCE_H

#include <windows.h>

#include <string>

class CSingleInstance {
public:
    enum Mode { kConfigurationMode = 1, kTestMode = 2 };
    enum Claim {
        kClaimed,       // this start opens the window
        kRunning,       // another Tollan's window runs: RunningWindow, RunningMode
        kNotAnswering,  // another Tollan holds the claim but showed no window in time
    };

    // identity names the program ("Brellow Group Tollan"); the user's SID is added to it.
    explicit CSingleInstance(const std::wstring& identity);
    ~CSingleInstance();  // withdraws the window and gives the claim up
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Claims the window for this start, or waits up to milliseconds for the window of the
    // Tollan that holds the claim. Without the means to coordinate (the mutex cannot be
    // made) the start opens its window.
    Claim ClaimWindow(DWORD milliseconds);
    HWND RunningWindow() const { return m_runningWindow; }
    Mode RunningMode() const { return m_runningMode; }

    // The claim's holder tells later starts where its window is, once it exists.
    void Publish(HWND window, Mode mode);
    void Withdraw();

    // True while a Tollan of this user and session holds the window claim.
    static bool IsClaimed(const std::wstring& identity);

private:
    struct SharedState;

    void TakeOver();
    bool ReadRunning();

    std::wstring m_mutexName;
    std::wstring m_stateName;
    HANDLE m_mutex;
    bool m_owner;
    HANDLE m_state;          // the holder's shared memory
    SharedState* m_view;     // mapped while held
    HWND m_runningWindow;
    Mode m_runningMode;
};

// Brings window to the front, restored when minimised; when it shows a message box or
// another window of its own on top (and is disabled under it), that window comes forward.
void BringToFront(HWND window);

#endif
