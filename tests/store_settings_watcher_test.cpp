// The watch on a settings key: writes from another thread and from another process reach
// the window as one message per burst, a storm of writes gives a few messages and the last
// value, the key deleted and created again is still watched, and Stop ends it at once.
#include "afx/registry_key.h"
#include "store/settings_watcher.h"
#include "test_settings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const UINT kChanged = WM_APP + 40;

// Below the test run's own key, deleted by each test.
std::wstring TestRoot() { return L"Software\\" + test_settings::RegistryKeyName() + L"\\Watcher"; }
std::wstring WatchedPath() { return TestRoot() + L"\\Settings"; }

void WriteValue(const std::wstring& path, const wchar_t* name, DWORD value) {
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, key.SetValue(name, value));
}

DWORD ReadValue(const std::wstring& path, const wchar_t* name) {
    CKey key;
    DWORD value = 0xFFFFFFFF;
    if (key.Open(HKEY_CURRENT_USER, path.c_str()) != ERROR_SUCCESS || key.QueryValue(name, value) != ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

bool KeyExists(const std::wstring& path) {
    CKey key;
    return key.Open(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

// Handles the process holds now, as the system lists them.
long HandleCount() {
    struct Entry {
        PVOID object;
        ULONG_PTR processId;
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
    typedef LONG(NTAPI * QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
    const ULONG kSystemExtendedHandleInformation = 64;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    QuerySystemInformation query = reinterpret_cast<QuerySystemInformation>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation"));
    if (query == nullptr)
        return -1;
    std::vector<ULONG_PTR> buffer(1 << 14);
    LONG status = 0;
    ULONG length = 0;
    while ((status = query(kSystemExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)), &length)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    long count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) {
        if (table->entries[i].processId == ::GetCurrentProcessId())
            ++count;
    }
    return count;
}

class SettingsWatcher : public ::testing::Test {
protected:
    void SetUp() override {
        (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, TestRoot().c_str());
        m_window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override {
        m_watcher.Stop();
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
        (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, TestRoot().c_str());
    }

    // The watcher's messages taken from the queue within milliseconds, each acknowledged
    // (then the watched value read, as an owner does) unless acknowledge is false. Stops
    // early once stopAfter messages came.
    int Receive(DWORD milliseconds, bool acknowledge = true, int stopAfter = 1 << 30) {
        int received = 0;
        const ULONGLONG end = ::GetTickCount64() + milliseconds;
        while (::GetTickCount64() < end && received < stopAfter) {
            MSG msg;
            if (::PeekMessageW(&msg, m_window, kChanged, kChanged, PM_REMOVE)) {
                ++received;
                // The watcher never has two of its messages waiting.
                MSG second;
                EXPECT_FALSE(::PeekMessageW(&second, m_window, kChanged, kChanged, PM_NOREMOVE));
                if (acknowledge) {
                    m_watcher.Acknowledge();
                    m_lastRead = ReadValue(WatchedPath(), L"Brightness");
                }
                continue;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        }
        return received;
    }
    // True when a message came within milliseconds.
    bool Arrives(DWORD milliseconds = 3000) { return Receive(milliseconds, true, 1) == 1; }
    // Takes whatever a burst still posts, so the next check starts quiet.
    void Settle() { (void)Receive(2 * store::CSettingsWatcher::kLongestDelayMilliseconds + 200); }

    HWND m_window = nullptr;
    store::CSettingsWatcher m_watcher;
    DWORD m_lastRead = 0;
};

TEST_F(SettingsWatcher, AWriteFromAnotherThreadPostsOneMessage) {
    WriteValue(WatchedPath(), L"Brightness", 10);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    EXPECT_EQ(0, Receive(400)) << "nothing changed yet";

    std::thread writer([] {
        WriteValue(WatchedPath(), L"Brightness", 200);
        WriteValue(WatchedPath(), L"Fast On", 7);
    });
    writer.join();
    EXPECT_EQ(1, Receive(1500)) << "one burst, one message";
    EXPECT_EQ(200u, m_lastRead);

    // A change in a section below the key counts too.
    WriteValue(WatchedPath() + L"\\Hardware\\P", L"Brightness", 1);
    EXPECT_TRUE(Arrives());
}

TEST_F(SettingsWatcher, AWriteFromAnotherProcessPostsAMessage) {
    WriteValue(WatchedPath(), L"Brightness", 10);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    std::wstring command = L"reg.exe add \"HKCU\\" + WatchedPath() + L"\" /v Brightness /t REG_DWORD /d 77 /f";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                                 &startup, &process))
        << ::GetLastError();
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 30000));
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_TRUE(Arrives());
    EXPECT_EQ(77u, m_lastRead);
}

TEST_F(SettingsWatcher, AStormOfWritesGivesAFewMessagesAndEndsOnTheLastValue) {
    WriteValue(WatchedPath(), L"Brightness", 0);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    std::atomic<bool> done(false);
    std::thread writer([&done] {
        // A thousand writes in about two seconds.
        const ULONGLONG start = ::GetTickCount64();
        for (DWORD i = 1; i <= 1000; ++i) {
            WriteValue(WatchedPath(), L"Brightness", i);
            while (::GetTickCount64() < start + i * 2)
                ::Sleep(1);
        }
        done = true;
    });
    int messages = 0;
    while (!done)
        messages += Receive(50);
    writer.join();
    messages += Receive(2 * store::CSettingsWatcher::kLongestDelayMilliseconds + 500);
    EXPECT_GE(messages, 2) << "the window hears of the storm while it lasts";
    EXPECT_LE(messages, 40) << "one message per burst, not per write";
    EXPECT_EQ(1000u, m_lastRead);
}

TEST_F(SettingsWatcher, NothingMoreIsPostedUntilTheOwnerAcknowledges) {
    WriteValue(WatchedPath(), L"Brightness", 0);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    for (DWORD i = 1; i <= 50; ++i) {
        WriteValue(WatchedPath(), L"Brightness", i);
        ::Sleep(20);
    }
    EXPECT_EQ(1, Receive(1000, false));
    m_watcher.Acknowledge();
    EXPECT_EQ(0, Receive(500)) << "what came before the acknowledgement is the owner's to read";
    WriteValue(WatchedPath(), L"Brightness", 51);
    EXPECT_TRUE(Arrives()) << "a change after it posts again";
    EXPECT_EQ(51u, m_lastRead);
}

TEST_F(SettingsWatcher, AKeyDeletedAndCreatedAgainIsStillWatched) {
    WriteValue(WatchedPath() + L"\\Hardware\\P", L"Brightness", 1);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));

    // A section below the key deleted from outside.
    ASSERT_EQ(ERROR_SUCCESS, CKey::RecurseDeleteKey(HKEY_CURRENT_USER, (WatchedPath() + L"\\Hardware").c_str()));
    EXPECT_TRUE(Arrives()) << "a section deleted";
    Settle();

    // The key itself, with no subkey left, deleted.
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyW(HKEY_CURRENT_USER, WatchedPath().c_str()));
    EXPECT_TRUE(Arrives()) << "the key deleted";
    Settle();

    WriteValue(WatchedPath(), L"Brightness", 33);
    EXPECT_TRUE(Arrives()) << "the key created again";
    EXPECT_EQ(33u, m_lastRead);
    Settle();
    WriteValue(WatchedPath(), L"Brightness", 34);
    EXPECT_TRUE(Arrives()) << "the new key is the one watched";
    EXPECT_EQ(34u, m_lastRead);
}

