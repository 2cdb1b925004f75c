// CKey: a registry key that closes itself. Methods return the Win32 error code.
#ifndef TOLLAN_AFX_REGISTRY_KEY_H
#define TOLLAN_AFX_REGISTRY_KEY_H

#include <windows.h>

#include <string>

class CKey {
public:
    CKey() : m_hKey(nullptr) {}
    ~CKey() { Close(); }
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;

    operator HKEY() const { return m_hKey; }
    LONG Create(HKEY hParent, LPCWSTR keyName, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Open(HKEY hParent, LPCWSTR keyName, REGSAM access = KEY_READ);
    LONG Close();

    LONG SetValue(LPCWSTR valueName, DWORD value);
    LONG SetValue(LPCWSTR valueName, LPCWSTR value);
    LONG QueryValue(LPCWSTR valueName, DWORD& value);
    LONG QueryValue(LPCWSTR valueName, std::wstring& value);

    // Deletes keyName under hParent with all its subkeys.
    static LONG RecurseDeleteKey(HKEY hParent, LPCWSTR keyName);

private:
    HKEY m_hKey;
};

#endif
