// A save of several sections that survives Tollan ending half-way: the record written
// before any section is touched, a complete record finished at the next start, a record
// cut short dropped, and a failed write putting everything back.
#include "afx/registry_key.h"
#include "store/pending_save.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using store_test::DescribeSection;
using store_test::KeyPath;

// The record beside the test run's profile, written out as the program keeps it.
std::wstring RecordPath() { return L"Software\\" + test_settings::RegistryKeyName() + L"\\Tollan\\Pending save"; }

bool KeyExists(const std::wstring& path) {
    CKey key;
    return key.Open(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

void WriteRecordValue(const std::wstring& path, const std::wstring& name, DWORD value) {
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue(name.c_str(), value));
}

void WriteRecordText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue(name.c_str(), text.c_str()));
}

class StorePendingSave : public ::testing::Test {
protected:
    void SetUp() override {
        test_settings::Clear();
        (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (L"Software\\" + test_settings::RegistryKeyName() + L"\\Tollan").c_str());
    }
    void TearDown() override {
        (void)store_test::AllowAll(KeyPath(L"All aircraft\\P"));
        (void)store_test::AllowAll(KeyPath(L"Hardware\\P"));
        SetUp();
    }

    // A record as a save of "All aircraft\P" and "Hardware\P" leaves it before the first
    // section is written: the path and every value of each section after the save.
    void WriteRecord(bool complete) {
        const std::wstring first = RecordPath() + L"\\Section 1";
        const std::wstring second = RecordPath() + L"\\Section 2";
        WriteRecordText(first, L"Path", KeyPath(L"All aircraft\\P"));
        WriteRecordValue(first + L"\\Values", L"Button0", 0x10022);
        WriteRecordValue(first + L"\\Values", L"Other tool", 5);
        WriteRecordText(second, L"Path", KeyPath(L"Hardware\\P"));
        WriteRecordValue(second + L"\\Values", L"Brightness", 200);
        WriteRecordValue(second + L"\\Values", L"Type", 1);
        if (complete)
            WriteRecordValue(RecordPath(), L"Complete", 1);
    }

    static std::vector<store::SectionWrites> Writes() {
        std::vector<store::SectionWrites> sections;
        sections.emplace_back(KeyPath(L"All aircraft\\P"));
        sections.back().AddDword(L"Button0", 0x10022);
        sections.back().AddString(L"LEDval0", L"1");
        sections.emplace_back(KeyPath(L"Hardware\\P"));
        sections.back().AddDword(L"Brightness", 200);
        sections.back().AddDword(L"Type", 1);
        return sections;
    }
};

TEST_F(StorePendingSave, WritesInOrderKeepsOtherValuesAndLeavesNoRecord) {
    test_settings::WriteDword(L"All aircraft\\P", L"Other tool", 5);
    test_settings::WriteDword(L"All aircraft\\P", L"Button0", 1);
    ASSERT_EQ(store::kSaveDone, store::SaveSections(RecordPath(), Writes()));

    EXPECT_EQ(L"Button0 4 22000100\nLEDval0 1 31000000\nOther tool 4 05000000\n", DescribeSection(L"All aircraft\\P"));
    EXPECT_EQ(L"Brightness 4 c8000000\nType 4 01000000\n", DescribeSection(L"Hardware\\P"));
    EXPECT_FALSE(KeyExists(RecordPath()));
    EXPECT_FALSE(KeyExists(L"Software\\" + test_settings::RegistryKeyName() + L"\\Tollan")) << "an empty folder left";
}

TEST_F(StorePendingSave, ACompleteRecordIsFinishedAtTheNextStart) {
    // The save was cut short after it wrote Button0 and before the hardware section.
    test_settings::WriteDword(L"All aircraft\\P", L"Other tool", 5);
    test_settings::WriteDword(L"All aircraft\\P", L"Button0", 0x10022);
    WriteRecord(true);

    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_EQ(L"Button0 4 22000100\nOther tool 4 05000000\n", DescribeSection(L"All aircraft\\P"));
    EXPECT_EQ(L"Brightness 4 c8000000\nType 4 01000000\n", DescribeSection(L"Hardware\\P"));
    EXPECT_FALSE(KeyExists(RecordPath()));
    // Nothing left to do the next time.
    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_EQ(L"Brightness 4 c8000000\nType 4 01000000\n", DescribeSection(L"Hardware\\P"));
}

