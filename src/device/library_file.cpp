#include "device/library_file.h"

#include <vector>

namespace {

const wchar_t kSimulatorProductName[] = L"Tollan panel simulator";

bool ReadAt(HANDLE file, LONG offset, void* buffer, DWORD size) {
    if (::SetFilePointer(file, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    DWORD read = 0;
    return ::ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

// True when the file holds every section its header lists: a copy cut short does not.
bool HoldsAllSections(HANDLE file, LONG sectionTable, WORD sectionCount) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size))
        return false;
    for (WORD i = 0; i < sectionCount; ++i) {
        IMAGE_SECTION_HEADER section = {};
        if (!ReadAt(file, sectionTable + static_cast<LONG>(i * sizeof section), &section, sizeof section))
            return false;
        if (static_cast<LONGLONG>(section.PointerToRawData) + section.SizeOfRawData > size.QuadPart)
            return false;
    }
    return true;
}

}  // namespace

WORD LibraryFileMachine(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    WORD machine = 0;
    IMAGE_DOS_HEADER dos = {};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header = {};
    const LONG headerAt = static_cast<LONG>(sizeof signature);
    if (ReadAt(file, 0, &dos, sizeof dos) && dos.e_magic == IMAGE_DOS_SIGNATURE && dos.e_lfanew > 0 &&
        ReadAt(file, dos.e_lfanew, &signature, sizeof signature) && signature == IMAGE_NT_SIGNATURE &&
        ReadAt(file, dos.e_lfanew + headerAt, &header, sizeof header) &&
        (header.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE) != 0 &&
        HoldsAllSections(file,
                         dos.e_lfanew + headerAt + static_cast<LONG>(sizeof header) + header.SizeOfOptionalHeader,
                         header.NumberOfSections))
        machine = header.Machine;
    (void)::CloseHandle(file);
    return machine;
}

WORD ProgramMachine() {
#if defined(_M_X64) || defined(__x86_64__)
    return IMAGE_FILE_MACHINE_AMD64;
#elif defined(_M_IX86) || defined(__i386__)
    return IMAGE_FILE_MACHINE_I386;
#elif defined(_M_ARM64) || defined(__aarch64__)
    return IMAGE_FILE_MACHINE_ARM64;
#else
    return 0;
#endif
}

int MachineBits(WORD machine) {
    switch (machine) {
    case IMAGE_FILE_MACHINE_I386: return 32;
    case IMAGE_FILE_MACHINE_AMD64: return 64;
    default: return 0;
    }
}

bool IsPanelSimulatorFile(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> info(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, info.data()))
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\ProductName", &value, &length) ||
        value == nullptr || length == 0)
        return false;
    return std::wstring(static_cast<const wchar_t*>(value)) == kSimulatorProductName;
}
