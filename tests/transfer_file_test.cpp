// Settings files: what an export writes, and files that the strict reader refuses as a
// whole, leaving the store exactly as it was.
#include "transfer/command_line_transfer.h"
#include "transfer/reg_file.h"
#include "transfer/settings_transfer.h"
#include "transfer_test_support.h"
#include "test_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using transfer::ParseError;
using transfer_test::DumpStore;
using transfer_test::Utf16File;

const std::wstring kRoot = L"HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings";
const std::wstring kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";
const std::wstring kConfigKey = L"[" + kRoot + L"\\All aircraft\\FAKE-1-0]\r\n";
const std::wstring kHardwareKey = L"[" + kRoot + L"\\Hardware\\FAKE-1-0]\r\n";

std::wstring Repeat(const std::wstring& text, size_t times) {
    std::wstring result;
    for (size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

class TransferFile : public ::testing::Test {
protected:
    void SetUp() override { test_settings::Clear(); }
    void TearDown() override { test_settings::Clear(); }
};

TEST_F(TransferFile, ExportWritesARegistryScriptInUtf16WithEscapedTexts) {
    test_settings::WriteDword(L"All aircraft\\Simulated B88 0", L"Button0", 0x1002C);
    test_settings::WriteString(L"All aircraft\\Simulated B88 0", L"LEDval0", L"a\"b\\c");
    test_settings::WriteDword(L"All aircraft\\Simulated B88 0", L"Foreign", 5);  // not the store's: left out
    test_settings::WriteString(L"All aircraft\\Simulated B88 0", L"LED1", L"text");  // wrong type: left out
    test_settings::WriteDword(L"Hardware\\Simulated B88 0", L"Type", 1);
    test_settings::WriteDword(L"Hardware\\Simulated B88 0", L"Brightness", 200);
    std::wstring path = transfer_test::TempPath(L"export.reg");

    ASSERT_TRUE(transfer::ExportAll(path).ok);

    std::vector<unsigned char> bytes = transfer_test::ReadBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);
    EXPECT_EQ(kHeader +
                  L"[" + kRoot + L"\\All aircraft\\Simulated B88 0]\r\n"
                  L"\"Button0\"=dword:0001002c\r\n"
                  L"\"LEDval0\"=\"a\\\"b\\\\c\"\r\n"
                  L"\r\n"
                  L"[" + kRoot + L"\\Hardware\\Simulated B88 0]\r\n"
                  L"\"Brightness\"=dword:000000c8\r\n"
                  L"\"Type\"=dword:00000001\r\n"
                  L"\r\n",
              transfer_test::FileText(path));
    ::DeleteFileW(path.c_str());
}

TEST_F(TransferFile, ReaderTakesBackWhatTheWriterWrote) {
    transfer::SettingsFile file;
    file.sections.push_back({transfer::SectionKind::Config, L"K 1", {{L"OnButton3", REG_DWORD, 0x10100, L""},
                                                                   {L"LEDval7", REG_SZ, 0, L"\\\"16000\"\\"}}});
    file.sections.push_back({transfer::SectionKind::Hardware, L"K 1", {{L"Type", REG_DWORD, 3, L""},
                                                                     {L"Slow On", REG_DWORD, 300, L""}}});
    transfer::ParseResult result = transfer::ParseSettingsFile(transfer::EncodeSettingsFile(file));
    ASSERT_EQ(ParseError::None, result.error) << result.line;
    ASSERT_EQ(2u, result.file.sections.size());
    EXPECT_EQ(L"All aircraft\\K 1", result.file.sections[0].Name());
    EXPECT_EQ(L"\\\"16000\"\\", result.file.sections[0].Find(L"LEDval7")->text);
    EXPECT_EQ(0x10100u, result.file.sections[0].Find(L"OnButton3")->number);
    EXPECT_EQ(300u, result.file.sections[1].Find(L"Slow On")->number);
    EXPECT_EQ(3u, result.file.HardwareType(L"K 1"));
}

TEST_F(TransferFile, ReaderAcceptsCommentsBlankLinesAndBareLineFeeds) {
    std::wstring text = L"Windows Registry Editor Version 5.00\n; a note\n\n" + kHardwareKey +
                        L"\"Type\"=DWORD:0000000A\n";
    transfer::ParseResult result = transfer::ParseSettingsFile(Utf16File(text));
    // 0x0A is no hardware type: refused on line 5 even though the syntax is right.
    EXPECT_EQ(ParseError::BadHardwareType, result.error);
    EXPECT_EQ(5, result.line);
    result = transfer::ParseSettingsFile(Utf16File(text.substr(0, text.size() - 3) + L"02\n"));
    EXPECT_EQ(ParseError::None, result.error);
    EXPECT_EQ(2u, result.file.HardwareType(L"FAKE-1-0"));
}

TEST_F(TransferFile, RefusalNamesTheLineAndTheReason) {
    std::wstring text = kHeader + kConfigKey + L"\"Button0\"=dword:0001002c\r\n\"Bogus\"=dword:00000001\r\n";
    transfer::ParseResult result = transfer::ParseSettingsFile(Utf16File(text));
    EXPECT_EQ(ParseError::UnknownValue, result.error);
    EXPECT_EQ(5, result.line);
    EXPECT_TRUE(result.file.sections.empty());
    EXPECT_EQ(L"Line 5: \"Bogus\" is not a value of this key.", transfer::DescribeParseError(result));
}

// The same file as Notepad saves it after an edit: UTF-8 with or without a byte order mark,
// or UTF-16 big endian; letters beyond ASCII and beyond the 16-bit range come through.
TEST_F(TransferFile, ReaderTakesTheFileAsNotepadSavesIt) {
    const std::wstring text = kHeader + L"; \u00c4nderung \u0416 \U0001F6EB\r\n" + kConfigKey +
                              L"\"Button1\"=dword:00010022\r\n\"LEDval1\"=\"16000\"\r\n";
    std::string utf8 = transfer_test::Narrow(text);
    ASSERT_NE(std::string::npos, utf8.find("\xF0\x9F\x9B\xAB"));  // the airplane as four bytes
    std::vector<unsigned char> withMark = {0xEF, 0xBB, 0xBF};
    withMark.insert(withMark.end(), utf8.begin(), utf8.end());
    std::vector<unsigned char> bigEndian = {0xFE, 0xFF};
    for (wchar_t c : text) {
        bigEndian.push_back(static_cast<unsigned char>(c >> 8));
        bigEndian.push_back(static_cast<unsigned char>(c & 0xFF));
    }
    const std::pair<const char*, std::vector<unsigned char>> files[] = {
        {"UTF-8 with its mark", withMark},
        {"UTF-8 without a mark", std::vector<unsigned char>(utf8.begin(), utf8.end())},
        {"UTF-16 big endian", bigEndian},
    };
    std::wstring path = transfer_test::TempPath(L"notepad.reg");
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        test_settings::Clear();
        transfer_test::WriteBytes(path, file.second);
        transfer::SettingsFile loaded;
        transfer::Outcome outcome = transfer::LoadSettingsFile(path, &loaded);
        ASSERT_TRUE(outcome.ok) << transfer_test::Narrow(outcome.message);
        ASSERT_TRUE(transfer::ImportAll(loaded).ok);
        DWORD button = 0;
        std::wstring value;
        EXPECT_TRUE(test_settings::ReadDword(L"All aircraft\\FAKE-1-0", L"Button1", &button));
        EXPECT_EQ(0x10022u, button);
        EXPECT_TRUE(test_settings::ReadString(L"All aircraft\\FAKE-1-0", L"LEDval1", &value));
        EXPECT_EQ(L"16000", value);
    }
    ::DeleteFileW(path.c_str());
}

