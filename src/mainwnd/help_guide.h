// The user guide: help\<language>\index.html beside Tollan.exe, in the language of the
// user interface, opened in the default browser.
#ifndef TOLLAN_MAINWND_HELP_GUIDE_H
#define TOLLAN_MAINWND_HELP_GUIDE_H

#include <windows.h>

#include <string>

// How the guide is handed to the shell: ::ShellExecuteW; a test puts its own here.
using ShellOpenFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern ShellOpenFunction g_pfnShellOpen;

// <program folder>\help\<en or ru>\index.html, the language being that of the resources.
std::wstring UserGuidePath();

// Asks the shell to open the guide; when the file is missing, or the shell cannot open
// it, a message box says where the guide was expected. TRUE when the shell took it.
BOOL OpenUserGuide(HWND owner);

#endif
