// Settings changed outside Tollan while its page shows them: written into the real registry
// from another thread, as regedit, a script's import or a second program would write them.
#include "config_page_harness.h"

#include "resource.h"
#include "test_settings.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kFlightDirector[] = L"Flight Director";
const DWORD kFlightDirectorEvent = 0x102F0;
const wchar_t kAutoThrottle[] = L"AutoThrottle Arm";
const DWORD kAutoThrottleEvent = 0x10144;
const wchar_t kQuestion[] = L"The settings of this panel were changed outside Tollan.";

class OutsideChanges : public config_test::ConfigPageFixture {
protected:
    std::wstring Section() const { return config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0); }
    std::wstring Hardware() const { return config_test::HardwareSection(BG_HW_PUSHBUTTON_8X8, 0); }

    // Written by another thread, which the watcher does not know from the window's own.
    void WriteOutside(const std::wstring& section, const wchar_t* name, DWORD value) {
        std::thread writer([&] { test_settings::WriteDword(section, name, value); });
        writer.join();
    }

    // Lets the window handle what arrives for up to a second, or until done says so.
    template <class Done>
    bool PumpUntil(Done done) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 1000) {
            ui::PumpMessages();
            if (done())
                return true;
            ::Sleep(10);
        }
        return done();
    }
};

