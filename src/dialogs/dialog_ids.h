// Resource ids of the dialog templates and their controls, shared by the
// resource scripts and the dialogs' code. Each dialog has its own range.
#pragma once

// Dialog templates.
#define IDD_LIST_EDITOR 2001
#define IDD_ITEM_DIALOG 2002
#define IDD_CLIP_DIALOG 2003
#define IDD_RUN_DIALOG 2005
#define IDD_OPTIONS_DIALOG 2004

// The list editor: 2100..2199 (list_editor.rc).
// The item dialog: 2200..2299 (item_dialog.rc).
// The clipboard item dialog: 2300..2399 (clip_dialog.rc).
// The run dialog: 2500..2599 (run_dialog.rc).
// The options dialog: 2400..2499 (options_dialog.rc).
#define IDC_DLG_HOTKEY_USED_FIRST 2000
