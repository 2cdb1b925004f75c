#include "afx/win_app.h"

#include "afx/registry_key.h"

#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

namespace {

CWinApp* g_pApp = nullptr;

wchar_t* DuplicateString(const wchar_t* text) {
    size_t length = std::wcslen(text) + 1;
    wchar_t* copy = static_cast<wchar_t*>(std::malloc(length * sizeof(wchar_t)));
    if (copy != nullptr)
        std::wmemcpy(copy, text, length);
    return copy;
}

// The executable's file name without folder and extension.
std::wstring ExecutableTitle() {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : 0);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

}  // namespace

CCommandLineInfo::CCommandLineInfo() : m_nShellCommand(FileNew) {}

CCommandLineInfo::~CCommandLineInfo() {}

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL) {
    if (bFlag) {
        if (::lstrcmpiW(pszParam, L"p") == 0)
            m_nShellCommand = FilePrint;
    } else if (m_strFileName.empty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

void AfxParseCommandLine(CCommandLineInfo& rCmdInfo, const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(commandLine, &count);
    if (args == nullptr)
        return;
    for (int i = 1; i < count; ++i) {
        const wchar_t* param = args[i];
        BOOL bFlag = FALSE;
        if (param[0] == L'-' || param[0] == L'/') {
            bFlag = TRUE;
            ++param;
        }
        rCmdInfo.ParseParam(param, bFlag, i == count - 1);
    }
    ::LocalFree(args);
}

CWinApp::CWinApp(const wchar_t* lpszAppName)
    : m_pMainWnd(nullptr),
      m_hInstance(::GetModuleHandleW(nullptr)),
      m_pszAppName(lpszAppName != nullptr ? lpszAppName : L"Tollan"),
      m_pszRegistryKey(nullptr),
      m_pszProfileName(nullptr) {
    g_pApp = this;
    m_pszProfileName = DuplicateString(ExecutableTitle().c_str());
}

CWinApp::~CWinApp() {
    std::free(m_pszRegistryKey);
    std::free(m_pszProfileName);
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

void CWinApp::SetRegistryKey(const wchar_t* lpszRegistryKey) {
    std::free(m_pszRegistryKey);
    m_pszRegistryKey = DuplicateString(lpszRegistryKey);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) { AfxParseCommandLine(rCmdInfo, ::GetCommandLineW()); }

std::wstring CWinApp::GetAppRegistryPath() const {
    std::wstring path = L"Software\\";
    path += m_pszRegistryKey != nullptr ? m_pszRegistryKey : L"";
    path += L"\\";
    path += m_pszProfileName != nullptr ? m_pszProfileName : L"";
    return path;
}

UINT CWinApp::GetProfileInt(const wchar_t* lpszSection, const wchar_t* lpszEntry, int nDefault) {
    CKey key;
    std::wstring path = GetAppRegistryPath() + L"\\" + lpszSection;
    if (key.Open(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    DWORD value = 0;
    if (key.QueryValue(lpszEntry, value) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    return value;
}

std::wstring CWinApp::GetProfileString(const wchar_t* lpszSection, const wchar_t* lpszEntry,
                                       const wchar_t* lpszDefault) {
    CKey key;
    std::wstring path = GetAppRegistryPath() + L"\\" + lpszSection;
    std::wstring value;
    if (key.Open(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS || key.QueryValue(lpszEntry, value) != ERROR_SUCCESS)
        return lpszDefault;
    return value;
}

BOOL CWinApp::WriteProfileInt(const wchar_t* lpszSection, const wchar_t* lpszEntry, int nValue) {
    CKey key;
    std::wstring path = GetAppRegistryPath() + L"\\" + lpszSection;
    if (key.Create(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS)
        return FALSE;
    return key.SetValue(lpszEntry, static_cast<DWORD>(nValue)) == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const wchar_t* lpszSection, const wchar_t* lpszEntry, const wchar_t* lpszValue) {
    CKey key;
    std::wstring path = GetAppRegistryPath() + L"\\" + lpszSection;
    if (key.Create(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS)
        return FALSE;
    return key.SetValue(lpszEntry, lpszValue) == ERROR_SUCCESS;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() { return g_pApp != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

void AfxEnableControlContainer() {}

int AfxMessageBox(const wchar_t* lpszText, UINT nType) {
    HWND owner = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && ::IsWindow(app->m_pMainWnd->m_hWnd))
        owner = app->m_pMainWnd->m_hWnd;
    const wchar_t* title = app != nullptr ? app->m_pszAppName : L"Tollan";
    return ::MessageBoxW(owner, lpszText, title, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) { return AfxMessageBox(AfxLoadString(nIDPrompt).c_str(), nType); }

std::wstring AfxLoadString(UINT nID) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    int length = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_hInstance = hInstance;
    app->InitInstance();
    return 0;
}
