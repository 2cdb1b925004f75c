#include "vuzoz_panel_list.h"

#include "vuzoz_device_key.h"

#include <set>

namespace vuzoz {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsSerialCharacter(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// The text as plain ASCII for a message, shortened if it is long.
std::string Printable(const std::wstring& text)
{
    const size_t kMaxShown = 40;
    std::string shown;
    for (size_t i = 0; i < text.size() && i < kMaxShown; ++i) {
        const wchar_t c = text[i];
        shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    if (text.size() > kMaxShown)
        shown += "...";
    return shown;
}

// Registry key names do not tell upper from lower case.
std::string Folded(const std::string& key)
{
    std::string folded = key;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

struct Entry {
    tagBGDevHWType type = BG_HW_NONE;
    std::string serial;  // empty: none
};

bool ParseEntry(const std::wstring& entry, Entry& parsed)
{
    if (entry.empty() || entry[0] < L'1' || entry[0] > L'3')
        return false;
    parsed.type = static_cast<tagBGDevHWType>(entry[0] - L'0');
    parsed.serial.clear();
    if (entry.size() == 1)
        return true;
    if (entry[1] != L':' || entry.size() == 2 || entry.size() - 2 > kMaxSerialLength)
        return false;
    for (size_t i = 2; i < entry.size(); ++i) {
        if (!IsSerialCharacter(entry[i]))
            return false;
        parsed.serial += static_cast<char>(entry[i]);
    }
    return true;
}

PanelList Refused(const std::string& source, const std::string& reason)
{
    PanelList list;
    list.error = source + " cannot be read: " + reason + "; no panel attached.";
    return list;
}

}  // namespace

std::vector<tagBGDevHWType> DefaultPanelTypes()
{
    return {BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO};
}

PanelList DefaultPanels()
{
    return ParsePanelList(L"1,2,3");
}

PanelList ParsePanelList(const std::wstring& text)
{
    return ParsePanelList(text, "VUZOZ_PANELS=\"" + Printable(text) + "\"");
}

PanelList ParsePanelList(const std::wstring& text, const std::string& source)
{
    PanelList list;
    if (Trimmed(text).empty())
        return list;

    int ordinals[4] = {0, 0, 0, 0};
    std::set<std::string> folded;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(L',', start);
        const size_t end = comma == std::wstring::npos ? text.size() : comma;
        const std::wstring entry = Trimmed(text.substr(start, end - start));
        Entry parsed;
        if (!ParseEntry(entry, parsed)) {
            return Refused(source, "\"" + Printable(entry) +
                                       "\" is not a panel (a type: 1 pushbutton 8x8, 2 toggle switch "
                                       "8x8, 3 radio; then optionally \":\" and a serial of 1 to 16 "
                                       "letters or digits)");
        }
        if (list.types.size() == kMaxPanels)
            return Refused(source, "more than " + std::to_string(kMaxPanels) + " panels");
        const std::string key = parsed.serial.empty()
                                    ? MakeDeviceKey(parsed.type, ++ordinals[parsed.type])
                                    : MakeDeviceKey(parsed.type, parsed.serial);
        if (!folded.insert(Folded(key)).second)
            return Refused(source, "two panels would have the key \"" + key + "\"");
        list.types.push_back(parsed.type);
        list.keys.push_back(key);
        if (comma == std::wstring::npos)
            return list;
        start = comma + 1;
    }
}

PanelList ParsePanelFileText(const std::wstring& text, const std::string& source)
{
    std::wstring entries;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = Trimmed(text.substr(start, end - start));
        if (!line.empty() && line[0] != L'#') {
            if (!entries.empty())
                entries += L',';
            entries += line;
        }
        start = end + 1;
    }
    return ParsePanelList(entries, source);
}

}  // namespace vuzoz
