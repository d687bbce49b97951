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
