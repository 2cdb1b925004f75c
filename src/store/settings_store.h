// Names of the registry sections and values that keep a panel's settings, as the
// simulator-side reader expects them. Every section lives under the application's
// profile key; each device has a configuration and a hardware section named after
// its device key.
#ifndef TOLLAN_STORE_SETTINGS_STORE_H
#define TOLLAN_STORE_SETTINGS_STORE_H

#include <windows.h>

#include <string>

namespace store {

// Registry names (of keys and values) are the same when they differ only in case.
bool SameName(const std::wstring& a, const std::wstring& b);

// The folders of the two sections under the profile key, each holding one key per device.
extern const wchar_t kConfigFolder[];    // "All aircraft"
extern const wchar_t kHardwareFolder[];  // "Hardware"

// The device library's key text (UTF-8; a key that is not UTF-8 in the ANSI code page) as
// the registry names it.
std::wstring DeviceKeyText(const char* deviceKey);
// Configuration section, "All aircraft\<key>" (string 103).
std::wstring ConfigSectionName(const char* deviceKey);
std::wstring ConfigSectionName(const std::wstring& deviceKey);
// Hardware section, "Hardware\<key>" (string 104).
std::wstring HardwareSectionName(const char* deviceKey);
std::wstring HardwareSectionName(const std::wstring& deviceKey);
// A per-row value name: the base followed by the decimal index, "Button3".
std::wstring IndexedValueName(const wchar_t* base, int index);

// Configuration section, per row d = 0..7.
extern const wchar_t kButton[];      // "Button%d": event of a push button
extern const wchar_t kOnButton[];    // "OnButton%d": on-event of a switch
extern const wchar_t kOffButton[];   // "OffButton%d": off-event of a switch
extern const wchar_t kButtonVar[];   // "ButtonVar%d": state variable of a switch, or 0
extern const wchar_t kLED[];         // "LED%d": variable of an LED
extern const wchar_t kLEDcomp[];     // "LEDcomp%d": comparison code of an LED
extern const wchar_t kLEDval[];      // "LEDval%d": value text of an LED

// Hardware section, written in this order.
extern const wchar_t kBrightness[];
extern const wchar_t kSlowOff[];
extern const wchar_t kSlowOn[];
extern const wchar_t kFastOff[];
extern const wchar_t kFastOn[];
extern const wchar_t kType[];

// Defaults of the hardware values when they are absent.
const int kDefaultBrightness = 127;
const int kDefaultSlowOn = 25;
const int kDefaultSlowOff = 25;
const int kDefaultFastOn = 12;
const int kDefaultFastOff = 12;

// What a hardware section holds for the device, each a byte, with the defaults for what is
// missing (PanelSettings::Hardware).
struct HardwareSettings {
    BYTE brightness;
    BYTE slowOn;
    BYTE slowOff;
    BYTE fastOn;
    BYTE fastOff;
};

// Rows per panel in the configuration section.
const int kRowCount = 8;

}  // namespace store

#endif
