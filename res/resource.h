// Resource identifiers: named once here, numbered as the program's files and menus expect.
#pragma once

// Strings
#define IDS_ABOUTBOX                101
#define IDS_VERSION                 102

// The string table: every text the program shows, one block of ids per resource script
#define IDS_HIDE_ICONS_ITEM         112   // tray menu entry while the desktop icons show
#define IDS_START_MENU_TITLE        113   // the Start menu's window title
#define IDS_MESSAGE_CAPTION         114
#define IDS_CAPTION_FACE            115   // the face of the small painted captions
#define IDS_NO_DATA_FOLDER          116   // start-up found no folder it may write its files in
#define IDS_TRAY_TIP_VERSION        117   // the tray tip's first line with the address under it
#define IDS_TRAY_ADDRESS            118
#define IDS_TRAY_BANNER             119   // the tray menu's banner, after the version
#define IDS_SAVE_WALLPAPER_FILTER   120   // file dialog filters end each part with '|'
#define IDS_SAVE_WALLPAPER_NAME     121
#define IDS_SLIDESHOW_PAUSED        122   // the tray balloon when Windows' slideshow is held back
#define IDS_SPOTLIGHT_PAUSED        123   // the same for Windows' picture of the day
#define IDS_SETTINGS_TITLE          2000
#define IDS_PAGE_BACKGROUND         2001  // 2001..2007: the page list, in order
#define IDS_PAGE_PHOTOS             2002
#define IDS_PAGE_EFFECTS            2003
#define IDS_PAGE_FOLDERS            2004
#define IDS_PAGE_CALENDAR           2005
#define IDS_PAGE_OTHERS             2006
#define IDS_PAGE_HELP               2007
#define IDS_SETTINGS_CAPTION        2008
#define IDS_EMPTY_CHANGETIME        2009
#define IDS_CHANGETIME_TOO_SHORT    2010
#define IDS_IMAGE_SIZE_RANGE        2011
#define IDS_FRAME_SIZE_WRONG        2012
#define IDS_ABOUT_TITLE_TAIL        2013  // after the version
#define IDS_ABOUT_VERSION_LINE      2014
#define IDS_UNIT_SECONDS            2016
#define IDS_UNIT_MINUTES            2017
#define IDS_OVERLAP_LABEL           2018
#define IDS_OVERLAP_LIMITED         2019
#define IDS_POSITION_COUNT          2020
#define IDS_IMAGE_INFO              2021  // the background picture's size, colours and bytes
#define IDS_IMAGE_FILE_FILTER       2022  // the open dialog's filter: the names, then the patterns
#define IDS_POSITION_CAPTION        2023  // under a position window's number
#define IDS_NO_MASKS                2032
#define IDS_BROWSE_FOLDER_TITLE     2048
#define IDS_FOLDER_ROOT             2049
#define IDS_FOLDER_SAME_NAME        2050
#define IDS_FOLDER_INCLUDED         2051
#define IDS_FOLDER_TIDIED           2052
#define IDS_NOTICE_CAPTION          2053
#define IDS_FOLDER_COLUMNS          2054
#define IDS_SETTING_ERROR           2055
#define IDS_SETTING_ERROR_CAPTION   2056
#define IDS_CLOUD_ONLY_LABEL        2057
#define IDS_PATH_BANNED             2058
#define IDS_HOTKEY_TAKEN            2059
#define IDS_PATH_TOTAL              2060
#define IDS_PROGRAM_COLUMNS         2061  // the program list's headings, each ended by ','

