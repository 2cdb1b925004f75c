#include "app/app_command_line_info.h"

namespace {

struct TransferSwitch {
    const wchar_t* name;
    transfer::Command command;
};

const TransferSwitch kTransferSwitches[] = {
    {L"export", transfer::Command::Export},
    {L"import", transfer::Command::Import},
    {L"profile", transfer::Command::SwitchProfile},
    {L"save-profile", transfer::Command::SaveProfile},
    {L"profiles", transfer::Command::ListProfiles},
};

}  // namespace

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
        for (const TransferSwitch& transferSwitch : kTransferSwitches) {
            if (::lstrcmpiW(pszParam, transferSwitch.name) == 0)
                m_transfer = transferSwitch.command;
        }
        m_bExpectTransferFile = transfer::TakesArgument(m_transfer);
    }
}
