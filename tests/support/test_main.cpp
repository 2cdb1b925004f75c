// The in-process tests run with an application object of their own whose settings live
// under a registry key of the test run, deleted at the end.
#include "app/configurator_app.h"
#include "config/table_statistics.h"
#include "afx/registry_key.h"
#include "test_settings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    CConfiguratorApp app;
    app.SetSettingsPlace(test_settings::RegistryKeyName().c_str());
    MeasureVocabularyTables();

    int result = RUN_ALL_TESTS();

    std::wstring root = L"Software\\" + test_settings::RegistryKeyName();
    CKey::RecurseDeleteKey(HKEY_CURRENT_USER, root.c_str());
    return result;
}
