/* VUZoz: the device library of the USB cockpit panels.
 * Finds the attached panels, reports their buttons and LED states through an input
 * callback, and accepts LED, brightness and blink commands. Plain C interface. */
#ifndef VUZOZ_H
#define VUZOZ_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every function and the input callback use the C calling convention; VUZoz.dll
 * exports the functions by their plain names. */
#ifndef BGAPI
#define BGAPI __cdecl
#endif

/* Result of most operations: 0 is success. */
typedef enum tagBGDevResult {
    BG_OK = 0,
    BG_ERR_NOT_READY = 1,     /* BGInit has not succeeded, or BGTerminate was called */
    BG_ERR_BAD_DEVICE = 2,    /* device index outside the attached panels */
    BG_ERR_BAD_ARGUMENT = 3,  /* LED index or other argument outside its range */
    BG_ERR_INIT_FAILED = 4    /* BGInit could not start */
} tagBGDevResult;

/* Hardware type of a panel; 0 ends the array that BGGetDevType returns. */
typedef enum tagBGDevHWType {
    BG_HW_NONE = 0,
    BG_HW_PUSHBUTTON_8X8 = 1,
    BG_HW_TOGGLE_8X8 = 2,
    BG_HW_RADIO = 3
} tagBGDevHWType;

/* Packet kinds of the input callback. */
#define BG_PACKET_BUTTONS 1 /* data's own value: bit i of the low byte is button i */
#define BG_PACKET_REPORT  3 /* data points to a report; byte 0 says which */

/* Report kinds (byte 0 of a BG_PACKET_REPORT). */
#define BG_REPORT_LED_STATE  1 /* LED index, state */
#define BG_REPORT_BUTTONS    2 /* button bit mask */
#define BG_REPORT_BRIGHTNESS 3 /* brightness */
#define BG_REPORT_BLINK      4 /* fast on, fast off, slow on, slow off */

/* LED states. */
#define BG_LED_OFF  0
#define BG_LED_SLOW 1
#define BG_LED_FAST 2
#define BG_LED_ON   3

/* Called only on the thread that called BGInit. */
typedef int (BGAPI* BGInputCallback)(tagBGDevHWType type, unsigned short device,
                               unsigned short kind, void* data);

tagBGDevResult BGAPI BGInit(HWND hWnd);
tagBGDevResult BGAPI BGTerminate(void);
/* Zero-terminated, one entry per attached panel; owned by the library, valid until
 * BGTerminate. Null before BGInit succeeded. */
tagBGDevHWType* BGAPI BGGetDevType(void);
/* On success *ppKey holds a malloc'ed copy of the panel's key; the caller frees it. */
tagBGDevResult BGAPI BGGetDevKey(int device, const char** ppKey);

tagBGDevResult BGAPI BG_RegisterInputCallback(BGInputCallback callback);
tagBGDevResult BGAPI BG_SetLEDState(int device, int led, int state, int reserved);
tagBGDevResult BGAPI BG_GetLEDStatus(int device, int led);
tagBGDevResult BGAPI BG_GetButtonStatus(int device);
tagBGDevResult BGAPI BG_SetBrightness(int device, int level);
tagBGDevResult BGAPI BG_GetCurBrightness(int device);
tagBGDevResult BGAPI BG_SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff, int fastOff);
tagBGDevResult BGAPI BG_GetCurBlinkPeriod(int device);

#ifdef __cplusplus
}
#endif

#endif
