// Helpers of the settings file tests: the whole store of the test run as text, files
// written to the temporary folder, and a file picker that hands the menu a path.
#ifndef TOLLAN_TESTS_TRANSFER_TEST_SUPPORT_H
#define TOLLAN_TESTS_TRANSFER_TEST_SUPPORT_H

#include <string>
#include <vector>

namespace transfer_test {

// Every key and value under the test run's profile key, one line each, sorted.
std::wstring DumpStore();

// A path in the temporary folder, unique to this test process and name.
std::wstring TempPath(const std::wstring& name);
void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::wstring& path);
// The text in UTF-16 LE with a byte order mark, as regedit writes it.
std::vector<unsigned char> Utf16File(const std::wstring& text);
// The file's text without its byte order mark.
std::wstring FileText(const std::wstring& path);

// The text in UTF-8, for messages of failed expectations and files as Notepad saves them.
std::string Narrow(const std::wstring& text);

// The path the next file dialog gives; empty: the user cancels. Counts the dialogs.
void PickPath(const std::wstring& path);
int PickerCalls();
bool LastPickWasSave();

}  // namespace transfer_test

#endif
