#include "store/section_snapshot.h"

#include "afx/registry_key.h"
#include "store/settings_store.h"

namespace store {

namespace {

// "a\b\c" -> "a", "a\b", "a\b\c".
std::vector<std::wstring> PathPrefixes(const std::wstring& path) {
    std::vector<std::wstring> prefixes;
    size_t at = 0;
    while (at <= path.size()) {
        size_t slash = path.find(L'\\', at);
        if (slash == std::wstring::npos)
            slash = path.size();
        if (slash > at)
            prefixes.push_back(path.substr(0, slash));
        at = slash + 1;
    }
    return prefixes;
}

bool KeyExists(HKEY root, const std::wstring& path, bool* exists) {
    CKey key;
    LONG result = key.Open(root, path.c_str(), KEY_QUERY_VALUE);
    *exists = result == ERROR_SUCCESS;
    // A key that exists but may not be opened still exists.
    if (result == ERROR_ACCESS_DENIED)
        *exists = true;
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND || result == ERROR_ACCESS_DENIED;
}

bool SameValue(const CSectionSnapshot::Value& a, const CSectionSnapshot::Value& b) {
    return a.type == b.type && a.data == b.data;
}

const CSectionSnapshot::Value* Find(const std::vector<CSectionSnapshot::Value>& values, const std::wstring& name) {
    for (const CSectionSnapshot::Value& value : values) {
        if (SameName(value.name, name))
            return &value;
    }
    return nullptr;
}

}  // namespace

bool CSectionSnapshot::ReadValues(HKEY key, std::vector<Value>& values) {
    values.clear();
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG result = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (result != ERROR_SUCCESS)
            return false;
        values.push_back(Value{std::wstring(name.data(), nameLength), type,
                               std::vector<BYTE>(data.begin(), data.begin() + dataSize)});
    }
    return true;
}

bool CSectionSnapshot::Capture(HKEY root, const std::wstring& path) {
    m_root = root;
    m_path = path;
    m_captured = false;
    m_existed = false;
    m_values.clear();
    const std::vector<std::wstring> prefixes = PathPrefixes(path);
    m_firstCreated = prefixes.size();
    for (size_t i = 0; i < prefixes.size(); ++i) {
        bool exists = false;
        if (!KeyExists(root, prefixes[i], &exists))
            return false;
        if (!exists) {
            m_firstCreated = i;
            break;
        }
    }
    if (m_firstCreated < prefixes.size()) {
        m_captured = true;
        return true;
    }
    CKey key;
    if (key.Open(root, path.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS || !ReadValues(key, m_values))
        return false;
    m_existed = true;
    m_captured = true;
    return true;
}

bool CSectionSnapshot::Restore() const {
    if (!m_captured)
        return true;
    return m_existed ? Hold(m_root, m_path, m_values) : RemoveCreatedKeys();
}

bool CSectionSnapshot::Hold(HKEY root, const std::wstring& path, const std::vector<Value>& values) {
    CKey key;
    LONG opened = key.Open(root, path.c_str(), KEY_QUERY_VALUE);
    if (opened == ERROR_FILE_NOT_FOUND)
        opened = key.Create(root, path.c_str(), KEY_QUERY_VALUE);
    std::vector<Value> now;
    if (opened != ERROR_SUCCESS || !ReadValues(key, now))
        return false;
    bool same = now.size() == values.size();
    for (const Value& value : now) {
        const Value* wanted = Find(values, value.name);
        same = same && wanted != nullptr && SameValue(*wanted, value);
    }
    if (same)
        return true;

    // Only a key that differs is opened for writing: one that could not be written to
    // was not changed either.
    if (key.Open(root, path.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS)
        return false;
    bool held = true;
    for (const Value& value : now) {
        if (Find(values, value.name) == nullptr)
            held = ::RegDeleteValueW(key, value.name.c_str()) == ERROR_SUCCESS && held;
    }
    for (const Value& value : values) {
        const Value* current = Find(now, value.name);
        if (current != nullptr && SameValue(*current, value))
            continue;
        const BYTE* bytes = value.data.empty() ? nullptr : value.data.data();
        held = ::RegSetValueExW(key, value.name.c_str(), 0, value.type, bytes, static_cast<DWORD>(value.data.size())) ==
                   ERROR_SUCCESS &&
               held;
    }
    return held;
}

bool CSectionSnapshot::RemoveCreatedKeys() const {
    const std::vector<std::wstring> prefixes = PathPrefixes(m_path);
    // The section itself must go; the parents that came with it go when nothing else
    // (another section) is in them yet.
    CKey section;
    const LONG opened = section.Open(m_root, m_path.c_str(), KEY_QUERY_VALUE);
    section.Close();
    // A key that cannot be opened for another reason (a name too long to be a key) is not there.
    if (opened == ERROR_SUCCESS || opened == ERROR_ACCESS_DENIED) {
        const LONG removed = ::RegDeleteKeyW(m_root, m_path.c_str());
        if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND)
            return false;
    }
    for (size_t i = prefixes.size() - 1; i-- > m_firstCreated;) {
        CKey parent;
        if (parent.Open(m_root, prefixes[i].c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
            continue;
        DWORD subkeys = 0;
        DWORD values = 0;
        if (::RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subkeys != 0 || values != 0)
            break;
        parent.Close();
        (void)::RegDeleteKeyW(m_root, prefixes[i].c_str());
    }
    return true;
}

}  // namespace store
