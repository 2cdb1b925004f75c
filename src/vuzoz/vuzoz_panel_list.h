// Reads the list of simulated panels from the text of VUZOZ_PANELS ("1,1,3").
#ifndef VUZOZ_PANEL_LIST_H
#define VUZOZ_PANEL_LIST_H

#include "VUZoz.h"

#include <string>
#include <vector>

namespace vuzoz {

struct PanelList {
    std::vector<tagBGDevHWType> types;  // index = device index
    std::string error;                  // empty when the text could be read
};

// The panels attached when VUZOZ_PANELS is not set: one of each type.
std::vector<tagBGDevHWType> DefaultPanelTypes();

// Comma-separated hardware types (1, 2 or 3), blanks around each allowed. Blank text
// attaches no panel. Any other text gives no panel and an explanation in error.
PanelList ParsePanelList(const std::wstring& text);

}  // namespace vuzoz

#endif
