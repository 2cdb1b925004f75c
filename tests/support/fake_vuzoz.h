// A recording fake of the VUZoz device library for the in-process tests.
// It implements every BG/BG_ function of VUZoz.h, records each call as one line in
// the same format as the simulator's VUZOZ_LOG ("BG_SetLEDState 0 3 2 0"), and lets a
// test attach panels, make calls fail and deliver packets to the registered callback.
#ifndef TOLLAN_TESTS_FAKE_VUZOZ_H
#define TOLLAN_TESTS_FAKE_VUZOZ_H

#include "VUZoz.h"

#include <string>
#include <vector>

namespace fake_vuzoz {

// Forgets everything (calls, callback, failures, panel states) and attaches panels of
// these types, index = position. BGGetDevType returns them after BGInit succeeded.
void Reset(const std::vector<tagBGDevHWType>& types);

// Failure switches; Reset clears them.
void SetInitFails(bool fails);               // BGInit returns non-zero
void SetDevTypeNull(bool isNull);            // BGGetDevType returns null after BGInit
void SetDevKeyFails(bool fails);             // BGGetDevKey returns non-zero, key untouched
void SetDevKey(int device, const std::string& key);  // default "FAKE-<type>-<device>"

// When true (default false), every request (BG_GetLEDStatus, BG_GetButtonStatus,
// BG_GetCurBrightness, BG_GetCurBlinkPeriod) is answered as the library answers: the
// answer, made from the panel state below when asked, is queued and reaches the callback
// registered at the time from the message loop of the thread that called BGInit (never
// inside the request). Answers asked for before a callback exists wait for one;
// BGTerminate and unplugging a panel drop those not yet delivered.
// When false, requests are only recorded.
void SetAnswerRequests(bool answer);
// Answers queued and not yet delivered.
size_t PendingAnswers();

// Plugging in and out as the library sees it: the panels of types (keys[i] naming
// types[i]) are attached from the next BGInit on; until then each attached panel whose
// key is not in keys is gone (its calls fail with BG_ERR_BAD_DEVICE, its answers are
// dropped) and keeps its index. The window given to BGInit gets WM_DEVICECHANGE with
// DBT_DEVNODES_CHANGED, posted.
void Replug(const std::vector<tagBGDevHWType>& types, const std::vector<std::string>& keys);

// Panel state used for answers; BG_Set* calls update it too.
struct PanelState {
    int led[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int buttons = 0;
    int brightness = 127;
    int fastOn = 12, fastOff = 12, slowOn = 25, slowOff = 25;
};
PanelState& Panel(int device);

// Recorded calls, oldest first, e.g. "BGInit", "BG_GetCurBrightness 0",
// "BG_SetBlinkPeriod 0 25 12 25 12". Arguments are decimal; BGInit's window handle
// and BGGetDevKey's out-pointer are not recorded; BG_RegisterInputCallback records
// "BG_RegisterInputCallback 1" for a callback and "BG_RegisterInputCallback 0" for null.
const std::vector<std::string>& Calls();
void ClearCalls();
// Only the calls whose line starts with prefix (for example "BG_SetLEDState").
std::vector<std::string> CallsStartingWith(const std::string& prefix);

// Number of keys handed out by BGGetDevKey and not yet freed cannot be seen; the fake
// hands out malloc copies exactly like the library.

BGInputCallback Callback();  // null until registered

// Deliver packets to the registered callback as the library would; returns the
// callback's result, or -1 when no callback is registered.
int DeliverButtons(tagBGDevHWType type, int device, unsigned bits);         // kind 1
int DeliverReport(tagBGDevHWType type, int device, const std::vector<unsigned char>& bytes);  // kind 3
int DeliverLedState(tagBGDevHWType type, int device, int led, int state);  // report 1
int DeliverButtonReport(tagBGDevHWType type, int device, unsigned bits);    // report 2
int DeliverBrightness(tagBGDevHWType type, int device, int level);          // report 3
int DeliverBlink(tagBGDevHWType type, int device, int fastOn, int fastOff, int slowOn, int slowOff);  // report 4
int DeliverRaw(tagBGDevHWType type, unsigned short device, unsigned short kind, void* data);

}  // namespace fake_vuzoz

#endif