TEST_F(StorePendingSave, ARecordCutShortIsDroppedAndTheSectionsStayAsTheyWere) {
    test_settings::WriteDword(L"All aircraft\\P", L"Button0", 7);
    const std::wstring config = DescribeSection(L"All aircraft\\P");
    WriteRecord(false);

    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_EQ(config, DescribeSection(L"All aircraft\\P"));
    EXPECT_EQ(L"absent", DescribeSection(L"Hardware\\P"));
    EXPECT_FALSE(KeyExists(RecordPath()));
}

TEST_F(StorePendingSave, AFolderLeftWhileARecordWasRemovedIsTidiedOnlyWhenEmpty) {
    const std::wstring folder = L"Software\\" + test_settings::RegistryKeyName() + L"\\Tollan";
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, folder.c_str()));
    key.Close();
    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_FALSE(KeyExists(folder));

    WriteRecordValue(folder, L"Kept by another part", 1);
    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_TRUE(KeyExists(folder)) << "a folder with something else in it went";
}

TEST_F(StorePendingSave, AFailedWritePutsBothSectionsBackAndLeavesNoRecord) {
    test_settings::WriteDword(L"All aircraft\\P", L"Button0", 7);
    test_settings::WriteDword(L"Hardware\\P", L"Brightness", 9);
    const std::wstring config = DescribeSection(L"All aircraft\\P");
    const std::wstring hardware = DescribeSection(L"Hardware\\P");
    ASSERT_TRUE(store_test::DenySetValue(KeyPath(L"Hardware\\P")));

    EXPECT_EQ(store::kSaveFailed, store::SaveSections(RecordPath(), Writes()));
    ASSERT_TRUE(store_test::AllowAll(KeyPath(L"Hardware\\P")));
    EXPECT_EQ(config, DescribeSection(L"All aircraft\\P"));
    EXPECT_EQ(hardware, DescribeSection(L"Hardware\\P"));
    EXPECT_FALSE(KeyExists(RecordPath()));
}

// Once the first section is written another program takes the right to set values of both:
// the save fails and cannot be put back, and its record makes the sections whole later.
std::vector<std::wstring> g_lockOnceWritten;

void LockOnceWritten(const std::wstring&) {
    for (const std::wstring& path : g_lockOnceWritten)
        EXPECT_TRUE(store_test::DenySetValue(path));
    g_lockOnceWritten.clear();
}

TEST_F(StorePendingSave, ASaveThatCannotBePutBackIsFinishedOnceTheSectionsCanBeWritten) {
    test_settings::WriteDword(L"All aircraft\\P", L"Button0", 7);
    test_settings::WriteDword(L"Hardware\\P", L"Brightness", 9);
    g_lockOnceWritten = {KeyPath(L"All aircraft\\P"), KeyPath(L"Hardware\\P")};
    store::SetSectionWrittenHook(LockOnceWritten);
    const store::SaveResult result = store::SaveSections(RecordPath(), Writes());
    store::SetSectionWrittenHook(nullptr);
    EXPECT_EQ(store::kSaveFailedNotRestored, result);
    EXPECT_TRUE(KeyExists(RecordPath()));
    EXPECT_FALSE(store::FinishPendingSave(RecordPath())) << "finished while the sections cannot be written";
    EXPECT_TRUE(KeyExists(RecordPath()));

    ASSERT_TRUE(store_test::AllowAll(KeyPath(L"All aircraft\\P")));
    ASSERT_TRUE(store_test::AllowAll(KeyPath(L"Hardware\\P")));
    EXPECT_TRUE(store::FinishPendingSave(RecordPath()));
    EXPECT_EQ(L"Button0 4 22000100\nLEDval0 1 31000000\n", DescribeSection(L"All aircraft\\P"));
    EXPECT_EQ(L"Brightness 4 c8000000\nType 4 01000000\n", DescribeSection(L"Hardware\\P"));
    EXPECT_FALSE(KeyExists(RecordPath()));
}

}  // namespace
