// Ids of menus, dialogs and controls shared by the resource scripts and the code.
// Only #define lines: the resource compiler reads this file too.
#pragma once

#define IDI_KESTRO 1

// The vendor's web site: the Help menu, the About box and every web address are built on it.
#define KESTRO_WEB_HOST "www.kestro.example"

// Main menu (menu resource "KESTRO")
#define IDM_SEND 10004
#define IDM_ADDRESS_BOOK 1011
#define IDM_NEW_MESSAGE 10003
#define IDM_SAVE_MESSAGE 10001
#define IDM_LOAD_MESSAGE 10002
#define IDM_PRINT 10005
#define IDM_ATTACH_FILE 1001
#define IDM_VOICE_MESSAGE 1002
#define IDM_VIDEO_MESSAGE 1003
#define IDM_EXIT 10000
#define IDM_UNDO 10040
#define IDM_CUT 10041
#define IDM_COPY 10042
#define IDM_PASTE 10043
#define IDM_SELECT_ALL 10044
#define IDM_PROGRAM_SETTINGS 10010
#define IDM_NO_VIDEO_DRIVERS 10011
#define IDM_DOCUMENTATION 10022
#define IDM_ENCODERS_DOC 10023
#define IDM_FAQ_DOC 10024
#define IDM_ONLINE_HELP 10025
#define IDM_CHECK_UPDATES 10026
#define IDM_WEBSITE 10027
#define IDM_ABOUT 10020
#define IDM_RELAYOUT 10045
#define IDM_PLUGIN_DOWNLOAD 10046
#define IDM_REALVIDEO_ENCODE 10053
// Auto configuration: detect the mail program, then one importer per program
#define IDM_AUTOCONFIG 10060
#define IDM_AUTOCONFIG_OUTLOOK 10061
#define IDM_AUTOCONFIG_NAVIGATOR 10062
#define IDM_AUTOCONFIG_COMMUNICATOR 10063
#define IDM_AUTOCONFIG_EUDORA 10064
#define IDM_AUTOCONFIG_THUNDERBIRD 10065
#define IDM_AUTOCONFIG_LAST 10065
#define IDM_MAPI_SEND 25000
#define IDM_MAPI_ADDRESS 25001
#define IDM_VIDEO_DRIVER_FIRST 49070

// Main window children
#define IDC_TOOLBAR 1
#define IDC_SEND_BUTTON 1000
#define IDC_ATTACH_BUTTON 1001
#define IDC_VOICE_BUTTON 1002
#define IDC_VIDEO_BUTTON 1003
#define IDC_CANCEL_BUTTON 1004
#define IDC_LOGO_BUTTON 1005
#define IDC_FONT_NAME_BOX 1021
#define IDC_FONT_SIZE_BOX 1022
#define IDC_COLOUR_BOX 1023
#define IDC_BOLD_BUTTON 1024
#define IDC_ITALIC_BUTTON 1025
#define IDC_UNDERLINE_BUTTON 1026
#define IDC_BODY_EDITOR 1075
#define IDC_ATTACH_STRIP 1076
#define IDC_AD_BANNER 1077

// Attachment strip: its pop-up menu "ATTACHPOPUPMENU" and the scroll-to-end command
#define IDM_ATTACH_OPEN 10030
#define IDM_ATTACH_SAVE_COPY 10031
#define IDM_ATTACH_ADD 10032
#define IDM_ATTACH_REMOVE 10033
#define IDM_ATTACH_SCROLL_TO_END 10034

// Address panel children
#define IDC_FROM_LABEL 1006
#define IDC_TO_LABEL 1007
#define IDC_CC_LABEL 1008
#define IDC_BCC_LABEL 1009
#define IDC_SUBJECT_LABEL 1010
#define IDC_FROM_EDIT 1070
#define IDC_TO_EDIT 1071
#define IDC_CC_EDIT 1072
#define IDC_BCC_EDIT 1073
#define IDC_SUBJECT_EDIT 1074
#define IDC_REFRESH_SENDER 1140

// Internal commands
#define IDM_UPDATE_FORMAT_BAR 2000
#define IDM_START_SEND_ANIMATION 2001

// Program Settings dialog (PROGRAM_SETTINGS)
#define IDC_PS_HELP 1000
#define IDC_PS_AUDIO_GSM 1001
#define IDC_PS_AUDIO_MP3 1002
#define IDC_PS_AUDIO_NONE 1003
#define IDC_PS_AUDIO_CUSTOM 1004
#define IDC_PS_VIDEO_WINDOWS 1005
#define IDC_PS_VIDEO_REAL 1006
#define IDC_PS_CONFIGURE 1116
#define IDC_PS_MP3_QUALITY 1118
#define IDC_PS_REAL_QUALITY 1119
#define IDC_PS_ADVANCED 1030
#define IDC_PS_ADDRESS_MAPI 1031
#define IDC_PS_ALWAYS_SAVE 1032
#define IDC_PS_ALWAYS_CLOSE 1033
#define IDC_PS_ALWAYS_CLEAR 1034
#define IDC_PS_AUTO 1060
#define IDC_USE_MAPI 1062
#define IDC_USE_SMTP 1063

