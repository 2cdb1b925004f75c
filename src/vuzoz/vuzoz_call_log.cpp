#include "vuzoz_call_log.h"

#include "vuzoz_settings.h"

#include <windows.h>

#include <cstdio>

namespace vuzoz {

namespace {

// Says once per path that the log cannot be written, rather than once per call.
void ReportUnwritableLog(const std::wstring& path)
{
    static std::wstring reportedPath;
    if (path == reportedPath)
        return;
    reportedPath = path;
    std::fprintf(stderr, "VUZoz: cannot write the call log (VUZOZ_LOG or Log) \"%ls\" (error %lu).\n",
                 path.c_str(), static_cast<unsigned long>(GetLastError()));
    std::fflush(stderr);
}

}  // namespace

void AppendCallLine(const std::string& line)
{
    std::wstring path;
    if (!ReadSetting(kLogSetting, path) || path.empty())
        return;

    // FILE_APPEND_DATA alone makes every write land at the end of the file, also when
    // another process appends to it at the same time.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportUnwritableLog(path);
        return;
    }
    const std::string text = line + "\n";
    DWORD written = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size())
        ReportUnwritableLog(path);
    (void)CloseHandle(file);
}

}  // namespace vuzoz