// A value of a row is named as the page shows the row; no message speaks of encodings.
TEST_F(TransferFile, MessagesNameRowsAsTheUserSeesThem) {
    struct Case {
        std::wstring line;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"\"Button1\"=\"x\"", L"Line 4: button 2 has a wrong type or value."},
        {L"\"OnButton0\"=dword:1", L"Line 4: switch 1 (on event) has a wrong type or value."},
        {L"\"OffButton7\"=hex:00", L"Line 4: switch 8 (off event) has a wrong type or value."},
        {L"\"ButtonVar3\"=dword:0000000x", L"Line 4: switch 4 (state variable) has a wrong type or value."},
        {L"\"LED4\"=\"1\"", L"Line 4: LED 5 has a wrong type or value."},
        {L"\"LEDcomp5\"=\"1\"", L"Line 4: LED 6 (comparison) has a wrong type or value."},
        {L"\"LEDval6\"=\"1\\n\"", L"Line 4: LED 7 (value) has a wrong type or value."},
        {L"\"Button8\"=dword:00000001", L"Line 4: \"Button8\" is not a value of this key."},
    };
    for (const Case& c : cases) {
        transfer::ParseResult result = transfer::ParseSettingsFile(Utf16File(kHeader + kConfigKey + c.line + L"\r\n"));
        EXPECT_EQ(transfer_test::Narrow(c.message), transfer_test::Narrow(transfer::DescribeParseError(result)));
    }
    transfer::ParseResult twice = transfer::ParseSettingsFile(
        Utf16File(kHeader + kConfigKey + L"\"LED0\"=dword:00000001\r\n\"LED0\"=dword:00000001\r\n"));
    EXPECT_EQ("Line 5: LED 1 is given twice.", transfer_test::Narrow(transfer::DescribeParseError(twice)));
    std::vector<unsigned char> latin1 = {'W', 0xC4, '\r', '\n'};
    const std::string notText = transfer_test::Narrow(transfer::DescribeParseError(transfer::ParseSettingsFile(latin1)));
    EXPECT_EQ("Line 1: the file is not plain text, or it is damaged.", notText);
}

