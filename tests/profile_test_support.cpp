#include "profile_test_support.h"

#include "afx/registry_key.h"
#include "store/pending_save.h"
#include "store_test_support.h"
#include "test_settings.h"
#include "transfer/profile_store.h"
#include "transfer_test_support.h"

#include <windows.h>

#include <algorithm>

namespace profile_test {

namespace {

std::wstring g_lockPath;
bool g_locked = false;

void LockOnce(const std::wstring&) {
    if (g_locked || g_lockPath.empty())
        return;
    g_locked = store_test::DenySetValue(g_lockPath);
    EXPECT_TRUE(g_locked) << transfer_test::Narrow(g_lockPath);
}

// The test run's active profile name, wherever a test left it.
void ClearActiveName() {
    transfer::CProfileStore profiles(L"C:\\nowhere", test_settings::ProfilePath());
    (void)profiles.SetActiveName(std::wstring());
}

}  // namespace

CProfileFolder::CProfileFolder() : m_hadPrevious(false) {
    wchar_t previous[MAX_PATH] = L"";
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", previous, MAX_PATH);
    m_hadPrevious = length > 0 && length < MAX_PATH;
    m_previous = previous;
    m_appData = transfer_test::TempPath(L"appdata");
    RemoveTree(m_appData);
    EXPECT_TRUE(::CreateDirectoryW(m_appData.c_str(), nullptr));
    EXPECT_TRUE(::SetEnvironmentVariableW(L"APPDATA", m_appData.c_str()));
    ClearActiveName();
}

CProfileFolder::~CProfileFolder() {
    ClearActiveName();
    RemoveTree(m_appData);
    (void)::SetEnvironmentVariableW(L"APPDATA", m_hadPrevious ? m_previous.c_str() : nullptr);
}

std::wstring CProfileFolder::Folder() const { return m_appData + L"\\Tollan\\Profiles"; }

void ProfileFolderFixture::SetUp() {
    test_settings::Clear();
    m_profiles.reset(new CProfileFolder);
}

void ProfileFolderFixture::TearDown() {
    store::SetSectionWrittenHook(nullptr);
    m_profiles.reset();
    test_settings::Clear();
}

void StorePanel(const std::wstring& key, unsigned long type, unsigned long button, unsigned long brightness) {
    const std::wstring config = L"All aircraft\\" + key;
    const std::wstring hardware = L"Hardware\\" + key;
    test_settings::WriteDword(config, type == 1 ? L"Button0" : L"OnButton0", button);
    test_settings::WriteDword(config, L"LED2", 0x0A);
    test_settings::WriteDword(config, L"LEDcomp2", 1);
    test_settings::WriteString(config, L"LEDval2", std::to_wstring(button % 1000));
    test_settings::WriteDword(hardware, L"Brightness", brightness);
    test_settings::WriteDword(hardware, L"Fast On", brightness % 7 + 3);
    test_settings::WriteDword(hardware, L"Type", type);
}

void StoreTwoPanels(unsigned long button, unsigned long brightness) {
    StorePanel(L"Pushbuttons", 1, button, brightness);
    StorePanel(L"Toggles", 2, button + 1, brightness + 1);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& folder) {
    for (const std::wstring& name : FilesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            RemoveTree(path);
        else
            (void)::DeleteFileW(path.c_str());
    }
    (void)::RemoveDirectoryW(folder.c_str());
}

void LockOnFirstSectionWritten(const std::wstring& path) {
    g_lockPath = path;
    g_locked = false;
    store::SetSectionWrittenHook(LockOnce);
}

bool LockHappened() { return g_locked; }

}  // namespace profile_test
