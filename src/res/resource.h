// Resource identifiers of Gravelin.exe, shared by Tarnwick.rc and the code.
// Plain #defines only, so that every resource compiler (windres, rc) reads it.
#ifndef TARNWICK_RES_RESOURCE_H
#define TARNWICK_RES_RESOURCE_H

// Dialog templates
#define IDD_ABOUTBOX                    100
#define IDD_TARNWICK_DIALOG             102
#define IDD_SPLASH                      163
#define IDD_SQUASH_LOG                  140

// String table
#define IDS_ABOUTBOX                    101

// Menus
#define IDR_TRAYMENU                    129

// Icons
#define IDI_ABOUT                       128
#define IDI_TARNWICK                    132
#define IDI_SQUASH_FRAME1               149
#define IDI_SQUASH_FRAME2               150
#define IDI_SQUASH_FRAME3               151
#define IDI_SQUASH_FRAME4               152

// Sound (resource type "WAVE")
#define IDR_SQUASH_WAVE                 139

// Bitmaps
#define IDB_SPLASH                      162
#define IDB_BANNER                      164
#define IDB_PANEL_STRIP                 165
#define IDB_SCAN                        168
#define IDB_UPDATE                      171
#define IDB_EXIT                        172
#define IDB_CLEAN                       177

// Controls of the main window (dialog 102)
#define IDC_SQUASH_LOG_CHECK            1001
#define IDC_ANIMATE_CHECK               1003
#define IDC_SOUND_CHECK                 1005
#define IDC_SEPARATOR                   1012
#define IDC_RESULT_LIST                 1020
#define IDC_CHECK_ALL                   1021
#define IDC_CLEAN_FILES                 1022
#define IDC_SUMMARY                     1023
#define IDC_SETTINGS_GROUP              1025
#define IDC_POPUP_CHECK                 1026
#define IDC_REALTIME_CHECK              1027
#define IDC_SHOW_SETTINGS               1033
#define IDC_SCAN_PICTURE                1037
#define IDC_UPDATE_PICTURE              1040
#define IDC_EXIT_PICTURE                1041
#define IDC_SCAN_GROUP                  1047
#define IDC_CLEAN_PICTURE               1048
#define IDC_SCAN_STATUS                 1050
#define IDC_STATUS_LINE                 1051
#define IDC_SHOW_LOG                    1055

// Controls of the squash log viewer (dialog 140)
#define IDC_LOG_HINT                    1011
#define IDC_LOG_LIST                    1016

// Commands of the tray menu (menu 129)
#define ID_TRAY_SUPPORT                 32774
#define ID_TRAY_EXIT                    32775
#define ID_TRAY_SQUASH_LOG              32776
#define ID_TRAY_LAUNCH                  32781
#define ID_TRAY_REALTIME                32782
#define ID_TRAY_LOAD_AT_STARTUP         32783

// System menu command "&About Gravelin..." (a multiple of 16, below 0xF000)
#define IDM_ABOUTBOX                    0x0010

#endif // TARNWICK_RES_RESOURCE_H
