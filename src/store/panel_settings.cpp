#include "store/panel_settings.h"

#include "afx/registry_key.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace store {

namespace {

const wchar_t* const kConfigBases[] = {kButton, kOnButton, kOffButton, kButtonVar, kLED, kLEDcomp, kLEDval};
// In the order a save writes them.
const wchar_t* const kHardwareNames[] = {kBrightness, kSlowOff, kSlowOn, kFastOff, kFastOn, kType};

bool IsIndexedName(const std::wstring& name, const wchar_t* base) {
    std::wstring prefix(base);
    return name.size() == prefix.size() + 1 && name.compare(0, prefix.size(), prefix) == 0 &&
           name.back() >= L'0' && name.back() < L'0' + kRowCount;
}

std::wstring SectionPath(const std::wstring& profilePath, const SettingSection& section) {
    return profilePath + L"\\" + section.Name();
}

// Reads name when the store keeps it with the expected type.
bool ReadValue(HKEY key, const std::wstring& name, DWORD expected, SettingValue* value) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != expected)
        return false;
    std::vector<BYTE> bytes(size + sizeof(wchar_t), 0);
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS ||
        type != expected)
        return false;
    const BYTE* data = bytes.data();
    value->name = name;
    value->type = type;
    if (type == REG_DWORD) {
        if (size != sizeof(DWORD))
            return false;
        std::memcpy(&value->number, data, sizeof(DWORD));
    } else {
        size_t chars = size / sizeof(wchar_t);
        const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
        while (chars > 0 && text[chars - 1] == L'\0')
            --chars;
        // A text with a zero inside is kept as stored: a save writes it back as it was.
        value->text.assign(text, chars);
    }
    return true;
}

bool ReadSection(const std::wstring& profilePath, SettingSection* section) {
    CKey key;
    if (key.Open(HKEY_CURRENT_USER, SectionPath(profilePath, *section).c_str()) != ERROR_SUCCESS)
        return false;
    std::vector<std::wstring> names;
    if (section->kind == SectionKind::Config) {
        for (int d = 0; d < kRowCount; ++d) {
            for (const wchar_t* base : kConfigBases)
                names.push_back(IndexedValueName(base, d));
        }
    } else {
        names.assign(std::begin(kHardwareNames), std::end(kHardwareNames));
    }
    for (const std::wstring& name : names) {
        SettingValue value = {};
        if (ReadValue(key, name, StoredValueType(section->kind, name), &value))
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
        keys->emplace_back(name, length);
    }
}

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_LESS_THAN;
}

bool SameValue(const SettingValue& a, const SettingValue& b) {
    return a.type == b.type && (a.type == REG_DWORD ? a.number == b.number : a.text == b.text);
}

}  // namespace

std::wstring SettingSection::Name() const {
    return kind == SectionKind::Config ? ConfigSectionName(deviceKey) : HardwareSectionName(deviceKey);
}

const SettingValue* SettingSection::Find(const wchar_t* name) const {
    for (const SettingValue& value : values) {
        if (SameName(value.name, name))
            return &value;
    }
    return nullptr;
}

DWORD SettingSection::Number(const wchar_t* name, DWORD fallback) const {
    const SettingValue* value = Find(name);
    return value != nullptr && value->type == REG_DWORD ? value->number : fallback;
}

void SettingSection::AddDword(const std::wstring& name, DWORD value) {
    values.push_back(SettingValue{name, REG_DWORD, value, std::wstring()});
}

void SettingSection::AddString(const std::wstring& name, const std::wstring& text) {
    values.push_back(SettingValue{name, REG_SZ, 0, text});
}

const SettingSection* PanelSettings::Find(SectionKind kind) const {
    for (const SettingSection& section : sections) {
        if (section.kind == kind)
            return &section;
    }
    return nullptr;
}

SettingSection& PanelSettings::Section(SectionKind kind) {
    for (SettingSection& section : sections) {
        if (section.kind == kind)
            return section;
    }
    SettingSection added = {kind, deviceKey, {}};
    if (kind == SectionKind::Config)
        return *sections.insert(sections.begin(), added);
    sections.push_back(added);
    return sections.back();
}

