#include "vuzoz_simulator.h"

#include "vuzoz_call_line.h"
#include "vuzoz_call_log.h"
#include "vuzoz_panel_list.h"
#include "vuzoz_settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vuzoz {

namespace {

const UINT kDemoPeriodMs = 700;

PanelList ReadPanels()
{
    std::wstring text;
    if (!ReadSetting(kPanelsSetting, text))
        return DefaultPanels();
    PanelList list = ParsePanelList(text);
    if (!list.error.empty()) {
        std::fprintf(stderr, "VUZoz: %s\n", list.error.c_str());
        std::fflush(stderr);
    }
    return list;
}

std::vector<SimulatedPanel> MakePanels(const PanelList& list)
{
    std::vector<SimulatedPanel> panels(list.types.size());
    for (size_t i = 0; i < list.types.size(); ++i) {
        panels[i].type = list.types[i];
        panels[i].key = list.keys[i];
    }
    return panels;
}

bool IsByte(int value)
{
    return value >= 0 && value <= 255;
}

}  // namespace

Simulator& Simulator::Instance()
{
    static Simulator simulator;
    return simulator;
}

tagBGDevResult Simulator::Init()
{
    if (m_ready)
        return BG_OK;  // already running: the panels and the type array stay as they are
    if (SettingSwitch(kFailInitSetting))
        return BG_ERR_INIT_FAILED;

    const PanelList list = ReadPanels();
    std::vector<SimulatedPanel> panels = MakePanels(list);
    std::vector<tagBGDevHWType> typeArray = list.types;
    typeArray.push_back(BG_HW_NONE);
    const bool demo = SettingSwitch(kDemoSetting);
    const bool virtualPanels = SettingSwitch(kVirtualSetting);
    if (!m_window.Create(this))
        return BG_ERR_INIT_FAILED;

    if (demo) {
        // A demonstration starts with every LED state on show: Off, Slow, Fast, On, ...
        for (SimulatedPanel& panel : panels) {
            for (int led = 0; led < LedCount(panel.type); ++led)
                panel.led[led] = static_cast<unsigned char>(led % 4);
        }
    }

    m_ready = true;
    ++m_session;
    m_panels.swap(panels);
    m_typeArray.swap(typeArray);
    m_callback = nullptr;
    m_pending.clear();
    m_answersAnnounced = false;
    m_demoStep = 0;
    m_virtualWanted = virtualPanels;
    if (demo && !m_panels.empty() && !m_window.StartDemoTimer(kDemoPeriodMs)) {
        std::fprintf(stderr, "VUZoz: VUZOZ_DEMO: cannot start the timer (error %lu).\n",
                     static_cast<unsigned long>(GetLastError()));
        std::fflush(stderr);
    }
    return BG_OK;
}

tagBGDevResult Simulator::Terminate()
{
    if (!m_ready)
        return BG_ERR_NOT_READY;
    m_ready = false;
    ++m_session;
    m_window.Destroy();
    m_panels.clear();
    m_typeArray.clear();
    m_callback = nullptr;
    m_pending.clear();  // answers not yet delivered are dropped
    m_answersAnnounced = false;
    m_virtualWanted = false;
    return BG_OK;
}

void Simulator::OpenVirtualPanels(HWND owner)
{
    unsigned session = 0;
    std::vector<tagBGDevHWType> types;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_ready || !m_virtualWanted)
            return;
        m_virtualWanted = false;
        session = m_session;
        types.assign(m_typeArray.begin(), m_typeArray.end() - 1);
    }
    // Making windows sends messages to the program's own windows (activation, focus),
    // whose handlers may call the library: no lock while they run.
    std::vector<HWND> windows = vuzoz::OpenVirtualPanels(this, session, types, owner);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_ready && session == m_session) {
            m_virtualPanels.insert(m_virtualPanels.end(), windows.begin(), windows.end());
            return;
        }
    }
    CloseVirtualPanels(windows);  // BGTerminate came in between
}

std::vector<HWND> Simulator::TakeVirtualPanels()
{
    std::vector<HWND> windows;
    windows.swap(m_virtualPanels);
    return windows;
}

