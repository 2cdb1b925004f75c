// CWinApp: the one application object, its start-up virtual, the command line and the
// profile functions that keep settings under
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
#ifndef TOLLAN_AFX_WIN_APP_H
#define TOLLAN_AFX_WIN_APP_H

#include "afx/wnd.h"

#include <string>

class CCommandLineInfo {
public:
    CCommandLineInfo();
    virtual ~CCommandLineInfo();

    // Called once per parameter; switches come without their leading '/' or '-'.
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);

    enum { FileNew, FileOpen, FilePrint } m_nShellCommand;
    std::wstring m_strFileName;  // the first parameter that is not a switch
};

// Splits a whole command line (program name first) and hands every parameter to rCmdInfo.
void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, const wchar_t* commandLine);

class CWinApp {
public:
    explicit CWinApp(const wchar_t* lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();

    void SetRegistryKey(const wchar_t* lpszRegistryKey);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

    UINT GetProfileInt(const wchar_t* lpszSection, const wchar_t* lpszEntry, int nDefault);
    std::wstring GetProfileString(const wchar_t* lpszSection, const wchar_t* lpszEntry,
                                  const wchar_t* lpszDefault = L"");
    BOOL WriteProfileInt(const wchar_t* lpszSection, const wchar_t* lpszEntry, int nValue);
    BOOL WriteProfileString(const wchar_t* lpszSection, const wchar_t* lpszEntry, const wchar_t* lpszValue);
    // HKEY_CURRENT_USER\Software\<registry key>\<profile name>, relative to HKEY_CURRENT_USER.
    std::wstring GetAppRegistryPath() const;

    CWnd* m_pMainWnd;
    HINSTANCE m_hInstance;
    const wchar_t* m_pszAppName;
    wchar_t* m_pszRegistryKey;   // heap copy (free), set by SetRegistryKey
    wchar_t* m_pszProfileName;   // heap copy (free); the executable's name until replaced
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The program hosts no ActiveX controls; kept so start-up reads as it always has.
void AfxEnableControlContainer();
int AfxMessageBox(const wchar_t* lpszText, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
// A string resource of the user interface language; empty when there is none.
std::wstring AfxLoadString(UINT nID);

// The program's entry: runs the application object's InitInstance.
int AfxWinMain(HINSTANCE hInstance);

#endif
