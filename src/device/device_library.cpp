#include "device/device_library.h"

#include "afx/afx.h"
#include "device/library_file.h"
#include "resource.h"

const wchar_t kDeviceLibraryFile[] = L"VUZoz.dll";

namespace {

template <class Function>
bool Resolve(HMODULE module, const char* name, Function& function, std::string& missing) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    if (function == nullptr && missing.empty())
        missing = name;
    return function != nullptr;
}

bool ResolveAll(HMODULE module, DeviceLibraryFunctions& f, std::string& missing) {
    bool all = true;
    all &= Resolve(module, "BGInit", f.pBGInit, missing);
    all &= Resolve(module, "BGTerminate", f.pBGTerminate, missing);
    all &= Resolve(module, "BGGetDevType", f.pBGGetDevType, missing);
    all &= Resolve(module, "BGGetDevKey", f.pBGGetDevKey, missing);
    all &= Resolve(module, "BG_RegisterInputCallback", f.pRegisterInputCallback, missing);
    all &= Resolve(module, "BG_SetLEDState", f.pSetLEDState, missing);
    all &= Resolve(module, "BG_GetLEDStatus", f.pGetLEDStatus, missing);
    all &= Resolve(module, "BG_GetButtonStatus", f.pGetButtonStatus, missing);
    all &= Resolve(module, "BG_SetBrightness", f.pSetBrightness, missing);
    all &= Resolve(module, "BG_GetCurBrightness", f.pGetCurBrightness, missing);
    all &= Resolve(module, "BG_SetBlinkPeriod", f.pSetBlinkPeriod, missing);
    all &= Resolve(module, "BG_GetCurBlinkPeriod", f.pGetCurBlinkPeriod, missing);
    return all;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = L"";
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return folder;
}

// The resource string with %1, %2... replaced by the texts.
std::wstring FormatResource(UINT id, const std::vector<std::wstring>& texts) {
    std::wstring pattern = AfxLoadString(id);
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& text : texts)
        arguments.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
    wchar_t* message = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                                        FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                    pattern.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&message), 0,
                                    reinterpret_cast<va_list*>(arguments.data()));
    if (length == 0 || message == nullptr)
        return pattern;
    std::wstring result(message, length);
    ::LocalFree(message);
    return result;
}

// The system's text for a Win32 error, in the user's language where it has one.
std::wstring SystemMessage(DWORD error) {
    wchar_t* message = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                        FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                    nullptr, error, 0, reinterpret_cast<LPWSTR>(&message), 0, nullptr);
    std::wstring text;
    if (length != 0 && message != nullptr)
        text.assign(message, length);
    if (message != nullptr)
        ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(error);
    else
        text += L" (" + std::to_wstring(error) + L")";
    return text;
}

}  // namespace

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

namespace {

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Why a VUZoz.dll that is there would not load, read from the file itself.
void ExplainLoadFailure(DeviceLibrary& library, DWORD error) {
    library.loadError = error;
    library.fileMachine = LibraryFileMachine(library.path);
    if (library.fileMachine == 0)
        library.state = kDeviceLibraryDamaged;
    else if (library.fileMachine != ProgramMachine() && MachineBits(library.fileMachine) != 0 &&
             MachineBits(ProgramMachine()) != 0)
        library.state = kDeviceLibraryOtherBitness;
    else
        library.state = kDeviceLibraryNotLoaded;
}

}  // namespace

DeviceLibrary LoadDeviceLibrary(const std::vector<std::wstring>& folders) {
    DeviceLibrary library;
    if (!folders.empty())
        library.folder = folders.front();
    for (const std::wstring& folder : folders) {
        if (folder.empty())
            continue;
        std::wstring path = folder + L"\\" + kDeviceLibraryFile;
        if (!FileExists(path))
            continue;
        library.path = path;
        library.folder = folder;
        // A full path, and the library's own folder for what it loads in turn.
        HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module == nullptr) {
            ExplainLoadFailure(library, ::GetLastError());
            return library;
        }
        std::string missing;
        if (!ResolveAll(module, library.functions, missing)) {
            (void)::FreeLibrary(module);
            library.functions = DeviceLibraryFunctions();
            library.missingFunction = missing;
            library.state = kDeviceLibraryFunctionMissing;
            return library;
        }
        library.module = module;
        library.simulated = IsPanelSimulatorFile(path);
        library.state = kDeviceLibraryLoaded;
        return library;
    }
    return library;
}

DeviceLibrary LoadDeviceLibrary() { return LoadDeviceLibrary({ProgramFolder(), SystemFolder()}); }

void FreeDeviceLibrary(DeviceLibrary& library) {
    if (library.module != nullptr)
        (void)::FreeLibrary(library.module);
    library = DeviceLibrary();
}

std::wstring DeviceLibraryProblemText(const DeviceLibrary& library) {
    std::wstring folder = library.folder.empty() ? ProgramFolder() : library.folder;
    switch (library.state) {
    case kDeviceLibraryFunctionMissing: {
        std::wstring function(library.missingFunction.begin(), library.missingFunction.end());
        return FormatResource(IDS_LIBRARY_INCOMPLETE, {kDeviceLibraryFile, folder, function});
    }
    case kDeviceLibraryOtherBitness: {
        const int fileBits = MachineBits(library.fileMachine);
        const int ownBits = MachineBits(ProgramMachine());
        return FormatResource(IDS_LIBRARY_OTHER_BITNESS,
                              {kDeviceLibraryFile, folder, std::to_wstring(fileBits), std::to_wstring(ownBits),
                               fileBits == 32 ? L"x86" : L"x64"});
    }
    case kDeviceLibraryDamaged:
        return FormatResource(IDS_LIBRARY_DAMAGED, {kDeviceLibraryFile, folder});
    case kDeviceLibraryNotLoaded:
        return FormatResource(IDS_LIBRARY_NOT_LOADED, {kDeviceLibraryFile, folder, SystemMessage(library.loadError)});
    default:
        return FormatResource(IDS_LIBRARY_NOT_FOUND, {kDeviceLibraryFile, folder});
    }
}

std::wstring DeviceLibraryInitFailedText(int result) {
    return FormatResource(IDS_LIBRARY_INIT_FAILED, {std::to_wstring(result)});
}