struct HostileFile {
    const char* name;
    std::vector<unsigned char> bytes;
    ParseError error;
    int line;  // -1: not checked
};

std::vector<HostileFile> HostileFiles() {
    const std::wstring good = kConfigKey + L"\"Button0\"=dword:00010022\r\n";
    auto file = [](const std::wstring& text) { return Utf16File(text); };
    auto withBody = [&](const std::wstring& body) { return Utf16File(kHeader + body); };
    std::vector<HostileFile> files = {
        {"another root", withBody(L"[HKEY_LOCAL_MACHINE\\Software\\Brellow Group\\Settings\\All aircraft\\K]\r\n"),
         ParseError::ForeignKey, 3},
        {"abbreviated root", withBody(L"[HKCU\\Software\\Brellow Group\\Settings\\Hardware\\K]\r\n"),
         ParseError::ForeignKey, 3},
        {"another program", withBody(L"[HKEY_CURRENT_USER\\Software\\Other\\Settings\\Hardware\\K]\r\n"),
         ParseError::ForeignKey, 3},
        {"the run key", withBody(L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
                                 L"\"Evil\"=\"c:\\\\evil.exe\"\r\n"),
         ParseError::ForeignKey, 3},
        {"dot dot as key", withBody(L"[" + kRoot + L"\\All aircraft\\..]\r\n"), ParseError::BadDeviceKey, 3},
        {"dot dot climbing", withBody(L"[" + kRoot + L"\\All aircraft\\..\\..\\Evil]\r\n"),
         ParseError::BadDeviceKey, 3},
        {"single dot", withBody(L"[" + kRoot + L"\\Hardware\\.]\r\n"), ParseError::BadDeviceKey, 3},
        {"nested key", withBody(L"[" + kRoot + L"\\All aircraft\\K\\Deeper]\r\n"), ParseError::BadDeviceKey, 3},
        {"empty device key", withBody(L"[" + kRoot + L"\\All aircraft\\]\r\n"), ParseError::BadDeviceKey, 3},
        {"control character in key", withBody(L"[" + kRoot + L"\\Hardware\\K\tX]\r\n"),
         ParseError::BadDeviceKey, 3},
        {"overlong device key", withBody(L"[" + kRoot + L"\\Hardware\\" + std::wstring(300, L'k') + L"]\r\n"),
         ParseError::BadDeviceKey, 3},
        {"the folder itself", withBody(L"[" + kRoot + L"\\All aircraft]\r\n"), ParseError::ForeignKey, 3},
        {"the profile key", withBody(L"[" + kRoot + L"]\r\n"), ParseError::ForeignKey, 3},
        {"key deletion", withBody(L"[-" + kRoot + L"\\All aircraft\\FAKE-1-0]\r\n"), ParseError::KeyDeletion, 3},
        {"unknown value", withBody(good + L"\"Autorun\"=dword:00000001\r\n"), ParseError::UnknownValue, 5},
        {"row out of range", withBody(good + L"\"Button8\"=dword:00000001\r\n"), ParseError::UnknownValue, 5},
        {"default value", withBody(good + L"@=\"x\"\r\n"), ParseError::UnknownValue, 5},
        {"hardware value in configuration", withBody(good + L"\"Brightness\"=dword:00000001\r\n"),
         ParseError::UnknownValue, 5},
        {"configuration value in hardware", withBody(kHardwareKey + L"\"LED0\"=dword:00000001\r\n"),
         ParseError::UnknownValue, 4},
        {"number as text", withBody(good + L"\"LED0\"=\"10\"\r\n"), ParseError::WrongType, 5},
        {"text as number", withBody(good + L"\"LEDval0\"=dword:00000001\r\n"), ParseError::WrongType, 5},
        {"binary value", withBody(good + L"\"LED0\"=hex:0a,00,00,00\r\n"), ParseError::WrongType, 5},
        {"expandable text", withBody(good + L"\"LEDval0\"=hex(2):25,00,00,00\r\n"), ParseError::WrongType, 5},
        {"value deletion", withBody(good + L"\"LED0\"=-\r\n"), ParseError::WrongType, 5},
        {"short number", withBody(good + L"\"LED0\"=dword:0a\r\n"), ParseError::BadNumber, 5},
        {"not hexadecimal", withBody(good + L"\"LED0\"=dword:0000000g\r\n"), ParseError::BadNumber, 5},
        {"unknown escape", withBody(good + L"\"LEDval0\"=\"1\\n\"\r\n"), ParseError::BadText, 5},
        {"unterminated text", withBody(good + L"\"LEDval0\"=\"1\r\n"), ParseError::BadText, 5},
        {"text after the text", withBody(good + L"\"LEDval0\"=\"1\" x\r\n"), ParseError::BadText, 5},
        {"overlong text", withBody(good + L"\"LEDval0\"=\"" + std::wstring(400, L'9') + L"\"\r\n"),
         ParseError::BadText, 5},
        {"hardware type out of range", withBody(kHardwareKey + L"\"Type\"=dword:00000007\r\n"),
         ParseError::BadHardwareType, 4},
        {"value before any key", withBody(L"\"Button0\"=dword:00010022\r\n"), ParseError::ValueOutsideSection, 3},
        {"section twice", withBody(good + kConfigKey), ParseError::RepeatedSection, 5},
        {"value twice", withBody(good + L"\"button0\"=dword:00010022\r\n"), ParseError::UnknownValue, 5},
        {"value twice, same case", withBody(good + L"\"Button0\"=dword:00010022\r\n"), ParseError::RepeatedValue, 5},
        {"garbage line", withBody(good + L"rm -rf /\r\n"), ParseError::MalformedLine, 5},
        {"key without bracket", withBody(L"[" + kRoot + L"\\Hardware\\K\r\n"), ParseError::MalformedLine, 3},
        {"lone carriage return", withBody(good + L"\"LED0\"=dword:0000000a\r\"LED1\"=dword:0000000a\r\n"),
         ParseError::MalformedLine, 5},
        {"missing equals sign", withBody(good + L"\"LED0\" dword:0000000a\r\n"), ParseError::MalformedLine, 5},
        {"overlong line", withBody(good + L"; " + std::wstring(2000, L'x') + L"\r\n"), ParseError::LineTooLong, 5},
        {"no header", file(good), ParseError::NoHeader, 1},
        {"REGEDIT4 header", file(L"REGEDIT4\r\n\r\n" + good), ParseError::NoHeader, 1},
        {"header only", file(kHeader), ParseError::NoSettings, 0},
        {"empty file", {}, ParseError::NoHeader, 1},
        {"byte order mark only", {0xFF, 0xFE}, ParseError::NoHeader, 1},
        {"valid part, bad end", withBody(good + L"\r\n" + kHardwareKey + L"\"Type\"=dword:00000001\r\n"
                                         L"[" + kRoot + L"\\Hardware\\..]\r\n"),
         ParseError::BadDeviceKey, 8},
    };
    // Encodings: what is neither UTF-16 with its mark nor UTF-8 is no text.
    std::vector<unsigned char> noMark = Utf16File(kHeader + good);
    noMark.erase(noMark.begin(), noMark.begin() + 2);
    files.push_back({"UTF-16 without its mark", noMark, ParseError::NotText, 1});
    std::string ansi = "Windows Registry Editor Version 5.00\r\n; \xC4nderung\r\n";
    files.push_back({"ANSI text", std::vector<unsigned char>(ansi.begin(), ansi.end()), ParseError::NotText, 2});
    std::string overlong = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n; \xC0\xAF\r\n";
    files.push_back({"overlong UTF-8", std::vector<unsigned char>(overlong.begin(), overlong.end()),
                     ParseError::NotText, 2});
    std::string surrogate = "Windows Registry Editor Version 5.00\r\n\r\n; \xED\xA0\x80\r\n";
    files.push_back({"UTF-8 surrogate", std::vector<unsigned char>(surrogate.begin(), surrogate.end()),
                     ParseError::NotText, 3});
    std::string cut = "Windows Registry Editor Version 5.00\r\n; \xD0";
    files.push_back({"UTF-8 cut short", std::vector<unsigned char>(cut.begin(), cut.end()), ParseError::NotText, 2});
    const char kNul[] = "Windows Registry Editor Version 5.00\r\n;\0x\r\n";
    std::string nul(kNul, sizeof(kNul) - 1);
    files.push_back({"UTF-8 with a NUL", std::vector<unsigned char>(nul.begin(), nul.end()), ParseError::NotText, 2});
    std::vector<unsigned char> odd = Utf16File(kHeader + good);
    odd.pop_back();
    files.push_back({"odd byte count", odd, ParseError::NotText, 0});
    std::vector<unsigned char> cutPair = Utf16File(kHeader + good + L"; ");
    cutPair.push_back(0x3D);
    cutPair.push_back(0xD8);  // a high surrogate and then the end
    files.push_back({"truncated surrogate pair", cutPair, ParseError::NotText, 5});
    files.push_back({"unpaired low surrogate", Utf16File(kHeader + good + L"; \xDC00\r\n"), ParseError::NotText, 5});
    files.push_back({"high surrogate then letter", Utf16File(kHeader + good + L"; \xD83Dx\r\n"),
                     ParseError::NotText, 5});
    std::vector<unsigned char> withNul = Utf16File(kHeader + good + L"\"LEDval0\"=\"1");
    withNul.push_back(0);
    withNul.push_back(0);
    std::vector<unsigned char> rest = Utf16File(L"2\"\r\n");
    withNul.insert(withNul.end(), rest.begin() + 2, rest.end());
    files.push_back({"NUL in a text", withNul, ParseError::NotText, 5});
    std::vector<unsigned char> large = Utf16File(kHeader + good);
    large.resize(transfer::kMaxFileSize + 2, 0x20);
    files.push_back({"just over 1 MB", large, ParseError::TooLarge, 0});
    std::vector<unsigned char> huge = Utf16File(kHeader + good + Repeat(L"; padding padding padding\r\n", 200000));
    files.push_back({"10 MB", huge, ParseError::TooLarge, 0});
    return files;
}

