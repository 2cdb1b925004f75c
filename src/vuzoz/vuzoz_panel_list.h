// Reads a list of simulated panels: the text of VUZOZ_PANELS ("1,1:A7,3") or of a panels
// file (the same entries, also one to a line).
#ifndef VUZOZ_PANEL_LIST_H
#define VUZOZ_PANEL_LIST_H

#include "VUZoz.h"

#include <string>
#include <vector>

namespace vuzoz {

// More panels than a list may name: enough for any desk, few enough that every one of
// them can have a virtual panel window.
const size_t kMaxPanels = 256;
const size_t kMaxSerialLength = 16;

struct PanelList {
    std::vector<tagBGDevHWType> types;  // index = device index
    std::vector<std::string> keys;      // the device key of each panel
    std::string error;                  // empty when the text could be read
};

// The panels attached when nothing names any: one of each type.
std::vector<tagBGDevHWType> DefaultPanelTypes();
PanelList DefaultPanels();

// Comma-separated entries, blanks around each allowed. An entry is a hardware type (1, 2
// or 3), optionally followed by ":" and the panel's serial, 1 to 16 ASCII letters or
// digits ("1:A7"). Blank text attaches no panel. Any other text, two panels whose keys a
// registry would take for one ("1:a7,1:A7"), or more than kMaxPanels panels give no
// panel and an explanation in error, which begins with source (by default
// VUZOZ_PANELS="<the text>").
PanelList ParsePanelList(const std::wstring& text);
PanelList ParsePanelList(const std::wstring& text, const std::string& source);

// The text of a panels file: entries separated by commas or line breaks; blank lines and
// lines that start with # are left out.
PanelList ParsePanelFileText(const std::wstring& text, const std::string& source);

}  // namespace vuzoz

#endif
