// Helpers of the profile tests: a profiles folder of the test's own (APPDATA pointed at a
// temporary folder for the test's life), panels put into the store, and a write made to fail
// in the middle of a save.
#ifndef TOLLAN_TESTS_PROFILE_TEST_SUPPORT_H
#define TOLLAN_TESTS_PROFILE_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace profile_test {

// APPDATA of this process points at a new temporary folder while the object lives; the folder
// and the active profile's name go at the end, APPDATA is given back.
class CProfileFolder {
public:
    CProfileFolder();
    ~CProfileFolder();
    CProfileFolder(const CProfileFolder&) = delete;
    CProfileFolder& operator=(const CProfileFolder&) = delete;

    const std::wstring& AppData() const { return m_appData; }
    // <AppData>\Tollan\Profiles, where Tollan keeps them.
    std::wstring Folder() const;

private:
    std::wstring m_appData;
    std::wstring m_previous;
    bool m_hadPrevious;
};

// A test with an empty store and a profiles folder of its own.
class ProfileFolderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const std::wstring& AppData() const { return m_profiles->AppData(); }
    std::wstring Folder() const { return m_profiles->Folder(); }

private:
    std::unique_ptr<CProfileFolder> m_profiles;
};

// A panel's two sections in the test run's store (type 1: "Button0", else "OnButton0").
void StorePanel(const std::wstring& key, unsigned long type, unsigned long button, unsigned long brightness);
// "Pushbuttons" (type 1) and "Toggles" (type 2), the numbers telling one state from another.
void StoreTwoPanels(unsigned long button, unsigned long brightness);

// The names of the files in a folder, sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder);
// Deletes a folder the test made, with everything in it.
void RemoveTree(const std::wstring& folder);

// Once the first section of the next save is written, the key at path (relative to
// HKEY_CURRENT_USER) refuses its values; LockHappened tells whether it came to that.
void LockOnFirstSectionWritten(const std::wstring& path);
bool LockHappened();

}  // namespace profile_test

#endif
