#include "transfer/command_line_transfer.h"

#include "transfer/settings_transfer.h"

#include <windows.h>

namespace transfer {

namespace {

const wchar_t kUsage[] = L"Usage: Tollan.exe /export <file> | /import <file>";

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

void WriteToStandardError(const std::wstring& text) {
    std::wstring line = text + L"\r\n";
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    // A program of the GUI subsystem started from a console has no standard error of
    // its own unless the starter redirected it.
    HANDLE console = nullptr;
    if (!IsUsable(error) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        error = console;
    }
    if (!IsUsable(error))
        return;
    DWORD written = 0;
    DWORD mode = 0;
    if (::GetConsoleMode(error, &mode)) {
        (void)::WriteConsoleW(error, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    } else {
        int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
        std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
        if (size > 0)
            ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], size, nullptr,
                                  nullptr);
        (void)::WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (IsUsable(console))
        ::CloseHandle(console);
}

int RunCommand(Command command, const std::wstring& path) {
    if (command == Command::None || path.empty()) {
        WriteToStandardError(kUsage);
        return kExitUsage;
    }
    Outcome outcome = {false, std::wstring()};
    if (command == Command::Export) {
        outcome = ExportAll(path);
    } else {
        SettingsFile file;
        outcome = LoadSettingsFile(path, &file);
        if (outcome.ok)
            outcome = ImportAll(file);
    }
    if (outcome.ok)
        return kExitOk;
    WriteToStandardError(outcome.message);
    return kExitFailed;
}

}  // namespace transfer
