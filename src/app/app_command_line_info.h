// The command line of Tollan: the parameter "test" (plain, /test or -test; exactly in
// lower case) selects the test pages.
#ifndef TOLLAN_APP_APP_COMMAND_LINE_INFO_H
#define TOLLAN_APP_APP_COMMAND_LINE_INFO_H

#include "afx/win_app.h"

class CAppCommandLineInfo : public CCommandLineInfo {
public:
    CAppCommandLineInfo();
    void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) override;

    bool m_bTest;
};

#endif
