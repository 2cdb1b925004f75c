// What the simulator's tests share: a clean library and environment for each test, a
// recording input callback, and a message pump for the test's thread.
#ifndef TOLLAN_TESTS_VUZOZ_TEST_SUPPORT_H
#define TOLLAN_TESTS_VUZOZ_TEST_SUPPORT_H

#include "VUZoz.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vuzoz_test {

struct ReceivedPacket {
    int receiver = 0;  // 1 for RecordingCallback, 2 for OtherRecordingCallback
    tagBGDevHWType type = BG_HW_NONE;
    unsigned short device = 0;
    unsigned short kind = 0;
    std::uintptr_t value = 0;          // kind 1: the data argument's own value
    std::vector<unsigned char> bytes;  // kind 3: the report, as long as its kind says
    DWORD thread = 0;
};

inline std::vector<ReceivedPacket>& Received()
{
    static std::vector<ReceivedPacket> received;
    return received;
}

inline size_t ReportLength(signed char kind)
{
    switch (kind) {
    case BG_REPORT_LED_STATE:
        return 3;
    case BG_REPORT_BUTTONS:
    case BG_REPORT_BRIGHTNESS:
        return 2;
    case BG_REPORT_BLINK:
        return 5;
    default:
        return 1;
    }
}

inline int Record(int receiver, tagBGDevHWType type, unsigned short device, unsigned short kind,
                  void* data)
{
    ReceivedPacket packet;
    packet.receiver = receiver;
    packet.type = type;
    packet.device = device;
    packet.kind = kind;
    packet.thread = GetCurrentThreadId();
    if (kind == BG_PACKET_REPORT) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        packet.bytes.assign(bytes, bytes + ReportLength(static_cast<signed char>(bytes[0])));
    } else {
        packet.value = reinterpret_cast<std::uintptr_t>(data);
    }
    Received().push_back(packet);
    return 1;
}

inline int RecordingCallback(tagBGDevHWType type, unsigned short device, unsigned short kind,
                             void* data)
{
    return Record(1, type, device, kind, data);
}

inline int OtherRecordingCallback(tagBGDevHWType type, unsigned short device,
                                  unsigned short kind, void* data)
{
    return Record(2, type, device, kind, data);
}

// Handles every message waiting for this thread, as a message loop would.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The report bytes of the packets received so far, in order.
inline std::vector<std::vector<unsigned char>> ReceivedReports()
{
    std::vector<std::vector<unsigned char>> reports;
    for (const ReceivedPacket& packet : Received())
        reports.push_back(packet.bytes);
    return reports;
}

inline void SetEnv(const wchar_t* name, const wchar_t* value)
{
    ASSERT_TRUE(SetEnvironmentVariableW(name, value));
}

inline void UnsetEnv(const wchar_t* name)
{
    (void)SetEnvironmentVariableW(name, nullptr);  // fails only when it was not set
}

// Each test starts with the library shut down, no simulator variable set and nothing
// received, and leaves it so.
class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        (void)BGTerminate();
        for (const wchar_t* name : {L"VUZOZ_PANELS", L"VUZOZ_LOG", L"VUZOZ_FAIL_INIT", L"VUZOZ_DEMO",
                                    L"VUZOZ_VIRTUAL", L"VUZOZ_PANELS_FILE"})
            UnsetEnv(name);
        PumpMessages();
        Received().clear();
    }

    // BGInit with these panels and the recording callback registered.
    static void StartWith(const wchar_t* panels)
    {
        SetEnv(L"VUZOZ_PANELS", panels);
        ASSERT_EQ(BG_OK, BGInit(nullptr));
        ASSERT_EQ(BG_OK, BG_RegisterInputCallback(RecordingCallback));
    }

    // The attached panel types, read up to the terminating 0; {-1} when there is no array.
    static std::vector<int> AttachedTypes()
    {
        const size_t kMaxRead = 100;  // an array without its 0 shows as over-long
        std::vector<int> types;
        const tagBGDevHWType* array = BGGetDevType();
        if (array == nullptr)
            return {-1};
        for (; *array != BG_HW_NONE && types.size() < kMaxRead; ++array)
            types.push_back(*array);
        return types;
    }
};

}  // namespace vuzoz_test

#endif
