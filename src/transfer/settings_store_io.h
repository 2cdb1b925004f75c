// Reading panel settings out of the store and writing them back, a section whole or not
// at all, under the profile key (a path relative to HKEY_CURRENT_USER).
#ifndef TOLLAN_TRANSFER_SETTINGS_STORE_IO_H
#define TOLLAN_TRANSFER_SETTINGS_STORE_IO_H

#include "store/pending_save.h"
#include "transfer/reg_file.h"

#include <string>
#include <vector>

namespace transfer {

// The device keys that have a configuration or a hardware section, sorted, each once.
// Keys that cannot travel in a file (IsValidDeviceKey) are left out.
std::vector<std::wstring> StoredDeviceKeys(const std::wstring& profilePath);
// The store's values of the key's two sections, in the store's order; a section that is
// absent is left out, and so is a value of another name or type.
SettingsFile ReadPanel(const std::wstring& profilePath, const std::wstring& deviceKey);
SettingsFile ReadAllPanels(const std::wstring& profilePath);
// "Type" of the key's hardware section, or 0.
DWORD StoredHardwareType(const std::wstring& profilePath, const std::wstring& deviceKey);
bool SectionExists(const std::wstring& profilePath, const SettingSection& section);

// What writing the sections writes, section by section (see store/panel_settings.h).
using store::SectionWritesOf;
// Writes every value of every section, all or nothing, also when Tollan ends half-way (see
// store/pending_save.h).
store::SaveResult WriteSections(const std::wstring& profilePath, const std::vector<SettingSection>& sections);

// The same sections under another device key.
SettingsFile WithDeviceKey(const SettingsFile& file, const std::wstring& deviceKey);

// A file of at most kMaxFileSize bytes; a larger one gives ERROR_FILE_TOO_LARGE unread.
LONG ReadFileBytes(const std::wstring& path, std::vector<unsigned char>* bytes);
LONG WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);

}  // namespace transfer

#endif
