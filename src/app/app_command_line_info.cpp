#include "app/app_command_line_info.h"

CAppCommandLineInfo::CAppCommandLineInfo()
    : m_bTest(false), m_transfer(transfer::Command::None), m_bExpectTransferFile(false) {}

void CAppCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast) {
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    if (m_bExpectTransferFile) {
        m_bExpectTransferFile = false;
        if (!bFlag) {
            m_strTransferFile = pszParam;
            return;
        }
    }
    if (::lstrcmpW(pszParam, L"test") == 0)
        m_bTest = true;
    if (bFlag && m_transfer == transfer::Command::None) {
        if (::lstrcmpiW(pszParam, L"export") == 0)
            m_transfer = transfer::Command::Export;
        else if (::lstrcmpiW(pszParam, L"import") == 0)
            m_transfer = transfer::Command::Import;
        m_bExpectTransferFile = m_transfer != transfer::Command::None;
    }
}
