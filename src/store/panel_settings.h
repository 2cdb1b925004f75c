// A panel's settings as one value: the configuration and the hardware section of one
// device key, with the values the store keeps there under the names and types the
// simulator-side reader reads. Read in one go, compared, and written all or nothing (also
// when Tollan ends half-way: see pending_save.h). A section's values Tollan does not know
// are not part of the record; a write leaves them where they are.
#ifndef TOLLAN_STORE_PANEL_SETTINGS_H
#define TOLLAN_STORE_PANEL_SETTINGS_H

#include "store/pending_save.h"
#include "store/settings_store.h"

#include <windows.h>

#include <string>
#include <vector>

namespace store {

enum class SectionKind { Config, Hardware };

struct SettingValue {
    std::wstring name;
    DWORD type;          // REG_DWORD or REG_SZ
    DWORD number;        // REG_DWORD
    std::wstring text;   // REG_SZ
};

// The values of one section, in the order they are stored or are to be written.
struct SettingSection {
    SectionKind kind;
    std::wstring deviceKey;
    std::vector<SettingValue> values;

    // The section's name under the profile key: "All aircraft\<key>" or "Hardware\<key>".
    std::wstring Name() const;
    const SettingValue* Find(const wchar_t* name) const;
    // The number stored under name, or fallback when there is none.
    DWORD Number(const wchar_t* name, DWORD fallback) const;
    void AddDword(const std::wstring& name, DWORD value);
    void AddString(const std::wstring& name, const std::wstring& text);
};

// Both sections of one device key; a section the store does not have is absent.
struct PanelSettings {
    std::wstring deviceKey;
    std::vector<SettingSection> sections;  // the configuration section first

    const SettingSection* Find(SectionKind kind) const;
    // The section of kind, added empty when it is not there.
    SettingSection& Section(SectionKind kind);
    // What each value of the hardware section stands for, with the defaults for what is absent.
    HardwareSettings Hardware() const;
};

// The registry type the store keeps under name in a section of kind, or REG_NONE when the
// name is not one of the store's.
DWORD StoredValueType(SectionKind kind, const std::wstring& name);

// The store's values of the key's two sections under the profile (a path relative to
// HKEY_CURRENT_USER), in the store's order; a value of another name or type is left out.
PanelSettings ReadPanelSettings(const std::wstring& profilePath, const std::wstring& deviceKey);
// The device keys that have a configuration or a hardware section, sorted, each once.
std::vector<std::wstring> StoredDeviceKeys(const std::wstring& profilePath);

// The same values in each section, as the reader sees them: names in any case, a section that is
// not there the same as one without the store's values.
bool SameSettings(const PanelSettings& a, const PanelSettings& b);

// True when writing panel would change nothing the reader sees in stored: every value of
// panel is stored with the same type and contents.
bool Holds(const PanelSettings& stored, const PanelSettings& panel);

// Writes every value of every section of the panels, all or nothing; the sections' other
// values stay.
SaveResult WritePanelSettings(const std::wstring& profilePath, const std::vector<PanelSettings>& panels);
SaveResult WriteSettingSections(const std::wstring& profilePath, const std::vector<SettingSection>& sections);
// What writing the sections under the profile writes, section by section, for a save that
// writes more than panel settings (the active profile's name beside them).
std::vector<SectionWrites> SectionWritesOf(const std::wstring& profilePath, const std::vector<SettingSection>& sections);

}  // namespace store

#endif