// Dialog templates
#define IDD_ABOUTBOX                100
#define IDD_WALLPAPER_DIALOG        102
#define IDD_ENVSET                  145   // settings dialog (host)
#define IDD_SET_BACKIMG             146   // page 0: desktop background
#define IDD_MASK_PICKER             147
#define IDD_SET_FOREIMG             148   // page 1: photographs
#define IDD_PROGRAM_LIST            151
#define IDD_IMGPOS_SET              152   // position editor's tool window
#define IDD_IMGPOS                  153   // one position window
#define IDD_SET_PATH                154   // page 3: image folders
#define IDD_SET_CALEN               155   // page 4: calendar
#define IDD_SET_ETC                 156   // page 5: miscellaneous
#define IDD_IMAGES                  157   // current images
#define IDD_SET_EFFECT              160   // page 2: photo effects
#define IDD_SET_HELP                162   // page 6: about the program

// Bitmaps
#define IDB_PAGE_ICONS              163

// Icons and menus
#define IDR_MAINFRAME               128
#define IDR_TRAYMENU                129
#define IDI_TRAY                    132
#define IDI_PAUSE_MARK              133
#define IDI_WEEKDAY_SUNDAY          135   // 135..141: Sunday..Saturday

// Context menus of the position windows and the current images (menu resources)
#define IDR_IMGPOS_MENU             154
#define IDR_IMAGES_MENU             158

// Tray menu commands
#define ID_TRAY_CURRENT_IMAGES      32771
#define ID_TRAY_TIDY_SCREEN         32772
#define ID_TRAY_DESKTOP_ICONS       32773
#define ID_TRAY_SHOW_DESKTOP        32774
#define ID_TRAY_PAUSE               32775
#define ID_TRAY_SAVE_WALLPAPER      32776
#define ID_TRAY_SETTINGS            32777
#define ID_TRAY_ABOUT               32778
#define ID_TRAY_EXIT                32779

// System menu
#define IDM_ABOUTBOX                0x0010

// ---- Controls, one block per window; numbers as the templates give them ------------------------
// Each block belongs to its window's template in the resource script of its group.

// Settings host (145), help page (162), about box (100)
#define IDC_PAGE_LIST               1001
#define IDC_PAGE_FRAME              1002
#define IDC_PAGE_CAPTION            1003
#define IDC_VERSION_LINE            1059
#define IDC_WEB_LINK                1071
#define IDC_MAIL_LINK               1111

// Background page (146)
#define IDC_BACK_BROWSE             1025
#define IDC_BACK_USECOLOR           1051
#define IDC_BACK_COLOR              1055
#define IDC_BACK_FILENAME           1077
#define IDC_BACK_USEIMAGE           1078
#define IDC_BACK_PREVIEW            1085
#define IDC_BACK_INFO               1086
#define IDC_BACK_STRETCH            1087

// Photographs page (148), position editor (152, 153)
#define IDC_FORE_CLEARCOUNT         1004   // read by the host's close check
#define IDC_FORE_SIZE               1005   // read by the host's close check
#define IDC_FORE_MINUTES            1016
#define IDC_FORE_SECONDS            1017
#define IDC_FORE_UNIT               1018
#define IDC_FORE_NOTSTRETCH         1031
#define IDC_FORE_CHANGETIME         1036   // read by the host's close check
#define IDC_FORE_SEQUENTIAL         1037
#define IDC_FORE_RANDOM             1038
#define IDC_FORE_CENTRE             1039
#define IDC_FORE_RANDOMPOS          1040
#define IDC_FORE_CHANGETIME_SPIN    1046
#define IDC_FORE_SIZE_SPIN          1047
#define IDC_FORE_CLEARCOUNT_SPIN    1048
#define IDC_FORE_BACKGRAY           1068
#define IDC_FORE_OVERLAP            1070
#define IDC_FORE_USE                1079
#define IDC_FORE_USERPOS            1088
#define IDC_FORE_POSEDIT            1091
#define IDC_FORE_POSCOUNT           1109
#define IDC_FORE_POSMAP             1110
#define IDC_IMGPOS_ADD              1107
#define IDC_IMGPOS_APPLY            1108
#define ID_IMGPOS_DELETE            32800