bool Simulator::ReadPanel(unsigned session, int device, SimulatedPanel& panel)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (session != m_session || CheckDevice(device) != BG_OK)
        return false;
    panel = m_panels[device];
    return true;
}

void Simulator::ChangeInput(unsigned session, int device, int input, InputChange change)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (session != m_session || CheckDevice(device) != BG_OK || input < 0 || input >= kMaxLeds)
        return;
    const unsigned bit = 1u << input;
    const unsigned old = m_panels[device].buttons;
    unsigned bits = old;
    switch (change) {
    case InputChange::kSet:
        bits |= bit;
        break;
    case InputChange::kClear:
        bits &= ~bit;
        break;
    case InputChange::kFlip:
        bits ^= bit;
        break;
    }
    bits &= ButtonMask(m_panels[device].type);
    if (bits == old)
        return;
    AppendCallLine(CallLine("input", {device, static_cast<int>(bits)}));
    (void)PressButtons(device, bits);
}

tagBGDevHWType* Simulator::DevTypes()
{
    return m_ready ? m_typeArray.data() : nullptr;
}

tagBGDevResult Simulator::DevKey(int device, const char** ppKey)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (ppKey == nullptr)
        return BG_ERR_BAD_ARGUMENT;
    const std::string& key = m_panels[device].key;
    char* copy = static_cast<char*>(std::malloc(key.size() + 1));
    if (copy == nullptr)
        return BG_ERR_NOT_READY;
    std::memcpy(copy, key.c_str(), key.size() + 1);
    *ppKey = copy;
    return BG_OK;
}

tagBGDevResult Simulator::RegisterCallback(BGInputCallback callback)
{
    if (!m_ready)
        return BG_ERR_NOT_READY;
    m_callback = callback;
    // Answers to requests made before there was a callback go to this one.
    if (m_callback != nullptr && !m_pending.empty())
        AnnounceAnswers();
    return BG_OK;
}

tagBGDevResult Simulator::SetLedState(int device, int led, int state)
{
    const tagBGDevResult result = CheckLed(device, led);
    if (result != BG_OK)
        return result;
    if (state < BG_LED_OFF || state > BG_LED_ON)
        return BG_ERR_BAD_ARGUMENT;
    m_panels[device].led[led] = static_cast<unsigned char>(state);
    return BG_OK;
}

tagBGDevResult Simulator::SetBrightness(int device, int level)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (!IsByte(level))
        return BG_ERR_BAD_ARGUMENT;
    m_panels[device].brightness = static_cast<unsigned char>(level);
    return BG_OK;
}

tagBGDevResult Simulator::SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff,
                                         int fastOff)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    // The panel keeps each time in one byte; a time it cannot keep changes nothing.
    if (!IsByte(slowOn) || !IsByte(fastOn) || !IsByte(slowOff) || !IsByte(fastOff))
        return BG_ERR_BAD_ARGUMENT;
    SimulatedPanel& panel = m_panels[device];
    panel.slowOn = static_cast<unsigned char>(slowOn);
    panel.fastOn = static_cast<unsigned char>(fastOn);
    panel.slowOff = static_cast<unsigned char>(slowOff);
    panel.fastOff = static_cast<unsigned char>(fastOff);
    return BG_OK;
}

tagBGDevResult Simulator::RequestLedState(int device, int led)
{
    const tagBGDevResult result = CheckLed(device, led);
    if (result != BG_OK)
        return result;
    QueueReport(device, {BG_REPORT_LED_STATE, static_cast<unsigned char>(led),
                         m_panels[device].led[led]});
    return BG_OK;
}

tagBGDevResult Simulator::RequestButtons(int device)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    QueueReport(device, {BG_REPORT_BUTTONS, m_panels[device].buttons});
    return BG_OK;
}

tagBGDevResult Simulator::RequestBrightness(int device)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    QueueReport(device, {BG_REPORT_BRIGHTNESS, m_panels[device].brightness});
    return BG_OK;
}

