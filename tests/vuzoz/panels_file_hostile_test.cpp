// The panels file handled roughly: changed fast, locked, half written, garbage, huge,
// and the library started and ended over and over while it is watched.
#include "panels_file_test_support.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <atomic>
#include <thread>

namespace {

using vuzoz_test::DeviceChanges;
using vuzoz_test::PumpFor;
using vuzoz_test::SetEnv;

using PanelsFileHostile = vuzoz_test::PanelsFileTest;

std::set<std::string> KeySet(const std::vector<std::string>& keys)
{
    return std::set<std::string>(keys.begin(), keys.end());
}

// The text of a list of n panels with serials, of each type in turn: "1:P0\n2:P1\n3:P2\n...".
std::string ManyPanels(int count, const char* prefix)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::to_string(i % 3 + 1) + ":" + prefix + std::to_string(i) + "\n";
    return text;
}

std::vector<std::string> ManyKeys(int count, const char* prefix)
{
    const char* types[] = {"B88", "T88", "RP"};
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back(std::string("Simulated ") + types[i % 3] + " " + prefix + std::to_string(i));
    return keys;
}

TEST_F(PanelsFileHostile, AHundredChangesFiftyMillisecondsApartEndAsTheLastFileSays)
{
    StartWithFile("1:S0\n");
    const std::set<std::string> start = KeySet(Keys());
    std::string last;
    for (int i = 1; i <= 100; ++i) {
        // Panels come and go in changing sets; some keys stay for a while.
        last = "1:S" + std::to_string(i % 7) + "\n2:T" + std::to_string(i % 3) + "\n";
        if (i % 4 == 0)
            last += "3\n";
        if (i % 5 == 0)
            last += "1:S" + std::to_string((i + 3) % 7) + "\n";
        WriteList(last);
        PumpFor(50);
    }
    ASSERT_EQ("1:S2\n2:T1\n3\n1:S5\n", last);
    const std::set<std::string> final = {"Simulated B88 S2", "Simulated T88 T1", "Simulated RP 1",
                                         "Simulated B88 S5"};
    const ULONGLONG end = GetTickCount64() + vuzoz_test::kSettleWaitMs;
    while (ReplayPlugLines(start) != final && GetTickCount64() < end)
        PumpFor(20);
    EXPECT_EQ(final, ReplayPlugLines(start));
    EXPECT_FALSE(DeviceChanges().empty());

    TakePanelsAfresh();
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 S2", "Simulated T88 T1", "Simulated RP 1",
                                        "Simulated B88 S5"}),
              Keys());
}

TEST_F(PanelsFileHostile, ALockedFileChangesNothingUntilItIsReleased)
{
    StartWithFile("1:A1\n");
    HANDLE locked = OpenList(GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    const std::string text = "2:B1\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(locked, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    ASSERT_TRUE(SetEndOfFile(locked));
    EXPECT_FALSE(WaitForDeviceChange(400));
    EXPECT_TRUE(PlugLines().empty());
    EXPECT_EQ(BG_OK, BG_SetBrightness(0, 1));

    ASSERT_TRUE(CloseHandle(locked));
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated T88 B1"}),
              PlugLines());
}

TEST_F(PanelsFileHostile, AFileBeingWrittenIsNeverReadHalfWay)
{
    StartWithFile("");
    const std::string text = ManyPanels(60, "H");
    HANDLE writer = OpenList(GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, text.data(), static_cast<DWORD>(text.size() / 2), &written, nullptr));
    EXPECT_FALSE(WaitForDeviceChange(300));  // half a list stays unread
    EXPECT_TRUE(PlugLines().empty());
    ASSERT_TRUE(WriteFile(writer, text.data() + written, static_cast<DWORD>(text.size() - written),
                          &written, nullptr));
    ASSERT_TRUE(CloseHandle(writer));

    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ(60u, PlugLines().size());
    EXPECT_EQ(KeySet(ManyKeys(60, "H")), ReplayPlugLines({}));
    EXPECT_FALSE(WaitForDeviceChange(200));
    EXPECT_EQ(1u, DeviceChanges().size());
}

