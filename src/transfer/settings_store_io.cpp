#include "transfer/settings_store_io.h"

#include "afx/registry_key.h"
#include "store/panel_settings.h"

#include <algorithm>

namespace transfer {

namespace {

// A value a file can hold: a text of at most kMaxTextLength characters without a zero.
bool CanTravel(const SettingValue& value) {
    return value.type != REG_SZ || (value.text.size() <= kMaxTextLength && value.text.find(L'\0') == std::wstring::npos);
}

}  // namespace

std::vector<std::wstring> StoredDeviceKeys(const std::wstring& profilePath) {
    std::vector<std::wstring> keys = store::StoredDeviceKeys(profilePath);
    keys.erase(std::remove_if(keys.begin(), keys.end(), [](const std::wstring& key) { return !IsValidDeviceKey(key); }),
               keys.end());
    return keys;
}

SettingsFile ReadPanel(const std::wstring& profilePath, const std::wstring& deviceKey) {
    SettingsFile file;
    file.sections = store::ReadPanelSettings(profilePath, deviceKey).sections;
    for (SettingSection& section : file.sections)
        section.values.erase(std::remove_if(section.values.begin(), section.values.end(),
                                            [](const SettingValue& value) { return !CanTravel(value); }),
                             section.values.end());
    return file;
}

SettingsFile ReadAllPanels(const std::wstring& profilePath) {
    SettingsFile all;
    for (const std::wstring& key : StoredDeviceKeys(profilePath)) {
        SettingsFile panel = ReadPanel(profilePath, key);
        all.sections.insert(all.sections.end(), panel.sections.begin(), panel.sections.end());
    }
    return all;
}

DWORD StoredHardwareType(const std::wstring& profilePath, const std::wstring& deviceKey) {
    return ReadPanel(profilePath, deviceKey).HardwareType(deviceKey);
}

bool SectionExists(const std::wstring& profilePath, const SettingSection& section) {
    CKey key;
    return key.Open(HKEY_CURRENT_USER, (profilePath + L"\\" + section.Name()).c_str()) == ERROR_SUCCESS;
}

store::SaveResult WriteSections(const std::wstring& profilePath, const std::vector<SettingSection>& sections) {
    return store::WriteSettingSections(profilePath, sections);
}

SettingsFile WithDeviceKey(const SettingsFile& file, const std::wstring& deviceKey) {
    SettingsFile moved = file;
    for (SettingSection& section : moved.sections)
        section.deviceKey = deviceKey;
    return moved;
}

LONG ReadFileBytes(const std::wstring& path, std::vector<unsigned char>* bytes) {
    bytes->clear();
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return static_cast<LONG>(::GetLastError());
    LONG result = ERROR_SUCCESS;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size)) {
        result = static_cast<LONG>(::GetLastError());
    } else if (size.QuadPart > static_cast<LONGLONG>(kMaxFileSize)) {
        result = ERROR_FILE_TOO_LARGE;
    } else {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes->empty() && !::ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr))
            result = static_cast<LONG>(::GetLastError());
        else
            bytes->resize(read);
    }
    ::CloseHandle(file);
    return result;
}

LONG WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return static_cast<LONG>(::GetLastError());
    DWORD written = 0;
    LONG result = ERROR_SUCCESS;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        result = static_cast<LONG>(::GetLastError());
    else if (written != bytes.size())
        result = ERROR_WRITE_FAULT;
    if (!::CloseHandle(file) && result == ERROR_SUCCESS)
        result = static_cast<LONG>(::GetLastError());
    return result;
}

}  // namespace transfer
