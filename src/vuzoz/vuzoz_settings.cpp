#include "vuzoz_settings.h"

#include "vuzoz_environment.h"
#include "vuzoz_module.h"

#include <windows.h>

namespace vuzoz {

namespace {

const wchar_t kSection[] = L"Simulator";
// A default no one writes in a settings file tells a missing key from an empty one.
const wchar_t kMissing[] = L"\x01missing";

bool ReadIniKey(const wchar_t* key, std::wstring& value)
{
    const std::wstring path = SettingsFilePath();
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(kSection, key, kMissing, &buffer[0],
                                                      static_cast<DWORD>(buffer.size()),
                                                      path.c_str());
        if (length + 1 < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.assign(buffer.size() * 2, L'\0');  // cut short: read again with more room
    }
    if (buffer == kMissing)
        return false;
    value = buffer;
    return true;
}

}  // namespace

std::wstring SettingsFilePath()
{
    const std::wstring folder = ThisModuleFolder();
    return folder.empty() ? std::wstring() : folder + L"VUZoz.ini";
}

bool ReadSetting(const Setting& setting, std::wstring& value)
{
    if (ReadEnvironment(setting.variable, value))
        return true;
    return ReadIniKey(setting.key, value);
}

bool SettingSwitch(const Setting& setting)
{
    std::wstring value;
    return ReadSetting(setting, value) && value == L"1";
}

}  // namespace vuzoz
