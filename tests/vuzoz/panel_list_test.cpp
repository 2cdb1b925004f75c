// Which panels the simulator attaches, from VUZOZ_PANELS.
#include "vuzoz_panel_list.h"
#include "vuzoz_panel_source.h"
#include "vuzoz_test_support.h"

namespace {

using vuzoz_test::SimulatorTest;

std::vector<int> ParsedTypes(const wchar_t* text)
{
    const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
    EXPECT_EQ("", list.error) << "for \"" << testing::PrintToString(std::wstring(text)) << "\"";
    return std::vector<int>(list.types.begin(), list.types.end());
}

TEST(PanelListParsing, ReadsTypesInDeviceOrder)
{
    EXPECT_EQ((std::vector<int>{1, 1, 3}), ParsedTypes(L"1,1,3"));
    EXPECT_EQ((std::vector<int>{3, 2, 1, 2}), ParsedTypes(L"3,2,1,2"));
    EXPECT_EQ((std::vector<int>{2}), ParsedTypes(L"2"));
    EXPECT_EQ((std::vector<int>{2, 3}), ParsedTypes(L" 2 , 3\t"));
}

TEST(PanelListParsing, BlankTextAttachesNothingWithoutComplaint)
{
    EXPECT_EQ(std::vector<int>{}, ParsedTypes(L""));
    EXPECT_EQ(std::vector<int>{}, ParsedTypes(L"  "));
}

TEST(PanelListParsing, RejectsAnythingElseAsAWhole)
{
    for (const wchar_t* text : {L"1,x", L"4", L"0", L"1,,2", L"1,2,", L",1", L"12", L"1;2",
                                L"-1", L"1 2", L"01", L"\x0661", L"1,2,3,\x00e9"}) {
        const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
        EXPECT_TRUE(list.types.empty()) << testing::PrintToString(std::wstring(text));
        EXPECT_NE("", list.error) << testing::PrintToString(std::wstring(text));
    }
}

TEST(PanelListParsing, MessageNamesTheVariableAndTheBadEntryInPlainText)
{
    const vuzoz::PanelList list = vuzoz::ParsePanelList(L"1,\x00e9x,2");
    EXPECT_NE(std::string::npos, list.error.find("VUZOZ_PANELS")) << list.error;
    EXPECT_NE(std::string::npos, list.error.find("\"?x\"")) << list.error;
    for (char c : list.error)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << list.error;
}

TEST(PanelListParsing, VeryLongTextIsShortenedInTheMessage)
{
    const std::wstring text = std::wstring(5000, L'1') + L",x";
    const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
    EXPECT_TRUE(list.types.empty());
    EXPECT_LT(list.error.size(), 400u);
}

std::vector<std::string> ParsedKeys(const std::wstring& text)
{
    const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
    EXPECT_EQ("", list.error) << testing::PrintToString(text);
    EXPECT_EQ(list.types.size(), list.keys.size());
    return list.keys;
}

TEST(PanelListParsing, ASerialNamesThePanelAndTheOthersKeepTheirOrdinals)
{
    EXPECT_EQ(std::vector<std::string>{"Simulated B88 A7"}, ParsedKeys(L"1:A7"));
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 1", "Simulated B88 2", "Simulated RP 1"}),
              ParsedKeys(L"1,1,3"));
    // The n-th panel of a type without a serial is number n, whatever has serials.
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A7", "Simulated B88 1", "Simulated T88 1",
                                        "Simulated B88 2", "Simulated RP x"}),
              ParsedKeys(L"1:A7, 1 ,2,1,\t3:x"));
    EXPECT_EQ((std::vector<std::string>{"Simulated T88 abcXYZ0123456789", "Simulated RP 0000000000000000"}),
              ParsedKeys(L"2:abcXYZ0123456789,3:0000000000000000"));
    // The same serial on panels of two types: two keys.
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 7", "Simulated T88 7"}), ParsedKeys(L"1:7,2:7"));
    EXPECT_EQ((std::vector<int>{1, 2}), ParsedTypes(L"1:7,2:7"));
}

TEST(PanelListParsing, RefusesWrongSerialsAsAWhole)
{
    for (const wchar_t* text : {L"1:", L"1:A-7", L"1:ABCDEFGHIJKLMNOPQ" /* 17 */, L"1: A7", L"1:A 7", L"1 :A7",
                                L":A7", L"4:A7", L"0:A7", L"1:A7:B", L"1::A", L"1:\x00e9", L"1:\x0661",
                                L"1;A7", L"1:A7,", L"1:A_7", L"1:\\x"}) {
        const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
        EXPECT_TRUE(list.types.empty()) << testing::PrintToString(std::wstring(text));
        EXPECT_TRUE(list.keys.empty()) << testing::PrintToString(std::wstring(text));
        EXPECT_NE("", list.error) << testing::PrintToString(std::wstring(text));
    }
    const vuzoz::PanelList list = vuzoz::ParsePanelList(L"2,1:A-7");
    EXPECT_NE(std::string::npos, list.error.find("\"1:A-7\" is not a panel")) << list.error;
    EXPECT_NE(std::string::npos, list.error.find("1 to 16 letters or digits")) << list.error;
}

