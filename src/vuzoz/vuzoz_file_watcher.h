// Watches a small file from a thread of its own: when the file holds something else than
// before and stays so for a moment, the watcher keeps what it holds and posts a message
// so that the thread owning the window takes it. A file that cannot be read at the moment
// (locked, being written) is looked at again later; it changes nothing meanwhile.
#ifndef VUZOZ_FILE_WATCHER_H
#define VUZOZ_FILE_WATCHER_H

#include "vuzoz_file_snapshot.h"

#include <windows.h>

#include <mutex>
#include <string>

namespace vuzoz {

struct PostedNotice {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
};

class FileWatcher {
public:
    FileWatcher() { }
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;
    // Only at the end of the process, when its thread is gone already: it is not waited for.
    ~FileWatcher();

    // seen is what the file held when its content was last taken. The file is read every
    // periodMs; two reads in a row that agree, and differ from seen, are a change.
    bool Start(const std::wstring& path, const FileSnapshot& seen, DWORD periodMs,
               const PostedNotice& notice);
    // Ends the thread and waits for it; a change not taken yet is dropped.
    void Stop();

    // The latest change, once: false when there is none since the last call.
    bool TakeChange(FileSnapshot& snapshot);

private:
    static DWORD WINAPI ThreadMain(void* watcher);
    void Watch();

    // Set before the thread starts and left alone until it ended.
    std::wstring m_path;
    FileSnapshot m_seen;
    DWORD m_periodMs = 0;
    PostedNotice m_notice;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;

    std::mutex m_mutex;  // guards the two below, shared with the thread
    bool m_changed = false;
    FileSnapshot m_latest;
};

}  // namespace vuzoz

#endif
