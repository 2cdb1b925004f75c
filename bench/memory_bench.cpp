// Whether device switches keep memory for good: the process's committed memory after the
// first 10 switches and after 1,000, in configuration mode ("memory_bench config") or test
// mode ("memory_bench test"). The main window runs over the recording fake of the device
// library with panels of all three types and goes round them, the way a click in the device
// list switches, each switch painted. Prints one markdown row of scripts/bench's memory table.
#include "afx/registry_key.h"
#include "app/configurator_app.h"
#include "config/table_statistics.h"
#include "bench_main_window.h"
#include "fake_vuzoz.h"
#include "mainwnd/main_dialog.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::vector<tagBGDevHWType> kPanels = {BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8,
                                             BG_HW_TOGGLE_8X8, BG_HW_RADIO};
const int kEarlySwitches = 10;
const int kDefaultSwitches = 1000;
const double kGoalMegabytes = 1.0;

// Committed (private) memory in megabytes. Wine reports no PrivateUsage; its pagefile
// figure is the process's anonymous memory, which is what grows when memory is kept.
double CommittedMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters)))
        return -1.0;
    const SIZE_T bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const bool testMode = argc > 1 && std::strcmp(argv[1], "test") == 0;
    const int switchCount = argc > 2 ? std::atoi(argv[2]) : kDefaultSwitches;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::wstring registryKey = L"Tollan Bench " + std::to_wstring(::GetCurrentProcessId());
    CConfiguratorApp app;
    app.SetSettingsPlace(registryKey.c_str());
    MeasureVocabularyTables();

    double early = -1.0, late = -1.0;
    bool ok = true;
    {
        CMainDialog main;
        ok = bench::StartMainWindow(main, app, kPanels, testMode);
        const int deviceCount = static_cast<int>(kPanels.size());
        for (int done = 0; ok && done < switchCount;) {
            ok = bench::TimedSwitch(main, (main.CurrentDevice() + 1) % deviceCount) >= 0.0;
            ++done;
            if (done == kEarlySwitches)
                early = CommittedMegabytes();
        }
        late = CommittedMegabytes();
        bench::EndMainWindow(main, app);
    }
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (L"Software\\" + registryKey).c_str());
    if (!ok || early < 0.0 || late < 0.0) {
        std::fprintf(stderr, "a switch did not show its page, or the memory could not be read\n");
        return 1;
    }
    const double growth = late - early;
    std::printf("| %s | %.2f MB | %.2f MB (%d switches) | %+.2f MB (%.1f KB a switch) | <= %.1f MB | %s |\n",
                testMode ? "Test mode" : "Configuration mode", early, late, switchCount, growth,
                growth * 1024.0 / (switchCount - kEarlySwitches), kGoalMegabytes,
                growth <= kGoalMegabytes ? "yes" : "**no**");
    return 0;
}