// Effects page (160), mask picker (147)
#define IDC_EFFECT_FRAMESIZE        1015   // read by the host's close check
#define IDC_EFFECT_MASK             1023
#define IDC_EFFECT_MASK_PREVIEW     1027
#define IDC_EFFECT_SHADOW           1033
#define IDC_EFFECT_FRAME            1035
#define IDC_EFFECT_ANGLE            1053
#define IDC_EFFECT_RANDOM_MASK      1065
#define IDC_EFFECT_ROTATE           1072
#define IDC_EFFECT_MASK_NAME        1080
#define IDC_EFFECT_FRAMESIZE_SPIN   1081
#define IDC_EFFECT_CHOOSE_MASK      1084
#define IDC_EFFECT_FRAMECOLOR       1093
#define IDC_MASK_LIST               1005
#define IDC_MASK_CANCEL             1082
#define IDC_MASK_SELECT             1083

// Calendar page (155)
#define IDC_CALEN_WEEKDAY_COLOR     1025
#define IDC_CALEN_SUNDAY_COLOR      1026
#define IDC_CALEN_SHOW              1034
#define IDC_CALEN_DAY_FONT          1053
#define IDC_CALEN_SATURDAY_COLOR    1054
#define IDC_CALEN_YM_FONT           1055
#define IDC_CALEN_YM_COLOR          1056
#define IDC_CALEN_DAY_PREVIEW       1060
#define IDC_CALEN_YM_PREVIEW        1061
#define IDC_CALEN_YM_BOLD           1062
#define IDC_CALEN_YM_ITALIC         1063
#define IDC_CALEN_DAY_BOLD          1064
#define IDC_CALEN_DAY_ITALIC        1065

// Image folders page (154)
#define IDC_PATH_RELOAD             1001
#define IDC_PATH_LIST               1005
#define IDC_PATH_TOTAL              1006
#define IDC_PATH_PROGRESS           1073
#define IDC_PATH_ADD                1104
#define IDC_PATH_DELETE             1105
#define IDC_PATH_CANCEL             1106  // shown while a scan runs
#define IDC_PATH_CLOUD              1121  // cloud-only photos are downloaded to be shown

// Miscellaneous page (156), program list (151)
#define IDC_ETC_AUTOSTART           1013
#define IDC_ETC_SHOWPATH            1028
#define IDC_ETC_MAXWINSTOP          1030
#define IDC_ETC_IPTOOLTIP           1052
#define IDC_ETC_WEEKDAY             1057
#define IDC_ETC_MEMORY              1095
#define IDC_ETC_CHOOSE_PROGRAMS     1101
#define IDC_ETC_PROGRAMS            1102
#define IDC_ETC_CLEAR_PROGRAMS      1103
#define IDC_ETC_MULTIMONITOR        1120
#define IDC_ETC_FAVORITESONLY       1121
// The verbs' hotkey controls in HotkeyVerb order, then their "taken" notes in the same order.
#define IDC_ETC_HOTKEY_NEXT         1122
#define IDC_ETC_HOTKEY_BACK         1123
#define IDC_ETC_HOTKEY_PAUSE        1124
#define IDC_ETC_HOTKEY_BAN          1125
#define IDC_ETC_HOTKEY_KEEP         1126
#define IDC_ETC_HOTKEY_NEXT_TAKEN   1127
#define IDC_ETC_HOTKEY_BACK_TAKEN   1128
#define IDC_ETC_HOTKEY_PAUSE_TAKEN  1129
#define IDC_ETC_HOTKEY_BAN_TAKEN    1130
#define IDC_ETC_HOTKEY_KEEP_TAKEN   1131
#define IDC_PROGLIST_CANCEL         1002
#define IDC_PROGLIST_LIST           1098
#define IDC_PROGLIST_SELECT         1100
#define IDC_PROGLIST_SEARCH         1101

// Current images (157)
#define IDC_IMAGES_LIST             1005
#define ID_IMAGES_DELETE            32807
#define ID_IMAGES_OPEN              32809
#define ID_IMAGES_BAN               32810
#define ID_IMAGES_KEEP              32811
