// Panel settings as a Windows registry script: regedit's "Windows Registry Editor
// Version 5.00" format, written in UTF-16 LE with a byte order mark, holding configuration
// and hardware sections with exactly the value names and types that the store uses. The
// reader also takes the file as Notepad saves it after an edit (UTF-8 with or without a
// byte order mark, or UTF-16 big endian) and is otherwise strict: anything it does not
// expect refuses the whole file.
#ifndef TOLLAN_TRANSFER_REG_FILE_H
#define TOLLAN_TRANSFER_REG_FILE_H

#include "store/panel_settings.h"

#include <windows.h>

#include <string>
#include <vector>

namespace transfer {

// A file's sections are the store's: see store/panel_settings.h.
using store::SectionKind;
using store::SettingSection;
using store::SettingValue;

struct SettingsFile {
    std::vector<SettingSection> sections;

    // The device keys of the sections, each once, in the order they first appear.
    std::vector<std::wstring> DeviceKeys() const;
    // The hardware type ("Type" of the key's hardware section), 0 when there is none.
    DWORD HardwareType(const std::wstring& deviceKey) const;
};

// Why a file was refused; the texts are strings 140 and on.
enum class ParseError {
    None,
    TooLarge,          // over kMaxFileSize bytes
    NotText,           // not a whole number of UTF-16 units, a sequence no encoding has, a NUL
    NoHeader,
    LineTooLong,
    MalformedLine,
    ForeignKey,        // a key outside the settings sections
    BadDeviceKey,      // "..", a backslash, a character a device key does not have
    KeyDeletion,       // "[-...]"
    RepeatedSection,
    ValueOutsideSection,
    UnknownValue,
    WrongType,
    BadNumber,
    BadText,           // an escape other than \\ and \", or an unterminated text
    RepeatedValue,
    BadHardwareType,   // "Type" other than 1, 2 or 3
    NoSettings,
};

struct ParseResult {
    ParseError error = ParseError::None;
    int line = 0;          // 1-based line of the fault, 0 for the file as a whole
    std::wstring detail;   // the value or key concerned, when there is one
    SettingsFile file;
};

const size_t kMaxFileSize = 1024 * 1024;
const size_t kMaxLineLength = 1024;
const size_t kMaxDeviceKeyLength = 200;
const size_t kMaxTextLength = 255;

extern const wchar_t kHeader[];        // "Windows Registry Editor Version 5.00"
extern const wchar_t kSettingsRoot[];  // "HKEY_CURRENT_USER\Software\Brellow Group\Settings"

// True when text can name a device's sections: printable ASCII without a backslash or
// brackets, not "." or "..", at most kMaxDeviceKeyLength characters.
bool IsValidDeviceKey(const std::wstring& text);

// The whole file, byte order mark first.
std::vector<unsigned char> EncodeSettingsFile(const SettingsFile& file);
ParseResult ParseSettingsFile(const std::vector<unsigned char>& bytes);

}  // namespace transfer

#endif
