#include "store/settings_watcher.h"

#include "afx/registry_key.h"

#include <algorithm>

namespace store {

namespace {

// How soon a registration that failed is tried again.
const DWORD kRetryMilliseconds = 250;
// Opening and registering again while the key comes and goes under the watcher's hands ends
// after this many rounds (the next event or retry goes on).
const int kArmRounds = 8;

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

LONG Register(HKEY key, bool subtree, DWORD filter, HANDLE event) {
    return ::RegNotifyChangeKeyValue(key, subtree ? TRUE : FALSE, filter, event, TRUE);
}

const DWORD kNearFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
const DWORD kFarFilter = REG_NOTIFY_CHANGE_NAME;

// The two registrations of a watch. "Near" is the key itself, or while it is missing its
// nearest existing parent, with everything below it. "Far" is near's parent, for near's
// subkey entry only: a key that is deleted does not tell its own watchers on every system
// (Wine does not), but its parent always sees its name go and come back.
class Registrations {
public:
    explicit Registrations(const std::wstring& keyPath)
        : m_keyPath(keyPath),
          m_nearChanged(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          m_farChanged(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          m_onKey(false),
          m_failed(false) {}
    ~Registrations() {
        m_near.Close();
        m_far.Close();
        if (m_nearChanged != nullptr)
            ::CloseHandle(m_nearChanged);
        if (m_farChanged != nullptr)
            ::CloseHandle(m_farChanged);
    }
    Registrations(const Registrations&) = delete;
    Registrations& operator=(const Registrations&) = delete;

    bool HasEvents() const { return m_nearChanged != nullptr && m_farChanged != nullptr; }
    HANDLE NearEvent() const { return m_nearChanged; }
    HANDLE FarEvent() const { return m_farChanged; }
    // A registration could not be made: Retry after a moment.
    bool Failed() const { return m_failed; }

    // Opens and registers everything anew; true when the key itself is watched.
    bool Arm() {
        for (int round = 0; round < kArmRounds; ++round) {
            ArmOnce();
            // Registered first, looked again after: a key that appeared meanwhile is not missed.
            CKey key;
            if (m_onKey || key.Open(HKEY_CURRENT_USER, m_keyPath.c_str(), KEY_NOTIFY) != ERROR_SUCCESS)
                break;
        }
        return m_onKey;
    }

    // Near's event came: true when that changes what the key holds (or whether it is there).
    bool NearChanged() {
        const bool wasOnKey = m_onKey;
        if (wasOnKey && !NearDeleted() && Register(m_near, true, kNearFilter, m_nearChanged) == ERROR_SUCCESS)
            return true;
        // The key went away, or something changed below the parent watched in its place.
        return Arm() || wasOnKey;
    }

    // Far's event came: a subkey of near's parent came or went. A change for the watch only
    // when near itself went.
    bool FarChanged() {
        if (!NearDeleted()) {
            if (Register(m_far, false, kFarFilter, m_farChanged) != ERROR_SUCCESS)
                m_failed = true;
            return false;
        }
        const bool wasOnKey = m_onKey;
        return Arm() || wasOnKey;
    }

    // After a failed registration: true when the key is watched again and so may hold
    // something new.
    bool Retry() { return Arm(); }

private:
    bool NearDeleted() const {
        DWORD subkeys = 0;
        return ::RegQueryInfoKeyW(m_near, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr) != ERROR_SUCCESS;
    }

    void ArmOnce() {
        // Closing a key with a pending registration signals its event: clear it after.
        m_near.Close();
        m_far.Close();
        ::ResetEvent(m_nearChanged);
        ::ResetEvent(m_farChanged);
        m_onKey = false;
        m_failed = false;
        std::wstring nearPath = m_keyPath;
        for (;;) {
            if (m_near.Open(HKEY_CURRENT_USER, nearPath.c_str(), KEY_NOTIFY | KEY_QUERY_VALUE) == ERROR_SUCCESS)
                break;
            if (nearPath.empty()) {
                m_failed = true;  // not even HKEY_CURRENT_USER: try again later
                return;
            }
            nearPath = ParentOf(nearPath);
        }
        m_onKey = nearPath == m_keyPath;
        if (Register(m_near, true, kNearFilter, m_nearChanged) != ERROR_SUCCESS)
            m_failed = true;
        if (nearPath.empty())
            return;  // HKEY_CURRENT_USER itself has no parent to watch
        const std::wstring farPath = ParentOf(nearPath);
        if (m_far.Open(HKEY_CURRENT_USER, farPath.c_str(), KEY_NOTIFY) != ERROR_SUCCESS ||
            Register(m_far, false, kFarFilter, m_farChanged) != ERROR_SUCCESS)
            m_failed = true;
    }

    const std::wstring m_keyPath;
    CKey m_near;
    CKey m_far;
    HANDLE m_nearChanged;  // auto reset
    HANDLE m_farChanged;   // auto reset
    bool m_onKey;
    bool m_failed;
};

}  // namespace

CSettingsWatcher::CSettingsWatcher()
    : m_window(nullptr), m_message(0), m_thread(nullptr), m_stop(nullptr), m_ready(nullptr), m_posted(false) {}

CSettingsWatcher::~CSettingsWatcher() { Stop(); }

bool CSettingsWatcher::Start(const std::wstring& keyPath, HWND window, UINT message) {
    Stop();
    m_keyPath = keyPath;
    m_window = window;
    m_message = message;
    m_posted.store(false);
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_stop != nullptr && m_ready != nullptr)
        m_thread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (m_thread == nullptr) {
        CloseEvents();
        return false;
    }
    // The thread sets m_ready once it watches, or ends when it cannot.
    const HANDLE started[] = {m_ready, m_thread};
    (void)::WaitForMultipleObjects(2, started, FALSE, INFINITE);
    return true;
}

void CSettingsWatcher::CloseEvents() {
    if (m_stop != nullptr)
        ::CloseHandle(m_stop);
    if (m_ready != nullptr)
        ::CloseHandle(m_ready);
    m_stop = nullptr;
    m_ready = nullptr;
}

void CSettingsWatcher::Stop() {
    if (m_thread == nullptr)
        return;
    ::SetEvent(m_stop);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    CloseEvents();
    m_posted.store(false);
}

DWORD WINAPI CSettingsWatcher::ThreadProc(void* parameter) {
    try {
        static_cast<CSettingsWatcher*>(parameter)->Watch();
    } catch (...) {
        // Out of memory in the middle of a path: the watch ends, the program goes on.
    }
    return 0;
}

void CSettingsWatcher::Post() {
    if (m_posted.exchange(true))
        return;  // the owner has not taken the last one yet: it reads this change with it
    if (!::PostMessageW(m_window, m_message, 0, 0))
        m_posted.store(false);
}

void CSettingsWatcher::Watch() {
    Registrations watch(m_keyPath);
    if (!watch.HasEvents())
        return;
    watch.Arm();
    ::SetEvent(m_ready);
    bool burst = false;
    ULONGLONG burstStart = 0;
    ULONGLONG lastChange = 0;
    const HANDLE waits[] = {m_stop, watch.NearEvent(), watch.FarEvent()};
    for (;;) {
        DWORD timeout = INFINITE;
        const ULONGLONG now = ::GetTickCount64();
        if (burst) {
            const ULONGLONG due = std::min(lastChange + kQuietMilliseconds, burstStart + kLongestDelayMilliseconds);
            timeout = due > now ? static_cast<DWORD>(due - now) : 0;
        }
        if (watch.Failed())
            timeout = std::min(timeout, kRetryMilliseconds);
        const DWORD result = ::WaitForMultipleObjects(3, waits, FALSE, timeout);
        bool changed = false;
        if (result == WAIT_OBJECT_0)
            return;
        if (result == WAIT_OBJECT_0 + 1) {
            changed = watch.NearChanged();
        } else if (result == WAIT_OBJECT_0 + 2) {
            changed = watch.FarChanged();
        } else if (result == WAIT_TIMEOUT) {
            if (watch.Failed())
                changed = watch.Retry();
        } else {
            return;  // the handles are gone: nothing can be waited for any more
        }
        const ULONGLONG then = ::GetTickCount64();
        if (changed) {
            if (!burst)
                burstStart = then;
            burst = true;
            lastChange = then;
        }
        if (burst && then >= std::min(lastChange + kQuietMilliseconds, burstStart + kLongestDelayMilliseconds)) {
            burst = false;
            Post();
        }
    }
}

}  // namespace store
