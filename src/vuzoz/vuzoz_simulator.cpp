#include "vuzoz_simulator.h"

#include "vuzoz_call_line.h"
#include "vuzoz_call_log.h"
#include "vuzoz_panel_source.h"
#include "vuzoz_settings.h"

#include <dbt.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace vuzoz {

namespace {

const UINT kDemoPeriodMs = 700;

// The panels to attach at BGInit, and what the panels file held then.
PanelList ReadPanels(const std::wstring& panelsFile, FileSnapshot& seen)
{
    if (panelsFile.empty())
        return PanelsWithoutFile();
    seen = ReadSettledSnapshot(panelsFile, kPanelsFileSettleMs, kPanelsFilePatienceMs);
    return PanelsFromSnapshot(panelsFile, seen);
}

size_t PositionOf(const std::vector<VirtualPanelIdentity>& attached, unsigned panelId)
{
    for (size_t i = 0; i < attached.size(); ++i) {
        if (attached[i].panelId == panelId)
            return i;
    }
    return attached.size();
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

tagBGDevResult Simulator::Init(HWND owner)
{
    if (m_ready)
        return BG_OK;  // already running: the panels and the type array stay as they are
    if (SettingSwitch(kFailInitSetting))
        return BG_ERR_INIT_FAILED;

    const std::wstring panelsFile = PanelsFilePath();
    FileSnapshot seen;
    const PanelList list = ReadPanels(panelsFile, seen);
    std::vector<SimulatedPanel> panels;
    for (size_t i = 0; i < list.types.size(); ++i)
        panels.push_back(NewPanel(list.types[i], list.keys[i]));
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
    m_owner = owner;
    m_panels.swap(panels);
    m_latePanels.clear();
    m_attached.clear();
    for (const SimulatedPanel& panel : m_panels)
        m_attached.push_back({panel.id, panel.type});
    m_typeArray.swap(typeArray);
    m_callback = nullptr;
    m_pending.clear();
    m_answersAnnounced = false;
    m_demoStep = 0;
    m_virtualOn = virtualPanels;
    m_panelsFile = panelsFile;
    if (demo && !m_panels.empty() && !m_window.StartDemoTimer(kDemoPeriodMs)) {
        std::fprintf(stderr, "VUZoz: VUZOZ_DEMO: cannot start the timer (error %lu).\n",
                     static_cast<unsigned long>(GetLastError()));
        std::fflush(stderr);
    }
    if (!m_panelsFile.empty() &&
        !m_watcher.Start(m_panelsFile, seen, kPanelsFileSettleMs,
                         m_window.PanelsChangedNotice(m_session))) {
        // The panels work on; only editing the file does not plug or unplug any.
        std::fprintf(stderr, "VUZoz: cannot watch the panels file (error %lu).\n",
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
    m_watcher.Stop();  // before the window it posts to goes
    m_window.Destroy();
    m_owner = nullptr;
    m_panels.clear();
    m_latePanels.clear();
    m_attached.clear();
    m_typeArray.clear();
    m_callback = nullptr;
    m_pending.clear();  // answers not yet delivered are dropped
    m_answersAnnounced = false;
    m_virtualOn = false;
    m_panelsFile.clear();
    return BG_OK;
}

void Simulator::SyncVirtualPanels()
{
    for (;;) {
        unsigned session = 0;
        HWND owner = nullptr;
        std::vector<VirtualPanelIdentity> attached;
        std::vector<HWND> closing;
        std::vector<size_t> titling;  // positions of the windows kept, as in m_virtualPanels
        std::vector<HWND> titled;
        std::vector<size_t> opening;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_ready || !m_virtualOn)
                return;
            if (m_syncing) {
                m_syncAgain = true;  // called again from inside the window work
                return;
            }
            m_syncing = true;
            m_syncAgain = false;
            session = m_session;
            owner = m_owner;
            attached = m_attached;
            std::vector<VirtualWindow> kept;
            std::vector<bool> hasWindow(attached.size(), false);
            for (const VirtualWindow& window : m_virtualPanels) {
                const size_t position = PositionOf(attached, window.panelId);
                if (position == attached.size()) {
                    closing.push_back(window.hwnd);
                    continue;
                }
                kept.push_back(window);
                hasWindow[position] = true;
                titled.push_back(window.hwnd);
                titling.push_back(position);
            }
            m_virtualPanels.swap(kept);
            for (size_t position = 0; position < attached.size(); ++position) {
                if (!hasWindow[position])
                    opening.push_back(position);
            }
        }
        // Making and closing windows sends messages to the program's own windows
        // (activation, focus), whose handlers may call the library: no lock meanwhile.
        CloseVirtualPanels(closing);
        const std::vector<POINT> places = VirtualPanelPlaces(attached, owner);
        for (size_t i = 0; i < titled.size(); ++i)
            ReplaceVirtualPanel(titled[i], attached[titling[i]], titling[i], places[titling[i]]);
        std::vector<HWND> opened;
        for (size_t position : opening)
            opened.push_back(
                OpenVirtualPanel(this, attached[position], position, owner, places[position]));
        bool again = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_syncing = false;
            again = m_syncAgain;
            if (m_ready && session == m_session) {
                for (size_t i = 0; i < opened.size(); ++i) {
                    if (opened[i] != nullptr)
                        m_virtualPanels.push_back({attached[opening[i]].panelId, opened[i]});
                }
                opened.clear();
            }
        }
        CloseVirtualPanels(opened);  // BGTerminate came in between
        if (!again)
            return;
    }
}

std::vector<HWND> Simulator::TakeVirtualPanels()
{
    std::vector<HWND> windows;
    for (const VirtualWindow& window : m_virtualPanels)
        windows.push_back(window.hwnd);
    m_virtualPanels.clear();
    return windows;
}

bool Simulator::ReadPanel(unsigned panelId, SimulatedPanel& panel)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const SimulatedPanel* found = FindAttached(panelId);
    if (found == nullptr)
        return false;
    panel = *found;
    return true;
}

