// Control ids of the clipboard item dialog (clip_dialog.rc), 2300..2399.
// Plain defines: the resource script reads them too.
#pragma once

#define IDC_CLIP_DESC_LABEL 2301
#define IDC_CLIP_DESC 2302
#define IDC_CLIP_TEXT_LABEL 2303
#define IDC_CLIP_TEXT 2304
#define IDC_CLIP_HOTKEY_LABEL 2305
#define IDC_CLIP_HOTKEY 2306  // placeholder; the hotkey control is made inside it
#define IDC_CLIP_HOTKEY_USED 2307
#define IDC_CLIP_AUTOPASTE 2308
#define IDC_CLIP_PASTE_CTRLV 2309
#define IDC_CLIP_PASTE_KEYS 2310
#define IDC_CLIP_KEYS_LABEL 2311
#define IDC_CLIP_KEYS 2312
#define IDC_CLIP_KEY_INSERT 2313
#define IDC_CLIP_HELP 2314
