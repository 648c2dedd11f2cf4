// resource.h: every identifier of the program: resources, commands, controls and its own window messages.
#pragma once

// Menu and accelerator table.
#define IDR_MAINFRAME 102
#define IDI_APPLICATION_ICON 103
#define IDD_OPTIONS 105
#define IDC_HAND_CURSOR 109
#define IDD_ABOUT 216
#define IDD_RECORD_VIEW 217
#define IDD_FILTER 218
#define IDD_WATCH_RULES 219
#define IDD_WATCH_RULE 220
#define IDR_LIST_MENU 110

// Commands.
#define ID_VIEW_CAPTURE 40001
#define ID_VIEW_SAVE 40002
#define ID_VIEW_CLEAR 40003
#define ID_HELP_ABOUT 40004
#define ID_VIEW_OPTIONS 40005
#define ID_VIEW_COLOURS 40006
#define ID_VIEW_FIND 40007
#define ID_FIND_NEXT 40008
#define ID_FIND_PREVIOUS 40009
#define ID_EDIT_COPY 40010
#define ID_EDIT_SELECT_ALL 40011
#define ID_VIEW_FILTER 40012
#define ID_VIEW_FILTER_ON 40013
#define ID_LIST_SHOW_ONLY_SENDER 40014
#define ID_LIST_HIDE_SENDER 40015
#define ID_LIST_SHOW_ALL_ROWS 40016
#define ID_VIEW_WATCH_RULES 40017
#define ID_NEXT_MARKED_ROW 40018
#define ID_PREVIOUS_MARKED_ROW 40019
#define ID_LIST_SHOW_ONLY_HOST 40150
#define ID_LIST_HIDE_HOST 40151
#define ID_LIST_SHOW_ONLY_APP 40152
#define ID_LIST_HIDE_APP 40153
// The optional columns of the list, shown or hidden (View > Columns and the header's right-click menu).
#define ID_COLUMN_RECEIVED 40100
#define ID_COLUMN_TIME 40101
#define ID_COLUMN_HOST 40102
#define ID_COLUMN_FACILITY 40103
#define ID_COLUMN_SEVERITY 40104
#define ID_COLUMN_APP 40105
#define ID_COLUMN_PID 40106
#define ID_COLUMN_MSGID 40107
#define ID_COLUMN_MESSAGE 40108
// The View menu's pause, status bar and Traffic window.
#define ID_VIEW_PAUSE 40200
#define ID_VIEW_STATUS_BAR 40201
#define ID_VIEW_TRAFFIC 40202

// The Main window's children.
#define IDC_MESSAGE_LIST 1
#define IDC_DIAGNOSTICS_PANE 2
#define IDC_SPLITTER_BAR 10
#define IDC_STATUS_BAR 1310

// The program's own window messages (WM_USER is 0x0400).
// The doorbell: deliveries wait in the Main window's queue. It carries
// nothing, so one posted by anybody else changes nothing.
#define UM_DELIVERIES_WAITING (WM_USER + 3)
// The icon in the notification area was clicked or otherwise used.
#define UM_NOTIFY_ICON (WM_USER + 4)
// A reflected notification's number is the original's raised by this base (0x2000).
#define UM_REFLECTED_BASE (WM_USER + 0x1C00)

// Options dialog controls.
#define IDC_DISPLAY 1000
#define IDC_TO_FILE 1001
#define IDC_AUTOSCROLL 1002
#define IDC_FILE_NAME 1003
#define IDC_BROWSE 1004
#define IDC_KEEP_ROWS 1005

// About dialog controls.
#define IDC_WEB_LINK 214
#define IDC_VERSION_LINE 227
#define IDC_MAIL_LINK 1015

// Record view controls.
#define IDC_RECORD_SENDER 1020
#define IDC_RECORD_MESSAGE 1021
#define IDC_RECORD_RECEIVED 1022
#define IDC_RECORD_FIELDS 1200

// Filter dialog controls.
#define IDC_FILTER_SHOW_TEXT 1101
#define IDC_FILTER_HIDE_TEXT 1102
#define IDC_FILTER_MATCH_CASE 1103
#define IDC_FILTER_SEVERITY 1104
#define IDC_FILTER_SENDERS 1105
#define IDC_FILTER_SHOW_SENDERS 1106
#define IDC_FILTER_HIDE_SENDERS 1107
#define IDC_FILTER_CLEAR 1108
#define IDC_FILTER_HOSTS 1250
#define IDC_FILTER_SHOW_HOSTS 1251
#define IDC_FILTER_HIDE_HOSTS 1252
#define IDC_FILTER_APPS 1253
#define IDC_FILTER_SHOW_APPS 1254
#define IDC_FILTER_HIDE_APPS 1255

// Watch rules dialog controls.
#define IDC_WATCH_RULE_LIST 1121
#define IDC_WATCH_ADD 1122
#define IDC_WATCH_EDIT 1123
#define IDC_WATCH_REMOVE 1124
#define IDC_WATCH_UP 1125
#define IDC_WATCH_DOWN 1126

// Traffic window controls.
#define IDC_TRAFFIC_SPAN 1300
#define IDC_TRAFFIC_CHART 1301
#define IDC_TRAFFIC_SENDERS_TITLE 1302
#define IDC_TRAFFIC_TOP_SENDERS 1303
#define IDC_TRAFFIC_HOSTS_TITLE 1304
#define IDC_TRAFFIC_TOP_HOSTS 1305
#define IDC_TRAFFIC_APPS_TITLE 1306
#define IDC_TRAFFIC_TOP_APPS 1307

// Watch rule dialog controls; its conditions use the Filter dialog's ids.
#define IDC_WATCH_NAME 1131
#define IDC_WATCH_TEXT_COLOUR 1132
#define IDC_WATCH_BACKGROUND 1133
#define IDC_WATCH_LIST_COLOURS 1134
#define IDC_WATCH_SAMPLE 1135
#define IDC_WATCH_MARK 1136
#define IDC_WATCH_FLASH 1137
#define IDC_WATCH_NOTIFY 1138
#define IDC_WATCH_BEEP 1139

// The program's name, as its title bar and the version block say it.
#define PRODUCT_TITLE "Kelv SysLog monitor"

// Version of the program, as the About box and the version block state it.
#define VERSION_MAJOR 1
#define VERSION_MINOR 0
#define VERSION_PATCH 0
#define VERSION_BUILD 1
