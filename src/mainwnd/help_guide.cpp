#include "mainwnd/help_guide.h"

#include "afx/afx.h"
#include "device/device_library.h"
#include "resource.h"

#include <shellapi.h>

ShellOpenFunction g_pfnShellOpen = ::ShellExecuteW;

std::wstring UserGuidePath() {
    std::wstring language = AfxLoadString(IDS_HELP_LANGUAGE);
    if (language.empty())
        language = L"en";
    return ProgramFolder() + L"\\help\\" + language + L"\\index.html";
}

BOOL OpenUserGuide(HWND owner) {
    std::wstring path = UserGuidePath();
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        HINSTANCE result = g_pfnShellOpen(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        // ShellExecute reports success as a value above 32.
        if (reinterpret_cast<INT_PTR>(result) > 32)
            return TRUE;
    }
    std::wstring pattern = AfxLoadString(IDS_HELP_MISSING);
    const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(path.c_str())};
    wchar_t* message = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                                        FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                    pattern.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&message), 0,
                                    reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    std::wstring text = length != 0 && message != nullptr ? std::wstring(message, length) : path;
    if (message != nullptr)
        ::LocalFree(message);
    (void)AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
    return FALSE;
}
