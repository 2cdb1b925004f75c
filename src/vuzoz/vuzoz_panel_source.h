// Which panels are attached: those the panels file names while it exists, else those of
// the Panels setting (VUZOZ_PANELS), else one of each type.
#ifndef VUZOZ_PANEL_SOURCE_H
#define VUZOZ_PANEL_SOURCE_H

#include "vuzoz_file_snapshot.h"
#include "vuzoz_panel_list.h"

#include <string>

namespace vuzoz {

// How often the panels file is looked at, and how long its content must stay the same
// before it counts.
const DWORD kPanelsFileSettleMs = 20;
// How long BGInit waits for a panels file that is being written.
const DWORD kPanelsFilePatienceMs = 300;

// The full path of the panels file (VUZOZ_PANELS_FILE, else PanelsFile in VUZoz.ini; a
// relative path is taken from the current folder, in VUZoz.ini from the file's own
// folder). Empty when neither names one.
std::wstring PanelsFilePath();

// The panels without a panels file. A list that cannot be read is said on standard
// error, here and below.
PanelList PanelsWithoutFile();

// The panels while the panels file at path is as snapshot shows it: missing, the panels
// without it; unreadable, none.
PanelList PanelsFromSnapshot(const std::wstring& path, const FileSnapshot& snapshot);

// A panels file's bytes as text: UTF-16 with its byte order mark, else single bytes
// (ASCII and UTF-8, a UTF-8 byte order mark left out).
std::wstring PanelsFileText(const std::string& bytes);

}  // namespace vuzoz

#endif
