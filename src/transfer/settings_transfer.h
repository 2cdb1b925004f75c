// What the context menu and the command line do with settings files and other panels'
// settings: every operation either completes or leaves the store as it was, and says why
// in the user interface language when it did not complete.
#ifndef TOLLAN_TRANSFER_SETTINGS_TRANSFER_H
#define TOLLAN_TRANSFER_SETTINGS_TRANSFER_H

#include "store/pending_save.h"
#include "transfer/reg_file.h"

#include <string>

namespace transfer {

struct Outcome {
    bool ok;
    std::wstring message;  // for the user when !ok
};

// The store's place: the application's profile key, relative to HKEY_CURRENT_USER.
std::wstring ProfilePath();

// A string resource with %1, %2 ... replaced by the arguments.
std::wstring FormatString(UINT id, const std::wstring& first = std::wstring(),
                          const std::wstring& second = std::wstring());
// Why a file was refused, in the user interface language: "Line 4: ...".
std::wstring DescribeParseError(const ParseResult& result);
// A hardware type as a message names it: "an 8x8 pushbutton panel".
std::wstring PanelTypeName(DWORD type);
// A value of a section as the user knows it: "Button1" is "button 2"; others as they are.
std::wstring ValueLabel(const std::wstring& name);

// What a save of sections came to, for the user.
Outcome Written(store::SaveResult result);
// The file in the export format; an earlier file of that name is replaced only once the new
// one is whole.
Outcome WriteSettingsFile(const SettingsFile& file, const std::wstring& path);

// Writes the two sections of one panel, or of every stored panel, to a file.
Outcome ExportPanel(const std::wstring& deviceKey, const std::wstring& path);
Outcome ExportAll(const std::wstring& path);

// Reads and checks a file; nothing is written.
Outcome LoadSettingsFile(const std::wstring& path, SettingsFile* file);
// A file of one panel onto the panel with this key and hardware type, whatever key the
// file names; refused when the file's hardware type differs.
Outcome ImportOntoPanel(const SettingsFile& file, const std::wstring& path, const std::wstring& deviceKey,
                        DWORD type);
// Every section of the file under its own device key.
Outcome ImportAll(const SettingsFile& file);
// The stored sections of the file that an import would replace, one line each.
std::wstring ExistingSections(const SettingsFile& file);

// The stored sections of one panel onto another of the same hardware type.
Outcome CopyPanel(const std::wstring& fromKey, const std::wstring& toKey, DWORD type);

}  // namespace transfer

#endif
