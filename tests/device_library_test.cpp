// Loading VUZoz.dll: from the folders given, by full path only, all twelve functions or
// none; a file that is there but cannot be used is named with its reason, never passed
// over. Uses the simulator DLL of the build, one built without BG_GetCurBlinkPeriod, one
// without the simulator's version resource and a 32-bit library.
#include "device/device_library.h"

#include "afx/afx.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::wstring BuildFolder() {  // where Tollan.exe and the simulator's VUZoz.dll are built
    std::wstring folder = ProgramFolder();
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring IncompleteFolder() { return ProgramFolder() + L"\\incomplete-library"; }
std::wstring UnbrandedFolder() { return ProgramFolder() + L"\\unbranded-library"; }
std::wstring Library32Folder() { return ProgramFolder() + L"\\library-32bit"; }

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class DeviceLibraryLoad : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = L"";
        ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
        m_empty = std::wstring(temp) + L"tollan-no-library-" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryW(m_empty.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    void TearDown() override {
        FreeDeviceLibrary(m_library);
        if (!m_written.empty())
            (void)::DeleteFileW(m_written.c_str());
        (void)::RemoveDirectoryW(m_empty.c_str());
    }

    // Puts a VUZoz.dll with these bytes into the test's own folder.
    void WriteLibrary(const std::string& bytes) {
        m_written = m_empty + L"\\VUZoz.dll";
        std::ofstream file(m_written.c_str(), std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(file.good());
    }

    static std::string FileBytes(const std::wstring& path) {
        std::ifstream file(path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    DeviceLibrary m_library;
    std::wstring m_empty;
    std::wstring m_written;
};

TEST_F(DeviceLibraryLoad, TheSimulatorGivesAllTwelveFunctions) {
    m_library = LoadDeviceLibrary({m_empty, BuildFolder()});
    ASSERT_EQ(kDeviceLibraryLoaded, m_library.state);
    EXPECT_EQ(BuildFolder() + L"\\VUZoz.dll", m_library.path);
    EXPECT_EQ(BuildFolder(), m_library.folder);
    const DeviceLibraryFunctions& f = m_library.functions;
    const void* all[] = {reinterpret_cast<void*>(f.pBGInit), reinterpret_cast<void*>(f.pBGTerminate),
                         reinterpret_cast<void*>(f.pBGGetDevType), reinterpret_cast<void*>(f.pBGGetDevKey),
                         reinterpret_cast<void*>(f.pRegisterInputCallback), reinterpret_cast<void*>(f.pSetLEDState),
                         reinterpret_cast<void*>(f.pGetLEDStatus), reinterpret_cast<void*>(f.pGetButtonStatus),
                         reinterpret_cast<void*>(f.pSetBrightness), reinterpret_cast<void*>(f.pGetCurBrightness),
                         reinterpret_cast<void*>(f.pSetBlinkPeriod), reinterpret_cast<void*>(f.pGetCurBlinkPeriod)};
    for (const void* function : all)
        EXPECT_NE(nullptr, function);
    // The functions are the DLL's own, not the ones this test executable links.
    EXPECT_NE(reinterpret_cast<void*>(&BGInit), reinterpret_cast<void*>(f.pBGInit));
    // The library answers as before BGInit.
    EXPECT_EQ(nullptr, f.pBGGetDevType());
    EXPECT_EQ(BG_ERR_NOT_READY, f.pSetBrightness(0, 1));
}

TEST_F(DeviceLibraryLoad, TheSimulatorIsToldFromTheMakersLibraryByItsVersionResource) {
    m_library = LoadDeviceLibrary({BuildFolder()});
    ASSERT_EQ(kDeviceLibraryLoaded, m_library.state);
    EXPECT_TRUE(m_library.simulated);
    FreeDeviceLibrary(m_library);
    // The same code without the simulator's version resource is a library like any other.
    m_library = LoadDeviceLibrary({UnbrandedFolder()});
    ASSERT_EQ(kDeviceLibraryLoaded, m_library.state);
    EXPECT_FALSE(m_library.simulated);
}

TEST_F(DeviceLibraryLoad, ADamagedLibraryIsNamedAndNeverPassedOver) {
    // Text where a library should be, then a library cut short after its first kilobyte.
    const std::string contents[] = {"This is not a library.\r\n", FileBytes(BuildFolder() + L"\\VUZoz.dll").substr(0, 1024)};
    for (const std::string& bytes : contents) {
        ASSERT_FALSE(bytes.empty());
        WriteLibrary(bytes);
        m_library = LoadDeviceLibrary({m_empty, BuildFolder()});
        EXPECT_NE(kDeviceLibraryLoaded, m_library.state) << "the system folder's library was taken instead";
        EXPECT_EQ(nullptr, m_library.module);
        EXPECT_EQ(m_empty, m_library.folder);
        EXPECT_EQ(m_written, m_library.path);
        const std::wstring text = DeviceLibraryProblemText(m_library);
        EXPECT_TRUE(Contains(text, m_empty)) << text;
        EXPECT_FALSE(Contains(text, L"was not found")) << text;
        EXPECT_EQ(kDeviceLibraryDamaged, m_library.state);
        EXPECT_TRUE(Contains(text, L"is damaged")) << text;
        FreeDeviceLibrary(m_library);
    }
}

TEST_F(DeviceLibraryLoad, ALibraryOfTheOtherBitnessSaysWhichTollanToInstall) {
    const std::string bytes = FileBytes(Library32Folder() + L"\\VUZoz.dll");
    ASSERT_FALSE(bytes.empty()) << "no 32-bit library was built";
    WriteLibrary(bytes);
    m_library = LoadDeviceLibrary({m_empty, BuildFolder()});
    ASSERT_EQ(kDeviceLibraryOtherBitness, m_library.state);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, m_library.fileMachine);
    EXPECT_EQ(m_empty, m_library.folder);
    EXPECT_EQ(nullptr, m_library.module);
    const std::wstring text = DeviceLibraryProblemText(m_library);
    EXPECT_TRUE(Contains(text, m_empty)) << text;
    EXPECT_TRUE(Contains(text, L"is a 32-bit library, and this Tollan is 64-bit")) << text;
    EXPECT_TRUE(Contains(text, L"Install the 32-bit Tollan (the x86 installer)")) << text;
}

TEST_F(DeviceLibraryLoad, ALibraryWithoutOneFunctionIsNotUsed) {
    m_library = LoadDeviceLibrary({IncompleteFolder(), BuildFolder()});
    EXPECT_EQ(kDeviceLibraryFunctionMissing, m_library.state);
    EXPECT_EQ("BG_GetCurBlinkPeriod", m_library.missingFunction);
    EXPECT_EQ(IncompleteFolder(), m_library.folder);
    EXPECT_EQ(nullptr, m_library.module);
    EXPECT_EQ(nullptr, reinterpret_cast<void*>(m_library.functions.pBGInit));
    // Freed again: nothing of it stays in the process.
    EXPECT_EQ(nullptr, ::GetModuleHandleW(m_library.path.c_str()));
    std::wstring text = DeviceLibraryProblemText(m_library);
    EXPECT_NE(std::wstring::npos, text.find(L"BG_GetCurBlinkPeriod")) << text;
    EXPECT_NE(std::wstring::npos, text.find(IncompleteFolder())) << text;
}

TEST_F(DeviceLibraryLoad, NeverFromTheCurrentDirectoryOrPath) {
    wchar_t previous[MAX_PATH] = L"";
    ASSERT_NE(0u, ::GetCurrentDirectoryW(MAX_PATH, previous));
    ASSERT_TRUE(::SetCurrentDirectoryW(BuildFolder().c_str()));
    std::wstring path(32767, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", &path[0], 32767));
    ::SetEnvironmentVariableW(L"PATH", (BuildFolder() + L";" + path).c_str());

    m_library = LoadDeviceLibrary({m_empty});

    ::SetEnvironmentVariableW(L"PATH", path.c_str());
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(kDeviceLibraryMissing, m_library.state);
    EXPECT_EQ(m_empty, m_library.folder);
    std::wstring text = DeviceLibraryProblemText(m_library);
    EXPECT_NE(std::wstring::npos, text.find(L"VUZoz.dll")) << text;
    EXPECT_NE(std::wstring::npos, text.find(m_empty)) << text;
}

TEST_F(DeviceLibraryLoad, TheProgramLooksInItsOwnFolderFirst) {
    // The test executable's folder holds no VUZoz.dll, nor does Wine's system folder.
    m_library = LoadDeviceLibrary();
    EXPECT_EQ(kDeviceLibraryMissing, m_library.state);
    EXPECT_EQ(ProgramFolder(), m_library.folder);
}

}  // namespace
