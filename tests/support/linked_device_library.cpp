#include "linked_device_library.h"

namespace {

DeviceLibrary Linked() {
    DeviceLibrary library;
    library.state = kDeviceLibraryLoaded;
    library.folder = ProgramFolder();
    library.path = library.folder + L"\\" + kDeviceLibraryFile;
    library.functions = {BGInit,
                         BGTerminate,
                         BGGetDevType,
                         BGGetDevKey,
                         BG_RegisterInputCallback,
                         BG_SetLEDState,
                         BG_GetLEDStatus,
                         BG_GetButtonStatus,
                         BG_SetBrightness,
                         BG_GetCurBrightness,
                         BG_SetBlinkPeriod,
                         BG_GetCurBlinkPeriod};
    return library;
}

DeviceLibrary& Current() {
    static DeviceLibrary library = Linked();
    return library;
}

}  // namespace

const DeviceLibrary& OpenDeviceLibrary() { return Current(); }

namespace linked_device_library {

void Pretend(DeviceLibraryState state, const std::wstring& folder, const std::string& missingFunction) {
    DeviceLibrary library;
    library.state = state;
    library.folder = folder;
    library.missingFunction = missingFunction;
    if (state == kDeviceLibraryLoaded)
        library = Linked();
    Current() = library;
}

void PretendSimulated(bool simulated) {
    Current() = Linked();
    Current().simulated = simulated;
}

void Restore() { Current() = Linked(); }

}  // namespace linked_device_library
