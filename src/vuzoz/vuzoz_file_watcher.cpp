#include "vuzoz_file_watcher.h"

#include "vuzoz_module.h"

#include <cstdio>

namespace vuzoz {

namespace {

struct ThreadStart {
    FileWatcher* watcher;
    HMODULE module;
};

}  // namespace

FileWatcher::~FileWatcher()
{
    if (m_thread != nullptr) {
        (void)SetEvent(m_stop);
        (void)CloseHandle(m_thread);
    }
    if (m_stop != nullptr)
        (void)CloseHandle(m_stop);
}

bool FileWatcher::Start(const std::wstring& path, const FileSnapshot& seen, DWORD periodMs,
                        const PostedNotice& notice)
{
    Stop();
    m_path = path;
    m_seen = seen;
    m_periodMs = periodMs;
    m_notice = notice;
    m_changed = false;
    m_latest = FileSnapshot();
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_stop == nullptr)
        return false;
    // The thread holds the module, so that it can never run in a library unloaded
    // without BGTerminate; it lets go as it ends.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&FileWatcher::ThreadMain), &module)) {
        Stop();
        return false;
    }
    ThreadStart* start = new ThreadStart{this, module};
    m_thread = CreateThread(nullptr, 0, &FileWatcher::ThreadMain, start, 0, nullptr);
    if (m_thread == nullptr) {
        delete start;
        (void)FreeLibrary(module);
        Stop();
        return false;
    }
    return true;
}

void FileWatcher::Stop()
{
    if (m_thread != nullptr) {
        (void)SetEvent(m_stop);
        if (WaitForSingleObject(m_thread, INFINITE) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "VUZoz: the panels file watcher did not end (error %lu).\n",
                         static_cast<unsigned long>(GetLastError()));
            std::fflush(stderr);
        }
        (void)CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_stop != nullptr) {
        (void)CloseHandle(m_stop);
        m_stop = nullptr;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_changed = false;
    m_latest = FileSnapshot();
}

bool FileWatcher::TakeChange(FileSnapshot& snapshot)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_changed)
        return false;
    m_changed = false;
    snapshot = std::move(m_latest);
    m_latest = FileSnapshot();
    return true;
}

DWORD WINAPI FileWatcher::ThreadMain(void* parameter)
{
    ThreadStart* start = static_cast<ThreadStart*>(parameter);
    FileWatcher* watcher = start->watcher;
    const HMODULE module = start->module;
    delete start;
    watcher->Watch();
    FreeLibraryAndExitThread(module, 0);
}

void FileWatcher::Watch()
{
    FileSnapshot taken = m_seen;
    FileSnapshot previous = m_seen;
    while (WaitForSingleObject(m_stop, m_periodMs) == WAIT_TIMEOUT) {
        try {
            FileSnapshot now = ReadFileSnapshot(m_path);
            const bool settled = now == previous && now.state != FileSnapshot::State::kUnreadable;
            previous = now;
            if (!settled || now == taken)
                continue;
            taken = now;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_latest = std::move(now);
                m_changed = true;
            }
            // A post that fails (the window went) is not repeated: the change waits for
            // whoever takes it.
            (void)PostMessageW(m_notice.window, m_notice.message, m_notice.wParam, 0);
        } catch (...) {
            // Out of memory for one read: the next one tries again.
        }
    }
}

}  // namespace vuzoz
