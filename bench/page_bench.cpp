// How long a configuration page takes to come up and a device switch takes, against an
// honest floor measured in the same rounds: the page's own template created as a plain
// dialog, its 16 lists filled the way the page fills them (storage reserved, redrawing off,
// the same strings in the same number) and the dialog shown and painted. Everything runs
// through the main window over the recording fake of the device library, and every
// switch is timed from the selection in the device list until the window is painted.
//
// One round, over the panels radio, pushbutton, pushbutton, toggle, toggle (the window
// starts on the radio panel and is then let idle until it has built the pages of the other
// two types ahead):
//   pushbutton floor; switch to pushbutton 1 (a type not shown yet, its page built ahead);
//   switch to pushbutton 2 (the same type); toggle floor; switch to toggle 3 (not shown
//   yet, built ahead); switch to toggle 4 (the same type); switch back to pushbutton 1 (a
//   type that was shown before); then a pushbutton and a toggle switch page built as the
//   main window builds one ahead, but shown and painted, as the floor is.
// Prints the markdown rows of scripts/bench's table: median, minimum and maximum of the
// ratio of each round.
#include "afx/registry_key.h"
#include "app/configurator_app.h"
#include "config/table_statistics.h"
#include "bench_clock.h"
#include "config/config_panel_b88.h"
#include "config/config_panel_t88.h"
#include "bench_main_window.h"
#include "bench_stats.h"
#include "config/upper_column.h"
#include "store/panel_settings.h"
#include "config/vocabulary_tables.h"
#include "fake_vuzoz.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "store/panel_settings.h"
#include "store/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Now;
using bench::PaintAll;
using bench::PumpMessages;

const int kDefaultRounds = 30;

const std::vector<tagBGDevHWType> kPanels = {BG_HW_RADIO, BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8,
                                             BG_HW_TOGGLE_8X8, BG_HW_TOGGLE_8X8};

INT_PTR CALLBACK FloorDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// What the page does to each list, and nothing more: storage reserved from the table's
// row count and longest label, redrawing off while "(none)" and the labels go in.
template <class LabelOf>
void FillFloorList(HWND list, int rowCount, int longestLabel, LabelOf labelOf) {
    (void)::SendMessageW(list, CB_INITSTORAGE, static_cast<WPARAM>(rowCount + 1), static_cast<LPARAM>(longestLabel + 1));
    (void)::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    (void)::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"(none)"));
    for (int row = 0; row < rowCount; ++row)
        (void)::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(labelOf(row)));
    (void)::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

// The floor of a page, in milliseconds: its template created as a plain child dialog of the
// main window, filled, shown and painted. The dialog goes away again untimed.
double Floor(HWND main, UINT pageTemplate, const CUpperColumn& upper) {
    const double start = Now();
    HWND dialog = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(pageTemplate), main, FloorDialogProc, 0);
    if (dialog == nullptr)
        return -1.0;
    for (int k = 0; k < store::kRowCount; ++k) {
        FillFloorList(::GetDlgItem(dialog, IDC_BUTTON_LIST_FIRST + k), upper.RowCount(), upper.LongestLabel(),
                      [&upper](int row) { return upper.Label(row); });
    }
    for (int k = 0; k < store::kRowCount; ++k) {
        FillFloorList(::GetDlgItem(dialog, IDC_LED_LIST_FIRST + k), g_nLedCount, g_nLedLabelMax,
                      [](int row) { return g_LedTable[row].label; });
    }
    (void)::ShowWindow(dialog, SW_SHOW);
    PumpMessages();
    PaintAll(main);
    const double elapsed = Now() - start;
    (void)::DestroyWindow(dialog);
    PumpMessages();
    PaintAll(main);
    return elapsed;
}

// Building a page itself, in milliseconds: the page class made as the main window makes a
// page ahead (created hidden, holding no device), then shown and painted like the floor.
// The page goes away again untimed.
template <class Page>
double BuildPage(CMainDialog& main) {
    Page page;
    const double start = Now();
    page.m_nDevice = Page::kNoDevice;
    if (!page.Create(&main))
        return -1.0;
    (void)page.ShowWindow(SW_SHOW);
    PumpMessages();
    PaintAll(main.m_hWnd);
    const double elapsed = Now() - start;
    (void)page.DestroyWindow();
    PumpMessages();
    PaintAll(main.m_hWnd);
    return elapsed;
}

// A stored configuration with rows from the end of each table, so that loading walks far.
void StoreConfiguration(CWinApp& app, int device, const CUpperColumn& upper) {
    const std::string key = "FAKE-" + std::to_string(static_cast<int>(kPanels[device])) + "-" + std::to_string(device);
    const std::wstring section = store::ConfigSectionName(key.c_str());
    store::SettingSection rows = {store::SectionKind::Config, store::DeviceKeyText(key.c_str()), {}};
    for (int d = 0; d < store::kRowCount; ++d)
        upper.WriteRow(rows, d, upper.RowCount() - 1 - d);
    (void)store::WriteSettingSections(app.GetAppRegistryPath(), {rows});
    for (int d = 0; d < store::kRowCount; ++d) {
        const LedEntry& led = g_LedTable[g_nLedCount - 1 - d];
        app.WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLED, d).c_str(),
                            static_cast<int>(led.variable));
        app.WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLEDcomp, d).c_str(), led.comparison);
        app.WriteProfileString(section.c_str(), store::IndexedValueName(store::kLEDval, d).c_str(), led.value);
    }
}

