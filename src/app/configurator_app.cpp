#include "app/configurator_app.h"

#include "app/app_command_line_info.h"
#include "app/main_window_publisher.h"
#include "app/single_instance.h"
#include "config/table_statistics.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "store/pending_save.h"

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

namespace {

const wchar_t kRegistryKey[] = L"Brellow Group";
const wchar_t kProfileName[] = L"Settings";
// How long a second start waits for the window of a Tollan that is still starting (or for
// one that is ending to be gone).
const DWORD kWaitForRunningWindow = 10000;

// Tollan runs already: its window comes to the front. A start for the other mode says first
// why it opens no window of its own.
void ShowRunningTollan(const CSingleInstance& instance, CSingleInstance::Mode wanted) {
    if (instance.RunningMode() != wanted) {
        const UINT text = instance.RunningMode() == CSingleInstance::kTestMode ? IDS_ALREADY_RUNNING_TEST
                                                                                : IDS_ALREADY_RUNNING_CONFIGURATION;
        (void)AfxMessageBox(text, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    }
    if (::IsWindow(instance.RunningWindow()))
        BringToFront(instance.RunningWindow());
}

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

    CAppCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    m_bTestMode = commandLine.m_bTest ? 1 : 0;
    const std::wstring identity = std::wstring(kRegistryKey) + L" " + m_pszAppName;
    const std::wstring pendingSave = store::PendingSavePath(GetAppRegistryPath());
    if (commandLine.m_transfer != transfer::Command::None) {
        // A save that an earlier Tollan did not live to finish is finished before anything
        // reads the settings, unless a window runs: the save may be that window's, under way.
        if (!CSingleInstance::IsClaimed(identity))
            (void)store::FinishPendingSave(pendingSave);
        m_nExitCode = transfer::RunCommand(commandLine.m_transfer, commandLine.m_strTransferFile);
        return FALSE;
    }

    CSingleInstance instance(identity);
    const CSingleInstance::Mode mode = m_bTestMode ? CSingleInstance::kTestMode : CSingleInstance::kConfigurationMode;
    switch (instance.ClaimWindow(kWaitForRunningWindow)) {
    case CSingleInstance::kRunning:
        ShowRunningTollan(instance, mode);
        return FALSE;
    case CSingleInstance::kNotAnswering:
        return FALSE;  // the other showed no window in time (still starting, or hung): leave it be
    case CSingleInstance::kClaimed:
        break;
    }
    // Only the start that holds the window claim finishes a save an earlier Tollan left.
    (void)store::FinishPendingSave(pendingSave);

    MeasureVocabularyTables();

    {
        CMainDialog dialog;
        dialog.SetStartMode(m_bTestMode != 0);
        m_pMainWnd = &dialog;
        CMainWindowPublisher publisher(instance, dialog, mode);
        dialog.DoModal();
        // A packet that comes after the dialog ended must find no main window.
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