tagBGDevResult Simulator::RequestBlinkPeriod(int device)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    const SimulatedPanel& panel = m_panels[device];
    QueueReport(device,
                {BG_REPORT_BLINK, panel.fastOn, panel.fastOff, panel.slowOn, panel.slowOff});
    return BG_OK;
}

tagBGDevResult Simulator::PressButtons(int device, unsigned bits)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    SimulatedPanel& panel = m_panels[device];
    panel.buttons = static_cast<unsigned char>(bits & ButtonMask(panel.type));
    Packet packet;
    packet.type = panel.type;
    packet.device = static_cast<unsigned short>(device);
    packet.kind = BG_PACKET_BUTTONS;
    packet.buttons = panel.buttons;
    Queue(packet);
    return BG_OK;
}

void Simulator::OnAnswersDue(unsigned session)
{
    size_t due = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_ready || session != m_session)
            return;  // a message of an earlier session
        m_answersAnnounced = false;
        due = m_pending.size();
    }
    // Only the answers queued so far: a callback that requests again at every answer
    // must not keep this thread from its other messages.
    Packet packet;
    BGInputCallback callback = nullptr;
    for (; due > 0 && TakeNextPacket(session, packet, callback); --due) {
        void* data = packet.kind == BG_PACKET_BUTTONS
                         ? reinterpret_cast<void*>(static_cast<std::uintptr_t>(packet.buttons))
                         : static_cast<void*>(packet.report);
        try {
            callback(packet.type, packet.device, packet.kind, data);
        } catch (...) {
            // The program's trouble with one answer does not hold back the next.
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_ready && session == m_session && m_callback != nullptr && !m_pending.empty())
        AnnounceAnswers();
}

void Simulator::OnDemoTick()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_ready || m_callback == nullptr)
        return;  // without a callback, presses would only pile up
    ++m_demoStep;
    for (size_t device = 0; device < m_panels.size(); ++device) {
        const SimulatedPanel& panel = m_panels[device];
        const unsigned buttonCount = panel.type == BG_HW_RADIO ? 4u : 8u;
        const unsigned flipped = 1u << ((m_demoStep + device) % buttonCount);
        (void)PressButtons(static_cast<int>(device), panel.buttons ^ flipped);
    }
}

bool Simulator::TakeNextPacket(unsigned session, Packet& packet, BGInputCallback& callback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // The callback registered now gets the answer, whichever was registered at the request.
    if (!m_ready || session != m_session || m_callback == nullptr || m_pending.empty())
        return false;
    packet = m_pending.front();
    m_pending.pop_front();
    callback = m_callback;
    return true;
}

tagBGDevResult Simulator::CheckDevice(int device) const
{
    if (!m_ready)
        return BG_ERR_NOT_READY;
    if (device < 0 || static_cast<size_t>(device) >= m_panels.size())
        return BG_ERR_BAD_DEVICE;
    return BG_OK;
}

tagBGDevResult Simulator::CheckLed(int device, int led) const
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (led < 0 || led >= LedCount(m_panels[device].type))
        return BG_ERR_BAD_ARGUMENT;
    return BG_OK;
}

void Simulator::Queue(const Packet& packet)
{
    m_pending.push_back(packet);
    // Without a callback the packet waits; registering one announces it.
    if (m_callback != nullptr)
        AnnounceAnswers();
}

void Simulator::QueueReport(int device, std::initializer_list<unsigned char> bytes)
{
    Packet packet;
    packet.type = m_panels[device].type;
    packet.device = static_cast<unsigned short>(device);
    packet.kind = BG_PACKET_REPORT;
    size_t i = 0;
    for (unsigned char byte : bytes) {
        if (i < sizeof(packet.report))
            packet.report[i++] = byte;
    }
    Queue(packet);
}

void Simulator::AnnounceAnswers()
{
    // One message brings all answers queued until it arrives. If it cannot be posted,
    // the next queued answer or registration tries again.
    if (!m_answersAnnounced)
        m_answersAnnounced = m_window.PostAnswersDue(m_session);
}

}  // namespace vuzoz