struct Rounds {
    std::vector<double> pushbuttonFloor, toggleFloor;
    std::vector<double> newPushbutton, samePushbutton, newToggle, sameToggle, backToPushbutton;
    std::vector<double> buildPushbutton, buildToggle;
};

// One round; false when something did not come up as it should.
bool RunRound(CConfiguratorApp& app, Rounds& rounds) {
    CMainDialog main;
    // The pages of the two other types are built ahead before anything is timed.
    if (!bench::StartMainWindow(main, app, kPanels, false) || !bench::IdleUntilPages(main, 3)) {
        bench::EndMainWindow(main, app);
        return false;
    }
    const double pushbuttonFloor = Floor(main.m_hWnd, IDD_CONFIG_B88, EventColumn());
    const double newPushbutton = bench::TimedSwitch(main, 1);
    const double samePushbutton = bench::TimedSwitch(main, 2);
    const double toggleFloor = Floor(main.m_hWnd, IDD_CONFIG_T88, ToggleColumn());
    const double newToggle = bench::TimedSwitch(main, 3);
    const double sameToggle = bench::TimedSwitch(main, 4);
    const double backToPushbutton = bench::TimedSwitch(main, 1);
    const double buildPushbutton = BuildPage<CConfigPanelB88>(main);
    const double buildToggle = BuildPage<CConfigPanelT88>(main);
    bench::EndMainWindow(main, app);
    const double all[] = {pushbuttonFloor, newPushbutton,    samePushbutton,  toggleFloor, newToggle,
                          sameToggle,      backToPushbutton, buildPushbutton, buildToggle};
    for (double time : all) {
        if (time < 0.0)
            return false;
    }
    rounds.pushbuttonFloor.push_back(pushbuttonFloor);
    rounds.newPushbutton.push_back(newPushbutton);
    rounds.samePushbutton.push_back(samePushbutton);
    rounds.toggleFloor.push_back(toggleFloor);
    rounds.newToggle.push_back(newToggle);
    rounds.sameToggle.push_back(sameToggle);
    rounds.backToPushbutton.push_back(backToPushbutton);
    rounds.buildPushbutton.push_back(buildPushbutton);
    rounds.buildToggle.push_back(buildToggle);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int roundCount = argc > 1 ? std::atoi(argv[1]) : kDefaultRounds;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::wstring registryKey = L"Tollan Bench " + std::to_wstring(::GetCurrentProcessId());
    CConfiguratorApp app;
    app.SetSettingsPlace(registryKey.c_str());
    MeasureVocabularyTables();
    StoreConfiguration(app, 1, EventColumn());
    StoreConfiguration(app, 2, EventColumn());
    StoreConfiguration(app, 3, ToggleColumn());
    StoreConfiguration(app, 4, ToggleColumn());

    // The first round warms up what any first window of a process pays for; it is not counted.
    Rounds warmUp, rounds;
    bool ok = RunRound(app, warmUp);
    for (int round = 0; ok && round < roundCount; ++round)
        ok = RunRound(app, rounds);
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (L"Software\\" + registryKey).c_str());
    if (!ok) {
        std::fprintf(stderr, "a page did not come up as it should\n");
        return 1;
    }

    const char* const pushbuttonFloor = "pushbutton page's template as a plain dialog, lists filled, painted";
    const char* const toggleFloor = "toggle switch page's template as a plain dialog, lists filled, painted";
    bench::PrintRatioRow("Page creation: switch to a pushbutton panel, type not shown yet (page built ahead while idle)",
                         pushbuttonFloor, rounds.newPushbutton, rounds.pushbuttonFloor, {1.0});
    bench::PrintRatioRow(
        "Page creation: switch to a toggle switch panel, type not shown yet (page built ahead while idle)",
        toggleFloor, rounds.newToggle, rounds.toggleFloor, {1.0});
    bench::PrintRatioRow("Building a pushbutton page itself (as built ahead, then shown and painted)",
                         pushbuttonFloor, rounds.buildPushbutton, rounds.pushbuttonFloor, {0.0});
    bench::PrintRatioRow("Building a toggle switch page itself (as built ahead, then shown and painted)", toggleFloor,
                         rounds.buildToggle, rounds.toggleFloor, {0.0});
    bench::PrintRatioRow("Switch to another pushbutton panel (same type)", pushbuttonFloor, rounds.samePushbutton,
                         rounds.pushbuttonFloor, {0.25});
    bench::PrintRatioRow("Switch to another toggle switch panel (same type)", toggleFloor, rounds.sameToggle,
                         rounds.toggleFloor, {0.25});
    bench::PrintRatioRow("Switch back to a pushbutton panel (type shown before)", pushbuttonFloor,
                         rounds.backToPushbutton, rounds.pushbuttonFloor, {0.25});
    return 0;
}
