#include "store_test_support.h"

#include "afx/registry_key.h"
#include "store/section_snapshot.h"
#include "test_settings.h"

#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace store_test {

std::wstring KeyPath(const std::wstring& section) { return test_settings::ProfilePath() + L"\\" + section; }

std::wstring DescribeSection(const std::wstring& section) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, KeyPath(section).c_str()) != ERROR_SUCCESS)
        return L"absent";
    std::vector<store::CSectionSnapshot::Value> values;
    if (!store::CSectionSnapshot::ReadValues(key, values))
        return L"unreadable";
    std::vector<std::wstring> lines;
    for (const store::CSectionSnapshot::Value& value : values) {
        std::wstring line = value.name + L" " + std::to_wstring(value.type) + L" ";
        for (BYTE b : value.data) {
            wchar_t hex[4] = L"";
            std::swprintf(hex, 4, L"%02x", b);
            line += hex;
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\n";
    return text;
}

std::set<std::pair<std::wstring, DWORD>> NamesAndTypes(const std::wstring& section) {
    std::set<std::pair<std::wstring, DWORD>> names;
    CKey key;
    std::vector<store::CSectionSnapshot::Value> values;
    if (key.Open(HKEY_CURRENT_USER, KeyPath(section).c_str()) == ERROR_SUCCESS &&
        store::CSectionSnapshot::ReadValues(key, values)) {
        for (const store::CSectionSnapshot::Value& value : values)
            names.insert(std::make_pair(value.name, value.type));
    }
    return names;
}

bool SetKeySecurity(const std::wstring& path, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    CKey key;
    LONG opened = key.Open(HKEY_CURRENT_USER, path.c_str(), WRITE_DAC);
    LONG result = opened == ERROR_SUCCESS ? ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) : opened;
    bool set = result == ERROR_SUCCESS;

    ::LocalFree(descriptor);
    return set;
}

bool AllowAll(const std::wstring& path) { return SetKeySecurity(path, L"D:(A;OICI;KA;;;WD)"); }

bool DenySetValue(const std::wstring& path) { return SetKeySecurity(path, L"D:(D;;0x2;;;WD)(A;;KA;;;WD)"); }

bool CreateVolatileKey(const std::wstring& path) {
    // Its parents stay lasting keys: those RegCreateKeyEx makes on the way would be volatile too.
    CKey parent;
    if (parent.Create(HKEY_CURRENT_USER, path.substr(0, path.rfind(L'\\')).c_str()) != ERROR_SUCCESS)
        return false;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void WriteRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    CKey key;
    if (key.Create(HKEY_CURRENT_USER, KeyPath(section).c_str()) == ERROR_SUCCESS)
        (void)::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace store_test
