// The title of a virtual panel window: its position among the panels and its kind, in
// Russian when the user interface language is Russian, else in English.
#ifndef VUZOZ_VIRTUAL_PANEL_TITLE_H
#define VUZOZ_VIRTUAL_PANEL_TITLE_H

#include "VUZoz.h"

#include <string>

namespace vuzoz {

// position counts from 1: "Virtual panel 1: 8x8 pushbutton panel".
std::wstring VirtualPanelTitle(int position, tagBGDevHWType type, LANGID language);

// The language of the calling thread's user interface.
LANGID UserInterfaceLanguage();

}  // namespace vuzoz

#endif
