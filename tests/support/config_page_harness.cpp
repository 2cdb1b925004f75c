#include "config_page_harness.h"

#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <cwchar>
#include <stdexcept>

namespace config_test {

namespace {

template <class Row>
int RowOf(const Row* table, const wchar_t* label) {
    for (int row = 0; table[row].label != nullptr; ++row) {
        if (std::wcscmp(table[row].label, label) == 0)
            return row;
    }
    ADD_FAILURE() << "no row is labelled " << testing::PrintToString(std::wstring(label));
    return -1;
}

std::wstring FakeKey(tagBGDevHWType type, int device) {
    return L"FAKE-" + std::to_wstring(static_cast<int>(type)) + L"-" + std::to_wstring(device);
}

std::vector<std::wstring> ValueNames(std::initializer_list<const wchar_t*> bases) {
    std::vector<std::wstring> names;
    for (int d = 0; d < 8; ++d) {
        for (const wchar_t* base : bases)
            names.push_back(base + std::to_wstring(d));
    }
    return names;
}

}  // namespace

int EventRow(const wchar_t* label) { return RowOf(g_EventTable, label); }
int ToggleRow(const wchar_t* label) { return RowOf(g_ToggleTable, label); }
int LedRow(const wchar_t* label) { return RowOf(g_LedTable, label); }

std::wstring ConfigSection(tagBGDevHWType type, int device) { return L"All aircraft\\" + FakeKey(type, device); }

std::wstring HardwareSection(tagBGDevHWType type, int device) { return L"Hardware\\" + FakeKey(type, device); }

std::vector<std::wstring> ToggleValueNames() {
    return ValueNames({L"OnButton", L"OffButton", L"ButtonVar", L"LED", L"LEDcomp", L"LEDval"});
}

std::wstring DescribeValue(const std::wstring& section, const std::wstring& name) {
    DWORD number = 0;
    std::wstring text;
    if (test_settings::ReadDword(section, name, &number)) {
        wchar_t hex[16] = L"";
        std::swprintf(hex, 16, L"%#lx", static_cast<unsigned long>(number));
        return L"dword " + std::wstring(hex);
    }
    if (test_settings::ReadString(section, name, &text))
        return L"sz " + text;
    return test_settings::ValueType(section, name) == REG_NONE ? L"absent" : L"other type";
}

std::wstring SavePromptText() { return L"Configuration not saved.\nSave ?"; }

std::wstring SaveFailedText() { return L"The configuration could not be saved."; }

const char* PanelName(tagBGDevHWType type) {
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8: return "B88";
    case BG_HW_TOGGLE_8X8: return "T88";
    case BG_HW_RADIO: return "RP";
    default: return "None";
    }
}

CConfigPanel& ConfigPageFixture::Panel() {
    CConfigPanel* page = dynamic_cast<CConfigPanel*>(main->ConfigPage());
    if (page == nullptr) {
        ADD_FAILURE() << "no configuration page is shown";
        throw std::runtime_error("no configuration page");
    }
    return *page;
}

HWND ConfigPageFixture::PageWindow() { return Panel().m_hWnd; }

void ConfigPageFixture::PickButton(int k, int row) {
    ui::CloseUp(PageWindow(), IDC_BUTTON_LIST_FIRST + k, ItemOfRow(row));
}

void ConfigPageFixture::PickLED(int k, int row) { ui::CloseUp(PageWindow(), IDC_LED_LIST_FIRST + k, ItemOfRow(row)); }

int ConfigPageFixture::SelectedItem(int id) {
    return static_cast<int>(::SendDlgItemMessageW(PageWindow(), id, CB_GETCURSEL, 0, 0));
}

int ConfigPageFixture::ShownRow(int id) {
    const int item = SelectedItem(id);
    return item < 0 ? -1 : item == 0 ? CConfigPanel::kNoRow : item - 1;
}

std::wstring ConfigPageFixture::SelectedLabel(int id) {
    const int item = SelectedItem(id);
    if (item < 0)
        return std::wstring();
    wchar_t text[128] = L"";
    if (::SendDlgItemMessageW(PageWindow(), id, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) >= 128)
        return L"<too long>";
    ::SendDlgItemMessageW(PageWindow(), id, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    return text;
}

void ConfigPageFixture::Apply() { ui::Click(main->m_hWnd, IDC_APPLY); }

bool ConfigPageFixture::ApplyEnabled() { return ui::IsEnabled(main->m_hWnd, IDC_APPLY); }

void ConfigPageFixture::FocusList(int id) {
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ui::Focus(PageWindow(), id);
    const HWND list = ::GetDlgItem(PageWindow(), id);
    ASSERT_TRUE(::GetFocus() == list || ::GetParent(::GetFocus()) == list) << "list " << id;
}

void ConfigPageFixture::Press(WORD vk, bool shift, bool control) { ui::PressKey(main->m_hWnd, vk, shift, control); }

void ConfigPageFixture::ClickListItem(int id, int item) {
    const HWND list = ::GetDlgItem(PageWindow(), id);
    RECT rect = {};
    ::GetClientRect(list, &rect);
    ui::ClickAt(main->m_hWnd, list, POINT{rect.right - 5, rect.bottom / 2});
    ASSERT_TRUE(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "list " << id << " did not open";
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(list, &info));
    RECT itemRect = {};
    RECT shown = {};
    ::GetClientRect(info.hwndList, &shown);
    ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemRect));
    if (itemRect.top < 0 || itemRect.bottom > shown.bottom) {
        ::SendMessageW(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(item), 0);
        ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemRect));
    }
    ui::ClickAt(main->m_hWnd, info.hwndList,
                POINT{(itemRect.left + itemRect.right) / 2, (itemRect.top + itemRect.bottom) / 2});
    EXPECT_FALSE(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "list " << id << " stayed open";
}

std::vector<int> ConfigPageFixture::LedStates(int device) {
    const fake_vuzoz::PanelState& panel = fake_vuzoz::Panel(device);
    return std::vector<int>(panel.led, panel.led + 8);
}

}  // namespace config_test
