#include "app/configurator_app.h"

#include "app/app_command_line_info.h"
#include "config/table_statistics.h"
#include "mainwnd/main_dialog.h"
#include "store/pending_save.h"

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

namespace {

const wchar_t kRegistryKey[] = L"Brellow Group";
const wchar_t kProfileName[] = L"Settings";

}  // namespace

CConfiguratorApp::CConfiguratorApp() : CWinApp(nullptr), m_bTestMode(0), m_nExitCode(0) {}

void CConfiguratorApp::SetSettingsPlace(const wchar_t* registryKey) {
    SetRegistryKey(registryKey);
    // The profile name that came from the executable's name gives way to "Settings".
    std::free(m_pszProfileName);
    size_t length = std::wcslen(kProfileName) + 1;
    m_pszProfileName = static_cast<wchar_t*>(std::malloc(length * sizeof(wchar_t)));
    if (m_pszProfileName != nullptr)
        std::wmemcpy(m_pszProfileName, kProfileName, length);
}

BOOL CConfiguratorApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetSettingsPlace(kRegistryKey);
    // A save that an earlier Tollan did not live to finish is finished before anything reads
    // the settings (the window, an export, an import).
    (void)store::FinishPendingSave(store::PendingSavePath(GetAppRegistryPath()));

    CAppCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    m_bTestMode = commandLine.m_bTest ? 1 : 0;
    if (commandLine.m_transfer != transfer::Command::None) {
        m_nExitCode = transfer::RunCommand(commandLine.m_transfer, commandLine.m_strTransferFile);
        return FALSE;
    }

    MeasureVocabularyTables();

    {
        CMainDialog dialog;
        dialog.SetStartMode(m_bTestMode != 0);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        // A packet that comes after the dialog ended must find no main window.
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
