// The panel library VUZoz.dll: found in the program's own folder, then in the system
// folder, never in the current directory or on PATH. Loaded whole or not at all: a
// library that lacks one of the twelve functions is not used.
#ifndef TOLLAN_DEVICE_DEVICE_LIBRARY_H
#define TOLLAN_DEVICE_DEVICE_LIBRARY_H

#include "VUZoz.h"

#include <string>
#include <vector>

struct DeviceLibraryFunctions {
    decltype(&BGInit) pBGInit;
    decltype(&BGTerminate) pBGTerminate;
    decltype(&BGGetDevType) pBGGetDevType;
    decltype(&BGGetDevKey) pBGGetDevKey;
    decltype(&BG_RegisterInputCallback) pRegisterInputCallback;
    decltype(&BG_SetLEDState) pSetLEDState;
    decltype(&BG_GetLEDStatus) pGetLEDStatus;
    decltype(&BG_GetButtonStatus) pGetButtonStatus;
    decltype(&BG_SetBrightness) pSetBrightness;
    decltype(&BG_GetCurBrightness) pGetCurBrightness;
    decltype(&BG_SetBlinkPeriod) pSetBlinkPeriod;
    decltype(&BG_GetCurBlinkPeriod) pGetCurBlinkPeriod;
};

enum DeviceLibraryState {
    kDeviceLibraryLoaded,
    kDeviceLibraryMissing,          // no VUZoz.dll in any of the folders, or it would not load
    kDeviceLibraryFunctionMissing,  // a VUZoz.dll without one of the functions
};

struct DeviceLibrary {
    DeviceLibraryState state = kDeviceLibraryMissing;
    HMODULE module = nullptr;
    DeviceLibraryFunctions functions = {};
    std::wstring path;             // the file that was loaded (or lacked a function)
    std::wstring folder;           // the first folder looked in: the program's own
    std::string missingFunction;  // the first function not found

    bool IsLoaded() const { return state == kDeviceLibraryLoaded; }
};

extern const wchar_t kDeviceLibraryFile[];  // L"VUZoz.dll"

// The folder of the running program, without a trailing backslash.
std::wstring ProgramFolder();

// Looks for VUZoz.dll in each folder in turn (by full path only) and resolves the
// twelve functions of the first one found. Frees a library that lacks one.
DeviceLibrary LoadDeviceLibrary(const std::vector<std::wstring>& folders);
// The program's folder, then the system folder.
DeviceLibrary LoadDeviceLibrary();
void FreeDeviceLibrary(DeviceLibrary& library);

// What the error page says about a library that is not loaded (string 108, with the
// missing function named when that is the fault).
std::wstring DeviceLibraryProblemText(const DeviceLibrary& library);
// What the error page says when BGInit failed (string 109 with its result code).
std::wstring DeviceLibraryInitFailedText(int result);

// The library the program uses, loaded on first use. Tollan.exe loads VUZoz.dll; the
// in-process tests give the functions they link.
const DeviceLibrary& OpenDeviceLibrary();

#endif
