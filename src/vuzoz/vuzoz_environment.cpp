#include "vuzoz_environment.h"

#include <windows.h>

namespace vuzoz {

bool ReadEnvironment(const wchar_t* name, std::wstring& value)
{
    value.clear();
    for (;;) {
        // The size asked for includes the terminating null; the answer on success does not.
        const DWORD capacity = static_cast<DWORD>(value.size() + 1);
        std::wstring buffer(capacity, L'\0');
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(name, &buffer[0], capacity);
        if (length == 0)
            return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        if (length < capacity) {
            value.assign(buffer.c_str(), length);
            return true;
        }
        // Too small: length is the size needed, null included.
        value.assign(length - 1, L'\0');
    }
}

bool EnvironmentSwitch(const wchar_t* name)
{
    std::wstring value;
    return ReadEnvironment(name, value) && value == L"1";
}

}  // namespace vuzoz
