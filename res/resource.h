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
#define IDD_PROFILE_NAME            230

// Strings (105 is not used)
#define IDS_ABOUTBOX                101
#define IDS_NO_DEVICE               102
#define IDS_CONFIG_SECTION          103
#define IDS_HARDWARE_SECTION        104
#define IDS_SAVE_PROMPT             106
#define IDS_SAVE_FAILED             107
#define IDS_LIBRARY_NOT_FOUND       108
#define IDS_LIBRARY_INIT_FAILED     109
#define IDS_RESTORE_FAILED          110
#define IDS_CHANGED_OUTSIDE         190
#define IDS_LIBRARY_OTHER_BITNESS   111
#define IDS_LIBRARY_NOT_LOADED      112
#define IDS_LIBRARY_DAMAGED         113
#define IDS_SIMULATED_MARK          114
#define IDS_EXPORT_ALL_FILE_NAME    115
#define IDS_LIBRARY_INCOMPLETE      120
#define IDS_HELP_MISSING            121
#define IDS_HELP_LANGUAGE           122

// Strings of the device list's context menu and of moving settings to and from files
#define IDS_MENU_COPY_FROM          130
#define IDS_MENU_EXPORT             131
#define IDS_MENU_EXPORT_ALL         132
#define IDS_MENU_IMPORT             133
#define IDS_PANEL_ATTACHED          134
#define IDS_PANEL_NOT_ATTACHED      135
#define IDS_COPY_PROMPT             136
#define IDS_REPLACE_PROMPT          137
#define IDS_FILE_FILTER             138
#define IDS_NOTHING_STORED          139
#define IDS_WRITE_FAILED            140
#define IDS_ERR_REPEATED            141
#define IDS_EXPORT_FAILED           142
#define IDS_READ_FAILED             143
#define IDS_FILE_REFUSED            144
#define IDS_AT_LINE                 145
#define IDS_TYPE_MISMATCH           146
#define IDS_TYPE_B88                147
#define IDS_TYPE_T88                148
#define IDS_TYPE_RP                 149
#define IDS_ERR_TOO_LARGE           150
#define IDS_ERR_NOT_TEXT            151
#define IDS_ERR_NO_SETTINGS         152
#define IDS_ERR_HEADER              153
#define IDS_ERR_LONG_LINE           154
#define IDS_ERR_MALFORMED           155
#define IDS_ERR_FOREIGN_KEY         156
#define IDS_ERR_DEVICE_KEY          157
#define IDS_ERR_UNKNOWN_VALUE       158
#define IDS_ERR_BAD_VALUE           159

// Strings of the configuration pages
#define IDS_NO_ROW                  210
#define IDS_MENU_REVERT             211
// Strings of a second start while Tollan runs (200-209)
#define IDS_ALREADY_RUNNING_CONFIGURATION 200
#define IDS_ALREADY_RUNNING_TEST    201
// Strings of the rows of a settings file's messages ("button 2"), of panel types, and of profiles
#define IDS_ROW_BUTTON              230
#define IDS_ROW_SWITCH_ON           231
#define IDS_ROW_SWITCH_OFF          232
#define IDS_ROW_SWITCH_STATE        233
#define IDS_ROW_LED                 234
#define IDS_ROW_LED_COMP            235
#define IDS_ROW_LED_VALUE           236
#define IDS_TYPE_UNKNOWN            238
#define IDS_PROFILE_NO_NAME         239
#define IDS_PROFILE_NAME_TOO_LONG   240
#define IDS_PROFILE_NAME_CHARACTER  241
#define IDS_PROFILE_NAME_END        242
#define IDS_PROFILE_NAME_RESERVED   243
#define IDS_PROFILE_REPLACE_PROMPT  244
#define IDS_PROFILE_UPDATE_PROMPT   245
#define IDS_PROFILE_UNSAVED_PROMPT  246
#define IDS_PROFILE_UNSAVED_REFUSED 247
#define IDS_PROFILE_NOT_FOUND       248
#define IDS_PROFILE_ACTIVE_DAMAGED  249
#define IDS_PROFILE_EXISTS          250
#define IDS_PROFILE_RENAME_FAILED   251
#define IDS_PROFILE_DELETE_PROMPT   252
#define IDS_PROFILE_DELETE_FAILED   253
#define IDS_PROFILE_FOLDER_FAILED   254
#define IDS_PROFILE_MISSING         255
#define IDS_PROFILE_NONE            256
#define IDS_PROFILE_RENAME_TITLE    257
#define IDS_PROFILE_ACTIVE_NOT_KEPT 258
#define IDS_PROFILE_FOLDER_NOT_OPENED 259

