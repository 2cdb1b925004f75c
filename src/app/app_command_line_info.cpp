#include "app/app_command_line_info.h"

CAppCommandLineInfo::CAppCommandLineInfo() : m_bTest(false) {}

void CAppCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    if (::lstrcmpW(pszParam, L"test") == 0)
        m_bTest = true;
}
