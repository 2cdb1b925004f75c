// The module (executable or DLL) that holds the simulator's code: its window classes are
// registered for it and its settings file lies beside it.
#ifndef VUZOZ_MODULE_H
#define VUZOZ_MODULE_H

#include <windows.h>

#include <string>

namespace vuzoz {

HINSTANCE ThisModule();

// The module's folder with a trailing backslash; empty when it cannot be found.
std::wstring ThisModuleFolder();

}  // namespace vuzoz

#endif