TEST_F(PanelsFileHostile, RewritingTheSameListOverAndOverPlugsNothing)
{
    const std::string text = ManyPanels(30, "R");
    StartWithFile(text);
    std::atomic<bool> stop(false);
    std::atomic<int> rewrites(0);
    std::thread writer([&] {
        while (!stop) {
            // Truncated first, then written in pieces, as some programs save.
            HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                Sleep(1);
                continue;
            }
            for (size_t at = 0; at < text.size(); at += 64) {
                DWORD written = 0;
                (void)WriteFile(file, text.data() + at,
                                static_cast<DWORD>(std::min<size_t>(64, text.size() - at)), &written,
                                nullptr);
                Sleep(1);
            }
            (void)CloseHandle(file);
            ++rewrites;
            Sleep(static_cast<DWORD>(rewrites % 4));
        }
    });
    PumpFor(1500);
    stop = true;
    writer.join();
    EXPECT_GT(rewrites.load(), 10);
    PumpFor(100);
    EXPECT_TRUE(PlugLines().empty());
    EXPECT_TRUE(DeviceChanges().empty());
    EXPECT_EQ(BG_OK, BG_SetBrightness(29, 1));
}

TEST_F(PanelsFileHostile, NotTextOrGarbageLinesAttachNoPanelAndSayWhy)
{
    StartWithFile("1:A1\n");
    testing::internal::CaptureStderr();
    const char binary[] = "\x00\x01\xFF\xFE\x7F binary\x00";
    WriteList(std::string(binary, sizeof(binary) - 1));
    const bool changed = WaitForDeviceChange();
    const std::string message = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(changed);
    EXPECT_EQ(std::vector<std::string>{"unplug Simulated B88 A1"}, PlugLines());
    EXPECT_NE(std::string::npos, message.find("VUZOZ_PANELS_FILE")) << message;
    EXPECT_NE(std::string::npos, message.find("panels.txt")) << message;
    EXPECT_NE(std::string::npos, message.find("no panel attached")) << message;

    WriteList("1:A1\n");
    ASSERT_TRUE(WaitForDeviceChange());
    testing::internal::CaptureStderr();
    WriteList("1:A1\nhello\n2:B2\n");
    const bool changedAgain = WaitForDeviceChange();
    const std::string again = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(changedAgain);
    EXPECT_NE(std::string::npos, again.find("\"hello\"")) << again;

    // What is read in the end counts, here a list of one.
    WriteList("\xEF\xBB\xBF"
              "2:B2\r\n");
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated B88 A1",
                                        "unplug Simulated B88 A1", "plug Simulated T88 B2"}),
              PlugLines());
    TakePanelsAfresh();
    EXPECT_EQ(std::vector<std::string>{"Simulated T88 B2"}, Keys());

    // Longer than any list: refused whole, not read on and on.
    testing::internal::CaptureStderr();
    WriteList(std::string(200 * 1024, '1'));
    const bool changedByLong = WaitForDeviceChange();
    const std::string tooLong = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(changedByLong);
    EXPECT_NE(std::string::npos, tooLong.find("longer than")) << tooLong;
}

TEST_F(PanelsFileHostile, TwoHundredPanelsComeAndGoTogether)
{
    StartWithFile("");
    WriteList(ManyPanels(200, "M"));
    ASSERT_TRUE(WaitForDeviceChange(vuzoz_test::kSettleWaitMs));
    EXPECT_EQ(200u, PlugLines().size());
    EXPECT_EQ(KeySet(ManyKeys(200, "M")), ReplayPlugLines({}));
    TakePanelsAfresh();
    EXPECT_EQ(ManyKeys(200, "M"), Keys());
    EXPECT_EQ(BG_OK, BG_SetLEDState(199, 4, BG_LED_ON, 0));

    WriteList("");
    ASSERT_TRUE(WaitForDeviceChange(vuzoz_test::kSettleWaitMs));
    EXPECT_TRUE(ReplayPlugLines({}).empty());
    EXPECT_NE(BG_OK, BG_SetLEDState(199, 4, BG_LED_ON, 0));

    // More panels than a list may name: none.
    TakePanelsAfresh();
    testing::internal::CaptureStderr();
    WriteList(ManyPanels(257, "M"));
    EXPECT_FALSE(WaitForDeviceChange(300));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, message.find("more than 256 panels")) << message;
}

