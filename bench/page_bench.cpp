// How long the configuration pages take to come up. Prints the median of several runs of:
//   - creating and showing a pushbutton page (16 lists, 5,432 items, its settings loaded),
//   - a device switch between two pushbutton panels (old page destroyed, new one made),
//   - creating and showing a toggle switch page (2,088 items),
// each beside its floor: adding the same strings to 16 bare combo boxes of a bare dialog.
// The settings live under a registry key of the run, deleted at the end.
#include "afx/registry_key.h"
#include "app/configurator_app.h"
#include "app/table_statistics.h"
#include "config/config_panel_b88.h"
#include "config/config_panel_t88.h"
#include "config/vocabulary_tables.h"
#include "bench_clock.h"
#include "fake_vuzoz.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"
#include "store/settings_store.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kRepetitions = 25;

using bench::Now;
using bench::PumpMessages;

// Median of the milliseconds that timed() reports, run kRepetitions times; prepare() and
// cleanUp() run around each repetition, untimed.
double Median(const std::function<void()>& prepare, const std::function<double()>& timed,
              const std::function<void()>& cleanUp) {
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        prepare();
        times.push_back(timed());
        cleanUp();
        PumpMessages();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A dialog template in memory: a child dialog of the page's size with 16 drop-down lists
// in the page's places and nothing else.
class CBareDialogTemplate {
public:
    explicit CBareDialogTemplate(DWORD listStyle) {
        DLGTEMPLATE dialog = {};
        dialog.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
        dialog.cdit = 16;
        dialog.x = 80;
        dialog.y = 7;
        dialog.cx = 335;
        dialog.cy = 225;
        Append(&dialog, sizeof(dialog));
        AppendWord(0);  // no menu
        AppendWord(0);  // default class
        AppendWord(0);  // no caption
        AppendWord(8);
        AppendString(L"MS Shell Dlg");
        for (int k = 0; k < 16; ++k) {
            Align();
            DLGITEMTEMPLATE item = {};
            item.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | listStyle;
            item.x = static_cast<short>(k < 8 ? 24 : 175);
            item.y = static_cast<short>(76 + 16 * (k % 8));
            item.cx = 133;
            item.cy = 30;
            item.id = static_cast<WORD>(k < 8 ? IDC_BUTTON_LIST_FIRST + k : IDC_LED_LIST_FIRST + k - 8);
            Append(&item, sizeof(item));
            AppendWord(0xFFFF);
            AppendWord(0x0085);  // combo box
            AppendWord(0);       // no text
            AppendWord(0);       // no creation data
        }
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_data.data()); }

private:
    void Append(const void* data, size_t size) {
        const WORD* words = static_cast<const WORD*>(data);
        for (size_t i = 0; i < size / sizeof(WORD); ++i)
            m_data.push_back(words[i]);
    }
    void AppendWord(WORD word) { m_data.push_back(word); }
    void AppendString(const wchar_t* text) {
        for (; *text != L'\0'; ++text)
            m_data.push_back(static_cast<WORD>(*text));
        m_data.push_back(0);
    }
    void Align() {
        if (m_data.size() % 2 != 0)
            m_data.push_back(0);
    }
    std::vector<WORD> m_data;
};

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Adds the upper table's labels to the first eight lists and the LED table's to the others.
template <class UpperRow>
double FillBareDialog(HWND dialog, const UpperRow* upperTable, int upperCount) {
    const double start = Now();
    for (int k = 0; k < 8; ++k) {
        const HWND list = ::GetDlgItem(dialog, IDC_BUTTON_LIST_FIRST + k);
        for (int row = 0; row < upperCount; ++row)
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(upperTable[row].label));
    }
    for (int k = 0; k < 8; ++k) {
        const HWND list = ::GetDlgItem(dialog, IDC_LED_LIST_FIRST + k);
        for (int row = 0; row < g_nLedCount; ++row)
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_LedTable[row].label));
    }
    return Now() - start;
}

struct Floor {
    double fill;    // adding the strings to the lists of a bare dialog
    double create;  // creating that dialog with its 16 lists, for comparison
};

template <class UpperRow>
Floor FloorOf(HWND parent, const UpperRow* upperTable, int upperCount, DWORD listStyle) {
    const CBareDialogTemplate bare(listStyle);
    HWND dialog = nullptr;
    Floor floor = {};
    floor.fill = Median(
        [&] {
            dialog = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), bare.Get(), parent, BareDialogProc, 0);
        },
        [&] { return dialog != nullptr ? FillBareDialog(dialog, upperTable, upperCount) : 0.0; },
        [&] {
            if (dialog != nullptr)
                ::DestroyWindow(dialog);
        });
    floor.create = Median([] {},
                          [&] {
                              const double start = Now();
                              dialog = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), bare.Get(), parent,
                                                                    BareDialogProc, 0);
                              return Now() - start;
                          },
                          [&] {
                              if (dialog != nullptr)
                                  ::DestroyWindow(dialog);
                          });
    return floor;
}

