// CSectionSnapshot: what a settings section holds at one moment (every value's name, type
// and bytes, or that the key is not there), and putting exactly that back after a save
// that failed half-way.
#ifndef TOLLAN_STORE_SECTION_SNAPSHOT_H
#define TOLLAN_STORE_SECTION_SNAPSHOT_H

#include <windows.h>

#include <string>
#include <vector>

namespace store {

class CSectionSnapshot {
public:
    CSectionSnapshot() : m_root(nullptr), m_captured(false), m_existed(false), m_firstCreated(0) {}

    // Reads the key at path under root now; false when it exists but cannot be read whole,
    // in which case nothing may be written to it (it could not be put back).
    bool Capture(HKEY root, const std::wstring& path);

    // Makes the key hold again exactly the values captured, writing only what differs and
    // deleting values that were not there; a key that did not exist is deleted again, with
    // the empty parents that came with it. True when the key is as captured (also when
    // nothing was captured: then nothing may have been written).
    bool Restore() const;

    bool Existed() const { return m_existed; }

    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Value>& Values() const { return m_values; }

    // Every value of an open key, or false when they cannot all be read.
    static bool ReadValues(HKEY key, std::vector<Value>& values);
    // Makes the key at path (made if missing) hold exactly values: what differs is written in
    // their order, what is not among them deleted; a key that already holds them is not
    // opened for writing.
    static bool Hold(HKEY root, const std::wstring& path, const std::vector<Value>& values);

private:
    bool RemoveCreatedKeys() const;

    HKEY m_root;
    std::wstring m_path;
    bool m_captured;
    bool m_existed;
    // Index into the path's components of the first one that did not exist.
    size_t m_firstCreated;
    std::vector<Value> m_values;
};

}  // namespace store

#endif
