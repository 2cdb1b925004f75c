// The panel simulator behind the VUZoz functions: the attached panels and their state,
// and the answers waiting for the thread that called BGInit.
#ifndef VUZOZ_SIMULATOR_H
#define VUZOZ_SIMULATOR_H

#include "VUZoz.h"
#include "vuzoz_answer_window.h"
#include "vuzoz_simulated_panel.h"
#include "vuzoz_virtual_panel_window.h"

#include <deque>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace vuzoz {

struct Packet {
    tagBGDevHWType type = BG_HW_NONE;
    unsigned short device = 0;
    unsigned short kind = 0;
    unsigned buttons = 0;                  // kind 1: passed as the data argument's value
    unsigned char report[5] = {0, 0, 0, 0, 0};  // kind 3: data points here
};

class Simulator : private AnswerHandler, private VirtualPanelHost {
public:
    static Simulator& Instance();

    // Every operation below but the answer handlers expects the caller to hold Mutex().
    std::mutex& Mutex() { return m_mutex; }

    tagBGDevResult Init();
    tagBGDevResult Terminate();
    tagBGDevHWType* DevTypes();
    tagBGDevResult DevKey(int device, const char** ppKey);
    tagBGDevResult RegisterCallback(BGInputCallback callback);

    tagBGDevResult SetLedState(int device, int led, int state);
    tagBGDevResult SetBrightness(int device, int level);
    tagBGDevResult SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff, int fastOff);
    tagBGDevResult RequestLedState(int device, int led);
    tagBGDevResult RequestButtons(int device);
    tagBGDevResult RequestBrightness(int device);
    tagBGDevResult RequestBlinkPeriod(int device);

    // As if the panel's buttons changed to bits: the state changes and a kind-1 packet
    // is queued.
    tagBGDevResult PressButtons(int device, unsigned bits);

    // With the Virtual setting on, the windows of the panels of this session, owned by
    // owner. Call without holding Mutex(): windows are made on the calling thread.
    void OpenVirtualPanels(HWND owner);
    // The windows of the panels, handed over for closing once Mutex() is released.
    std::vector<HWND> TakeVirtualPanels();

private:
    Simulator() {}
    ~Simulator() {}

    // Delivery on the thread that called BGInit; these take the lock themselves and
    // release it while the callback runs, which may call the library again.
    void OnAnswersDue(unsigned session) override;
    void OnDemoTick() override;

    // For the virtual panel windows; these take the lock themselves.
    bool ReadPanel(unsigned session, int device, SimulatedPanel& panel) override;
    void ChangeInput(unsigned session, int device, int input, InputChange change) override;

    tagBGDevResult CheckDevice(int device) const;
    tagBGDevResult CheckLed(int device, int led) const;
    void Queue(const Packet& packet);
    void QueueReport(int device, std::initializer_list<unsigned char> bytes);
    void AnnounceAnswers();
    bool TakeNextPacket(unsigned session, Packet& packet, BGInputCallback& callback);

    std::mutex m_mutex;
    bool m_ready = false;
    unsigned m_session = 0;  // changes at every BGInit and BGTerminate
    std::vector<SimulatedPanel> m_panels;
    std::vector<tagBGDevHWType> m_typeArray;  // m_panels' types and the terminating 0
    BGInputCallback m_callback = nullptr;
    std::deque<Packet> m_pending;
    bool m_answersAnnounced = false;  // a delivery message is on its way
    unsigned m_demoStep = 0;
    AnswerWindow m_window;
    bool m_virtualWanted = false;  // BGInit found the Virtual setting on; no window yet
    std::vector<HWND> m_virtualPanels;
};

}  // namespace vuzoz

#endif
