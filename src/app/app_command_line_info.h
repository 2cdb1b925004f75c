// The command line of Tollan: the parameter "test" (plain, /test or -test; exactly in
// lower case) selects the test pages; the switch /export or /import (any case) followed
// by a file name moves the stored settings to or from that file without a window, and
// /profile or /save-profile followed by a name, or /profiles, switch, save or list profiles.
#ifndef TOLLAN_APP_APP_COMMAND_LINE_INFO_H
#define TOLLAN_APP_APP_COMMAND_LINE_INFO_H

#include "afx/win_app.h"
#include "transfer/command_line_transfer.h"

#include <string>

class CAppCommandLineInfo : public CCommandLineInfo {
public:
    CAppCommandLineInfo();
    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

    bool m_bTest;
    transfer::Command m_transfer;    // None unless a switch without a window was given
    std::wstring m_strTransferFile;  // the file or profile name after it; empty when missing

private:
    bool m_bExpectTransferFile;
};

#endif