void Simulator::ChangeInput(unsigned panelId, int input, InputChange change)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    SimulatedPanel* panel = FindAttached(panelId);
    if (panel == nullptr || input < 0 || input >= kMaxLeds)
        return;
    const unsigned bit = 1u << input;
    const unsigned old = panel->buttons;
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
    bits &= ButtonMask(panel->type);
    if (bits == old)
        return;
    if (!HasDeviceIndex(*panel)) {
        // Plugged in after BGInit: the program has not opened it, its input goes nowhere.
        panel->buttons = static_cast<unsigned char>(bits);
        return;
    }
    const int device = static_cast<int>(panel - m_panels.data());
    AppendCallLine(CallLine("input", {device, static_cast<int>(bits)}));
    (void)PressButtons(device, bits);
}

tagBGDevHWType* Simulator::DevTypes()
{
    return m_ready ? m_typeArray.data() : nullptr;
}

tagBGDevResult Simulator::DevKey(int device, const char** ppKey)
{
    // A panel unplugged since BGInit keeps its key until the next BGInit, as it keeps its
    // place in the type array.
    if (!m_ready)
        return BG_ERR_NOT_READY;
    if (device < 0 || static_cast<size_t>(device) >= m_panels.size())
        return BG_ERR_BAD_DEVICE;
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

void Simulator::OnPanelsChanged(unsigned session)
{
    HWND owner = nullptr;
    bool pluggedOrUnplugged = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_ready || session != m_session)
            return;  // a message of an earlier session
        FileSnapshot snapshot;
        if (!m_watcher.TakeChange(snapshot))
            return;  // taken with an earlier message
        pluggedOrUnplugged = Replug(PanelsFromSnapshot(m_panelsFile, snapshot));
        owner = m_owner;
    }
    SyncVirtualPanels();
    // What Windows tells the program's windows when a USB device comes or goes.
    if (pluggedOrUnplugged && owner != nullptr)
        (void)PostMessageW(owner, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
}

SimulatedPanel Simulator::NewPanel(tagBGDevHWType type, const std::string& key)
{
    SimulatedPanel panel;
    panel.id = m_nextPanelId++;
    panel.type = type;
    panel.key = key;
    return panel;
}

bool Simulator::Replug(const PanelList& list)
{
    const std::set<std::string> listed(list.keys.begin(), list.keys.end());
    bool changed = false;
    for (size_t device = 0; device < m_panels.size(); ++device) {
        SimulatedPanel& panel = m_panels[device];
        if (panel.gone || listed.count(panel.key) != 0)
            continue;
        panel.gone = true;
        DropAnswers(static_cast<int>(device));
        AppendCallLine("unplug " + panel.key);
        changed = true;
    }
    for (auto it = m_latePanels.begin(); it != m_latePanels.end();) {
        if (listed.count(it->key) != 0) {
            ++it;
            continue;
        }
        AppendCallLine("unplug " + it->key);
        it = m_latePanels.erase(it);
        changed = true;
    }
    // A panel unplugged and plugged in again is a new one: its device index stays gone.
    std::vector<VirtualPanelIdentity> attached;
    for (size_t i = 0; i < list.keys.size(); ++i) {
        const SimulatedPanel* panel = FindAttached(list.keys[i]);
        if (panel == nullptr) {
            m_latePanels.push_back(NewPanel(list.types[i], list.keys[i]));
            panel = &m_latePanels.back();
            AppendCallLine("plug " + panel->key);
            changed = true;
        }
        attached.push_back({panel->id, panel->type});
    }
    m_attached.swap(attached);
    return changed;
}

SimulatedPanel* Simulator::FindAttached(const std::string& key)
{
    for (SimulatedPanel& panel : m_panels) {
        if (!panel.gone && panel.key == key)
            return &panel;
    }
    for (SimulatedPanel& panel : m_latePanels) {
        if (panel.key == key)
            return &panel;
    }
    return nullptr;
}

SimulatedPanel* Simulator::FindAttached(unsigned panelId)
{
    if (!m_ready)
        return nullptr;
    if (!m_panels.empty() && panelId >= m_panels.front().id &&
        panelId - m_panels.front().id < m_panels.size()) {
        SimulatedPanel& panel = m_panels[panelId - m_panels.front().id];
        return panel.gone ? nullptr : &panel;
    }
    for (SimulatedPanel& panel : m_latePanels) {
        if (panel.id == panelId)
            return &panel;
    }
    return nullptr;
}

bool Simulator::HasDeviceIndex(const SimulatedPanel& panel) const
{
    return !m_panels.empty() && &panel >= m_panels.data() && &panel < m_panels.data() + m_panels.size();
}

void Simulator::DropAnswers(int device)
{
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(),
                                   [device](const Packet& packet) { return packet.device == device; }),
                    m_pending.end());
}

tagBGDevResult Simulator::CheckDevice(int device) const
{
    if (!m_ready)
        return BG_ERR_NOT_READY;
    if (device < 0 || static_cast<size_t>(device) >= m_panels.size())
        return BG_ERR_BAD_DEVICE;
    if (m_panels[device].gone)
        return BG_ERR_BAD_DEVICE;  // unplugged since BGInit
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
