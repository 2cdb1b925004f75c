// The recording fake of the VUZoz device library: every call is recorded and the panels
// are in the state the test sets. Answers to requests come as the library's come: queued,
// then delivered by a window of the fake's own on the thread that called BGInit, to the
// callback registered when they are delivered; answers asked for while there is no
// callback wait for one. BGTerminate drops answers not yet delivered.
#include "fake_vuzoz.h"

#include "vuzoz_call_line.h"

#include <dbt.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <initializer_list>

namespace {

using fake_vuzoz::PanelState;

struct QueuedAnswer {
    tagBGDevHWType type;
    int device;
    std::vector<unsigned char> report;
};

struct FakeLibrary {
    std::vector<tagBGDevHWType> types;
    std::vector<tagBGDevHWType> typeArray;  // types and the terminating 0
    std::vector<PanelState> panels;
    std::vector<std::string> keys;
    std::vector<std::string> calls;
    BGInputCallback callback = nullptr;
    bool ready = false;
    bool initFails = false;
    bool devTypeNull = false;
    bool devKeyFails = false;
    bool answerRequests = false;
    std::deque<QueuedAnswer> pending;
    HWND answerWindow = nullptr;
    HWND owner = nullptr;
    bool answersAnnounced = false;
    // Unplugged since BGInit: calls for them fail with BG_ERR_BAD_DEVICE.
    std::vector<bool> gone;
    // What the next BGInit finds (set by Replug).
    std::vector<tagBGDevHWType> nextTypes;
    std::vector<std::string> nextKeys;
    bool replugged = false;
};

FakeLibrary& Library()
{
    static FakeLibrary library;
    return library;
}

void Record(const char* function, std::initializer_list<int> args = {})
{
    Library().calls.push_back(vuzoz::CallLine(function, args));
}

int LedCount(tagBGDevHWType type)
{
    return type == BG_HW_RADIO ? 5 : 8;
}

bool IsByte(int value)
{
    return value >= 0 && value <= 255;
}

unsigned char Byte(int value)
{
    return static_cast<unsigned char>(value);
}

tagBGDevResult CheckDevice(int device)
{
    const FakeLibrary& library = Library();
    if (!library.ready)
        return BG_ERR_NOT_READY;
    if (device < 0 || static_cast<size_t>(device) >= library.types.size())
        return BG_ERR_BAD_DEVICE;
    if (library.gone[static_cast<size_t>(device)])
        return BG_ERR_BAD_DEVICE;
    return BG_OK;
}

tagBGDevResult CheckLed(int device, int led)
{
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (led < 0 || led >= LedCount(Library().types[device]))
        return BG_ERR_BAD_ARGUMENT;
    return BG_OK;
}

const wchar_t kAnswerClass[] = L"FakeVUZozAnswers";
const UINT kAnswersDue = WM_APP + 1;

void DeliverDueAnswers()
{
    FakeLibrary& library = Library();
    library.answersAnnounced = false;
    // Only the answers queued so far; the callback registered now gets them.
    for (size_t due = library.pending.size(); due > 0 && library.ready && library.callback != nullptr &&
                                              !library.pending.empty();
         --due) {
        const QueuedAnswer answer = library.pending.front();
        library.pending.pop_front();
        (void)fake_vuzoz::DeliverReport(answer.type, answer.device, answer.report);
    }
}

LRESULT CALLBACK AnswerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kAnswersDue) {
        if (hwnd == Library().answerWindow)
            DeliverDueAnswers();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateAnswerWindow()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AnswerWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kAnswerClass;
    (void)RegisterClassExW(&wc);
    return CreateWindowExW(0, kAnswerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

void AnnounceAnswers()
{
    FakeLibrary& library = Library();
    if (!library.answersAnnounced && library.answerWindow != nullptr)
        library.answersAnnounced = PostMessageW(library.answerWindow, kAnswersDue, 0, 0) != FALSE;
}

// Queues the answer to a request when the test asked for answers; it comes later, from
// the message loop of the thread that called BGInit.
void Answer(int device, const std::vector<unsigned char>& report)
{
    FakeLibrary& library = Library();
    if (!library.answerRequests)
        return;
    library.pending.push_back(QueuedAnswer{library.types[static_cast<size_t>(device)], device, report});
    if (library.callback != nullptr)
        AnnounceAnswers();
}

void DestroyAnswerWindow()
{
    FakeLibrary& library = Library();
    if (library.answerWindow != nullptr)
        (void)DestroyWindow(library.answerWindow);
    library.answerWindow = nullptr;
    library.answersAnnounced = false;
}

void AttachPanels(FakeLibrary& library, const std::vector<tagBGDevHWType>& types,
                  const std::vector<std::string>& keys)
{
    library.types = types;
    library.typeArray = types;
    library.typeArray.push_back(BG_HW_NONE);
    library.panels.assign(types.size(), PanelState());
    library.gone.assign(types.size(), false);
    library.keys = keys;
}

}  // namespace

namespace fake_vuzoz {

void Reset(const std::vector<tagBGDevHWType>& types)
{
    DestroyAnswerWindow();
    FakeLibrary& library = Library();
    library = FakeLibrary();
    std::vector<std::string> keys;
    for (size_t device = 0; device < types.size(); ++device)
        keys.push_back("FAKE-" + std::to_string(types[device]) + "-" + std::to_string(device));
    AttachPanels(library, types, keys);
}

void Replug(const std::vector<tagBGDevHWType>& types, const std::vector<std::string>& keys)
{
    FakeLibrary& library = Library();
    library.nextTypes = types;
    library.nextKeys = keys;
    library.nextKeys.resize(types.size());
    library.replugged = true;
    for (size_t device = 0; device < library.keys.size(); ++device) {
        bool listed = false;
        for (const std::string& key : keys)
            listed = listed || key == library.keys[device];
        if (listed)
            continue;
        library.gone[device] = true;
        for (auto it = library.pending.begin(); it != library.pending.end();)
            it = it->device == static_cast<int>(device) ? library.pending.erase(it) : it + 1;
    }
    if (library.ready && library.owner != nullptr)
        (void)PostMessageW(library.owner, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
}

size_t PendingAnswers()
{
    return Library().pending.size();
}

void SetInitFails(bool fails)
{
    Library().initFails = fails;
}

void SetDevTypeNull(bool isNull)
{
    Library().devTypeNull = isNull;
}

void SetDevKeyFails(bool fails)
{
    Library().devKeyFails = fails;
}

void SetDevKey(int device, const std::string& key)
{
    FakeLibrary& library = Library();
    if (device >= 0 && static_cast<size_t>(device) < library.keys.size())
        library.keys[device] = key;
}

void SetAnswerRequests(bool answer)
{
    Library().answerRequests = answer;
}

PanelState& Panel(int device)
{
    FakeLibrary& library = Library();
    if (device >= 0 && static_cast<size_t>(device) < library.panels.size())
        return library.panels[device];
    // A device that is not attached: a fresh scratch state that nothing reads.
    static PanelState scratch;
    scratch = PanelState();
    return scratch;
}

const std::vector<std::string>& Calls()
{
    return Library().calls;
}

void ClearCalls()
{
    Library().calls.clear();
}

std::vector<std::string> CallsStartingWith(const std::string& prefix)
{
    std::vector<std::string> matching;
    for (const std::string& call : Library().calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            matching.push_back(call);
    }
    return matching;
}

BGInputCallback Callback()
{
    return Library().callback;
}

int DeliverRaw(tagBGDevHWType type, unsigned short device, unsigned short kind, void* data)
{
    const BGInputCallback callback = Library().callback;
    if (callback == nullptr)
        return -1;
    return callback(type, device, kind, data);
}

int DeliverButtons(tagBGDevHWType type, int device, unsigned bits)
{
    return DeliverRaw(type, static_cast<unsigned short>(device), BG_PACKET_BUTTONS,
                      reinterpret_cast<void*>(static_cast<std::uintptr_t>(bits)));
}

int DeliverReport(tagBGDevHWType type, int device, const std::vector<unsigned char>& bytes)
{
    // A copy, padded so that a reader of a short report stays inside the buffer.
    std::vector<unsigned char> report(bytes);
    report.resize(report.size() + 8, 0);
    return DeliverRaw(type, static_cast<unsigned short>(device), BG_PACKET_REPORT,
                      report.data());
}

int DeliverLedState(tagBGDevHWType type, int device, int led, int state)
{
    return DeliverReport(type, device, {BG_REPORT_LED_STATE, Byte(led), Byte(state)});
}

int DeliverButtonReport(tagBGDevHWType type, int device, unsigned bits)
{
    return DeliverReport(type, device, {BG_REPORT_BUTTONS, Byte(static_cast<int>(bits))});
}

int DeliverBrightness(tagBGDevHWType type, int device, int level)
{
    return DeliverReport(type, device, {BG_REPORT_BRIGHTNESS, Byte(level)});
}

int DeliverBlink(tagBGDevHWType type, int device, int fastOn, int fastOff, int slowOn,
                 int slowOff)
{
    return DeliverReport(type, device, {BG_REPORT_BLINK, Byte(fastOn), Byte(fastOff),
                                        Byte(slowOn), Byte(slowOff)});
}

}  // namespace fake_vuzoz

extern "C" {

tagBGDevResult BGInit(HWND hWnd)
{
    Record("BGInit");
    FakeLibrary& library = Library();
    if (library.initFails)
        return BG_ERR_INIT_FAILED;
    if (library.replugged) {
        // The panels plugged in since the last BGInit are found now, in a fresh state.
        const std::vector<tagBGDevHWType> types = library.nextTypes;
        const std::vector<std::string> keys = library.nextKeys;
        AttachPanels(library, types, keys);
        library.replugged = false;
    }
    DestroyAnswerWindow();
    library.answerWindow = CreateAnswerWindow();
    if (library.answerWindow == nullptr)
        return BG_ERR_INIT_FAILED;
    library.owner = hWnd;
    library.ready = true;
    library.callback = nullptr;
    library.pending.clear();
    return BG_OK;
}

tagBGDevResult BGTerminate(void)
{
    Record("BGTerminate");
    FakeLibrary& library = Library();
    if (!library.ready)
        return BG_ERR_NOT_READY;
    library.ready = false;
    library.callback = nullptr;
    library.owner = nullptr;
    library.pending.clear();
    DestroyAnswerWindow();
    if (!library.replugged)
        library.gone.assign(library.types.size(), false);
    return BG_OK;
}

tagBGDevHWType* BGGetDevType(void)
{
    Record("BGGetDevType");
    if (!Library().ready || Library().devTypeNull)
        return nullptr;
    return Library().typeArray.data();
}

tagBGDevResult BGGetDevKey(int device, const char** ppKey)
{
    Record("BGGetDevKey", {device});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (Library().devKeyFails || ppKey == nullptr)
        return BG_ERR_BAD_ARGUMENT;
    const std::string& key = Library().keys[device];
    char* copy = static_cast<char*>(std::malloc(key.size() + 1));
    if (copy == nullptr)
        return BG_ERR_NOT_READY;
    std::memcpy(copy, key.c_str(), key.size() + 1);
    *ppKey = copy;
    return BG_OK;
}

tagBGDevResult BG_RegisterInputCallback(BGInputCallback callback)
{
    Record("BG_RegisterInputCallback", {callback != nullptr ? 1 : 0});
    FakeLibrary& library = Library();
    if (!library.ready)
        return BG_ERR_NOT_READY;
    library.callback = callback;
    // Answers to requests made before there was a callback go to this one.
    if (callback != nullptr && !library.pending.empty())
        AnnounceAnswers();
    return BG_OK;
}

tagBGDevResult BG_SetLEDState(int device, int led, int state, int reserved)
{
    Record("BG_SetLEDState", {device, led, state, reserved});
    const tagBGDevResult result = CheckLed(device, led);
    if (result != BG_OK)
        return result;
    if (state < BG_LED_OFF || state > BG_LED_ON)
        return BG_ERR_BAD_ARGUMENT;
    Library().panels[device].led[led] = state;
    return BG_OK;
}

tagBGDevResult BG_GetLEDStatus(int device, int led)
{
    Record("BG_GetLEDStatus", {device, led});
    const tagBGDevResult result = CheckLed(device, led);
    if (result != BG_OK)
        return result;
    Answer(device, {BG_REPORT_LED_STATE, Byte(led), Byte(Library().panels[device].led[led])});
    return BG_OK;
}

tagBGDevResult BG_GetButtonStatus(int device)
{
    Record("BG_GetButtonStatus", {device});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    Answer(device, {BG_REPORT_BUTTONS, Byte(Library().panels[device].buttons)});
    return BG_OK;
}

tagBGDevResult BG_SetBrightness(int device, int level)
{
    Record("BG_SetBrightness", {device, level});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (!IsByte(level))
        return BG_ERR_BAD_ARGUMENT;
    Library().panels[device].brightness = level;
    return BG_OK;
}

tagBGDevResult BG_GetCurBrightness(int device)
{
    Record("BG_GetCurBrightness", {device});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    Answer(device, {BG_REPORT_BRIGHTNESS, Byte(Library().panels[device].brightness)});
    return BG_OK;
}

tagBGDevResult BG_SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff, int fastOff)
{
    Record("BG_SetBlinkPeriod", {device, slowOn, fastOn, slowOff, fastOff});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    if (!IsByte(slowOn) || !IsByte(fastOn) || !IsByte(slowOff) || !IsByte(fastOff))
        return BG_ERR_BAD_ARGUMENT;
    PanelState& panel = Library().panels[device];
    panel.slowOn = slowOn;
    panel.fastOn = fastOn;
    panel.slowOff = slowOff;
    panel.fastOff = fastOff;
    return BG_OK;
}

tagBGDevResult BG_GetCurBlinkPeriod(int device)
{
    Record("BG_GetCurBlinkPeriod", {device});
    const tagBGDevResult result = CheckDevice(device);
    if (result != BG_OK)
        return result;
    const PanelState& panel = Library().panels[device];
    Answer(device, {BG_REPORT_BLINK, Byte(panel.fastOn), Byte(panel.fastOff), Byte(panel.slowOn),
                    Byte(panel.slowOff)});
    return BG_OK;
}

}  // extern "C"