// E-mail Settings dialog (EMAILSET)
#define IDC_ES_USERNAME 1050
#define IDC_ES_MAILFROM 1051
#define IDC_ES_REPLYTO 1052
#define IDC_ES_SERVER 1053
#define IDC_ES_PORT 1054
#define IDC_ES_AUTO 1060
#define IDC_ES_DEFAULT_PORT 1061
#define IDT_ES_FOLLOW_RADIOS 1065
#define IDC_ES_SECURITY 1055
#define IDC_ES_LOGIN_USER 1056
#define IDC_ES_LOGIN_PASSWORD 1057

// About box (ABOUTBOX) and the Video Driver notice (VIDEO_SELECT)
#define IDC_ABOUT_WEBSITE 1092
#define IDC_ABOUT_PICTURE 1093
#define IDC_DRIVER_NAME 1150
#define IDC_DRIVER_SELECTED 1151
#define IDT_DRIVER_NOTICE 1

// Voice and video encoders: the custom encoder configuration (CUSTOM_CONFIG_BOX) and the
// conversion progress dialog (DLG_AACONVERT, in both programs)
#define IDC_CC_HELP 1000
#define IDC_CC_SLOT1 1112
#define IDC_CC_SLOT2 1113
#define IDC_CC_LINE1 1114
#define IDC_CC_LINE2 1115
#define IDC_CONVERT_INPUT 100
#define IDC_CONVERT_OUTPUT 101

// Voice recorder (SOUNDBOX): Attach is IDOK, Cancel IDCANCEL; the keys, the file name and its
// label are created at run time
#define IDC_RECORD_KEY 107
#define IDC_STOP_KEY 108
#define IDC_PLAY_KEY 109
#define IDC_VOICE_FILE_NAME 115
#define IDT_RECORDER_ANIMATION 1000
#define IDT_LEVEL_METER 1001

// Message Sent dialog (MESSAGE_SENT)
#define IDC_MS_AUTO_CLOSE 1130
#define IDC_MS_SAVE 1131
#define IDC_MS_CLEAR 1132
#define IDC_MS_TEXT 1133

// Auto Configuration account list (AUTOCONFIG_BOX): OK is IDOK, Cancel IDCANCEL; the list is
// created at run time
#define IDC_AC_LIST 1110
#define IDC_AC_PROMPT 1111

// Load Message dialog (LOADBOOKBOX): Load is IDOK, Cancel IDCANCEL; the list is created at run
// time, its column titles come from the string table
#define IDC_LOAD_DELETE 1000
#define IDC_LOAD_LIST 3000
#define IDS_LOAD_COLUMN_TO 2000
#define IDS_LOAD_COLUMN_SUBJECT 2001
#define IDS_LOAD_COLUMN_DATE 2002
#define IDS_LOAD_COLUMN_ATTACHMENT 2003

// Video window (VIDEOBOX): every control is created at run time; the capture source's window
// has id 0. Timer 2 follows the pointer over Format, Source and Codec; a button posts itself
// command 2500 when the pointer has left it.
#define IDC_VIDEO_RECORD 2501
#define IDC_VIDEO_STOP 2503
#define IDC_VIDEO_PICTURE 2504
#define IDC_VIDEO_ATTACH 2505
#define IDC_VIDEO_CANCEL 2506
#define IDC_VIDEO_FILE_NAME 2507
#define IDC_VIDEO_FORMAT 2520
#define IDC_VIDEO_SOURCE 2521
#define IDC_VIDEO_CODEC 2522
#define IDM_VIDEO_HOVER_END 2500
#define IDT_VIDEO_HOVER 2

// Address book (ADDRESSBOOKBOX): the drop-down and the list are created at run time, the list's
// column titles come from the string table. Its entry dialogs ADDRESSBOX and EDITADDRESSBOX.
#define IDC_AB_SOURCE 3000
#define IDC_AB_TO_EDIT 3001
#define IDC_AB_CC_EDIT 3002
#define IDC_AB_BCC_EDIT 3003
#define IDC_AB_TO 3004
#define IDC_AB_CC 3005
#define IDC_AB_BCC 3006
#define IDC_AB_NEW 3007
#define IDC_AB_EDIT 3008
#define IDC_AB_DELETE 3009
#define IDC_AB_LIST 3012
#define IDC_AB_ALWAYS_MAPI 3013
#define IDC_AE_NAME 250
#define IDC_AE_ADDRESS 251

// Account book (ACCOUNTBOOKBOX), its list created at run time, and its entry dialogs
// ACCOUNTADDBOX and ACCOUNTEDITBOX
#define IDC_ACB_NEW 1000
#define IDC_ACB_EDIT 1001
#define IDC_ACB_DELETE 1002
#define IDC_ACB_CURRENT 1003
#define IDC_ACB_LIST 3000
#define IDC_ACE_NAME 1100
#define IDC_ACE_ADDRESS 1101
#define IDC_ACE_SERVER 1102
#define IDC_ACE_REPLY 1103

// Column titles of both books
#define IDS_BOOK_COLUMN_NAME 1
#define IDS_BOOK_COLUMN_ADDRESS 2
#define IDS_BOOK_COLUMN_SERVER 3
#define IDS_BOOK_COLUMN_REPLY 4