TEST_F(SettingsWatcher, AMissingKeyIsWaitedForAndNotCreated) {
    const std::wstring neighbour = TestRoot() + L"\\Neighbour";
    ASSERT_FALSE(KeyExists(TestRoot()));
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    EXPECT_EQ(0, Receive(400));
    EXPECT_FALSE(KeyExists(TestRoot())) << "the watcher creates nothing";

    // Keys beside the watched one are none of its business.
    WriteValue(neighbour, L"Other", 1);
    EXPECT_EQ(0, Receive(700));

    WriteValue(WatchedPath(), L"Brightness", 5);
    EXPECT_TRUE(Arrives()) << "the key appeared";
    EXPECT_EQ(5u, m_lastRead);
    Settle();
    WriteValue(WatchedPath(), L"Brightness", 6);
    EXPECT_TRUE(Arrives());
    EXPECT_EQ(6u, m_lastRead);
    Settle();
    WriteValue(neighbour, L"Other", 2);
    EXPECT_EQ(0, Receive(700)) << "a neighbour's change once the key is there";
}

TEST_F(SettingsWatcher, StopIsPromptAndEndsThePosts) {
    WriteValue(WatchedPath(), L"Brightness", 0);
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    std::atomic<bool> stop(false);
    std::thread writer([&stop] {
        for (DWORD i = 1; !stop; ++i) {
            WriteValue(WatchedPath(), L"Brightness", i);
            ::Sleep(2);
        }
    });
    EXPECT_TRUE(Arrives());
    const ULONGLONG before = ::GetTickCount64();
    m_watcher.Stop();
    const ULONGLONG took = ::GetTickCount64() - before;
    EXPECT_FALSE(m_watcher.IsWatching());
    MSG msg;
    while (::PeekMessageW(&msg, m_window, kChanged, kChanged, PM_REMOVE)) {
    }
    EXPECT_EQ(0, Receive(600)) << "writes go on, the watch does not";
    stop = true;
    writer.join();
    // A hang, not a speed: the thread waits on the stop event at all times.
    EXPECT_LT(took, 1000u);
}

TEST_F(SettingsWatcher, StartAndStopAgainLeaveNoHandles) {
    WriteValue(WatchedPath(), L"Brightness", 0);
    // The first round may make what the process keeps once (the thread's message queue).
    ASSERT_TRUE(m_watcher.Start(WatchedPath(), m_window, kChanged));
    WriteValue(WatchedPath(), L"Brightness", 1);
    EXPECT_TRUE(Arrives());
    m_watcher.Stop();
    const long before = HandleCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(m_watcher.Start(i % 2 == 0 ? WatchedPath() : WatchedPath() + L"\\Missing\\Deep", m_window, kChanged));
        // A value written again unchanged is no change: each round writes another.
        WriteValue(WatchedPath(), L"Brightness", static_cast<DWORD>(100 + i));
        if (i % 4 == 0) {
            EXPECT_TRUE(Arrives()) << i;
        }
        m_watcher.Stop();
    }
    {
        // Destruction stops the watch as Stop does.
        store::CSettingsWatcher scoped;
        ASSERT_TRUE(scoped.Start(WatchedPath(), m_window, kChanged));
        EXPECT_TRUE(scoped.IsWatching());
    }
    WriteValue(WatchedPath(), L"Brightness", 99);
    Settle();
    EXPECT_EQ(before, HandleCount());
}

}  // namespace
