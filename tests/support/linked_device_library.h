// The device library of the in-process tests: the functions the test executable links
// (the recording fake), reported as loaded unless a test says the library is missing.
#ifndef TOLLAN_TESTS_LINKED_DEVICE_LIBRARY_H
#define TOLLAN_TESTS_LINKED_DEVICE_LIBRARY_H

#include "device/device_library.h"

#include <string>

namespace linked_device_library {

// What OpenDeviceLibrary reports from now on; folder and function name the fault.
void Pretend(DeviceLibraryState state, const std::wstring& folder = L"", const std::string& missingFunction = "");
// A loaded library that is (or is not) our panel simulator.
void PretendSimulated(bool simulated);
// Back to a loaded library.
void Restore();

}  // namespace linked_device_library

#endif
