#include "transfer/command_line_transfer.h"

#include "afx/win_app.h"
#include "resource.h"
#include "store/settings_store.h"
#include "transfer/profile_store.h"
#include "transfer/settings_transfer.h"

#include <windows.h>

namespace transfer {

namespace {

const wchar_t kUsage[] =
    L"Usage: Tollan.exe /export <file> | /import <file> | /profile <name> | /save-profile <name> | /profiles";

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

void WriteLine(DWORD which, const std::wstring& text) {
    std::wstring line = text + L"\r\n";
    HANDLE output = ::GetStdHandle(which);
    // A program of the GUI subsystem started from a console has no standard handles of
    // its own unless the starter redirected them.
    HANDLE console = nullptr;
    if (!IsUsable(output) && (::AttachConsole(ATTACH_PARENT_PROCESS) || ::GetLastError() == ERROR_ACCESS_DENIED)) {
        console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        output = console;
    }
    if (!IsUsable(output))
        return;
    DWORD written = 0;
    DWORD mode = 0;
    if (::GetConsoleMode(output, &mode)) {
        (void)::WriteConsoleW(output, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    } else {
        int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
        std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
        if (size > 0)
            ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], size, nullptr,
                                  nullptr);
        (void)::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (IsUsable(console))
        ::CloseHandle(console);
}

// A switch from a script never asks and never loses work: the active profile is updated
// first, and settings that are in no profile are not replaced.
class CScriptAnswers : public CSwitchQuestions {
public:
    CScriptAnswers() : m_refused(false) {}
    Answer UpdateActiveFirst(const std::wstring&, const std::wstring&) override { return kYes; }
    bool ReplaceSettingsInNoProfile(const std::wstring&) override {
        m_refused = true;
        return false;
    }
    bool Refused() const { return m_refused; }

private:
    bool m_refused;
};

Outcome Switch(const std::wstring& name) {
    CScriptAnswers answers;
    SwitchResult result = SwitchProfile(CProfileStore::ForApplication(), name, answers);
    if (result.status == SwitchStatus::Switched)
        return Outcome{true, std::wstring()};
    if (result.status == SwitchStatus::Cancelled && answers.Refused())
        return Outcome{false, FormatString(IDS_PROFILE_UNSAVED_REFUSED, name)};
    return Outcome{false, result.message};
}

// One line per profile in the folder's order, the active one marked with "*"; an active
// profile whose file is gone is listed as missing.
Outcome ListProfiles() {
    const CProfileStore profiles = CProfileStore::ForApplication();
    std::vector<std::wstring> names = profiles.Names();
    const std::wstring active = profiles.ActiveName();
    bool activeListed = active.empty();
    for (const std::wstring& name : names)
        activeListed = activeListed || store::SameName(name, active);
    for (const std::wstring& name : names)
        WriteToStandardOutput((store::SameName(name, active) ? L"* " : L"  ") + name);
    if (!activeListed)
        WriteToStandardOutput(L"* " + FormatString(IDS_PROFILE_MISSING, active));
    return Outcome{true, std::wstring()};
}

}  // namespace

bool TakesArgument(Command command) { return command != Command::None && command != Command::ListProfiles; }

void WriteToStandardOutput(const std::wstring& text) { WriteLine(STD_OUTPUT_HANDLE, text); }

void WriteToStandardError(const std::wstring& text) { WriteLine(STD_ERROR_HANDLE, text); }

int RunCommand(Command command, const std::wstring& argument) {
    if (command == Command::None || (TakesArgument(command) && argument.empty())) {
        WriteToStandardError(kUsage);
        return kExitUsage;
    }
    Outcome outcome = {false, std::wstring()};
    switch (command) {
    case Command::Export: outcome = ExportAll(argument); break;
    case Command::Import: {
        SettingsFile file;
        outcome = LoadSettingsFile(argument, &file);
        if (outcome.ok)
            outcome = ImportAll(file);
        break;
    }
    case Command::SwitchProfile: outcome = Switch(argument); break;
    case Command::SaveProfile: outcome = CProfileStore::ForApplication().Save(argument); break;
    case Command::ListProfiles: outcome = ListProfiles(); break;
    case Command::None: break;
    }
    if (outcome.ok)
        return kExitOk;
    WriteToStandardError(outcome.message);
    return kExitFailed;
}

}  // namespace transfer
