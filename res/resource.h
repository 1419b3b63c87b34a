// Resource identifiers: named once here, numbered as the program's files and menus expect.
#pragma once

// Strings
#define IDS_ABOUTBOX                101
#define IDS_VERSION                 102

// Dialog templates
#define IDD_WALLPAPER_DIALOG        102

// Icons and menus
#define IDR_MAINFRAME               128
#define IDR_TRAYMENU                129
#define IDI_TRAY                    132
#define IDI_PAUSE_MARK              133
#define IDI_WEEKDAY_SUNDAY          135   // 135..141: Sunday..Saturday

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
