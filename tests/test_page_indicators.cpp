// The indicators of the test pages: a set bit disables its indicator, which then shows
// the bit-set picture; a clear bit shows the bit-clear picture.
#include "test_page_support.h"

#include <string>
#include <vector>

namespace {

using namespace test_page;

class TestPageIndicators : public ui::MainWindowTest {
protected:
    void OpenPage(const PageKind& kind) {
        Start({kind.type}, /*testMode*/ true);
        page = Page();
        ASSERT_NE(page, nullptr);
        panel = dynamic_cast<CTestPanel*>(main->TestPage());
        ASSERT_NE(panel, nullptr);
    }

    // Each indicator as bits says: disabled with the bit-set picture or enabled with the
    // bit-clear one, both as the button picks its bitmap and as it really paints.
    void ExpectIndicators(const PageKind& kind, unsigned bits) {
        for (int button = 0; button < kind.indicators; ++button) {
            const bool set = ((bits >> button) & 1u) != 0;
            const UINT picture = set ? kind.bitSetPicture : kind.bitClearPicture;
            SCOPED_TRACE("button " + std::to_string(button) + (set ? " set" : " clear"));
            EXPECT_EQ(ui::IsEnabled(page, IndicatorId(button)), !set);
            EXPECT_EQ(ShownPicture(*panel, kind, button), picture);
            EXPECT_EQ(PaintedPicture(*panel, kind, button), picture);
        }
    }

    HWND page = nullptr;
    CTestPanel* panel = nullptr;
};

TEST_F(TestPageIndicators, PushbuttonBits81ShowButtonsZeroAndSevenPressed) {
    const PageKind& kind = kPushbuttonPage;
    ASSERT_NO_FATAL_FAILURE(OpenPage(kind));
    ASSERT_NO_FATAL_FAILURE(ExpectIndicators(kind, 0x00));

    EXPECT_EQ(fake_vuzoz::DeliverButtons(kind.type, 0, 0x81), 1);
    ExpectIndicators(kind, 0x81);
    fake_vuzoz::DeliverButtons(kind.type, 0, 0x00);
    ExpectIndicators(kind, 0x00);
    // The answer to a button request shows the same way as a change of the buttons.
    fake_vuzoz::DeliverButtonReport(kind.type, 0, 0x81);
    ExpectIndicators(kind, 0x81);
}

TEST_F(TestPageIndicators, RadioPanelShowsItsFourButtonsAndIgnoresTheHighBits) {
    const PageKind& kind = kRadioPage;
    ASSERT_NO_FATAL_FAILURE(OpenPage(kind));
    fake_vuzoz::DeliverButtons(kind.type, 0, 0xF0);
    ExpectIndicators(kind, 0x00);
    fake_vuzoz::DeliverButtons(kind.type, 0, 0x0F);
    ExpectIndicators(kind, 0x0F);
    fake_vuzoz::DeliverButtonReport(kind.type, 0, 0xF5);
    ExpectIndicators(kind, 0x05);
}

TEST_F(TestPageIndicators, ToggleSwitchUpShowsTheLeverUpPicture) {
    const PageKind& kind = kTogglePage;
    ASSERT_NO_FATAL_FAILURE(OpenPage(kind));
    fake_vuzoz::DeliverButtons(kind.type, 0, 0x01);
    ExpectIndicators(kind, 0x01);
    EXPECT_EQ(ShownPicture(*panel, kind, 0), static_cast<UINT>(146));
    EXPECT_EQ(ShownPicture(*panel, kind, 1), static_cast<UINT>(147));
}

class TestPageIndicatorsLive : public TestPageIndicators, public ::testing::WithParamInterface<PageKind> {};

TEST_P(TestPageIndicatorsLive, FollowEveryChangeOfTheButtons) {
    const PageKind& kind = GetParam();
    ASSERT_NO_FATAL_FAILURE(OpenPage(kind));
    for (unsigned bits : {0x01u, 0x03u, 0x02u, 0x0Au, 0x00u, 0x55u, 0xAAu, 0xFFu, 0x00u}) {
        SCOPED_TRACE("bits " + std::to_string(bits));
        fake_vuzoz::DeliverButtons(kind.type, 0, bits);
        ExpectIndicators(kind, bits);
    }
}

INSTANTIATE_TEST_SUITE_P(TestPages, TestPageIndicatorsLive,
                         ::testing::Values(kPushbuttonPage, kTogglePage, kRadioPage),
                         [](const ::testing::TestParamInfo<PageKind>& info) { return std::string(info.param.name); });

TEST_F(TestPageIndicators, FocusedIndicatorStillShowsItsBitSet) {
    const PageKind& kind = kPushbuttonPage;
    ASSERT_NO_FATAL_FAILURE(OpenPage(kind));
    ui::Focus(page, IndicatorId(3));
    fake_vuzoz::DeliverButtons(kind.type, 0, 0x08);
    ExpectIndicators(kind, 0x08);
    fake_vuzoz::DeliverButtons(kind.type, 0, 0x00);
    ExpectIndicators(kind, 0x00);
}

}  // namespace
