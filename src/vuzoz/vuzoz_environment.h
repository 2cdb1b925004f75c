// Reads the simulator's settings from the process environment (not the C runtime's copy,
// so that SetEnvironmentVariableW takes effect at once).
#ifndef VUZOZ_ENVIRONMENT_H
#define VUZOZ_ENVIRONMENT_H

#include <string>

namespace vuzoz {

// False when the variable is not set; a variable set to empty text gives true and "".
bool ReadEnvironment(const wchar_t* name, std::wstring& value);

// True only when the variable holds exactly "1".
bool EnvironmentSwitch(const wchar_t* name);

}  // namespace vuzoz

#endif
