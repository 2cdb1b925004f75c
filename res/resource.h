// Resource ids of Tollan. The numbers are fixed: the templates, strings and bitmaps are
// looked up by them, and the registry layout and the pages depend on the control ids.
#ifndef TOLLAN_RESOURCE_H
#define TOLLAN_RESOURCE_H

// Icon
#define IDI_TOLLAN                  128

// Dialog templates
#define IDD_ABOUTBOX                100
#define IDD_MAIN                    102
#define IDD_TEST_B88                131
#define IDD_CONFIG_B88              132
#define IDD_CONFIG_T88              139
#define IDD_TEST_T88                140
#define IDD_ERROR                   142
#define IDD_TEST_RP                 143
#define IDD_CONFIG_RP               144

// Strings (105 is not used)
#define IDS_ABOUTBOX                101
#define IDS_NO_DEVICE               102
#define IDS_CONFIG_SECTION          103
#define IDS_HARDWARE_SECTION        104
#define IDS_SAVE_PROMPT             106
#define IDS_SAVE_FAILED             107
#define IDS_RESTORE_FAILED          110

// Bitmaps
#define IDB_PANEL_RP                135
#define IDB_PANEL_B88               137
#define IDB_PANEL_T88               138
#define IDB_DEVICE_LIST             141
#define IDB_BUTTON_UP               143
#define IDB_BUTTON_DOWN             144
#define IDB_TOGGLE_UP               146
#define IDB_TOGGLE_END              147

// System menu command of the About item
#define IDM_ABOUTBOX                0x0010

// Main window (template 102)
#define IDC_APPLY                   1000
#define IDC_DEVICE_LIST             1010
#define IDC_BRIGHTNESS_SLIDER       1041
#define IDC_BRIGHTNESS_VALUE        1042
#define IDC_FAST_ON                 1043
#define IDC_FAST_OFF                1044
#define IDC_SLOW_ON                 1045
#define IDC_SLOW_OFF                1046
#define IDC_BLINK_APPLY             1048
#ifndef ID_HELP
#define ID_HELP                     0xE146
#endif

// Error page (template 142)
#define IDC_ERROR_TEXT              1013

// Configuration pages (templates 132, 139, 144): list k of each column is FIRST + k
#define IDC_BUTTON_LIST_FIRST       1011
#define IDC_BUTTON_LIST_LAST        1018
#define IDC_LED_LIST_FIRST          1020
#define IDC_LED_LIST_LAST           1027

// Test pages (templates 131, 140, 143): the radio of LED L and state S is
// IDC_LED_RADIO_FIRST + 4 * L + S, the indicator of button i is IDC_INDICATOR_FIRST + i
#define IDC_LED_RADIO_FIRST         1001
#define IDC_INDICATOR_FIRST         1033

#endif
