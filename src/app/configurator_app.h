// The application object: prepares the common controls and the settings place, reads
// the command line, measures the vocabulary tables and runs the main window (or brings the
// window of the Tollan already running to the front), or, for /export and /import, moves the
// settings without a window.
#ifndef TOLLAN_APP_CONFIGURATOR_APP_H
#define TOLLAN_APP_CONFIGURATOR_APP_H

#include "afx/afx.h"

class CConfiguratorApp : public CWinApp {
public:
    CConfiguratorApp();

    BOOL InitInstance() override;
    // Puts the profile functions under HKEY_CURRENT_USER\Software\<registryKey>\Settings.
    void SetSettingsPlace(const wchar_t* registryKey);

    int m_bTestMode;  // 1 when the command line asked for test pages
    int m_nExitCode;  // the process's exit code: that of /export or /import, else 0
};

#endif