TEST_F(TransferFile, HostileFilesAreRefusedWholeAndWriteNothing) {
    // Settings that a careless import would overwrite or add to.
    test_settings::WriteDword(L"All aircraft\\FAKE-1-0", L"Button0", 0x1002C);
    test_settings::WriteDword(L"Hardware\\FAKE-1-0", L"Type", 1);
    test_settings::WriteDword(L"Hardware\\FAKE-1-0", L"Brightness", 9);
    const std::wstring before = DumpStore();
    std::vector<HostileFile> files = HostileFiles();
    ASSERT_GE(files.size(), 30u);
    std::wstring path = transfer_test::TempPath(L"hostile.reg");
    for (const HostileFile& hostile : files) {
        SCOPED_TRACE(hostile.name);
        transfer_test::WriteBytes(path, hostile.bytes);
        transfer::ParseResult result = transfer::ParseSettingsFile(hostile.bytes);
        EXPECT_EQ(hostile.error, result.error);
        if (hostile.line >= 0) {
            EXPECT_EQ(hostile.line, result.line);
        }
        EXPECT_TRUE(result.file.sections.empty());

        transfer::SettingsFile loaded;
        transfer::Outcome outcome = transfer::LoadSettingsFile(path, &loaded);
        EXPECT_FALSE(outcome.ok);
        EXPECT_NE(std::wstring::npos, outcome.message.find(path));
        EXPECT_EQ(transfer::kExitFailed, transfer::RunCommand(transfer::Command::Import, path));
        EXPECT_EQ(before, DumpStore());
    }
    ::DeleteFileW(path.c_str());
}

