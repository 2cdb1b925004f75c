// The panel simulator behind the VUZoz functions: the attached panels and their state,
// and the answers waiting for the thread that called BGInit. The panels that BGInit found
// keep their device indices until BGTerminate; one that is unplugged meanwhile stays in
// their array, gone, and one plugged in meanwhile has no device index before the next
// BGInit.
#ifndef VUZOZ_SIMULATOR_H
#define VUZOZ_SIMULATOR_H

#include "VUZoz.h"
#include "vuzoz_answer_window.h"
#include "vuzoz_file_watcher.h"
#include "vuzoz_panel_list.h"
#include "vuzoz_simulated_panel.h"
#include "vuzoz_virtual_panel_window.h"

#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
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

    // owner is the program's window: it gets WM_DEVICECHANGE when panels come or go, and
    // owns the virtual panel windows.
    tagBGDevResult Init(HWND owner);
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

    // With the Virtual setting on, one window for each attached panel, owned by the
    // window BGInit was given: opens those missing, closes those of panels gone and names
    // each after its place. Call without holding Mutex(), on the thread that called
    // BGInit: windows are made on the calling thread.
    void SyncVirtualPanels();
    // The windows of the panels, handed over for closing once Mutex() is released.
    std::vector<HWND> TakeVirtualPanels();

private:
    Simulator() {}
    ~Simulator() {}

    // Delivery on the thread that called BGInit; these take the lock themselves and
    // release it while the callback runs, which may call the library again.
    void OnAnswersDue(unsigned session) override;
    void OnDemoTick() override;
    // The panels file changed: panels no longer listed are unplugged, new ones plugged in.
    void OnPanelsChanged(unsigned session) override;

    // For the virtual panel windows; these take the lock themselves.
    bool ReadPanel(unsigned panelId, SimulatedPanel& panel) override;
    void ChangeInput(unsigned panelId, int input, InputChange change) override;

    SimulatedPanel NewPanel(tagBGDevHWType type, const std::string& key);
    // Makes the attached panels those of list; true when any came or went.
    bool Replug(const PanelList& list);
    SimulatedPanel* FindAttached(const std::string& key);
    SimulatedPanel* FindAttached(unsigned panelId);
    bool HasDeviceIndex(const SimulatedPanel& panel) const;
    void DropAnswers(int device);

    tagBGDevResult CheckDevice(int device) const;
    tagBGDevResult CheckLed(int device, int led) const;
    void Queue(const Packet& packet);
    void QueueReport(int device, std::initializer_list<unsigned char> bytes);
    void AnnounceAnswers();
    bool TakeNextPacket(unsigned session, Packet& packet, BGInputCallback& callback);

    struct VirtualWindow {
        unsigned panelId;
        HWND hwnd;
    };

    std::mutex m_mutex;
    bool m_ready = false;
    unsigned m_session = 0;  // changes at every BGInit and BGTerminate
    HWND m_owner = nullptr;
    unsigned m_nextPanelId = 1;
    std::vector<SimulatedPanel> m_panels;  // index = device index; ids consecutive
    std::vector<SimulatedPanel> m_latePanels;  // plugged in after BGInit
    std::vector<VirtualPanelIdentity> m_attached;  // the panels attached now, in the list's order
    std::vector<tagBGDevHWType> m_typeArray;  // m_panels' types and the terminating 0
    BGInputCallback m_callback = nullptr;
    std::deque<Packet> m_pending;
    bool m_answersAnnounced = false;  // a delivery message is on its way
    unsigned m_demoStep = 0;
    AnswerWindow m_window;
    std::wstring m_panelsFile;  // empty: none
    FileWatcher m_watcher;
    bool m_virtualOn = false;  // BGInit found the Virtual setting on
    std::vector<VirtualWindow> m_virtualPanels;
    bool m_syncing = false;  // SyncVirtualPanels is at work, without the lock
    bool m_syncAgain = false;  // and is to look again when done
};

}  // namespace vuzoz

#endif
