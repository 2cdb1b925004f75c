// The bytes the store holds after the same sessions stay the same from one version of the
// program to the next: the simulator-side reader reads them. Each session is played over
// the recording fake, the whole company key is dumped (keys in order, values in the
// registry's own order, type and bytes), and the dump is compared with the one recorded
// in tests/store_dumps. TOLLAN_RECORD_STORE_DUMPS=1 writes the recordings anew.
#include "config_page_harness.h"

#include "mainwnd/device_context_menu.h"
#include "resource.h"
#include "test_settings.h"
#include "transfer/settings_transfer.h"
#include "transfer_test_support.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef TOLLAN_STORE_DUMPS_DIR
#error "TOLLAN_STORE_DUMPS_DIR names the folder of the recorded dumps"
#endif

namespace {

std::wstring CompanyPath() {
    const std::wstring profile = test_settings::ProfilePath();
    return profile.substr(0, profile.rfind(L'\\'));
}

std::wstring Hex(const BYTE* data, DWORD size) {
    std::wstring text;
    wchar_t two[4];
    for (DWORD i = 0; i < size; ++i) {
        std::swprintf(two, 4, L"%02x", data[i]);
        text += two;
    }
    return text;
}

void DumpKey(HKEY parent, const std::wstring& path, const std::wstring& shownPath, std::wstring* out) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    *out += L"[" + shownPath + L"]\n";
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        BYTE data[4096];
        DWORD size = sizeof(data);
        DWORD type = REG_NONE;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        *out += L"  " + std::wstring(name, nameLength) + L" " + std::to_wstring(type) + L" " + Hex(data, size) + L"\n";
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::wstring& subkey : subkeys)
        DumpKey(parent, path + L"\\" + subkey, shownPath + L"\\" + subkey, out);
}

std::string Utf8(const std::wstring& text) {
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

std::string RecordingPath(const char* session) { return std::string(TOLLAN_STORE_DUMPS_DIR) + "/" + session + ".txt"; }

std::string ReadRecording(const char* session) {
    std::string text;
    FILE* file = std::fopen(RecordingPath(session).c_str(), "rb");
    if (file == nullptr)
        return text;
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, read);
    std::fclose(file);
    return text;
}

class StoreDumps : public config_test::ConfigPageFixture {
protected:
    void TearDown() override {
        device_menu::SetFilePicker(nullptr);
        for (const std::wstring& path : m_files)
            ::DeleteFileW(path.c_str());
        ConfigPageFixture::TearDown();
    }

    // The store as it is now, with the file's bytes when the session wrote one.
    void ExpectRecorded(const char* session, const std::wstring& extra = std::wstring()) {
        std::wstring dump;
        DumpKey(HKEY_CURRENT_USER, CompanyPath(), L"Company", &dump);
        const std::string text = Utf8(dump + extra);
        if (std::getenv("TOLLAN_RECORD_STORE_DUMPS") != nullptr) {
            FILE* file = std::fopen(RecordingPath(session).c_str(), "wb");
            ASSERT_NE(nullptr, file);
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
            return;
        }
        const std::string recorded = ReadRecording(session);
        ASSERT_FALSE(recorded.empty()) << "no recording " << RecordingPath(session);
        EXPECT_EQ(recorded, text);
    }

    std::wstring File(const std::wstring& name) {
        m_files.push_back(transfer_test::TempPath(name));
        return m_files.back();
    }

    void Choose(int device, UINT command, const std::wstring& path = std::wstring()) {
        transfer_test::PickPath(path);
        device_menu::CDeviceContextMenu menu(*main, device);
        menu.Run(command);
        ui::PumpMessages();
    }

    // Picks of every kind on the page shown, the blink periods typed, the brightness moved
    // with the keyboard, then Apply.
    void EditAndApply(int firstRow) {
        PickButton(0, firstRow);
        PickButton(3, firstRow + 12);
        PickButton(7, firstRow + 2);
        PickLED(1, firstRow + 4);
        PickLED(6, firstRow + 25);
        ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_ON, L"7");
        ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"90");
        ::SendDlgItemMessageW(main->m_hWnd, IDC_BRIGHTNESS_SLIDER, TBM_SETPOS, TRUE, 180 + firstRow);
        ::UpdateWindow(::GetDlgItem(main->m_hWnd, IDC_BRIGHTNESS_SLIDER));
        // A question here would be a fault of the session: it is answered No and fails the test.
        ui::MessageBoxAnswerer unexpected({IDNO, IDNO, IDNO});
        Apply();
        EXPECT_TRUE(unexpected.Texts().empty());
    }

    std::vector<std::wstring> m_files;
};

TEST_F(StoreDumps, ApplyOnEachPanelType) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO});
    EditAndApply(5);
    {
        ui::MessageBoxAnswerer unexpected({IDNO});
        ui::ActivateDeviceItem(*main, 1);
        EXPECT_TRUE(unexpected.Texts().empty());
    }
    EditAndApply(3);
    {
        ui::MessageBoxAnswerer unexpected({IDNO});
        ui::ActivateDeviceItem(*main, 2);
        EXPECT_TRUE(unexpected.Texts().empty());
    }
    EditAndApply(1);
    ExpectRecorded("apply_each_type");
}

TEST_F(StoreDumps, ApplyOverStoredValuesOfOtherTools) {
    test_settings::WriteDword(L"All aircraft\\FAKE-1-0", L"Button2", 0x1002c);
    test_settings::WriteString(L"All aircraft\\FAKE-1-0", L"Written by another tool", L"kept");
    test_settings::WriteDword(L"Hardware\\FAKE-1-0", L"Brightness", 33);
    test_settings::WriteDword(L"Hardware\\FAKE-1-0", L"Another tool's number", 7);
    Start({BG_HW_PUSHBUTTON_8X8});
    EditAndApply(9);
    ExpectRecorded("apply_over_other_values");
}

TEST_F(StoreDumps, ExportThenImportAllOntoAnEmptyStore) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8});
    EditAndApply(6);
    const std::wstring path = File(L"dump-all.reg");
    Choose(0, ID_EXPORT_ALL_SETTINGS, path);
    const std::vector<unsigned char> bytes = transfer_test::ReadBytes(path);
    Close();
    test_settings::Clear();
    ASSERT_TRUE(transfer::ImportAll([&] {
                    transfer::SettingsFile file;
                    EXPECT_TRUE(transfer::LoadSettingsFile(path, &file).ok);
                    return file;
                }())
                    .ok);
    ExpectRecorded("export_import_all", L"file " + Hex(bytes.data(), static_cast<DWORD>(bytes.size())) + L"\n");
}

TEST_F(StoreDumps, ImportOntoAPanelAndCopyBetweenPanels) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_TOGGLE_8X8});
    EditAndApply(4);
    const std::wstring path = File(L"dump-one.reg");
    Choose(0, ID_EXPORT_SETTINGS, path);
    {
        ui::MessageBoxAnswerer answers({IDYES});
        Choose(1, ID_COPY_FROM_FIRST);
    }
    ui::ActivateDeviceItem(*main, 1);
    PickButton(2, 11);
    Apply();
    Choose(0, ID_IMPORT_SETTINGS, path);
    ExpectRecorded("import_and_copy");
}

}  // namespace