// Bitmaps
#define IDB_PANEL_RP                135
#define IDB_PANEL_B88               137
#define IDB_PANEL_T88               138
#define IDB_DEVICE_LIST             141
#define IDB_BUTTON_UP               143
#define IDB_BUTTON_DOWN             144
#define IDB_TOGGLE_UP               146
#define IDB_TOGGLE_END              147

// The same pictures for larger display scales: 125 % is the 100 % id + 1000,
// 150 % + 2000, 200 % + 3000
#define IDB_PANEL_RP_125            1135
#define IDB_PANEL_B88_125           1137
#define IDB_PANEL_T88_125           1138
#define IDB_DEVICE_LIST_125         1141
#define IDB_BUTTON_UP_125           1143
#define IDB_BUTTON_DOWN_125         1144
#define IDB_TOGGLE_UP_125           1146
#define IDB_TOGGLE_END_125          1147
#define IDB_PANEL_RP_150            2135
#define IDB_PANEL_B88_150           2137
#define IDB_PANEL_T88_150           2138
#define IDB_DEVICE_LIST_150         2141
#define IDB_BUTTON_UP_150           2143
#define IDB_BUTTON_DOWN_150         2144
#define IDB_TOGGLE_UP_150           2146
#define IDB_TOGGLE_END_150          2147
#define IDB_PANEL_RP_200            3135
#define IDB_PANEL_B88_200           3137
#define IDB_PANEL_T88_200           3138
#define IDB_DEVICE_LIST_200         3141
#define IDB_BUTTON_UP_200           3143
#define IDB_BUTTON_DOWN_200         3144
#define IDB_TOGGLE_UP_200           3146
#define IDB_TOGGLE_END_200          3147

// System menu command of the About item
#define IDM_ABOUTBOX                0x0010

// Commands of the device list's context menu; a panel to copy from is
// ID_COPY_FROM_FIRST + its place in the submenu
#define ID_EXPORT_SETTINGS          32800
#define ID_EXPORT_ALL_SETTINGS      32801
#define ID_IMPORT_SETTINGS          32802
#define ID_REVERT_CHANGES           32803
#define ID_COPY_FROM_FIRST          32810
#define ID_COPY_FROM_LAST           32899

// Commands of a configuration page (its lists' keys send them; the main window's controls
// send the first two to the window, which hands them to the page)
#define ID_PAGE_UNDO                32900
#define ID_PAGE_REDO                32901
#define ID_ROW_CLEAR                32902

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

// The profile row along the bottom of the main window
#define IDC_PROFILE_LABEL           1200
#define IDC_PROFILE_LIST            1201
#define IDC_PROFILE_SAVE            1202
#define IDC_PROFILE_RENAME          1203
#define IDC_PROFILE_DELETE          1204
#define IDC_PROFILE_FOLDER          1205

// The profile name box (template 230)
#define IDC_PROFILE_NAME_LABEL      1206
#define IDC_PROFILE_NAME            1207

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

// Panels plugged in and out
#define IDS_DEVICE_KEY_UNUSABLE     170
#define IDS_NOT_ATTACHED_MARK       171

#endif
