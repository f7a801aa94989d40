// Control ids of the run dialog (IDD_RUN_DIALOG), its range 2500..2599.
// The order is the tab order of the template.
#pragma once

#define IDC_RUN_PATH 2501
#define IDC_RUN_USERTYPE0 2502
#define IDC_RUN_USERTYPE1 2503
#define IDC_RUN_BROWSE 2504
