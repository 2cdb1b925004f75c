#include "test_settings.h"

#include "afx/registry_key.h"

namespace test_settings {

std::wstring RegistryKeyName() { return L"Tollan Tests " + std::to_wstring(::GetCurrentProcessId()); }

std::wstring ProfilePath() { return L"Software\\" + RegistryKeyName() + L"\\Settings"; }

void Clear() { CKey::RecurseDeleteKey(HKEY_CURRENT_USER, ProfilePath().c_str()); }

namespace {

std::wstring SectionPath(const std::wstring& section) { return ProfilePath() + L"\\" + section; }

bool Query(const std::wstring& section, const std::wstring& name, DWORD* type, std::wstring* text, DWORD* number) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, SectionPath(section).c_str()) != ERROR_SUCCESS)
        return false;
    BYTE data[2048];
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, type, data, &size) != ERROR_SUCCESS)
        return false;
    data[size] = 0;
    data[size + 1] = 0;
    if (text != nullptr)
        *text = reinterpret_cast<const wchar_t*>(data);
    if (number != nullptr && size == sizeof(DWORD))
        *number = *reinterpret_cast<const DWORD*>(data);
    return true;
}

}  // namespace

bool ReadDword(const std::wstring& section, const std::wstring& name, DWORD* value) {
    DWORD type = REG_NONE;
    DWORD number = 0;
    if (!Query(section, name, &type, nullptr, &number) || type != REG_DWORD)
        return false;
    *value = number;
    return true;
}

bool ReadString(const std::wstring& section, const std::wstring& name, std::wstring* value) {
    DWORD type = REG_NONE;
    std::wstring text;
    if (!Query(section, name, &type, &text, nullptr) || type != REG_SZ)
        return false;
    *value = text;
    return true;
}

DWORD ValueType(const std::wstring& section, const std::wstring& name) {
    DWORD type = REG_NONE;
    if (!Query(section, name, &type, nullptr, nullptr))
        return REG_NONE;
    return type;
}

size_t ValueCount(const std::wstring& section) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, SectionPath(section).c_str()) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return values;
}

bool SectionExists(const std::wstring& section) {
    CKey key;
    return key.Open(HKEY_CURRENT_USER, SectionPath(section).c_str()) == ERROR_SUCCESS;
}

void WriteDword(const std::wstring& section, const std::wstring& name, DWORD value) {
    CKey key;
    if (key.Create(HKEY_CURRENT_USER, SectionPath(section).c_str()) == ERROR_SUCCESS)
        key.SetValue(name.c_str(), value);
}

void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    CKey key;
    if (key.Create(HKEY_CURRENT_USER, SectionPath(section).c_str()) == ERROR_SUCCESS)
        key.SetValue(name.c_str(), value.c_str());
}

}  // namespace test_settings