HardwareSettings PanelSettings::Hardware() const {
    static const SettingSection none = {SectionKind::Hardware, std::wstring(), {}};
    const SettingSection* section = Find(SectionKind::Hardware);
    if (section == nullptr)
        section = &none;
    const auto read = [&](const wchar_t* name, int fallback) {
        return static_cast<BYTE>(section->Number(name, static_cast<DWORD>(fallback)) & 0xFF);
    };
    HardwareSettings settings = {};
    settings.brightness = read(kBrightness, kDefaultBrightness);
    settings.slowOn = read(kSlowOn, kDefaultSlowOn);
    settings.slowOff = read(kSlowOff, kDefaultSlowOff);
    settings.fastOn = read(kFastOn, kDefaultFastOn);
    settings.fastOff = read(kFastOff, kDefaultFastOff);
    return settings;
}

DWORD StoredValueType(SectionKind kind, const std::wstring& name) {
    if (kind == SectionKind::Hardware) {
        for (const wchar_t* known : kHardwareNames) {
            if (name == known)
                return REG_DWORD;
        }
        return REG_NONE;
    }
    for (const wchar_t* base : kConfigBases) {
        if (base != kLEDval && IsIndexedName(name, base))
            return REG_DWORD;
    }
    return IsIndexedName(name, kLEDval) ? REG_SZ : REG_NONE;
}

PanelSettings ReadPanelSettings(const std::wstring& profilePath, const std::wstring& deviceKey) {
    PanelSettings panel;
    panel.deviceKey = deviceKey;
    for (SectionKind kind : {SectionKind::Config, SectionKind::Hardware}) {
        SettingSection section = {kind, deviceKey, {}};
        if (ReadSection(profilePath, &section))
            panel.sections.push_back(section);
    }
    return panel;
}

std::vector<std::wstring> StoredDeviceKeys(const std::wstring& profilePath) {
    std::vector<std::wstring> keys;
    AddSubkeys(profilePath + L"\\" + kConfigFolder, &keys);
    AddSubkeys(profilePath + L"\\" + kHardwareFolder, &keys);
    std::sort(keys.begin(), keys.end(), LessNoCase);
    keys.erase(std::unique(keys.begin(), keys.end(), SameName), keys.end());
    return keys;
}

bool Holds(const PanelSettings& stored, const PanelSettings& panel) {
    for (const SettingSection& section : panel.sections) {
        const SettingSection* there = stored.Find(section.kind);
        for (const SettingValue& value : section.values) {
            const SettingValue* storedValue = there != nullptr ? there->Find(value.name.c_str()) : nullptr;
            if (storedValue == nullptr || !SameValue(*storedValue, value))
                return false;
        }
    }
    return true;
}

bool SameSettings(const PanelSettings& a, const PanelSettings& b) {
    // A section that is not there reads as one that holds none of the store's values.
    const auto count = [](const PanelSettings& panel, SectionKind kind) {
        const SettingSection* section = panel.Find(kind);
        return section != nullptr ? section->values.size() : 0;
    };
    for (SectionKind kind : {SectionKind::Config, SectionKind::Hardware}) {
        if (count(a, kind) != count(b, kind))
            return false;
    }
    return Holds(a, b) && Holds(b, a);
}

SaveResult WriteSettingSections(const std::wstring& profilePath, const std::vector<SettingSection>& sections) {
    return SaveSections(PendingSavePath(profilePath), SectionWritesOf(profilePath, sections));
}

std::vector<SectionWrites> SectionWritesOf(const std::wstring& profilePath, const std::vector<SettingSection>& sections) {
    std::vector<SectionWrites> writes;
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

SaveResult WritePanelSettings(const std::wstring& profilePath, const std::vector<PanelSettings>& panels) {
    std::vector<SettingSection> sections;
    for (const PanelSettings& panel : panels)
        sections.insert(sections.end(), panel.sections.begin(), panel.sections.end());
    return WriteSettingSections(profilePath, sections);
}

}  // namespace store
