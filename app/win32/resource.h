// Control and template ids of the main window's seven tab pages.
#pragma once

#define IDD_KEYBOARD 101
#define IDD_MOUSE 102
#define IDD_DEFINITIONS 103
#define IDD_FIXED 104
#define IDD_OPTIONS 105
#define IDD_LOG 106
#define IDD_HELP 107
#define IDD_EXPLAIN 108
#define IDC_EXPLAINBTN 1214
#define IDC_EXPLAINTEXT 1701
#define IDI_PAGINOR 110  // the icon of every executable (cmake/PaginorResources.cmake)

// "键盘动作"
#define IDC_EDIT1 1001
#define IDC_EDIT2 1002
#define IDC_EDIT3 1003
#define IDC_EDIT4 1004
#define IDC_EDIT5 1005
#define IDC_EDIT6 1006
#define IDC_CHECKBOXKEY 1010
#define IDC_KEYBTN1 1011
#define IDC_KEYBTN2 1012
#define IDC_FLOATLINK1 1013
#define IDC_DMEMO1 1014

// "鼠标动作"
#define IDC_CB11 1101
#define IDC_CB12 1102
#define IDC_CB13 1103
#define IDC_CB14 1104
#define IDC_CB15 1105
#define IDC_CB16 1106
#define IDC_CB21 1111
#define IDC_CB22 1112
#define IDC_CB23 1113
#define IDC_CB24 1114
#define IDC_CB25 1115
#define IDC_CB26 1116
#define IDC_CHECKBOXMOUSE1 1120
#define IDC_CHECKBOXMOUSE2 1121
#define IDC_MOUSEBTN1 1122
#define IDC_MOUSEBTN2 1123
#define IDC_FLOATLINK2 1124
#define IDC_DMEMO2 1125

// "翻页定义"
#define IDC_RADIOGROUP1_0 1201
#define IDC_RADIOGROUP1_4 1205
#define IDC_BUTTON41 1210
#define IDC_BUTTON42 1211
#define IDC_BUTTON43 1212
#define IDC_BUTTON44 1213
#define IDC_CFGMEMO1 1221
#define IDC_CFGMEMO5 1225

// "其它方式"
#define IDC_XYEDIT 1301
#define IDC_XEDIT 1302
#define IDC_YEDIT 1303
#define IDC_RADIOBUTTON1 1304
#define IDC_RADIOBUTTON2 1305
#define IDC_XYEDIT3 1306
#define IDC_BUTTON3 1307
#define IDC_XYMEMO 1308

// "一般选项"
#define IDC_RGPIE_0 1401
#define IDC_RGPIE_5 1406
#define IDC_RGPIE_6 1407
#define IDC_SMARTCHK 1410
#define IDC_CHKFRAME 1411
#define IDC_CBFRAME 1412
#define IDC_CHKAUTO 1413
#define IDC_AUTOUPGRADE 1414
#define IDC_UPDATEBTN 1415
#define IDC_LEFTCHK 1416
#define IDC_REPORTBTN 1417

// "操作记录"
#define IDC_BUTTON1 1501
#define IDC_BUTTON2 1502
#define IDC_HISTORYMEMO 1503

// "使用帮助"
#define IDC_INTRO 1601
#define IDC_HELPLABEL 1602
#define IDC_TITLELABEL 1603
#define IDC_VERLABEL 1604

// The tray icon's menu, and the message its clicks arrive by.
#define IDM_N1 40001
#define IDM_N2 40002
#define IDM_N4 40004
#define WM_PAGINOR_TRAY (WM_APP + 10)
// The diagnostic report's worker has finished.
#define WM_PAGINOR_REPORT (WM_APP + 11)
