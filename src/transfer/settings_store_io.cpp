#include "transfer/settings_store_io.h"

#include "afx/registry_key.h"
#include "store/pending_save.h"
#include "store/settings_store.h"

#include <algorithm>

namespace transfer {

namespace {

const wchar_t* const kConfigBases[] = {store::kButton, store::kOnButton, store::kOffButton, store::kButtonVar,
                                       store::kLED,    store::kLEDcomp,  store::kLEDval};
const wchar_t* const kHardwareNames[] = {store::kBrightness, store::kSlowOff, store::kSlowOn,
                                         store::kFastOff,    store::kFastOn,  store::kType};

std::wstring SectionPath(const std::wstring& profilePath, const SettingSection& section) {
    return profilePath + L"\\" + section.Name();
}

// Reads name when the store keeps it with the expected type.
bool ReadValue(HKEY key, const std::wstring& name, DWORD expected, SettingValue* value) {
    DWORD type = REG_NONE;
    BYTE data[(kMaxTextLength + 1) * sizeof(wchar_t)];
    DWORD size = sizeof(data);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS || type != expected)
        return false;
    value->name = name;
    value->type = type;
    if (type == REG_DWORD) {
        if (size != sizeof(DWORD))
            return false;
        value->number = *reinterpret_cast<const DWORD*>(data);
    } else {
        size_t chars = size / sizeof(wchar_t);
        const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
        while (chars > 0 && text[chars - 1] == L'\0')
            --chars;
        value->text.assign(text, chars);
        if (value->text.find(L'\0') != std::wstring::npos)
            return false;
    }
    return true;
}

bool ReadSection(const std::wstring& profilePath, SettingSection* section) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, SectionPath(profilePath, *section).c_str()) != ERROR_SUCCESS)
        return false;
    std::vector<std::wstring> names;
    if (section->kind == SectionKind::Config) {
        for (int d = 0; d < store::kRowCount; ++d) {
            for (const wchar_t* base : kConfigBases)
                names.push_back(store::IndexedValueName(base, d));
        }
    } else {
        names.assign(std::begin(kHardwareNames), std::end(kHardwareNames));
    }
    for (const std::wstring& name : names) {
        SettingValue value = {};
        if (ReadValue(key, name, StoreValueType(section->kind, name), &value))
            section->values.push_back(value);
    }
    return true;
}

void AddSubkeys(const std::wstring& path, std::vector<std::wstring>* keys) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        LONG result = ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        std::wstring text(name, length);
        if (IsValidDeviceKey(text))
            keys->push_back(text);
    }
}

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_LESS_THAN;
}


}  // namespace

std::vector<std::wstring> StoredDeviceKeys(const std::wstring& profilePath) {
    std::vector<std::wstring> keys;
    AddSubkeys(profilePath + L"\\" + store::kConfigFolder, &keys);
    AddSubkeys(profilePath + L"\\" + store::kHardwareFolder, &keys);
    std::sort(keys.begin(), keys.end(), LessNoCase);
    keys.erase(std::unique(keys.begin(), keys.end(), store::SameName), keys.end());
    return keys;
}

SettingsFile ReadPanel(const std::wstring& profilePath, const std::wstring& deviceKey) {
    SettingsFile file;
    for (SectionKind kind : {SectionKind::Config, SectionKind::Hardware}) {
        SettingSection section = {kind, deviceKey, {}};
        if (ReadSection(profilePath, &section))
            file.sections.push_back(section);
    }
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
    return key.Open(HKEY_CURRENT_USER, SectionPath(profilePath, section).c_str()) == ERROR_SUCCESS;
}

std::vector<store::SectionWrites> SectionWritesOf(const std::wstring& profilePath,
                                                  const std::vector<SettingSection>& sections) {
    std::vector<store::SectionWrites> writes;
    for (const SettingSection& section : sections) {
        writes.emplace_back(SectionPath(profilePath, section));
        for (const SettingValue& value : section.values) {
            if (value.type == REG_DWORD)
                writes.back().AddDword(value.name, value.number);
            else
                writes.back().AddString(value.name, value.text);
        }
    }
    return writes;
}

store::SaveResult WriteSections(const std::wstring& profilePath, const std::vector<SettingSection>& sections) {
    return store::SaveSections(store::PendingSavePath(profilePath), SectionWritesOf(profilePath, sections));
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
