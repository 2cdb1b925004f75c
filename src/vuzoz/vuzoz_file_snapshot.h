// What a small text file holds at one moment, read so that no writer is half-way through
// it: a file that another program has open for writing is not read.
#ifndef VUZOZ_FILE_SNAPSHOT_H
#define VUZOZ_FILE_SNAPSHOT_H

#include <windows.h>

#include <string>

namespace vuzoz {

// Longer files are read only so far, one byte over: enough to say they are too long.
const size_t kMaxSnapshotBytes = 64 * 1024;

struct FileSnapshot {
    enum class State { kMissing, kUnreadable, kRead };
    State state = State::kMissing;
    std::string bytes;  // kRead: the content, at most kMaxSnapshotBytes + 1 bytes
    DWORD error = 0;  // kUnreadable: why it could not be opened or read

    bool TooLong() const { return bytes.size() > kMaxSnapshotBytes; }
};

inline bool operator==(const FileSnapshot& a, const FileSnapshot& b)
{
    return a.state == b.state && a.bytes == b.bytes;
}

inline bool operator!=(const FileSnapshot& a, const FileSnapshot& b)
{
    return !(a == b);
}

// Missing when neither the file nor its folder is there; unreadable when it is there but
// cannot be read now (locked, being written, not a file, no permission).
FileSnapshot ReadFileSnapshot(const std::wstring& path);

// Reads until two reads settleMs apart agree and could be made, or patienceMs are over
// (then the last read, which may be unreadable).
FileSnapshot ReadSettledSnapshot(const std::wstring& path, DWORD settleMs, DWORD patienceMs);

}  // namespace vuzoz

#endif
