// Control ids of the list editor (2100..2199).
#pragma once

#define IDC_LE_LIST 2101
#define IDC_LE_ADD 2102
#define IDC_LE_EDIT 2103
#define IDC_LE_REMOVE 2104
#define IDC_LE_SEPARATOR 2105
#define IDC_LE_ARRANGE 2106
#define IDC_LE_UP 2110
#define IDC_LE_DOWN 2111
#define IDC_LE_LEFT 2112
#define IDC_LE_RIGHT 2113
#define IDC_LE_CUT 2120
#define IDC_LE_COPY 2121
#define IDC_LE_PASTE 2122
#define IDC_LE_READ 2130
#define IDC_LE_SAVE 2131
