// A save writes the configuration and the hardware section of a panel whole, or leaves
// both exactly as they were: the section snapshot that puts them back, and Apply against
// each way Wine lets a registry write fail.
#include "config_page_harness.h"

#include "afx/registry_key.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "store/pending_save.h"
#include "store/section_snapshot.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <string>
#include <vector>

namespace {

using store_test::DescribeSection;
using store_test::KeyPath;

// ---- the snapshot on its own ---------------------------------------------------------

class StoreSnapshot : public ::testing::Test {
protected:
    void SetUp() override { test_settings::Clear(); }
    void TearDown() override {
        (void)store_test::AllowAll(KeyPath(L"S"));
        test_settings::Clear();
    }
    bool Capture(store::CSectionSnapshot& snapshot, const std::wstring& section) {
        return snapshot.Capture(HKEY_CURRENT_USER, KeyPath(section));
    }
};

TEST_F(StoreSnapshot, PutsBackEveryTypeAndNameAndRemovesNewValues) {
    const BYTE binary[] = {0, 1, 2, 0xff};
    const wchar_t multi[] = L"a\0bc\0";
    const ULONGLONG quad = 0x1122334455667788ull;
    store_test::WriteRaw(L"S", L"", REG_SZ, L"default", 16);
    store_test::WriteRaw(L"S", L"Binary", REG_BINARY, binary, sizeof(binary));
    store_test::WriteRaw(L"S", L"Empty", REG_BINARY, nullptr, 0);
    store_test::WriteRaw(L"S", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    store_test::WriteRaw(L"S", L"Quad", REG_QWORD, &quad, sizeof(quad));
    store_test::WriteRaw(L"S", L"Short", REG_DWORD, binary, 2);  // a DWORD of the wrong size
    test_settings::WriteDword(L"S", L"Button0", 7);
    const std::wstring before = DescribeSection(L"S");
    ASSERT_NE(std::wstring::npos, before.find(L"Short 4 0001\n"));

    store::CSectionSnapshot snapshot;
    ASSERT_TRUE(Capture(snapshot, L"S"));
    EXPECT_TRUE(snapshot.Existed());
    EXPECT_EQ(7u, snapshot.Values().size());
    test_settings::WriteString(L"S", L"Button0", L"7");
    test_settings::WriteDword(L"S", L"Binary", 1);
    test_settings::WriteDword(L"S", L"New", 1);
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, KeyPath(L"S").c_str(), KEY_SET_VALUE));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueW(key, L"Multi"));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueW(key, L""));
    key.Close();
    ASSERT_NE(before, DescribeSection(L"S"));

    EXPECT_TRUE(snapshot.Restore());
    EXPECT_EQ(before, DescribeSection(L"S"));
}

TEST_F(StoreSnapshot, MissingSectionGoesAgainWithTheParentsThatCameWithIt) {
    store::CSectionSnapshot snapshot;
    ASSERT_TRUE(Capture(snapshot, L"Parent\\Child"));
    EXPECT_FALSE(snapshot.Existed());
    test_settings::WriteDword(L"Parent\\Child", L"Button0", 1);
    EXPECT_TRUE(snapshot.Restore());
    EXPECT_FALSE(test_settings::SectionExists(L"Parent\\Child"));
    EXPECT_FALSE(test_settings::SectionExists(L"Parent"));

    // A parent that holds another section by then stays.
    ASSERT_TRUE(Capture(snapshot, L"Parent\\Child"));
    test_settings::WriteDword(L"Parent\\Child", L"Button0", 1);
    test_settings::WriteDword(L"Parent\\Other", L"Button0", 1);
    EXPECT_TRUE(snapshot.Restore());
    EXPECT_FALSE(test_settings::SectionExists(L"Parent\\Child"));
    EXPECT_EQ(L"Button0 4 01000000\n", DescribeSection(L"Parent\\Other"));
    // Restoring twice changes nothing more.
    EXPECT_TRUE(snapshot.Restore());
    EXPECT_TRUE(test_settings::SectionExists(L"Parent\\Other"));
}

TEST_F(StoreSnapshot, UnchangedSectionThatCannotBeWrittenCountsAsRestored) {
    test_settings::WriteDword(L"S", L"Button0", 1);
    store::CSectionSnapshot snapshot;
    ASSERT_TRUE(Capture(snapshot, L"S"));
    ASSERT_TRUE(store_test::DenySetValue(KeyPath(L"S")));
    EXPECT_TRUE(snapshot.Restore());

    // A changed one that cannot be written is not restored, and says so.
    ASSERT_TRUE(store_test::AllowAll(KeyPath(L"S")));
    test_settings::WriteDword(L"S", L"Button0", 2);
    ASSERT_TRUE(store_test::DenySetValue(KeyPath(L"S")));
    EXPECT_FALSE(snapshot.Restore());
    ASSERT_TRUE(store_test::AllowAll(KeyPath(L"S")));
    EXPECT_TRUE(snapshot.Restore());
    EXPECT_EQ(L"Button0 4 01000000\n", DescribeSection(L"S"));
}

