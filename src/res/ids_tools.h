#pragma once
// Templates and control ids of the tools windows.
#define IDD_POWOFF 113
#define IDD_TAX 114
#define IDD_ALARM 116
#define IDD_DEFRAG 117

// Timed shutdown
#define IDC_POWOFF_START 1038
#define IDC_POWOFF_NOW_LABEL 1039
#define IDC_POWOFF_AT_LABEL 1040
#define IDC_POWOFF_NOW_HOUR 1041
#define IDC_POWOFF_NOW_MINUTE 1042
#define IDC_POWOFF_NOW_SECOND 1043
#define IDC_POWOFF_HOUR 1044
#define IDC_POWOFF_MINUTE 1047
#define IDC_POWOFF_SECOND 1049

// Income tax
#define IDC_TAX_TABLE 1052
#define IDC_TAX_GROSS 1053
#define IDC_TAX_NET 1054
#define IDC_TAX_AMOUNT 1055
#define IDC_TAX_COMPUTE 1056

// Alarm
#define IDC_ALARM_SET 1056
#define IDC_ALARM_HOUR 1058
#define IDC_ALARM_SECOND 1060
#define IDC_ALARM_MINUTE 1061
#define IDC_ALARM_STOP 1062

// Defragmenter
#define IDC_DEFRAG_START 1056
#define IDC_DEFRAG_DRIVES 1063

// The carried programs, resources of type "EXE".
#define IDR_CALCULATOR_EXE 344
#define IDR_CLOCK_EXE 345

// Labels, numbered so that the window's layout table can place them.
#define IDC_POWOFF_TEXT1 1900
#define IDC_POWOFF_TEXT2 1901
#define IDC_POWOFF_TEXT3 1902
#define IDC_POWOFF_TEXT4 1903

// Labels, numbered so that the window's layout table can place them.
#define IDC_TAX_TEXT1 1910
#define IDC_TAX_TEXT2 1911
#define IDC_TAX_TEXT3 1912
#define IDC_TAX_TEXT4 1913
#define IDC_TAX_TEXT5 1914
#define IDC_TAX_TEXT6 1915
#define IDC_TAX_TEXT7 1916
#define IDC_TAX_TEXT8 1917
#define IDC_TAX_TEXT9 1918
#define IDC_TAX_TEXT10 1919

// Labels, numbered so that the window's layout table can place them.
#define IDC_ALARM_TEXT1 1925
#define IDC_ALARM_TEXT2 1926
#define IDC_ALARM_TEXT3 1927
#define IDC_ALARM_TEXT4 1928

// Labels, numbered so that the window's layout table can place them.
#define IDC_DEFRAG_TEXT1 1930
