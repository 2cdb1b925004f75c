#include "hostile_support.h"

#include "afx/registry_key.h"
#include "config/table_statistics.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "store/settings_store.h"
#include "store_test_support.h"
#include "test_settings.h"

#include <gtest/gtest.h>

#include <commctrl.h>


namespace hostile {

namespace {

struct Base {
    const wchar_t* name;
    DWORD type;
};

std::vector<Base> ConfigBases(tagBGDevHWType type) {
    std::vector<Base> bases;
    if (type == BG_HW_PUSHBUTTON_8X8) {
        bases.push_back({store::kButton, REG_DWORD});
    } else {
        bases.push_back({store::kOnButton, REG_DWORD});
        bases.push_back({store::kOffButton, REG_DWORD});
        bases.push_back({store::kButtonVar, REG_DWORD});
    }
    bases.push_back({store::kLED, REG_DWORD});
    bases.push_back({store::kLEDcomp, REG_DWORD});
    bases.push_back({store::kLEDval, REG_SZ});
    return bases;
}

const wchar_t* const kHardwareNames[] = {store::kBrightness, store::kSlowOff, store::kSlowOn,
                                         store::kFastOff,    store::kFastOn,  store::kType};

// A number that a row of the table behind base carries.
DWORD RowNumber(Dice& dice, const std::wstring& base) {
    if (base == store::kButton)
        return g_EventTable[dice.Below(g_nEventCount)].event;
    if (base == store::kOnButton)
        return g_ToggleTable[dice.Below(g_nToggleCount)].onEvent;
    if (base == store::kOffButton)
        return g_ToggleTable[dice.Below(g_nToggleCount)].offEvent;
    if (base == store::kButtonVar)
        return g_ToggleTable[dice.Below(g_nToggleCount)].stateVar;
    if (base == store::kLED)
        return g_LedTable[dice.Below(g_nLedCount)].variable;
    if (base == store::kLEDcomp)
        return static_cast<DWORD>(g_LedTable[dice.Below(g_nLedCount)].comparison);
    return dice.Below(256);
}

DWORD AnyNumber(Dice& dice, const std::wstring& base) {
    switch (dice.Below(6)) {
    case 0: return 0;
    case 1: return 0xFFFFFFFFu;
    case 2: return dice.Any();
    case 3: return dice.Below(300);
    default: return RowNumber(dice, base);
    }
}

std::wstring AnyText(Dice& dice) {
    switch (dice.Below(8)) {
    case 0: return L"";
    case 1: return std::wstring(100 * 1024, static_cast<wchar_t>(L'0' + dice.Below(10)));
    case 2: return std::to_wstring(dice.Any());
    case 3: return L"-1";
    default: {
        const wchar_t* value = g_LedTable[dice.Below(g_nLedCount)].value;
        return value != nullptr ? value : L"";
    }
    }
}

// The section being filled, kept open: a key opened per value makes thousands of states slow.
CKey g_filling;
std::wstring g_fillingSection;

void Write(const std::wstring& section, const std::wstring& name, DWORD type, const std::vector<BYTE>& bytes) {
    const BYTE* data = bytes.empty() ? nullptr : bytes.data();
    if (section == g_fillingSection && g_filling != nullptr)
        (void)::RegSetValueExW(g_filling, name.c_str(), 0, type, data, static_cast<DWORD>(bytes.size()));
    else
        store_test::WriteRaw(section, name, type, data, static_cast<DWORD>(bytes.size()));
}

void StartFilling(const std::wstring& section) {
    g_fillingSection = section;
    (void)g_filling.Create(HKEY_CURRENT_USER, store_test::KeyPath(section).c_str());
}

void StopFilling() {
    g_filling.Close();
    g_fillingSection.clear();
}

std::vector<BYTE> BytesOf(const std::wstring& text, bool terminated = true) {
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(begin, begin + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

std::vector<BYTE> BytesOf(DWORD number) {
    const BYTE* begin = reinterpret_cast<const BYTE*>(&number);
    return std::vector<BYTE>(begin, begin + sizeof(number));
}

// One value as a hostile store may hold it; nothing when it is left out.
void WriteHostileValue(Dice& dice, const std::wstring& section, const std::wstring& name, const std::wstring& base,
                       DWORD properType) {
    switch (dice.Below(20)) {
    case 0:
    case 1:
    case 2: return;  // missing
    case 3: Write(section, name, REG_SZ, BytesOf(AnyText(dice))); return;
    case 4: Write(section, name, REG_SZ, BytesOf(std::to_wstring(RowNumber(dice, base)), dice.OneIn(2))); return;
    case 5: {  // a number of the wrong size
        std::vector<BYTE> bytes(dice.Below(9));
        if (bytes.size() == 4)
            bytes.push_back(0);
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(dice.Any());
        Write(section, name, properType == REG_SZ ? REG_SZ : REG_DWORD, bytes);
        return;
    }
    case 6: {
        std::vector<BYTE> bytes(dice.Below(17));
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(dice.Any());
        Write(section, name, REG_BINARY, bytes);
        return;
    }
    case 7: {
        const ULONGLONG quad = (static_cast<ULONGLONG>(dice.Any()) << 32) | RowNumber(dice, base);
        const BYTE* begin = reinterpret_cast<const BYTE*>(&quad);
        Write(section, name, REG_QWORD, std::vector<BYTE>(begin, begin + sizeof(quad)));
        return;
    }
    case 8: Write(section, name, dice.OneIn(2) ? REG_MULTI_SZ : REG_EXPAND_SZ, BytesOf(AnyText(dice))); return;
    case 9: Write(section, name, properType, properType == REG_SZ ? BytesOf(L"") : BytesOf(DWORD(0))); return;
    default:
        Write(section, name, properType, properType == REG_SZ ? BytesOf(AnyText(dice)) : BytesOf(AnyNumber(dice, base)));
        return;
    }
}

// Values no version of the layout names.
NameSet WriteExtras(Dice& dice, const std::wstring& section, const std::vector<std::wstring>& candidates) {
    NameSet extras;
    const uint32_t count = dice.OneIn(3) ? 1 + dice.Below(4) : 0;
    for (uint32_t i = 0; i < count; ++i) {
        const std::wstring& name = candidates[dice.Below(static_cast<uint32_t>(candidates.size()))];
        const DWORD type = dice.OneIn(2) ? REG_DWORD : REG_SZ;
        // A name written twice keeps its last type.
        for (auto it = extras.begin(); it != extras.end();)
            it = it->first == name ? extras.erase(it) : std::next(it);
        Write(section, name, type, type == REG_SZ ? BytesOf(AnyText(dice)) : BytesOf(dice.Any()));
        extras.insert(std::make_pair(name, type));
    }
    return extras;
}

// Whether the section is left out, stored as a value of its parent, or written.
enum class SectionForm { Missing, AsValue, Key };

SectionForm PickForm(Dice& dice, const std::wstring& section) {
    switch (dice.Below(12)) {
    case 0: return SectionForm::Missing;
    case 1: {
        const size_t slash = section.rfind(L'\\');
        store_test::WriteRaw(section.substr(0, slash), section.substr(slash + 1), REG_SZ, L"x", 4);
        return SectionForm::AsValue;
    }
    default: return SectionForm::Key;
    }
}

}  // namespace

NameSet ConfigLayout(tagBGDevHWType type) {
    NameSet names;
    for (const Base& base : ConfigBases(type)) {
        for (int k = 0; k < store::kRowCount; ++k)
            names.insert(std::make_pair(store::IndexedValueName(base.name, k), base.type));
    }
    return names;
}

NameSet HardwareLayout() {
    NameSet names;
    for (const wchar_t* name : kHardwareNames)
        names.insert(std::make_pair(std::wstring(name), static_cast<DWORD>(REG_DWORD)));
    return names;
}

NameSet WriteRandomConfig(Dice& dice, tagBGDevHWType type, const std::wstring& section) {
    if (PickForm(dice, section) != SectionForm::Key)
        return NameSet();
    // A key with no values at all is a state of its own.
    StartFilling(section);
    for (const Base& base : ConfigBases(type)) {
        for (int k = 0; k < store::kRowCount; ++k)
            WriteHostileValue(dice, section, store::IndexedValueName(base.name, k), base.name, base.type);
    }
    const NameSet extras = WriteExtras(dice, section, {L"Button8", L"LED8", L"LEDval-1", L"Extra", L"", L"OnButton",
                                                       type == BG_HW_PUSHBUTTON_8X8 ? L"OnButton0" : L"Button0"});
    StopFilling();
    return extras;
}

NameSet WriteRandomHardware(Dice& dice, const std::wstring& section) {
    if (PickForm(dice, section) != SectionForm::Key)
        return NameSet();
    StartFilling(section);
    for (const wchar_t* name : kHardwareNames) {
        if (dice.OneIn(3)) {
            const DWORD numbers[] = {0, 255, 256, 0xFFFFFFFFu, 0x80000000u, dice.Any()};
            Write(section, name, REG_DWORD, BytesOf(numbers[dice.Below(6)]));
        } else {
            WriteHostileValue(dice, section, name, L"", REG_DWORD);
        }
    }
    const NameSet extras = WriteExtras(dice, section, {L"Brightness2", L"Extra", L"", L"Slow"});
    StopFilling();
    return extras;
}

ProfileWatch::ProfileWatch() : m_key(nullptr), m_event(nullptr) {
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, test_settings::ProfilePath().c_str(), 0, KEY_NOTIFY, &m_key) != ERROR_SUCCESS)
        return;
    m_event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_event != nullptr &&
        ::RegNotifyChangeKeyValue(m_key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_event, TRUE) !=
            ERROR_SUCCESS) {
        ::CloseHandle(m_event);
        m_event = nullptr;
    }
}

