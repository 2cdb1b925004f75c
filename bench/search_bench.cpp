// How fast the search of a configuration list answers a keystroke, in the 468-row list of
// a pushbutton page. Prints the median, minimum and maximum of many keystrokes of:
//   - a letter that moves the selection to the first row containing the text so far,
//   - a letter that makes the text match no row (every label is looked at),
// each beside its floor, measured in the same run: the list selecting the same row without
// a search (CB_SETCURSEL and the page hearing of it), painted the same way.
#include "afx/registry_key.h"
#include "app/configurator_app.h"
#include "config/table_statistics.h"
#include "config/config_panel.h"
#include "bench_clock.h"
#include "bench_stats.h"
#include "fake_vuzoz.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t* const kWords[] = {L"gear", L"flap", L"light", L"trim", L"view", L"pause", L"brake", L"spoiler"};
const int kRounds = 40;

using bench::Now;
using bench::PumpMessages;

// Everything that a keystroke may have made to repaint: the page, the list, the tip.
void Paint(HWND page) {
    ::RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

struct Stats {
    double median, min, max;
    size_t count;
};

Stats StatsOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    Stats stats = {times[times.size() / 2], times.front(), times.back(), times.size()};
    return stats;
}

void PrintRow(const char* what, const Stats& time, const Stats& floor) {
    std::printf("%-34s %6zu %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %6.2f\n", what, time.count, time.median, time.min,
                time.max, floor.median, floor.min, floor.max, time.median / floor.median);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::wstring registryKey = L"Tollan Bench " + std::to_wstring(::GetCurrentProcessId());
    CConfiguratorApp app;
    app.SetSettingsPlace(registryKey.c_str());
    MeasureVocabularyTables();
    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8});

    std::vector<double> found, foundFloor, missed, missedFloor;
    {
        CMainDialog main;
        app.m_pMainWnd = &main;
        if (!main.Create(IDD_MAIN, nullptr)) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        (void)main.ShowWindow(SW_SHOW);
        PumpMessages();
        CConfigPanel* page = dynamic_cast<CConfigPanel*>(main.ConfigPage());
        if (page == nullptr || page->m_cbButton[0].GetCount() != 1 + g_nEventCount) {
            std::fprintf(stderr, "no pushbutton page with a full list\n");
            return 1;
        }
        const CComboBox& list = page->m_cbButton[0];
        const HWND other = page->m_cbButton[1].m_hWnd;
        const UINT id = static_cast<UINT>(list.GetDlgCtrlID());

        for (int round = 0; round < kRounds; ++round) {
            for (const wchar_t* word : kWords) {
                // A new search: the focus comes to the list afresh.
                ::SetFocus(other);
                ::SetFocus(list.m_hWnd);
                Paint(page->m_hWnd);
                for (const wchar_t* c = word; *c != L'\0'; ++c) {
                    const int before = list.GetCurSel();
                    double start = Now();
                    (void)list.SendMessage(WM_CHAR, *c, 1);
                    Paint(page->m_hWnd);
                    const double elapsed = Now() - start;
                    const int item = list.GetCurSel();
                    if (item == before)
                        continue;
                    found.push_back(elapsed);
                    // The floor: the same row selected the list's own way, from the same row.
                    (void)list.SetCurSel(before);
                    Paint(page->m_hWnd);
                    start = Now();
                    (void)list.SetCurSel(item);
                    (void)::SendMessageW(page->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                         reinterpret_cast<LPARAM>(list.m_hWnd));
                    Paint(page->m_hWnd);
                    foundFloor.push_back(Now() - start);
                }
                // A letter that no label has after the word: every row is looked at.
                double start = Now();
                (void)list.SendMessage(WM_CHAR, L'~', 1);
                Paint(page->m_hWnd);
                missed.push_back(Now() - start);
                start = Now();
                (void)list.SetCurSel(list.GetCurSel());
                Paint(page->m_hWnd);
                missedFloor.push_back(Now() - start);
            }
        }
        ::DestroyWindow(main.m_hWnd);
        PumpMessages();
        app.m_pMainWnd = nullptr;
    }
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (L"Software\\" + registryKey).c_str());
    if (found.empty() || missed.empty()) {
        std::fprintf(stderr, "no keystroke moved the selection\n");
        return 1;
    }

    std::printf("Search keystrokes in the %d-row list of a pushbutton page, milliseconds, painting\n"
                "included. Floor: the list selecting the same row without a search, in the same run.\n\n",
                g_nEventCount);
    std::printf("%-34s %6s %8s %8s %8s %8s %8s %8s %6s\n", "", "keys", "median", "min", "max", "floor", "min",
                "max", "ratio");
    PrintRow("letter that moves the selection", StatsOf(found), StatsOf(foundFloor));
    PrintRow("letter that matches no row", StatsOf(missed), StatsOf(missedFloor));
    std::printf("\nA frame at 60 Hz lasts 16.7 ms.\n\n");
    const char* const floor = "the list selecting the same row without a search, painted";
    bench::PrintRatioRow("Search: a letter that moves the selection (468-row list)", floor, found, foundFloor, {0.0});
    bench::PrintRatioRow("Search: a letter that matches no row (468-row list)", floor, missed, missedFloor, {0.0});
    return 0;
}
