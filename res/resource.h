// Every resource and control id of Tavik. Included by Tavik.rc and by the code, so each id is
// written here and nowhere else. Plain #defines only: the resource compiler reads this file too.
#pragma once

// Dialog templates
#define IDD_VERSIONINFO 100
#define IDD_TAVIK_DIALOG 102

// Strings
#define IDS_VERSIONINFO 101

// Icons
#define IDI_APP 128

// System-menu command that opens the version box
#define IDM_VERSIONINFO 0x0010

// Controls of the console; the exit button is IDOK.
#define IDC_OPEN_RUN 1000
#define IDC_SET_SHOW_RUN 1001
#define IDC_MOVE_SHOW_RUN 1002
#define IDC_CLEAR_RUN 1003
#define IDC_CLOSE_RUN 1004
#define IDC_OPEN_GROUP 1005
#define IDC_OPEN_RESULT 1008
#define IDC_CLOSE_RESULT 1011
#define IDC_SURFACE_WIDTH 1013
#define IDC_SURFACE_HEIGHT 1014
#define IDC_RED 1015
#define IDC_GREEN 1016
#define IDC_BLUE 1017
#define IDC_MOVE_RESULT 1019
#define IDC_BITMAP_FILE 1020
#define IDC_BROWSE_BITMAP 1021
#define IDC_SET_START_X 1022
#define IDC_SET_START_Y 1023
#define IDC_SET_END_X 1024
#define IDC_SET_END_Y 1025
#define IDC_SET_RESULT 1027
#define IDC_CLEAR_RESULT 1031
#define IDC_MOVE_START_X 1034
#define IDC_MOVE_START_Y 1035
#define IDC_MOVE_END_X 1036
#define IDC_MOVE_END_Y 1037
