// The simulator's settings: an environment variable when it is set (also to empty text),
// else the key of the [Simulator] section of VUZoz.ini beside the module that holds the
// simulator. Both are read at every call, so a change takes effect at once.
#ifndef VUZOZ_SETTINGS_H
#define VUZOZ_SETTINGS_H

#include <string>

namespace vuzoz {

struct Setting {
    const wchar_t* variable;  // "VUZOZ_PANELS"
    const wchar_t* key;       // "Panels"
};

const Setting kPanelsSetting = {L"VUZOZ_PANELS", L"Panels"};
const Setting kLogSetting = {L"VUZOZ_LOG", L"Log"};
const Setting kDemoSetting = {L"VUZOZ_DEMO", L"Demo"};
const Setting kFailInitSetting = {L"VUZOZ_FAIL_INIT", L"FailInit"};
const Setting kVirtualSetting = {L"VUZOZ_VIRTUAL", L"Virtual"};
const Setting kPanelsFileSetting = {L"VUZOZ_PANELS_FILE", L"PanelsFile"};

// Full path of VUZoz.ini beside the simulator's module (the file need not exist).
std::wstring SettingsFilePath();

// False when neither the variable nor the key is there.
bool ReadSetting(const Setting& setting, std::wstring& value);

// True only when the setting holds exactly "1".
bool SettingSwitch(const Setting& setting);

}  // namespace vuzoz

#endif
