// The main window when the panel library is missing, incomplete, or cannot start: the
// error page says so, and nothing is called in a library that is not there.
#include "call_log.h"
#include "linked_device_library.h"
#include "mainwnd/error_dialog.h"
#include "resource.h"
#include "ui_harness.h"

namespace {

using call_log::IndexOf;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;

class MainDialogLibrary : public ui::MainWindowTest {
protected:
    void TearDown() override {
        ui::MainWindowTest::TearDown();
        linked_device_library::Restore();
    }

    std::wstring ErrorText() const {
        if (main->ErrorPage() == nullptr)
            return L"(no error page)";
        return main->ErrorPage()->m_staticText.GetWindowText();
    }
};

TEST_F(MainDialogLibrary, MissingLibraryNamesTheFileAndFolderAndCallsNothing) {
    linked_device_library::Pretend(kDeviceLibraryMissing, L"C:\\Panels\\Tollan");
    Start({B88});
    std::wstring text = ErrorText();
    EXPECT_EQ(L"The panel library VUZoz.dll was not found in C:\\Panels\\Tollan.\r\n\r\nInstall the panel software, or "
              L"copy VUZoz.dll next to Tollan.exe.",
              text);
    EXPECT_EQ(0, main->DeviceList().GetItemCount());
    EXPECT_EQ(-1, IndexOf("BGInit"));
    EXPECT_EQ(-1, IndexOf("BGGetDevType"));
    EXPECT_EQ(-1, IndexOf("BG_RegisterInputCallback 1"));

    // OK still closes the window, and closing does not terminate a library never started.
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(nullptr, main->m_hWnd);
    EXPECT_EQ(-1, IndexOf("BGTerminate"));
}

TEST_F(MainDialogLibrary, IncompleteLibraryNamesTheMissingFunction) {
    linked_device_library::Pretend(kDeviceLibraryFunctionMissing, L"C:\\Panels", "BG_SetBlinkPeriod");
    Start({B88});
    std::wstring text = ErrorText();
    EXPECT_NE(std::wstring::npos, text.find(L"BG_SetBlinkPeriod")) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"C:\\Panels")) << text;
    EXPECT_EQ(-1, IndexOf("BGInit"));
    Close();
}

TEST_F(MainDialogLibrary, UserInterfaceLanguageOfTheLibraryMessages) {
    bool russian = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_RUSSIAN;
    DeviceLibrary missing;
    missing.folder = L"C:\\T";
    std::wstring text = DeviceLibraryProblemText(missing);
    EXPECT_EQ(russian ? std::wstring::npos : 0u, text.find(L"The panel library VUZoz.dll was not found in C:\\T."));
    EXPECT_EQ(russian, text.find(L"Библиотека панелей VUZoz.dll") != std::wstring::npos) << text;
    std::wstring init = DeviceLibraryInitFailedText(7);
    EXPECT_NE(std::wstring::npos, init.find(L"7")) << init;
    EXPECT_EQ(russian, init.find(L"Библиотека панелей не смогла") != std::wstring::npos) << init;
}

}  // namespace
