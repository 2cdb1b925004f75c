#include "afx/registry_key.h"

#include <cwchar>

LONG CKey::Create(HKEY hParent, LPCWSTR keyName, REGSAM access) {
    Close();
    DWORD disposition = 0;
    return ::RegCreateKeyExW(hParent, keyName, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_hKey,
                             &disposition);
}

LONG CKey::Open(HKEY hParent, LPCWSTR keyName, REGSAM access) {
    Close();
    return ::RegOpenKeyExW(hParent, keyName, 0, access, &m_hKey);
}

LONG CKey::Close() {
    LONG result = ERROR_SUCCESS;
    if (m_hKey != nullptr) {
        result = ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    return result;
}

LONG CKey::SetValue(LPCWSTR valueName, DWORD value) {
    return ::RegSetValueExW(m_hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CKey::SetValue(LPCWSTR valueName, LPCWSTR value) {
    DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
}

LONG CKey::QueryValue(LPCWSTR valueName, DWORD& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    LONG result = ::RegQueryValueExW(m_hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_DWORD || size != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG CKey::QueryValue(LPCWSTR valueName, std::wstring& value) {
    DWORD type = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExW(m_hKey, valueName, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ)
        return ERROR_INVALID_DATA;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    result = ::RegQueryValueExW(m_hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size);
    if (result != ERROR_SUCCESS)
        return result;
    // The stored text may or may not end with its terminating zero.
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    value = text;
    return ERROR_SUCCESS;
}

LONG CKey::RecurseDeleteKey(HKEY hParent, LPCWSTR keyName) {
    CKey key;
    LONG result = key.Open(hParent, keyName, KEY_READ | KEY_WRITE);
    if (result != ERROR_SUCCESS)
        return result;
    for (;;) {
        wchar_t subKey[256];
        DWORD length = sizeof(subKey) / sizeof(subKey[0]);
        if (::RegEnumKeyExW(key, 0, subKey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        result = RecurseDeleteKey(key, subKey);
        if (result != ERROR_SUCCESS)
            return result;
    }
    key.Close();
    return ::RegDeleteKeyW(hParent, keyName);
}