TEST(PanelListParsing, RefusesTwoPanelsWithKeysTheRegistryTakesForOne)
{
    for (const wchar_t* text : {L"1:A7,1:A7", L"1:a7,1:A7", L"2:X,3,2:x", L"1:2,1,1", L"1:1,1"}) {
        const vuzoz::PanelList list = vuzoz::ParsePanelList(text);
        EXPECT_TRUE(list.types.empty()) << testing::PrintToString(std::wstring(text));
        EXPECT_NE(std::string::npos, list.error.find("two panels")) << list.error;
    }
    EXPECT_NE(std::string::npos, vuzoz::ParsePanelList(L"1:a7,1:A7").error.find("\"Simulated B88 A7\""));
}

TEST(PanelListParsing, NamesAtMost256Panels)
{
    std::wstring text = L"1";
    for (int i = 1; i < 256; ++i)
        text += L",2:S" + std::to_wstring(i);
    EXPECT_EQ(256u, ParsedKeys(text).size());
    const vuzoz::PanelList list = vuzoz::ParsePanelList(text + L",3");
    EXPECT_TRUE(list.types.empty());
    EXPECT_NE(std::string::npos, list.error.find("more than 256 panels")) << list.error;
}

TEST(PanelFileParsing, TakesLinesAndCommasLeavingOutBlankLinesAndComments)
{
    const vuzoz::PanelList list =
        vuzoz::ParsePanelFileText(L"# panels on my desk\r\n1:A7\r\n\r\n  2 , 3 \n\t\n  # 1:B8\n1", "the file");
    EXPECT_EQ("", list.error);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1}), std::vector<int>(list.types.begin(), list.types.end()));
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A7", "Simulated T88 1", "Simulated RP 1",
                                        "Simulated B88 1"}),
              list.keys);
    EXPECT_TRUE(vuzoz::ParsePanelFileText(L"", "the file").types.empty());
    EXPECT_EQ("", vuzoz::ParsePanelFileText(L"# nothing attached\n\n", "the file").error);
}

TEST(PanelFileParsing, AnyOtherLineRefusesTheWholeFileNamingIt)
{
    for (const std::wstring& text : {std::wstring(L"1:A7\nhello\n"), std::wstring(L"1,\n2"), std::wstring(L"1\n,2"),
                                     std::wstring(L"1 # first\n"), std::wstring(L"\0\n1", 3)}) {
        const vuzoz::PanelList list = vuzoz::ParsePanelFileText(text, "the panels file \"C:\\p.txt\"");
        EXPECT_TRUE(list.types.empty()) << testing::PrintToString(text);
        EXPECT_EQ(0u, list.error.find("the panels file \"C:\\p.txt\" cannot be read: ")) << list.error;
        EXPECT_NE(std::string::npos, list.error.find("no panel attached")) << list.error;
    }
}

TEST(PanelFileParsing, ReadsUtf16WithItsByteOrderMarkAndLeavesOutAUtf8One)
{
    const std::string utf16("\xFF\xFE"
                            "1\0:\0A\0\n\0"
                            "3\0",
                            12);
    EXPECT_EQ(L"1:A\n3", vuzoz::PanelsFileText(utf16));
    EXPECT_EQ(L"2:B\r\n",
              vuzoz::PanelsFileText("\xEF\xBB\xBF"
                                    "2:B\r\n"));
    EXPECT_EQ(L"1", vuzoz::PanelsFileText("1"));
    // Other bytes stay what they are and are no panel.
    const std::wstring latin = vuzoz::PanelsFileText("1:\xE9");
    EXPECT_EQ(3u, latin.size());
    EXPECT_NE("", vuzoz::ParsePanelFileText(latin, "f").error);
}

using PanelListAtInit = SimulatorTest;

TEST_F(PanelListAtInit, UnsetAttachesOneOfEachType)
{
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), AttachedTypes());
}

TEST_F(PanelListAtInit, EmptyAttachesNoPanelButStillStarts)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"");
    testing::internal::CaptureStderr();
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ(std::vector<int>{}, AttachedTypes());
    EXPECT_NE(BG_OK, BG_GetCurBrightness(0));
}

TEST_F(PanelListAtInit, AttachesTheListedPanels)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"1,1,3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{1, 1, 3}), AttachedTypes());
    EXPECT_EQ(BG_OK, BG_GetCurBrightness(2));
    EXPECT_NE(BG_OK, BG_GetCurBrightness(3));
}

TEST_F(PanelListAtInit, UnreadableListSaysSoOnStandardErrorAndAttachesNothing)
{
    for (const wchar_t* text : {L"1,x", L"4", L"1,,2"}) {
        vuzoz_test::SetEnv(L"VUZOZ_PANELS", text);
        testing::internal::CaptureStderr();
        const tagBGDevResult result = BGInit(nullptr);
        const std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(BG_OK, result);
        EXPECT_NE(std::string::npos, message.find("VUZOZ_PANELS")) << message;
        EXPECT_EQ(std::vector<int>{}, AttachedTypes());
        ASSERT_EQ(BG_OK, BGTerminate());
    }
}

TEST_F(PanelListAtInit, IsReadAgainAtEveryInit)
{
    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"3");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ(std::vector<int>{3}, AttachedTypes());
    ASSERT_EQ(BG_OK, BGTerminate());

    vuzoz_test::SetEnv(L"VUZOZ_PANELS", L"2,2");
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    EXPECT_EQ((std::vector<int>{2, 2}), AttachedTypes());
}

}  // namespace