size_t ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    size_t count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    (void)CloseHandle(snapshot);
    return count;
}

// Wine's GetProcessHandleCount always gives 0; the system's handle table tells.
size_t HandlesOfThisProcess()
{
    struct Entry {
        PVOID object;
        ULONG_PTR process;
        ULONG_PTR handle;
        ULONG access;
        USHORT creatorBackTrace;
        USHORT objectType;
        ULONG attributes;
        ULONG reserved;
    };
    struct Table {
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    const ULONG kSystemExtendedHandleInformation = 64;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    EXPECT_NE(nullptr, query);
    if (query == nullptr)
        return 0;
    std::vector<ULONG_PTR> buffer(1 << 14);
    LONG status = 0;
    for (;;) {
        ULONG needed = 0;
        status = query(kSystemExtendedHandleInformation, buffer.data(),
                       static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)), &needed);
        if (status != kInfoLengthMismatch)
            break;
        buffer.resize(buffer.size() * 2);
    }
    EXPECT_EQ(0, status);
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    size_t count = 0;
    for (ULONG_PTR i = 0; status == 0 && i < table->count; ++i) {
        if (table->entries[i].process == GetCurrentProcessId())
            ++count;
    }
    return count;
}

// Wine reports no private bytes: its pagefile figure is the process's anonymous memory.
SIZE_T CommittedMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    EXPECT_TRUE(K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)));
    return counters.PagefileUsage;
}

TEST_F(PanelsFileHostile, StartingAndEndingOverAndOverLeavesNoThreadHandleOrMemory)
{
    WriteList("1:A1\n2:B1\n");
    SetEnv(L"VUZOZ_PANELS_FILE", m_path.c_str());
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    ASSERT_EQ(BG_OK, BGTerminate());
    PumpFor(20);
    const size_t threads = ThreadsOfThisProcess();
    const size_t handles = HandlesOfThisProcess();
    const SIZE_T memory = CommittedMemory();
    ASSERT_GT(threads, 0u);
    ASSERT_GT(handles, 0u);

    for (int cycle = 0; cycle < 100; ++cycle) {
        ASSERT_EQ(BG_OK, BGInit(m_owner));
        EXPECT_EQ(threads + 1, ThreadsOfThisProcess()) << "cycle " << cycle;  // the watcher
        if (cycle % 10 == 0) {
            WriteList(cycle % 20 == 0 ? "1:A1\n" : "1:A1\n2:B1\n");
            EXPECT_TRUE(WaitForDeviceChange(vuzoz_test::kSettleWaitMs)) << "cycle " << cycle;
        }
        ASSERT_EQ(BG_OK, BGTerminate());
        EXPECT_EQ(threads, ThreadsOfThisProcess())
            << "cycle " << cycle;  // gone when BGTerminate returns
        PumpFor(1);
    }
    EXPECT_LE(HandlesOfThisProcess(), handles + 2) << "from " << handles;
    EXPECT_LT(CommittedMemory(), memory + 256 * 1024) << "from " << memory;
}

TEST_F(PanelsFileHostile, EndingOnAnotherThreadStopsTheWatcherToo)
{
    const size_t threads = ThreadsOfThisProcess();
    StartWithFile("1:A1\n");
    EXPECT_EQ(threads + 1, ThreadsOfThisProcess());
    tagBGDevResult result = BG_ERR_NOT_READY;
    std::thread other([&result] { result = BGTerminate(); });
    other.join();
    ASSERT_EQ(BG_OK, result);
    EXPECT_EQ(threads, ThreadsOfThisProcess());
    WriteList("2:B1\n");
    EXPECT_FALSE(WaitForDeviceChange(300));
    EXPECT_TRUE(PlugLines().empty());
}

}  // namespace
