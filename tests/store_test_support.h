// Reading and spoiling settings sections from a test: a whole section as text, the set of
// its value names and types, and keys made unwritable the ways Windows allows.
#ifndef TOLLAN_TESTS_STORE_TEST_SUPPORT_H
#define TOLLAN_TESTS_STORE_TEST_SUPPORT_H

#include <windows.h>

#include <set>
#include <string>
#include <utility>

namespace store_test {

// The key of a section (or of any path below the profile), relative to HKEY_CURRENT_USER.
std::wstring KeyPath(const std::wstring& section);

// Every value of a section, sorted, as "name type bytes" lines; "absent" when the key is not
// there: two equal descriptions mean equal sections.
std::wstring DescribeSection(const std::wstring& section);
// The names and types of a section's values.
std::set<std::pair<std::wstring, DWORD>> NamesAndTypes(const std::wstring& section);

// Gives the key at path (relative to HKEY_CURRENT_USER) the discretionary access list in SDDL.
bool SetKeySecurity(const std::wstring& path, const wchar_t* sddl);
// Everyone may do anything with the key again.
bool AllowAll(const std::wstring& path);
// Everyone is refused the right to set values of the key.
bool DenySetValue(const std::wstring& path);

// A volatile key at path: no lasting key can be created under it.
bool CreateVolatileKey(const std::wstring& path);

void WriteRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data, DWORD size);

}  // namespace store_test

#endif
