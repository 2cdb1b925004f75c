// The registry of the test run: HKEY_CURRENT_USER\Software\<RegistryKeyName()>\Settings.
#ifndef TOLLAN_TESTS_TEST_SETTINGS_H
#define TOLLAN_TESTS_TEST_SETTINGS_H

#include <windows.h>

#include <string>

namespace test_settings {

std::wstring RegistryKeyName();  // "Tollan Tests <process id>"
// The profile key, relative to HKEY_CURRENT_USER.
std::wstring ProfilePath();
// Deletes every section of the test run.
void Clear();

// Reads a value of a section (for example L"All aircraft\\FAKE-1-0"); false when absent.
bool ReadDword(const std::wstring& section, const std::wstring& name, DWORD* value);
bool ReadString(const std::wstring& section, const std::wstring& name, std::wstring* value);
// REG_DWORD or REG_SZ, or REG_NONE when absent.
DWORD ValueType(const std::wstring& section, const std::wstring& name);
size_t ValueCount(const std::wstring& section);
bool SectionExists(const std::wstring& section);

void WriteDword(const std::wstring& section, const std::wstring& name, DWORD value);
void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value);

}  // namespace test_settings

#endif