TEST_F(StoreSnapshot, SectionThatCannotBeReadIsNotCaptured) {
    test_settings::WriteDword(L"S", L"Button0", 1);
    ASSERT_TRUE(store_test::SetKeySecurity(KeyPath(L"S"), L"D:(D;;KR;;;WD)(A;;KA;;;WD)"));
    store::CSectionSnapshot snapshot;
    EXPECT_FALSE(Capture(snapshot, L"S"));
}

// ---- Apply ---------------------------------------------------------------------------

class AtomicSave : public config_test::ConfigPageFixture,
                                public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    tagBGDevHWType Type() const { return GetParam(); }
    std::wstring Config() const { return config_test::ConfigSection(Type(), 0); }
    std::wstring Hardware() const { return config_test::HardwareSection(Type(), 0); }

    void TearDown() override {
        for (const wchar_t* path : {L"", L"\\All aircraft", L"\\Hardware"})
            (void)store_test::AllowAll(test_settings::ProfilePath() + path);
        (void)store_test::AllowAll(KeyPath(Config()));
        (void)store_test::AllowAll(KeyPath(Hardware()));
        config_test::ConfigPageFixture::TearDown();
    }

    // Both sections written once with other picks, plus a value of another tool.
    void SaveEarlierPicks() {
        Start({Type()});
        PickLED(3, 1);
        PickButton(2, 1);
        Apply();
        ASSERT_FALSE(ApplyEnabled());
        test_settings::WriteString(Config(), L"Written by another tool", L"x");
        ::DestroyWindow(main->m_hWnd);
        ui::PumpMessages();
        main.reset();
        StartPrepared();
    }

    std::wstring Both() { return L"[config]\n" + DescribeSection(Config()) + L"[hardware]\n" + DescribeSection(Hardware()); }

    // Apply fails with the plain message, and the store is as it was.
    void ExpectFailedApplyChangesNothing() {
        const std::wstring before = Both();
        ui::MessageBoxAnswerer answerer({IDOK});
        Apply();
        EXPECT_EQ(std::vector<std::wstring>({config_test::SaveFailedText()}), answerer.Texts());
        EXPECT_EQ(before, Both());
        EXPECT_TRUE(ApplyEnabled());
        EXPECT_TRUE(Panel().m_bChanged);
    }

    // Apply once the cause is gone: every value of both sections, the new pick among them.
    void ExpectSecondApplySavesEverything() {
        ui::MessageBoxAnswerer answerer({IDOK});
        Apply();
        EXPECT_TRUE(answerer.Texts().empty());
        EXPECT_FALSE(ApplyEnabled());
        EXPECT_FALSE(Panel().m_bChanged);
        EXPECT_EQ(L"dword 0x" + HexOf(g_LedTable[5].variable), config_test::DescribeValue(Config(), L"LED3"));
        EXPECT_LE(Type() == BG_HW_PUSHBUTTON_8X8 ? 32u : 48u, test_settings::ValueCount(Config()));
        EXPECT_EQ(6u, test_settings::ValueCount(Hardware()));
        EXPECT_EQ(L"dword 0x" + HexOf(static_cast<DWORD>(Type())), config_test::DescribeValue(Hardware(), L"Type"));
    }

    static std::wstring HexOf(DWORD value) {
        wchar_t hex[16] = L"";
        std::swprintf(hex, 16, L"%lx", static_cast<unsigned long>(value));
        return hex;
    }
};

TEST_P(AtomicSave, HardwareSectionRefusingWritesLeavesBothSectionsAsTheyWere) {
    SaveEarlierPicks();
    ASSERT_TRUE(store_test::DenySetValue(KeyPath(Hardware())));
    PickLED(3, 5);
    ExpectFailedApplyChangesNothing();
    ASSERT_TRUE(store_test::AllowAll(KeyPath(Hardware())));
    ExpectSecondApplySavesEverything();
    // A value of another tool stays where it was.
    EXPECT_EQ(L"sz x", config_test::DescribeValue(Config(), L"Written by another tool"));
}

TEST_P(AtomicSave, ConfigurationSectionRefusingWritesLeavesBothSectionsAsTheyWere) {
    SaveEarlierPicks();
    ASSERT_TRUE(store_test::DenySetValue(KeyPath(Config())));
    PickLED(3, 5);
    ExpectFailedApplyChangesNothing();
    ASSERT_TRUE(store_test::AllowAll(KeyPath(Config())));
    ExpectSecondApplySavesEverything();
}

