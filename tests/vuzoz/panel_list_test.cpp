// Which panels the simulator attaches, from VUZOZ_PANELS.
#include "vuzoz_panel_list.h"
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