TEST_F(OutsideChanges, ThePageFollowsSilentlyWhenNothingIsUnsaved) {
    Start({BG_HW_PUSHBUTTON_8X8});
    ui::MessageBoxAnswerer none({});
    WriteOutside(Section(), L"Button3", kFlightDirectorEvent);
    WriteOutside(Hardware(), L"Fast On", 40);
    EXPECT_TRUE(PumpUntil([&] {
        return SelectedLabel(IDC_BUTTON_LIST_FIRST + 3) == kFlightDirector &&
               ui::Text(main->m_hWnd, IDC_FAST_ON) == L"40";
    }));
    EXPECT_TRUE(none.Texts().empty());
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(OutsideChanges, WithUnsavedPicksYesTakesTheStoredSettings) {
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(1, config_test::EventRow(kAutoThrottle));
    ui::MessageBoxAnswerer answers({IDYES});
    WriteOutside(Section(), L"Button3", kFlightDirectorEvent);
    EXPECT_TRUE(PumpUntil([&] { return SelectedLabel(IDC_BUTTON_LIST_FIRST + 3) == kFlightDirector; }));
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(kQuestion));
    EXPECT_NE(kAutoThrottle, SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(OutsideChanges, WithUnsavedPicksNoKeepsThemAndApplyWritesThemWithoutAskingAgain) {
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(1, config_test::EventRow(kAutoThrottle));
    {
        ui::MessageBoxAnswerer answers({IDNO});
        WriteOutside(Section(), L"Button3", kFlightDirectorEvent);
        EXPECT_TRUE(PumpUntil([&] { return answers.Texts().size() == 1; }));
    }
    EXPECT_EQ(kAutoThrottle, SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    ASSERT_TRUE(ApplyEnabled());
    ui::MessageBoxAnswerer none({});
    Apply();
    EXPECT_TRUE(none.Texts().empty());
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(Section(), L"Button1", &stored));
    EXPECT_EQ(kAutoThrottleEvent, stored);
}

// Kept over a change from outside, the page is compared with what is stored now: the user's
// pick taken back leaves the page different from the store, so Apply stays; "Revert unsaved
// changes" shows what is stored now.
TEST_F(OutsideChanges, AfterNoThePageIsComparedWithWhatIsStoredNow) {
    Start({BG_HW_PUSHBUTTON_8X8});
    const int list = IDC_BUTTON_LIST_FIRST + 1;
    FocusList(list);
    Press(VK_DOWN);
    ASSERT_TRUE(ApplyEnabled());
    {
        ui::MessageBoxAnswerer answers({IDNO, IDNO});
        WriteOutside(Section(), L"Button3", kFlightDirectorEvent);
        WriteOutside(Hardware(), L"Fast On", 40);
        EXPECT_TRUE(PumpUntil([&] { return !answers.Texts().empty(); }));
    }
    FocusList(list);
    Press('Z', false, true);
    EXPECT_EQ(L"(none)", SelectedLabel(list));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_TRUE(ApplyEnabled()) << "the store holds another row 3 and another fast on period";

    main->RevertUnsavedChanges();
    EXPECT_EQ(kFlightDirector, SelectedLabel(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(L"40", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(OutsideChanges, ApplyAsksAboutAChangeMadeBetweenLoadAndApply) {
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(1, config_test::EventRow(kAutoThrottle));
    // The change lands and Apply is clicked before the window has looked at the store again.
    test_settings::WriteDword(Section(), L"Button3", kFlightDirectorEvent);
    ui::MessageBoxAnswerer answers({IDYES});
    Apply();
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(kQuestion));
    // Yes took the stored settings: nothing of the page was written over them.
    EXPECT_EQ(kFlightDirector, SelectedLabel(IDC_BUTTON_LIST_FIRST + 3));
    DWORD stored = 0;
    EXPECT_FALSE(test_settings::ReadDword(Section(), L"Button1", &stored) && stored == kAutoThrottleEvent);
}

TEST_F(OutsideChanges, TheWindowsOwnApplyIsNoChangeFromOutside) {
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(2, config_test::EventRow(kFlightDirector));
    ui::MessageBoxAnswerer none({});
    Apply();
    PumpUntil([] { return false; });
    EXPECT_TRUE(none.Texts().empty());
    EXPECT_EQ(kFlightDirector, SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(OutsideChanges, AStormOfWritesLeavesTheWindowAnsweringAndEndsOnTheLastValue) {
    Start({BG_HW_PUSHBUTTON_8X8});
    std::atomic<bool> done(false);
    std::thread writer([&] {
        for (int i = 1; i <= 1000; ++i) {
            test_settings::WriteDword(Hardware(), L"Fast On", static_cast<DWORD>(i % 200));
            if (i % 10 == 0)
                ::Sleep(20);
        }
        test_settings::WriteDword(Hardware(), L"Fast On", 77);
        done = true;
    });
    DWORD slowest = 0;
    while (!done) {
        const DWORD before = ::GetTickCount();
        DWORD_PTR result = 0;
        EXPECT_NE(0, ::SendMessageTimeoutW(main->m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result));
        ui::PumpMessages();
        slowest = std::max<DWORD>(slowest, ::GetTickCount() - before);
    }
    writer.join();
    EXPECT_LT(slowest, 1000u) << "the window stopped answering";
    EXPECT_TRUE(PumpUntil([&] { return ui::Text(main->m_hWnd, IDC_FAST_ON) == L"77"; }));
}

TEST_F(OutsideChanges, ASectionDeletedOutsideShowsNothingStored) {
    test_settings::WriteDword(config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0), L"Button3", kFlightDirectorEvent);
    Start({BG_HW_PUSHBUTTON_8X8});
    ASSERT_EQ(kFlightDirector, SelectedLabel(IDC_BUTTON_LIST_FIRST + 3));
    std::thread deleter([&] {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, (test_settings::ProfilePath() + L"\\" + Section()).c_str());
    });
    deleter.join();
    EXPECT_TRUE(PumpUntil([&] { return SelectedLabel(IDC_BUTTON_LIST_FIRST + 3) != kFlightDirector; }));
    EXPECT_FALSE(ApplyEnabled());
}

}  // namespace

namespace {

// The question about unsaved changes compares what a save would write with the store.
class UnsavedPicksRecord : public config_test::ConfigPageFixture {};

TEST_F(UnsavedPicksRecord, PicksChangedBackToWhatIsStoredAreNotAskedAbout) {
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(0, config_test::EventRow(kFlightDirector));
    Apply();
    ASSERT_FALSE(ApplyEnabled());
    PickButton(0, config_test::EventRow(kAutoThrottle));
    PickButton(0, config_test::EventRow(kFlightDirector));
    ui::MessageBoxAnswerer answers({IDCANCEL});
    Close();
    EXPECT_TRUE(answers.Texts().empty());
    EXPECT_EQ(nullptr, main->m_hWnd);
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0), L"Button0", &stored));
    EXPECT_EQ(kFlightDirectorEvent, stored);
}

TEST_F(UnsavedPicksRecord, APickThatDiffersIsStillAskedAbout) {
    test_settings::WriteDword(config_test::ConfigSection(BG_HW_PUSHBUTTON_8X8, 0), L"Button0", kFlightDirectorEvent);
    Start({BG_HW_PUSHBUTTON_8X8});
    PickButton(0, config_test::EventRow(kAutoThrottle));
    ui::MessageBoxAnswerer answers({IDCANCEL});
    Close();
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(nullptr, main->m_hWnd);
}

}  // namespace