TEST_F(TransferFile, AFileOfTenMegabytesIsNotEvenRead) {
    std::wstring path = transfer_test::TempPath(L"huge.reg");
    std::vector<unsigned char> bytes = Utf16File(kHeader + kHardwareKey);
    bytes.resize(10 * 1024 * 1024, 0x20);
    transfer_test::WriteBytes(path, bytes);
    transfer::SettingsFile loaded;
    transfer::Outcome outcome = transfer::LoadSettingsFile(path, &loaded);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(std::wstring::npos, outcome.message.find(L"larger than 1 MB")) << outcome.message;
    ::DeleteFileW(path.c_str());
}

TEST_F(TransferFile, CommandLineImportRestoresEverySectionUnderItsOwnKey) {
    test_settings::WriteDword(L"All aircraft\\A", L"Button0", 0x10022);
    test_settings::WriteDword(L"Hardware\\A", L"Type", 1);
    test_settings::WriteDword(L"All aircraft\\B", L"OnButton0", 0x10100);
    test_settings::WriteDword(L"Hardware\\B", L"Type", 2);
    const std::wstring before = DumpStore();
    std::wstring path = transfer_test::TempPath(L"all.reg");
    ASSERT_EQ(transfer::kExitOk, transfer::RunCommand(transfer::Command::Export, path));
    test_settings::Clear();
    ASSERT_EQ(transfer::kExitOk, transfer::RunCommand(transfer::Command::Import, path));
    EXPECT_EQ(before, DumpStore());
    ::DeleteFileW(path.c_str());

    EXPECT_EQ(transfer::kExitUsage, transfer::RunCommand(transfer::Command::Import, L""));
    EXPECT_EQ(transfer::kExitFailed, transfer::RunCommand(transfer::Command::Import, path));  // gone
    test_settings::Clear();
    EXPECT_EQ(transfer::kExitFailed, transfer::RunCommand(transfer::Command::Export, path));  // nothing stored
}

}  // namespace
