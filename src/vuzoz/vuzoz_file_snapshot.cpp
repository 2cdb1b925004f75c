#include "vuzoz_file_snapshot.h"

namespace vuzoz {

namespace {

FileSnapshot Unreadable(DWORD error)
{
    FileSnapshot snapshot;
    snapshot.state = FileSnapshot::State::kUnreadable;
    snapshot.error = error;
    return snapshot;
}

}  // namespace

FileSnapshot ReadFileSnapshot(const std::wstring& path)
{
    // Sharing reading and deleting but not writing: while a writer has the file open the
    // open fails, so a half-written list is never read (from a program that shares
    // reading with its writes too).
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return FileSnapshot();
        return Unreadable(error);
    }
    FileSnapshot snapshot;
    snapshot.state = FileSnapshot::State::kRead;
    char buffer[4096];
    while (snapshot.bytes.size() <= kMaxSnapshotBytes) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) {
            snapshot = Unreadable(GetLastError());
            break;
        }
        if (read == 0)
            break;
        snapshot.bytes.append(buffer, read);
    }
    (void)CloseHandle(file);
    if (snapshot.bytes.size() > kMaxSnapshotBytes + 1)
        snapshot.bytes.resize(kMaxSnapshotBytes + 1);
    return snapshot;
}

FileSnapshot ReadSettledSnapshot(const std::wstring& path, DWORD settleMs, DWORD patienceMs)
{
    const ULONGLONG end = GetTickCount64() + patienceMs;
    FileSnapshot last = ReadFileSnapshot(path);
    for (;;) {
        if (GetTickCount64() >= end)
            return last;
        Sleep(settleMs);
        FileSnapshot now = ReadFileSnapshot(path);
        if (now == last && now.state != FileSnapshot::State::kUnreadable)
            return now;
        last = std::move(now);
    }
}

}  // namespace vuzoz
