// Both windows' control and command ids; 1 and 2 are the dialog keys' IDOK (Enter), IDCANCEL (Esc).
#pragma once

// Main window, in tab order.
#define IDC_EXECUTE 101
#define IDC_SAVE 102
#define IDC_DRIVE 103
#define IDC_DIR 104
#define IDC_SKIP 105
#define IDC_NOSOUND 106
#define IDC_FRAME 107
#define IDC_ENABLEV 108
#define IDC_SCAN 109
#define IDC_JOYSTICK 110
#define IDC_FM 111
#define IDC_ROTATE 112
#define IDC_RES 113
#define IDC_GAMEDIR 114
#define IDC_TINDRELDIR 115

#define IDM_END 201
#define IDM_ABOUT 202

// About window. "OK" is IDOK, so that Enter and Esc both reach it.
#define IDC_SYSINFO 301
#define IDC_PICICON 302
#define IDC_TITLE 303
#define IDC_VERSION 304
#define IDC_DESCRIPTION 305
#define IDC_DISCLAIMER 306
