#include "app/single_instance.h"

#include <sddl.h>

#include <vector>

// What the holder of the claim publishes. The window is written last and read first: a
// reader that sees a window sees the process and mode written with it.
struct CSingleInstance::SharedState {
    volatile LONG64 window;  // 0 while there is none
    volatile LONG processId;
    volatile LONG mode;
};

namespace {

const DWORD kPollMilliseconds = 50;
// How long a window that was restored from minimised may take before it is put in front.
const DWORD kRestoreMilliseconds = 1000;

std::wstring UserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::wstring();
    std::wstring text;
    DWORD size = 0;
    (void)::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    LPWSTR sid = nullptr;
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        text = sid;
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return text;
}

// "Local\<identity> <user SID> <what>": a name of the session, of one program and one user
// (several users may share a session through "Run as").
std::wstring ObjectName(const std::wstring& identity, const wchar_t* what) {
    std::wstring name = identity;
    for (wchar_t& c : name) {
        if (c == L'\\')
            c = L' ';  // a backslash would name a namespace
    }
    const std::wstring sid = UserSid();
    if (!sid.empty())
        name += L" " + sid;
    return L"Local\\" + name + L" " + what;
}

const wchar_t kMutexSuffix[] = L"window";
const wchar_t kStateSuffix[] = L"window state";

}  // namespace

CSingleInstance::CSingleInstance(const std::wstring& identity)
    : m_mutexName(ObjectName(identity, kMutexSuffix)),
      m_stateName(ObjectName(identity, kStateSuffix)),
      m_mutex(nullptr),
      m_owner(false),
      m_state(nullptr),
      m_view(nullptr),
      m_runningWindow(nullptr),
      m_runningMode(kConfigurationMode) {}

CSingleInstance::~CSingleInstance() {
    Withdraw();
    if (m_view != nullptr)
        ::UnmapViewOfFile(m_view);
    if (m_state != nullptr)
        ::CloseHandle(m_state);
    if (m_mutex != nullptr) {
        if (m_owner)
            ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
    }
}

CSingleInstance::Claim CSingleInstance::ClaimWindow(DWORD milliseconds) {
    // Of two starts at the same moment the system lets exactly one create the mutex.
    m_mutex = ::CreateMutexW(nullptr, TRUE, m_mutexName.c_str());
    if (m_mutex == nullptr)
        return kClaimed;  // nothing to coordinate with: better a window than none
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        TakeOver();
        return kClaimed;
    }
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        // The holder's window counts once it shows (it is published as it is created).
        const bool found = ReadRunning();
        const bool late = ::GetTickCount64() >= end;
        if (found && (::IsWindowVisible(m_runningWindow) || late))
            return kRunning;
        // The holder ended (or was ended): this start is the one now.
        const DWORD wait = ::WaitForSingleObject(m_mutex, kPollMilliseconds);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            TakeOver();
            return kClaimed;
        }
        if (late)
            return kNotAnswering;
    }
}

// Holding the mutex: makes the shared memory (a reader may still hold an old one open) with
// no window in it yet. When it cannot be made the window opens all the same, and later starts
// wait for it in vain and end.
void CSingleInstance::TakeOver() {
    m_owner = true;
    m_state = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedState),
                                   m_stateName.c_str());
    if (m_state == nullptr)
        return;
    m_view = static_cast<SharedState*>(::MapViewOfFile(m_state, FILE_MAP_WRITE, 0, 0, sizeof(SharedState)));
    if (m_view != nullptr)
        ::InterlockedExchange64(&m_view->window, 0);
}

void CSingleInstance::Publish(HWND window, Mode mode) {
    if (m_view == nullptr)
        return;
    m_view->processId = static_cast<LONG>(::GetCurrentProcessId());
    m_view->mode = mode;
    ::InterlockedExchange64(&m_view->window, static_cast<LONG64>(reinterpret_cast<INT_PTR>(window)));
}

void CSingleInstance::Withdraw() {
    if (m_view != nullptr)
        ::InterlockedExchange64(&m_view->window, 0);
}

bool CSingleInstance::ReadRunning() {
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ, FALSE, m_stateName.c_str());
    if (mapping == nullptr)
        return false;
    bool found = false;
    const SharedState* view =
        static_cast<const SharedState*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(SharedState)));
    if (view != nullptr) {
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(view->window));
        ::MemoryBarrier();
        const DWORD processId = static_cast<DWORD>(view->processId);
        const LONG mode = view->mode;
        DWORD owner = 0;
        // A window handle of a Tollan that ended may name another program's window by now.
        if (window != nullptr && ::GetWindowThreadProcessId(window, &owner) != 0 && owner == processId) {
            m_runningWindow = window;
            m_runningMode = mode == kTestMode ? kTestMode : kConfigurationMode;
            found = true;
        }
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
    return found;
}

bool CSingleInstance::IsClaimed(const std::wstring& identity) {
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, ObjectName(identity, kMutexSuffix).c_str());
    if (mutex != nullptr) {
        ::CloseHandle(mutex);
        return true;
    }
    // A mutex of that name this user may not open is there all the same.
    return ::GetLastError() == ERROR_ACCESS_DENIED;
}

void BringToFront(HWND window) {
    if (::IsIconic(window)) {
        // Asynchronously: a Tollan that does not answer must not hold this start up.
        (void)::ShowWindowAsync(window, SW_RESTORE);
        const ULONGLONG end = ::GetTickCount64() + kRestoreMilliseconds;
        while (::IsIconic(window) && ::GetTickCount64() < end)
            ::Sleep(20);
    }
    // A question or message box of the running Tollan is what the user must answer first.
    HWND target = ::GetLastActivePopup(window);
    if (target == nullptr || !::IsWindowVisible(target) || !::IsWindowEnabled(target))
        target = window;
    // A start that came from the user may hand the foreground on.
    (void)::SetForegroundWindow(target);
}