template <class Page>
double PageCreation(CMainDialog& main, int device) {
    Page* page = nullptr;
    return Median([&] { page = new Page; },
                  [&] {
                      const double start = Now();
                      page->m_nDevice = device;
                      page->Create(&main);
                      page->ShowWindow(SW_SHOW);
                      return Now() - start;
                  },
                  [&] {
                      page->DestroyWindow();
                      delete page;
                      fake_vuzoz::ClearCalls();
                  });
}

double DeviceSwitch(CMainDialog& main) {
    int next = 1;
    return Median([] {},
                  [&] {
                      NMITEMACTIVATE activate = {};
                      activate.hdr.hwndFrom = main.m_listDevices.m_hWnd;
                      activate.hdr.idFrom = IDC_DEVICE_LIST;
                      activate.hdr.code = LVN_ITEMACTIVATE;
                      activate.iItem = next;
                      const double start = Now();
                      ::SendMessageW(main.m_hWnd, WM_NOTIFY, IDC_DEVICE_LIST, reinterpret_cast<LPARAM>(&activate));
                      const double elapsed = Now() - start;
                      next = 1 - next;
                      return elapsed;
                  },
                  [] { fake_vuzoz::ClearCalls(); });
}

// A stored configuration with rows from the end of each table, so that loading walks far.
void StoreConfiguration(CWinApp& app, const char* deviceKey) {
    const std::wstring section = store::ConfigSectionName(deviceKey);
    for (int d = 0; d < store::kRowCount; ++d) {
        const EventEntry& event = g_EventTable[g_nEventCount - 1 - d];
        const LedEntry& led = g_LedTable[g_nLedCount - 1 - d];
        app.WriteProfileInt(section.c_str(), store::IndexedValueName(store::kButton, d).c_str(),
                            static_cast<int>(event.event));
        app.WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLED, d).c_str(),
                            static_cast<int>(led.variable));
        app.WriteProfileInt(section.c_str(), store::IndexedValueName(store::kLEDcomp, d).c_str(), led.comparison);
        app.WriteProfileString(section.c_str(), store::IndexedValueName(store::kLEDval, d).c_str(), led.value);
    }
}

void PrintRow(const char* what, double milliseconds, const Floor& floor) {
    std::printf("%-36s %9.2f %9.2f %6.2f %9.2f %6.2f\n", what, milliseconds, floor.fill, milliseconds / floor.fill,
                floor.create + floor.fill, milliseconds / (floor.create + floor.fill));
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::wstring registryKey = L"Tollan Bench " + std::to_wstring(::GetCurrentProcessId());
    CConfiguratorApp app;
    app.SetSettingsPlace(registryKey.c_str());
    MeasureVocabularyTables();

    fake_vuzoz::Reset({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8});
    StoreConfiguration(app, "FAKE-1-0");
    StoreConfiguration(app, "FAKE-1-1");

    double pushbutton = 0, deviceSwitch = 0, toggle = 0;
    Floor pushbuttonFloor = {}, toggleFloor = {};
    {
        CMainDialog main;
        app.m_pMainWnd = &main;
        if (!main.Create(IDD_MAIN, nullptr)) {
            std::fprintf(stderr, "the main window could not be created\n");
            return 1;
        }
        PumpMessages();

        pushbuttonFloor = FloorOf(main.m_hWnd, g_EventTable, g_nEventCount, CBS_DROPDOWNLIST);
        pushbutton = PageCreation<CConfigPanelB88>(main, 0);
        deviceSwitch = DeviceSwitch(main);
        toggleFloor = FloorOf(main.m_hWnd, g_ToggleTable, g_nToggleCount, CBS_DROPDOWN);
        toggle = PageCreation<CConfigPanelT88>(main, 2);

        ::DestroyWindow(main.m_hWnd);
        PumpMessages();
        app.m_pMainWnd = nullptr;
    }
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (L"Software\\" + registryKey).c_str());

    std::printf("Configuration pages, milliseconds, median of %d runs. Floor: adding the same strings to the\n"
                "16 lists of a bare dialog; with creation: that dialog created and filled.\n\n",
                kRepetitions);
    std::printf("%-36s %9s %9s %6s %9s %6s\n", "", "time", "floor", "ratio", "+create", "ratio");
    PrintRow("pushbutton page, create and show", pushbutton, pushbuttonFloor);
    PrintRow("device switch, pushbutton panels", deviceSwitch, pushbuttonFloor);
    PrintRow("toggle switch page, create and show", toggle, toggleFloor);
    return 0;
}
