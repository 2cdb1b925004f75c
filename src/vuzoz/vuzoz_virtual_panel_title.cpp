#include "vuzoz_virtual_panel_title.h"

namespace vuzoz {

namespace {

const wchar_t* KindName(tagBGDevHWType type, bool russian)
{
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8:
        return russian ? L"кнопочная панель 8x8" : L"8x8 pushbutton panel";
    case BG_HW_TOGGLE_8X8:
        return russian ? L"панель тумблеров 8x8" : L"8x8 toggle switch panel";
    case BG_HW_RADIO:
        return russian ? L"радиопанель" : L"radio panel";
    default:
        return russian ? L"неизвестная панель" : L"unknown panel";
    }
}

}  // namespace

std::wstring VirtualPanelTitle(int position, tagBGDevHWType type, LANGID language)
{
    const bool russian = PRIMARYLANGID(language) == LANG_RUSSIAN;
    return std::wstring(russian ? L"Виртуальная панель " : L"Virtual panel ") +
           std::to_wstring(position) + L": " + KindName(type, russian);
}

LANGID UserInterfaceLanguage()
{
    return GetThreadUILanguage();
}

}  // namespace vuzoz
