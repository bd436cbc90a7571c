#pragma once
// Control ids of the configuration dialog, shared by its layout resource, its code and the GUI
// tests. Plain macros, because the resource compiler reads this file too. None is 1 or 2
// (IDOK, IDCANCEL): Enter and Esc must not look like a control.
#define IDD_TSETUPFORM_NAME "TSETUPFORM"

#define IDC_SETUPPAGES 1000
#define IDC_PAINTBOX 1900
#define IDC_STATBAR 1901

/* page "Настройка пульта" */
#define IDC_MANUALGROUP 1100
#define IDC_CODELABEL1 1101
#define IDC_CODEEDIT 1102
#define IDC_ADDBUTTON 1103
#define IDC_REPLACEBUTTON 1104
#define IDC_LABEL3 1105
#define IDC_REMOTEEDIT 1106
#define IDC_FILEGROUP 1110
#define IDC_IMPORTBTN 1111
#define IDC_EXPORTBTN 1112
#define IDC_LISTVIEW 1120

/* page "Настройка приёмника" */
#define IDC_MODEGROUP 2000
#define IDC_MODE_0 2001
#define IDC_MODE_1 2002
#define IDC_MODE_2 2003
#define IDC_TUNEGROUP 2010
#define IDC_LABEL7 2011
#define IDC_EDIT_BUFSIZE 2012
#define IDC_UPDOWN_BUFSIZE 2013
#define IDC_LABEL2 2014
#define IDC_LABEL9 2015
#define IDC_EDIT_POLLFREQ 2016
#define IDC_UPDOWN_POLLFREQ 2017
#define IDC_LABEL12 2018
#define IDC_LABEL1 2019
#define IDC_RADIO_SCALER_1 2020
#define IDC_RADIO_SCALER_2 2021
#define IDC_TIMEGROUP 2030
#define IDC_LABEL4 2031
#define IDC_EDIT2 2032
#define IDC_WAIT1UPDOWN 2033
#define IDC_LABEL5 2034
#define IDC_EDIT3 2035
#define IDC_WAITNUPDOWN 2036
#define IDC_LABEL6 2037
#define IDC_EDIT4 2038
#define IDC_WAITRUPDOWN 2039
#define IDC_DECODEGROUP 2040
#define IDC_RAWBOX 2041
#define IDC_CHB_COMPAT 2042
#define IDC_LEDGROUP 2050
#define IDC_LED_0 2051
#define IDC_LED_1 2052
#define IDC_LED_2 2053
#define IDC_LED_3 2054

/* pop-up menu of the list */
#define IDM_ADDCURRENTKEY 1201
#define IDM_REMOVEKEY 1202
#define IDM_RENAMEKEY 1203
#define IDM_EDIT5 1204
#define IDM_UNDO 1205

/* the import prompt: its text, then per remote of the file (line i) a label, a target box and a
   note, at these ids plus i */
#define IDC_PROMPT_INTRO 1300
#define IDC_PROMPT_LABEL 1400
#define IDC_PROMPT_TARGET 1500
#define IDC_PROMPT_NOTE 1600

/* the form's icon */
#define IDI_SETUPFORM 101
