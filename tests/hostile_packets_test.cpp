// Random input packets, with a fixed seed, in configuration and in test mode while the
// shown page changes: any panel type, device index, packet kind and report bytes, the
// report's bytes ending where a page that may not be read begins. Nothing reads past a
// report, and afterwards the page and the hardware controls still work.
#include "config_page_harness.h"
#include "hostile_support.h"
#include "test_page_support.h"

#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A test page repaints its indicators for most packets (about 2 ms each under Wine), and a
// configuration page moves the focus to the row of each button pressed (about 3 ms): 50,000
// packets in all, most of them for the page shown.
const int kConfigurationPackets = 40000;
const int kTestPackets = 10000;
const int kPageSwitches = 10;

// Report bytes placed so that the last one is the last readable byte before a guard page.
class GuardedReport {
public:
    GuardedReport() : m_pages(nullptr), m_pageSize(0) {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        m_pageSize = info.dwPageSize;
        m_pages = static_cast<BYTE*>(::VirtualAlloc(nullptr, 2 * m_pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        m_guarded = m_pages != nullptr && ::VirtualProtect(m_pages + m_pageSize, m_pageSize, PAGE_NOACCESS, &old);
    }
    ~GuardedReport() {
        if (m_pages != nullptr)
            ::VirtualFree(m_pages, 0, MEM_RELEASE);
    }
    GuardedReport(const GuardedReport&) = delete;
    GuardedReport& operator=(const GuardedReport&) = delete;

    bool Guarded() const { return m_guarded; }
    BYTE* Place(const std::vector<BYTE>& bytes) {
        BYTE* start = m_pages + m_pageSize - bytes.size();
        std::copy(bytes.begin(), bytes.end(), start);
        return start;
    }

private:
    BYTE* m_pages;
    SIZE_T m_pageSize;
    bool m_guarded = false;
};

// The bytes a report of this kind carries, its kind byte included.
size_t ReportLength(BYTE kind) {
    switch (kind) {
    case BG_REPORT_LED_STATE: return 3;
    case BG_REPORT_BUTTONS: return 2;
    case BG_REPORT_BRIGHTNESS: return 2;
    case BG_REPORT_BLINK: return 5;
    default: return 1;
    }
}

class HostilePackets : public config_test::ConfigPageFixture, public ::testing::WithParamInterface<bool> {
protected:
    bool TestMode() const { return GetParam(); }

    const std::vector<tagBGDevHWType> kPanels = {BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO,
                                                 BG_HW_PUSHBUTTON_8X8};

    void SendRandomPacket(hostile::Dice& dice, GuardedReport& guard) {
        tagBGDevHWType type = static_cast<tagBGDevHWType>(dice.Below(5));
        if (dice.OneIn(50))
            type = static_cast<tagBGDevHWType>(dice.Any());
        unsigned short device = static_cast<unsigned short>(dice.Below(static_cast<uint32_t>(kPanels.size()) + 2));
        if (dice.OneIn(50))
            device = static_cast<unsigned short>(dice.Any());
        // Mostly packets for the page shown, so that they reach it.
        if (dice.OneIn(2)) {
            device = static_cast<unsigned short>(main->CurrentDevice());
            type = kPanels[static_cast<size_t>(device)];
        }
        unsigned short kind = dice.OneIn(2) ? BG_PACKET_REPORT : BG_PACKET_BUTTONS;
        if (dice.OneIn(20))
            kind = static_cast<unsigned short>(dice.Any());
        void* data = nullptr;
        if (kind == BG_PACKET_REPORT) {
            if (!dice.OneIn(100)) {
                BYTE reportKind = static_cast<BYTE>(1 + dice.Below(4));
                if (dice.OneIn(10))
                    reportKind = static_cast<BYTE>(dice.Any());
                std::vector<BYTE> bytes(ReportLength(reportKind));
                bytes[0] = reportKind;
                for (size_t i = 1; i < bytes.size(); ++i)
                    bytes[i] = dice.OneIn(3) ? static_cast<BYTE>(dice.Below(5)) : static_cast<BYTE>(dice.Any());
                data = guard.Place(bytes);
            }
        } else {
            // The buttons packet carries its bits in the pointer's own value; other kinds carry anything.
            data = reinterpret_cast<void*>(static_cast<UINT_PTR>(dice.Any()));
        }
        (void)fake_vuzoz::DeliverRaw(type, device, kind, data);
    }

    // What the page must still do after the flood.
    void ExpectPageStillWorks(GuardedReport& guard) {
        const int device = main->CurrentDevice();
        const tagBGDevHWType type = kPanels[static_cast<size_t>(device)];
        (void)fake_vuzoz::DeliverRaw(type, static_cast<unsigned short>(device), BG_PACKET_REPORT,
                                     guard.Place({BG_REPORT_BRIGHTNESS, 201}));
        EXPECT_EQ(201, ::SendDlgItemMessageW(main->m_hWnd, IDC_BRIGHTNESS_SLIDER, TBM_GETPOS, 0, 0));
        EXPECT_EQ(L"201", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
        (void)fake_vuzoz::DeliverRaw(type, static_cast<unsigned short>(device), BG_PACKET_REPORT,
                                     guard.Place({BG_REPORT_BLINK, 1, 2, 3, 4}));
        EXPECT_EQ(L"1", ui::Text(main->m_hWnd, IDC_FAST_ON));
        EXPECT_EQ(L"4", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
        if (TestMode()) {
            (void)fake_vuzoz::DeliverRaw(type, static_cast<unsigned short>(device), BG_PACKET_REPORT,
                                         guard.Place({BG_REPORT_LED_STATE, 2, BG_LED_ON}));
            EXPECT_EQ(test_page::Only(BG_LED_ON), test_page::Column(Page(), 2));
            (void)fake_vuzoz::DeliverButtons(type, device, 0x01);
            EXPECT_FALSE(ui::IsEnabled(Page(), test_page::IndicatorId(0)));
            (void)fake_vuzoz::DeliverButtons(type, device, 0x00);
            EXPECT_TRUE(ui::IsEnabled(Page(), test_page::IndicatorId(0)));
        } else {
            PickLED(4, 7);
            ui::MessageBoxAnswerer answerer({IDOK});
            Apply();
            EXPECT_TRUE(answerer.Texts().empty());
            DWORD variable = 0;
            EXPECT_TRUE(test_settings::ReadDword(config_test::ConfigSection(type, device), L"LED4", &variable));
            EXPECT_EQ(g_LedTable[7].variable, variable);
            DWORD brightness = 0;
            EXPECT_TRUE(
                test_settings::ReadDword(config_test::HardwareSection(type, device), L"Brightness", &brightness));
            EXPECT_EQ(201u, brightness);
        }
    }
};

TEST_P(HostilePackets, NothingReadsPastAReportAndThePageStillWorks) {
    GuardedReport guard;
    ASSERT_TRUE(guard.Guarded());
    hostile::Dice dice(TestMode() ? 0x7E57u : 0xC0F16u);
    Start(kPanels, TestMode());
    // A page whose picks changed is asked about when it goes; no packet changes picks.
    ui::MessageBoxAnswerer answerer(std::vector<int>(100, IDNO));
    int switches = 0;
    const int packets = TestMode() ? kTestPackets : kConfigurationPackets;
    for (int packet = 0; packet < packets; ++packet) {
        if (packet % (packets / kPageSwitches) == packets / kPageSwitches - 1) {
            ui::ActivateDeviceItem(*main, static_cast<int>(dice.Below(static_cast<uint32_t>(kPanels.size()))));
            ++switches;
            ASSERT_NE(nullptr, Page());
        }
        SendRandomPacket(dice, guard);
        if (packet % 1000 == 0)
            ui::PumpMessages();
    }
    ui::PumpMessages();
    EXPECT_TRUE(answerer.Texts().empty());
    ASSERT_NE(nullptr, Page());
    ASSERT_NO_FATAL_FAILURE(hostile::ExpectHardwareControlsInRange(main->m_hWnd));
    ExpectPageStillWorks(guard);
    std::printf("[ figures  ] %s mode: %d packets, %d page switches, no crash\n", TestMode() ? "test" : "configuration",
                packets, switches);
}

INSTANTIATE_TEST_SUITE_P(Modes, HostilePackets, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Test" : "Configuration");
                         });

}  // namespace
