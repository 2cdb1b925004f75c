// The /export and /import switches as the command line parser reads them.
#include "app/app_command_line_info.h"

#include <gtest/gtest.h>

namespace {

CAppCommandLineInfo Parse(const wchar_t* commandLine) {
    CAppCommandLineInfo info;
    AfxParseCommandLine(info, commandLine);
    return info;
}

TEST(TransferFileCommandLine, SwitchesTakeTheNextParameterAsTheFile) {
    CAppCommandLineInfo info = Parse(L"Tollan.exe /export \"C:\\My settings\\panels.reg\"");
    EXPECT_EQ(transfer::Command::Export, info.m_transfer);
    EXPECT_EQ(L"C:\\My settings\\panels.reg", info.m_strTransferFile);
    EXPECT_FALSE(info.m_bTest);

    info = Parse(L"Tollan.exe -Import backup.reg");
    EXPECT_EQ(transfer::Command::Import, info.m_transfer);
    EXPECT_EQ(L"backup.reg", info.m_strTransferFile);
}

TEST(TransferFileCommandLine, WithoutAFileTheNameStaysEmpty) {
    CAppCommandLineInfo info = Parse(L"Tollan.exe /import");
    EXPECT_EQ(transfer::Command::Import, info.m_transfer);
    EXPECT_TRUE(info.m_strTransferFile.empty());
    // A switch right after is not a file name, and keeps its own meaning.
    info = Parse(L"Tollan.exe /export /test");
    EXPECT_EQ(transfer::Command::Export, info.m_transfer);
    EXPECT_TRUE(info.m_strTransferFile.empty());
    EXPECT_TRUE(info.m_bTest);
}

TEST(TransferFileCommandLine, PlainWordsAreNoCommands) {
    CAppCommandLineInfo info = Parse(L"Tollan.exe export file.reg test");
    EXPECT_EQ(transfer::Command::None, info.m_transfer);
    EXPECT_TRUE(info.m_bTest);
    // A file named "test" after /import is the file, not the test switch.
    info = Parse(L"Tollan.exe /import test");
    EXPECT_EQ(L"test", info.m_strTransferFile);
    EXPECT_FALSE(info.m_bTest);
}

}  // namespace
