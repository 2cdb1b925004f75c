// The panel library VUZoz.dll: found in the program's own folder, then in the system
// folder, never in the current directory or on PATH. Loaded whole or not at all: a
// library that lacks one of the twelve functions is not used. A VUZoz.dll that is there
// but cannot be used is reported as it is: the search never passes over it to another.
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
    kDeviceLibraryMissing,          // no VUZoz.dll in any of the folders
    kDeviceLibraryFunctionMissing,  // a VUZoz.dll without one of the functions
    kDeviceLibraryOtherBitness,     // a VUZoz.dll for x86 beside an x64 Tollan, or the reverse
    kDeviceLibraryDamaged,          // a file named VUZoz.dll that is no Windows library
    kDeviceLibraryNotLoaded,        // a Windows library the system would not load (loadError says why)
};

struct DeviceLibrary {
    DeviceLibraryState state = kDeviceLibraryMissing;
    HMODULE module = nullptr;
    DeviceLibraryFunctions functions = {};
    std::wstring path;             // the file that was loaded (or lacked a function)
    std::wstring folder;           // the first folder looked in: the program's own
    std::string missingFunction;  // the first function not found
    DWORD loadError = 0;           // GetLastError of the failed load
    WORD fileMachine = 0;          // the machine type of the file that would not load
    bool simulated = false;        // the library is our panel simulator, not the maker's

    bool IsLoaded() const { return state == kDeviceLibraryLoaded; }
};

extern const wchar_t kDeviceLibraryFile[];  // L"VUZoz.dll"

// The folder of the running program, without a trailing backslash.
std::wstring ProgramFolder();

// Looks for VUZoz.dll in each folder in turn (by full path only) and resolves the
// twelve functions of the first one found. Frees a library that lacks one. The first file
// found is the one used or reported: the folders after it are not looked in.
DeviceLibrary LoadDeviceLibrary(const std::vector<std::wstring>& folders);
// The program's folder, then the system folder.
DeviceLibrary LoadDeviceLibrary();
void FreeDeviceLibrary(DeviceLibrary& library);

// What the error page says about a library that is not loaded: not found, lacking a
// function, of the other bitness, damaged, or refused by the system with its reason.
std::wstring DeviceLibraryProblemText(const DeviceLibrary& library);
// What the error page says when BGInit failed (string 109 with its result code).
std::wstring DeviceLibraryInitFailedText(int result);

// The library the program uses, loaded on first use. Tollan.exe loads VUZoz.dll; the
// in-process tests give the functions they link.
const DeviceLibrary& OpenDeviceLibrary();

#endif
