#include "vuzoz_panel_list.h"

namespace vuzoz {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
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

}  // namespace

std::vector<tagBGDevHWType> DefaultPanelTypes()
{
    return {BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO};
}

PanelList ParsePanelList(const std::wstring& text)
{
    PanelList list;
    if (Trimmed(text).empty())
        return list;

    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(L',', start);
        const size_t end = comma == std::wstring::npos ? text.size() : comma;
        const std::wstring entry = Trimmed(text.substr(start, end - start));
        if (entry == L"1" || entry == L"2" || entry == L"3") {
            list.types.push_back(static_cast<tagBGDevHWType>(entry[0] - L'0'));
        } else {
            list.types.clear();
            list.error = "VUZOZ_PANELS=\"" + Printable(text) + "\" cannot be read: \"" +
                         Printable(entry) +
                         "\" is not a panel type (1 pushbutton 8x8, 2 toggle switch 8x8, "
                         "3 radio); no panel attached.";
            return list;
        }
        if (comma == std::wstring::npos)
            return list;
        start = comma + 1;
    }
}

}  // namespace vuzoz
