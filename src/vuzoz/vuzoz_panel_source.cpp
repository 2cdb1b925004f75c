#include "vuzoz_panel_source.h"

#include "vuzoz_environment.h"
#include "vuzoz_module.h"
#include "vuzoz_settings.h"

#include <cstdio>

namespace vuzoz {

namespace {

void ReportUnreadableList(const PanelList& list)
{
    if (list.error.empty())
        return;
    std::fprintf(stderr, "VUZoz: %s\n", list.error.c_str());
    std::fflush(stderr);
}

bool IsRelative(const std::wstring& path)
{
    if (path.size() >= 2 && path[1] == L':')
        return false;  // a drive
    return path.empty() || (path[0] != L'\\' && path[0] != L'/');
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;  // opening it will say what is wrong
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "?";
    std::string utf8(static_cast<size_t>(size), '\0');
    (void)WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size,
                              nullptr, nullptr);
    return utf8;
}

}  // namespace

std::wstring PanelsFilePath()
{
    std::wstring path;
    if (ReadEnvironment(kPanelsFileSetting.variable, path))
        return path.empty() ? path : FullPath(path);
    if (!ReadSetting(kPanelsFileSetting, path) || path.empty())
        return std::wstring();
    if (IsRelative(path)) {
        const std::wstring settings = SettingsFilePath();
        path = settings.substr(0, settings.find_last_of(L"\\/") + 1) + path;
    }
    return FullPath(path);
}

PanelList PanelsWithoutFile()
{
    std::wstring text;
    if (!ReadSetting(kPanelsSetting, text))
        return DefaultPanels();
    PanelList list = ParsePanelList(text);
    ReportUnreadableList(list);
    return list;
}

PanelList PanelsFromSnapshot(const std::wstring& path, const FileSnapshot& snapshot)
{
    const std::string source =
        "the panels file (VUZOZ_PANELS_FILE or PanelsFile) \"" + Utf8(path) + "\"";
    PanelList list;
    switch (snapshot.state) {
    case FileSnapshot::State::kMissing:
        return PanelsWithoutFile();
    case FileSnapshot::State::kUnreadable:
        list.error = source + " cannot be opened (error " + std::to_string(snapshot.error) +
            "); no panel attached until it can be read.";
        break;
    case FileSnapshot::State::kRead:
        if (snapshot.TooLong()) {
            list.error = source + " cannot be read: it is longer than " +
                std::to_string(kMaxSnapshotBytes / 1024) + " KB; no panel attached.";
        } else {
            list = ParsePanelFileText(PanelsFileText(snapshot.bytes), source);
        }
        break;
    }
    ReportUnreadableList(list);
    return list;
}

std::wstring PanelsFileText(const std::string& bytes)
{
    std::wstring text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        if (bytes.size() % 2 != 0)
            text += L'\xFFFD';  // an odd byte at the end: not a list
        return text;
    }
    size_t start = 0;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    for (size_t i = start; i < bytes.size(); ++i)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

}  // namespace vuzoz