TEST_P(AtomicSave, VolatileHardwareParentLeavesNoConfigurationSectionBehind) {
    ASSERT_TRUE(store_test::CreateVolatileKey(test_settings::ProfilePath() + L"\\Hardware"));
    Start({Type()});
    PickLED(3, 5);
    ExpectFailedApplyChangesNothing();
    EXPECT_FALSE(test_settings::SectionExists(L"All aircraft"));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyW(HKEY_CURRENT_USER, (test_settings::ProfilePath() + L"\\Hardware").c_str()));
    ExpectSecondApplySavesEverything();
}

TEST_P(AtomicSave, VolatileConfigurationParentLeavesNoHardwareSectionBehind) {
    SaveEarlierPicks();
    const std::wstring parent = test_settings::ProfilePath() + L"\\All aircraft";
    ASSERT_EQ(ERROR_SUCCESS, CKey::RecurseDeleteKey(HKEY_CURRENT_USER, parent.c_str()));
    ASSERT_TRUE(store_test::CreateVolatileKey(parent));
    // The window sees the emptied store first (nothing is unsaved: the page follows it), so
    // Apply below has no change from outside to ask about.
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 800) {
        ui::PumpMessages();
        ::Sleep(20);
    }
    PickLED(3, 5);
    ExpectFailedApplyChangesNothing();
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str()));
    ExpectSecondApplySavesEverything();
}

TEST_P(AtomicSave, SectionStoredAsAValueIsSavedBesideIt) {
    // Values named as the sections, in their parents: keys and values have names of their own.
    CKey profile;
    ASSERT_EQ(ERROR_SUCCESS, profile.Create(HKEY_CURRENT_USER, test_settings::ProfilePath().c_str()));
    ASSERT_EQ(ERROR_SUCCESS, profile.SetValue(L"Hardware", 1));
    const std::wstring key = Hardware().substr(Hardware().find(L'\\') + 1);
    test_settings::WriteString(L"Hardware", key, L"not a key");
    test_settings::WriteString(L"All aircraft", key, L"not a key");
    Start({Type()});
    PickLED(3, 5);
    ExpectSecondApplySavesEverything();
    EXPECT_EQ(L"sz not a key", config_test::DescribeValue(L"Hardware", key));
    DWORD stored = 0;
    EXPECT_EQ(ERROR_SUCCESS, profile.QueryValue(L"Hardware", stored));
    EXPECT_EQ(1u, stored);
}

// Once the configuration section is written, half-way through the save, another program
// takes the right to set values of both sections: the configuration section, already
// rewritten, cannot be put back.
std::vector<std::wstring> g_sectionsToLock;

void LockSectionsOnceWritten(const std::wstring&) {
    for (const std::wstring& path : g_sectionsToLock)
        EXPECT_TRUE(store_test::DenySetValue(path));
    g_sectionsToLock.clear();
}

TEST_P(AtomicSave, FailedRestoreIsReportedAsSuch) {
    SaveEarlierPicks();
    const std::wstring configBefore = DescribeSection(Config());
    g_sectionsToLock = {KeyPath(Config()), KeyPath(Hardware())};
    store::SetSectionWrittenHook(LockSectionsOnceWritten);
    PickLED(3, 5);

    ui::MessageBoxAnswerer answerer({IDOK});
    Apply();
    store::SetSectionWrittenHook(nullptr);
    EXPECT_TRUE(g_sectionsToLock.empty()) << "the save never got past the configuration section";
    EXPECT_EQ(std::vector<std::wstring>({L"The configuration could not be saved, and the settings stored before could "
                                         L"not be put back: they may be incomplete."}),
              answerer.Texts());
    EXPECT_NE(configBefore, DescribeSection(Config()));
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Panel().m_bChanged);

    ASSERT_TRUE(store_test::AllowAll(KeyPath(Config())));
    ASSERT_TRUE(store_test::AllowAll(KeyPath(Hardware())));
    ExpectSecondApplySavesEverything();
}

std::string PanelParamName(const ::testing::TestParamInfo<tagBGDevHWType>& info) {
    return config_test::PanelName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Panels, AtomicSave,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO), PanelParamName);

// ---- the message, in both languages ------------------------------------------------------

std::wstring StringIn(UINT id, WORD language) {
    HRSRC found = ::FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr)
        return L"";
    const wchar_t* text = static_cast<const wchar_t*>(::LockResource(::LoadResource(nullptr, found)));
    for (UINT i = 0; i < id % 16; ++i)
        text += 1 + *text;
    return std::wstring(text + 1, *text);
}

TEST(StoreMessages, FailedRestoreHasItsOwnTextInEnglishAndRussian) {
    EXPECT_EQ(L"The configuration could not be saved, and the settings stored before could not be put back: "
              L"they may be incomplete.",
              StringIn(IDS_RESTORE_FAILED, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    EXPECT_EQ(L"Не удалось сохранить конфигурацию, и прежние настройки не удалось восстановить: они могут быть "
              L"неполными.",
              StringIn(IDS_RESTORE_FAILED, MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)));
}

}  // namespace
