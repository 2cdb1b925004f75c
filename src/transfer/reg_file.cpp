#include "transfer/reg_file.h"

#include "store/settings_store.h"

#include <cwctype>

namespace transfer {

const wchar_t kHeader[] = L"Windows Registry Editor Version 5.00";
const wchar_t kSettingsRoot[] = L"HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings";

namespace {

const wchar_t kDwordPrefix[] = L"dword:";

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && store::SameName(text.substr(0, prefix.size()), prefix);
}

// "Button3" for base "Button": the base followed by one digit 0 to 7.
std::wstring Hex8(DWORD value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text(8, L'0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        text[static_cast<size_t>(i)] = digits[value & 0xF];
    return text;
}

std::wstring Quote(const std::wstring& text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"')
            quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

// Reads a quoted text starting at line[at] == '"'; at ends after the closing quote.
bool ReadQuoted(const std::wstring& line, size_t& at, std::wstring* text) {
    text->clear();
    for (++at; at < line.size(); ++at) {
        wchar_t c = line[at];
        if (c == L'"') {
            ++at;
            return true;
        }
        if (c == L'\\') {
            if (at + 1 >= line.size() || (line[at + 1] != L'\\' && line[at + 1] != L'"'))
                return false;
            c = line[++at];
        }
        *text += c;
    }
    return false;
}

class Parser {
public:
    explicit Parser(ParseResult& result) : m_result(result) {}

    bool Fail(ParseError error, int line, const std::wstring& detail = std::wstring()) {
        m_result.error = error;
        m_result.line = line;
        m_result.detail = detail;
        m_result.file.sections.clear();
        return false;
    }

    bool Decode(const std::vector<unsigned char>& bytes, std::wstring* text) {
        if (bytes.size() > kMaxFileSize)
            return Fail(ParseError::TooLarge, 0);
        text->reserve(bytes.size());
        if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
            return DecodeUtf16(bytes, false, text);
        if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
            return DecodeUtf16(bytes, true, text);
        const bool utf8Mark = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
        return DecodeUtf8(bytes, utf8Mark ? 3 : 0, text);
    }

    bool DecodeUtf16(const std::vector<unsigned char>& bytes, bool bigEndian, std::wstring* text) {
        if (bytes.size() % 2 != 0)
            return Fail(ParseError::NotText, 0);
        auto unit = [&](size_t i) {
            return static_cast<wchar_t>(bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8));
        };
        int line = 1;
        for (size_t i = 2; i < bytes.size(); i += 2) {
            wchar_t c = unit(i);
            if (c == 0)
                return Fail(ParseError::NotText, line);
            if (c >= 0xD800 && c <= 0xDBFF) {
                if (i + 3 >= bytes.size())
                    return Fail(ParseError::NotText, line);
                wchar_t next = unit(i + 2);
                if (next < 0xDC00 || next > 0xDFFF)
                    return Fail(ParseError::NotText, line);
                *text += c;
                *text += next;
                i += 2;
                continue;
            }
            if (c >= 0xDC00 && c <= 0xDFFF)
                return Fail(ParseError::NotText, line);
            if (c == L'\n')
                ++line;
            *text += c;
        }
        return true;
    }

    // Strict UTF-8: no overlong form, no surrogate, nothing above U+10FFFF, no NUL.
    bool DecodeUtf8(const std::vector<unsigned char>& bytes, size_t at, std::wstring* text) {
        int line = 1;
        while (at < bytes.size()) {
            const unsigned char lead = bytes[at];
            unsigned long code = 0;
            size_t length = 0;
            unsigned long smallest = 0;
            if (lead < 0x80) {
                code = lead;
                length = 1;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                code = lead & 0x1Fu;
                length = 2;
                smallest = 0x80;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                code = lead & 0x0Fu;
                length = 3;
                smallest = 0x800;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                code = lead & 0x07u;
                length = 4;
                smallest = 0x10000;
            } else {
                return Fail(ParseError::NotText, line);
            }
            if (at + length > bytes.size())
                return Fail(ParseError::NotText, line);
            for (size_t k = 1; k < length; ++k) {
                if ((bytes[at + k] & 0xC0) != 0x80)
                    return Fail(ParseError::NotText, line);
                code = (code << 6) | (bytes[at + k] & 0x3Fu);
            }
            if (code == 0 || code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return Fail(ParseError::NotText, line);
            if (code >= 0x10000) {
                code -= 0x10000;
                *text += static_cast<wchar_t>(0xD800 + (code >> 10));
                *text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            } else {
                *text += static_cast<wchar_t>(code);
            }
            if (code == L'\n')
                ++line;
            at += length;
        }
        return true;
    }

    bool Parse(const std::wstring& text) {
        size_t start = 0;
        int line = 0;
        bool sawHeader = false;
        while (start < text.size()) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos)
                end = text.size();
            std::wstring content = text.substr(start, end - start);
            start = end + 1;
            ++line;
            if (!content.empty() && content.back() == L'\r')
                content.pop_back();
            if (content.size() > kMaxLineLength)
                return Fail(ParseError::LineTooLong, line);
            while (!content.empty() && (content.back() == L' ' || content.back() == L'\t'))
                content.pop_back();
            for (wchar_t c : content) {
                if (c < 0x20 && c != L'\t')
                    return Fail(ParseError::MalformedLine, line);
            }
            if (!sawHeader) {
                if (content != kHeader)
                    return Fail(ParseError::NoHeader, line);
                sawHeader = true;
                continue;
            }
            if (!ParseLine(content, line))
                return false;
        }
        if (!sawHeader)
            return Fail(ParseError::NoHeader, 1);
        if (m_result.file.sections.empty())
            return Fail(ParseError::NoSettings, 0);
        return true;
    }

private:
    bool ParseLine(const std::wstring& line, int number) {
        if (line.empty() || line[0] == L';')
            return true;
        if (line[0] == L'[')
            return ParseKey(line, number);
        if (line[0] == L'"')
            return ParseValue(line, number);
        if (line[0] == L'@')
            return Fail(ParseError::UnknownValue, number, L"@");
        return Fail(ParseError::MalformedLine, number);
    }

    bool ParseKey(const std::wstring& line, int number) {
        if (line.size() < 2 || line.back() != L']')
            return Fail(ParseError::MalformedLine, number);
        std::wstring path = line.substr(1, line.size() - 2);
        if (!path.empty() && path[0] == L'-')
            return Fail(ParseError::KeyDeletion, number, path.substr(1));
        std::wstring root = std::wstring(kSettingsRoot) + L"\\";
        if (!StartsWithNoCase(path, root))
            return Fail(ParseError::ForeignKey, number, path);
        std::wstring rest = path.substr(root.size());
        SettingSection section;
        std::wstring config = std::wstring(store::kConfigFolder) + L"\\";
        std::wstring hardware = std::wstring(store::kHardwareFolder) + L"\\";
        if (StartsWithNoCase(rest, config)) {
            section.kind = SectionKind::Config;
            section.deviceKey = rest.substr(config.size());
        } else if (StartsWithNoCase(rest, hardware)) {
            section.kind = SectionKind::Hardware;
            section.deviceKey = rest.substr(hardware.size());
        } else {
            return Fail(ParseError::ForeignKey, number, path);
        }
        if (!IsValidDeviceKey(section.deviceKey))
            return Fail(ParseError::BadDeviceKey, number, section.deviceKey);
        for (const SettingSection& existing : m_result.file.sections) {
            if (existing.kind == section.kind && store::SameName(existing.deviceKey, section.deviceKey))
                return Fail(ParseError::RepeatedSection, number, section.Name());
        }
        m_result.file.sections.push_back(section);
        return true;
    }

    bool ParseValue(const std::wstring& line, int number) {
        if (m_result.file.sections.empty())
            return Fail(ParseError::ValueOutsideSection, number);
        SettingSection& section = m_result.file.sections.back();
        size_t at = 0;
        SettingValue value = {};
        if (!ReadQuoted(line, at, &value.name))
            return Fail(ParseError::MalformedLine, number);
        if (at >= line.size() || line[at] != L'=')
            return Fail(ParseError::MalformedLine, number);
        ++at;
        DWORD expected = store::StoredValueType(section.kind, value.name);
        if (expected == REG_NONE)
            return Fail(ParseError::UnknownValue, number, value.name);
        if (section.Find(value.name.c_str()) != nullptr)
            return Fail(ParseError::RepeatedValue, number, value.name);
        std::wstring data = line.substr(at);
        if (!data.empty() && data[0] == L'"') {
            if (expected != REG_SZ)
                return Fail(ParseError::WrongType, number, value.name);
            size_t position = 0;
            if (!ReadQuoted(data, position, &value.text) || position != data.size())
                return Fail(ParseError::BadText, number, value.name);
            if (value.text.size() > kMaxTextLength)
                return Fail(ParseError::BadText, number, value.name);
            value.type = REG_SZ;
        } else if (StartsWithNoCase(data, kDwordPrefix)) {
            if (expected != REG_DWORD)
                return Fail(ParseError::WrongType, number, value.name);
            std::wstring digits = data.substr(std::wcslen(kDwordPrefix));
            if (digits.size() != 8)
                return Fail(ParseError::BadNumber, number, value.name);
            DWORD result = 0;
            for (wchar_t c : digits) {
                if (!std::iswxdigit(c) || c > 0x7F)
                    return Fail(ParseError::BadNumber, number, value.name);
                result = result * 16 + static_cast<DWORD>(c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10);
            }
            value.type = REG_DWORD;
            value.number = result;
            if (section.kind == SectionKind::Hardware && value.name == store::kType &&
                (result < 1 || result > 3))
                return Fail(ParseError::BadHardwareType, number, value.name);
        } else if (StartsWithNoCase(data, L"hex") || data == L"-") {
            return Fail(ParseError::WrongType, number, value.name);
        } else {
            return Fail(ParseError::MalformedLine, number);
        }
        section.values.push_back(value);
        return true;
    }

    ParseResult& m_result;
};

}  // namespace

