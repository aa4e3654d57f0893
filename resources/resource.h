// Every numeric id of the program's resources, named once.
// Included by C++ code and by the resource compiler.
#pragma once

// Dialog templates
#define IDD_ADVANCED_SETTINGS   101
#define IDD_MESSAGE_BOX         102

// Controls shared by both dialogs
#define IDC_HEADER              1011
#define IDC_LEFT_EDGE           1001
#define IDC_BOTTOM_EDGE         1003
#define IDC_RIGHT_EDGE          1005

// Advanced settings dialog
#define IDC_MANUAL_KMR          1051
#define IDC_RETAIL_MODE         1052
#define IDC_MANUAL_KMR_HELP     1053
#define IDC_RETAIL_HIDE_SYSTEM  1054
#define IDC_RETAIL_FORBID_QUEUE 1055
#define IDC_RETAIL_NO_FIXTURE   1056
#define IDC_RETAIL_HIDE_SETTINGS 1057
#define IDC_MANUAL_OTHER        1058
#define IDC_MANUAL_OTHER_HELP   1059
#define IDC_USER_SWITCHING      1060
#define IDC_USER_SWITCHING_HELP 1061
#define IDC_JOB_LOGGING         1062
#define IDC_LOG_START           1063
#define IDC_LOG_COMPLETE        1064
#define IDC_LOG_PAUSE           1065
#define IDC_LOG_RESUME          1066
#define IDC_LOG_ERROR           1067
#define IDC_LOG_DATE            1068
#define IDC_LOG_TIME            1069
#define IDC_LOG_JOB_NAME        1070
#define IDC_LOG_USER            1071
#define IDC_LOG_SERIAL          1072
#define IDC_HOME_Z              1073
#define IDC_LOG_DURATION        1074
#define IDC_HOME_Z_HELP         1075
#define IDC_DELETE_AFTER_RUN    1076
#define IDC_POLL_FOR_FILES      1077
#define IDC_POLL_FOR_FILES_HELP 1078
// The line saying that the machine's policy holds some settings
#define IDC_MANAGED             1079

// Skinned message box
#define IDC_MESSAGE_TEXT        1017
#define IDC_MESSAGE_PANEL       1018
#define IDC_MESSAGE_ICON        1019
#define IDI_MESSAGE_ICON        900

// The program's icon: the lowest icon id, so that the shell shows it for the
// executable.
#define IDI_APP                 1

// Bitmaps
#define IDB_HEADER_LEFT         1020
#define IDB_HEADER_RIGHT        1021
#define IDB_HEADER_TILE         1022
#define IDB_FACE_DISABLED       1023
#define IDB_FACE_HOVER          1024
#define IDB_FACE_NORMAL         1025
#define IDB_FACE_PRESSED        1026
#define IDB_FACE_RINGED         1027

// Strings. The English texts sit at their plain ids: 20001-20999 and
// 22001-22999. Each language with a base owns the 2000 ids from base + 20000
// for its translations:
//   an id N below 22000 is translated at base + N
//     (Espanol's "Ok", 20001, at 22000 + 20001 = 42001);
//   an id N from IDS_UPPER_FIRST up is translated at base + N - IDS_UPPER_SHIFT,
//     in the upper half of the block, because base + N is the next
//     language's block (Espanol's title, 22001, at 43001).
// The translations are in lang/<language>.rc, one UTF-8 file per language.
// A text a language lacks falls back to English, and so do Japanese and
// Portugues, which have no base. The row of asterisks at each plain base id
// is never looked up.
#define IDS_UPPER_FIRST         22001
#define IDS_UPPER_SHIFT         1000

#define IDS_BASE_ENGLISH        20000
#define IDS_BASE_ESPANOL        22000
#define IDS_BASE_FRANCAIS       24000
#define IDS_BASE_DEUTSCH        26000
#define IDS_BASE_NEDERLAND      28000
#define IDS_BASE_ITALIANO       30000
#define IDS_BASE_POLSKI         32000

#define IDS_OK                  20001
#define IDS_CANCEL              20002
#define IDS_YES                 20003
#define IDS_NO                  20004
#define IDS_MANUAL_KMR_HELP     20005
#define IDS_RETAIL_MODE         20006
#define IDS_RETAIL_MODE_HELP    20007
#define IDS_RETAIL_HIDE_SYSTEM  20008
#define IDS_RETAIL_FORBID_QUEUE 20009
#define IDS_RETAIL_NO_FIXTURE   20010
#define IDS_MANUAL_OTHER_HELP   20011
#define IDS_USER_SWITCHING      20012
#define IDS_USER_SWITCHING_HELP 20013
#define IDS_JOB_LOGGING         20014
#define IDS_LOG_START           20015
#define IDS_LOG_COMPLETE        20016
#define IDS_LOG_PAUSE           20017
#define IDS_LOG_RESUME          20018
#define IDS_LOG_ERROR           20019
#define IDS_LOG_DATE            20020
#define IDS_LOG_TIME            20021
#define IDS_LOG_JOB_NAME        20022
#define IDS_LOG_DURATION        20023
#define IDS_LOG_USER            20024
#define IDS_LOG_SERIAL          20025
#define IDS_HOME_Z              20026
#define IDS_HOME_Z_HELP         20027
#define IDS_RETAIL_HIDE_SETTINGS 20028
#define IDS_DELETE_AFTER_RUN    20029
#define IDS_POLL_FOR_FILES      20030
#define IDS_POLL_FOR_FILES_HELP 20031
#define IDS_TITLE               22001
#define IDS_MANUAL_KMR          22002
#define IDS_MANUAL_OTHER        22003

// Save-failure report (texts added by this program beyond the original table)
#define IDS_SAVE_FAILED         20032
#define IDS_SAVE_FAILED_HINT    20033
// Notice of settings files that could not be read at start-up
#define IDS_READ_FAILED         20035
#define IDS_READ_FAILED_HINT    20036
// Refusal of a Windows older than XP
#define IDS_CANNOT_INSTALL      20037
#define IDS_NEEDS_XP            20038
// Another instance runs in another user's session
#define IDS_RUNNING_ELSEWHERE   20040
// Why a settings file was not saved, one line under its path
#define IDS_REASON_HELD         20041
#define IDS_REASON_READ_ONLY    20042
#define IDS_REASON_DENIED       20043
#define IDS_REASON_WRITE_FAILED 20044
#define IDS_REASON_NOT_VERIFIED 20045
#define IDS_REASON_NO_FOLDER    20046
// Notice of settings files in UTF-16 without a byte-order mark
#define IDS_READ_UNMARKED       20047
#define IDS_READ_UNMARKED_HINT  20048
// Notice of a data folder whose path leaves no room for the files
#define IDS_FOLDER_TOO_LONG     20049
#define IDS_FOLDER_TOO_LONG_HINT 20050
// Why a settings file was not saved (continued)
#define IDS_REASON_NOT_RESTORED 20051
#define IDS_REASON_FOLDER_REFUSES 20052
// Some settings are held by the machine's policy
#define IDS_MANAGED             20053
