/* Resource ids of OSTREL.EXE: icon, dialog templates and their controls. */
#pragma once

#define IDI_OSTREL 128

#define IDD_LAUNCHER 130
#define IDD_INSTALL 131
#define IDD_UNINSTALL 132
#define IDD_MENU 133
#define IDD_FOLDER_BROWSE 138
#define IDD_NOTICE 139

/* Launcher (130) */
#define IDC_SETUP 1000
#define IDC_EXIT 1001
#define IDC_PLAY 1002
#define IDC_UNINSTALL 1009
#define IDC_SUB1 1024
#define IDC_SUB2 1025

/* Install dialog (131); OK is IDOK, Stop is IDCANCEL */
#define IDC_INST_TITLE 1003
#define IDC_INST_RIGHTS 1004
#define IDC_INST_LINE1 1005
#define IDC_INST_LINE2 1006
#define IDC_INST_LINE3 1007
#define IDC_INST_LINE4 1008
#define IDC_INST_BROWSE 1010
#define IDC_INST_PATH 1011
#define IDC_INST_PERCENT 1012

/* Uninstall dialog (132) */
#define IDC_UNINST_MESSAGE 1013
#define IDC_UNINST_FOLDER 1014

/* Menu dialog (133) */
#define IDC_MENU_ITEM1 1015
#define IDC_MENU_ITEM2 1016
#define IDC_MENU_ITEM3 1017
#define IDC_MENU_ITEM4 1018
#define IDC_MENU_ITEM5 1019
#define IDC_MENU_GROUP 1022

/* Notice dialog (139) */
#define IDC_NOTICE_LINE1 1027
#define IDC_NOTICE_LINE2 1028
#define IDC_NOTICE_LINE3 1029
#define IDC_NOTICE_LINE4 1030
#define IDC_NOTICE_STOP 1031
#define IDC_NOTICE_SETUP 1034

/* Folder browse (138): the open-file dialog's own control ids */
#define IDC_BROWSE_PATH 1088
#define IDC_BROWSE_FILE_LABEL 1090
#define IDC_BROWSE_DRIVE_LABEL 1091
#define IDC_BROWSE_TYPE_LABEL 1089
#define IDC_BROWSE_FILES 1120
#define IDC_BROWSE_FOLDERS 1121
#define IDC_BROWSE_TYPES 1136
#define IDC_BROWSE_DRIVES 1137
#define IDC_BROWSE_FILE_NAME 1152
#define IDC_BROWSE_HELP 1038
#define IDC_BROWSE_READ_ONLY 1040
