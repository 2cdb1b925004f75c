#include "store/settings_store.h"

#include "afx/win_app.h"
#include "resource.h"

#include <windows.h>

namespace store {

const wchar_t kConfigFolder[] = L"All aircraft";
const wchar_t kHardwareFolder[] = L"Hardware";

const wchar_t kButton[] = L"Button";
const wchar_t kOnButton[] = L"OnButton";
const wchar_t kOffButton[] = L"OffButton";
const wchar_t kButtonVar[] = L"ButtonVar";
const wchar_t kLED[] = L"LED";
const wchar_t kLEDcomp[] = L"LEDcomp";
const wchar_t kLEDval[] = L"LEDval";

const wchar_t kBrightness[] = L"Brightness";
const wchar_t kSlowOff[] = L"Slow Off";
const wchar_t kSlowOn[] = L"Slow On";
const wchar_t kFastOff[] = L"Fast Off";
const wchar_t kFastOn[] = L"Fast On";
const wchar_t kType[] = L"Type";

namespace {

// The format string with its one "%s" replaced by the key.
std::wstring FormatSection(UINT formatId, const std::wstring& deviceKey) {
    std::wstring section = AfxLoadString(formatId);
    size_t at = section.find(L"%s");
    if (at != std::wstring::npos)
        section.replace(at, 2, deviceKey);
    return section;
}

}  // namespace

std::wstring DeviceKeyText(const char* deviceKey) {
    if (deviceKey == nullptr)
        return std::wstring();
    // Keys are UTF-8 (ASCII is too); a key that is not is read in the ANSI code page, as
    // keys were read before.
    UINT codePage = CP_UTF8;
    int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, deviceKey, -1, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = ::MultiByteToWideChar(codePage, 0, deviceKey, -1, nullptr, 0);
    }
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, deviceKey, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::wstring ConfigSectionName(const char* deviceKey) { return ConfigSectionName(DeviceKeyText(deviceKey)); }

std::wstring ConfigSectionName(const std::wstring& deviceKey) { return FormatSection(IDS_CONFIG_SECTION, deviceKey); }

std::wstring HardwareSectionName(const char* deviceKey) { return HardwareSectionName(DeviceKeyText(deviceKey)); }

std::wstring HardwareSectionName(const std::wstring& deviceKey) {
    return FormatSection(IDS_HARDWARE_SECTION, deviceKey);
}

std::wstring IndexedValueName(const wchar_t* base, int index) { return base + std::to_wstring(index); }

bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

}  // namespace store