std::vector<std::wstring> SettingsFile::DeviceKeys() const {
    std::vector<std::wstring> keys;
    for (const SettingSection& section : sections) {
        bool known = false;
        for (const std::wstring& key : keys)
            known = known || store::SameName(key, section.deviceKey);
        if (!known)
            keys.push_back(section.deviceKey);
    }
    return keys;
}

DWORD SettingsFile::HardwareType(const std::wstring& deviceKey) const {
    for (const SettingSection& section : sections) {
        if (section.kind != SectionKind::Hardware || !store::SameName(section.deviceKey, deviceKey))
            continue;
        const SettingValue* type = section.Find(store::kType);
        return type != nullptr ? type->number : 0;
    }
    return 0;
}

bool IsValidDeviceKey(const std::wstring& text) {
    if (text.empty() || text.size() > kMaxDeviceKeyLength || text == L"." || text == L"..")
        return false;
    for (wchar_t c : text) {
        if (c < 0x20 || c > 0x7E || c == L'\\' || c == L'[' || c == L']')
            return false;
    }
    return true;
}

std::vector<unsigned char> EncodeSettingsFile(const SettingsFile& file) {
    std::wstring text = std::wstring(kHeader) + L"\r\n\r\n";
    for (const SettingSection& section : file.sections) {
        text += L"[" + std::wstring(kSettingsRoot) + L"\\" + section.Name() + L"]\r\n";
        for (const SettingValue& value : section.values) {
            text += Quote(value.name) + L"=";
            text += value.type == REG_DWORD ? kDwordPrefix + Hex8(value.number) : Quote(value.text);
            text += L"\r\n";
        }
        text += L"\r\n";
    }
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
    return bytes;
}

ParseResult ParseSettingsFile(const std::vector<unsigned char>& bytes) {
    ParseResult result;
    Parser parser(result);
    std::wstring text;
    if (parser.Decode(bytes, &text))
        (void)parser.Parse(text);
    return result;
}

}  // namespace transfer