ProfileWatch::~ProfileWatch() {
    if (m_key != nullptr)
        ::RegCloseKey(m_key);
    if (m_event != nullptr)
        ::CloseHandle(m_event);
}

bool ProfileWatch::Changed() const { return m_event != nullptr && ::WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

void ExpectListShowsNothingOrARealRow(HWND page, int id, int rowCount,
                                      const std::function<const wchar_t*(int)>& labelOf) {
    const HWND list = ::GetDlgItem(page, id);
    ASSERT_NE(nullptr, list) << "list " << id;
    const LRESULT item = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return;
    // Item 0 is "(none)", row r of the table item r + 1.
    ASSERT_GE(item, 0) << "list " << id;
    ASSERT_LE(item, rowCount) << "list " << id;
    const LRESULT length = ::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    ASSERT_GE(length, 0) << "list " << id;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    EXPECT_EQ(item == 0 ? std::wstring(L"(none)") : std::wstring(labelOf(static_cast<int>(item) - 1)), text)
        << "list " << id << " item " << item;
}

void ExpectHardwareControlsInRange(HWND main) {
    const LRESULT position = ::SendDlgItemMessageW(main, IDC_BRIGHTNESS_SLIDER, TBM_GETPOS, 0, 0);
    EXPECT_GE(position, 0);
    EXPECT_LE(position, 255);
    for (int id : {IDC_BRIGHTNESS_VALUE, IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF}) {
        wchar_t text[64] = L"";
        ::GetDlgItemTextW(main, id, text, 64);
        const std::wstring shown = text;
        ASSERT_FALSE(shown.empty()) << "control " << id;
        ASSERT_LE(shown.size(), 3u) << "control " << id << " shows " << testing::PrintToString(shown);
        ASSERT_EQ(std::wstring::npos, shown.find_first_not_of(L"0123456789"))
            << "control " << id << " shows " << testing::PrintToString(shown);
        EXPECT_LE(std::stoi(shown), 255) << "control " << id;
    }
}

}  // namespace hostile
