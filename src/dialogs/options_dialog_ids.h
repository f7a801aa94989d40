// Control ids of the options dialog (options_dialog.rc), 2400..2499.
// Plain defines: the resource script reads them too.
#pragma once

// Frames.
#define IDC_OPT_FRA_GENERAL 2401
#define IDC_OPT_FRA_BAR 2402
#define IDC_OPT_FRA_MISC 2403
#define IDC_OPT_FRA_COLORS 2404
#define IDC_OPT_FRA_MENU 2405
#define IDC_OPT_FRA_AUTOSTART 2406
#define IDC_OPT_FRA_BAR_RIGHT 2407
#define IDC_OPT_FRA_CLEAN_ICONS 2408
#define IDC_OPT_FRA_FONT 2409

// The bar.
#define IDC_OPT_AUTO_REDUCE 2410
#define IDC_OPT_AUTO_FADE 2411
#define IDC_OPT_ALPHA 2412
#define IDC_OPT_SOFT 2413
#define IDC_OPT_RESTORE_DELAY_LABEL 2414
#define IDC_OPT_RESTORE_DELAY 2415
#define IDC_OPT_SEND_WM_PAINTS 2416
#define IDC_OPT_BUT_FLAT 2417
#define IDC_OPT_TOOLTIPS 2418
#define IDC_OPT_HOLE 2419
#define IDC_OPT_NO_DRAG_SOURCE 2420
#define IDC_OPT_BUT_SIZE_LABEL 2421
#define IDC_OPT_BUT_SIZE_0 2422  // three options in a row, 0..2
#define IDC_OPT_BUT_SIZE_1 2423
#define IDC_OPT_BUT_SIZE_2 2424

// General.
#define IDC_OPT_WAIT4IDLE 2430
#define IDC_OPT_TASKBAR_TOP 2431
#define IDC_OPT_REFRESH_ON_CDS 2432
#define IDC_OPT_START_WITH_WINDOWS 2433
#define IDC_OPT_PRIO_LABEL 2434
#define IDC_OPT_PRIO 2435
#define IDC_OPT_MAXIMIZER 2436

// The main menu.
#define IDC_OPT_FIX_MNU 2440
#define IDC_OPT_MNU_NOT_FLAT 2441
#define IDC_OPT_HOTKEY_LABEL 2442
#define IDC_OPT_HOTKEY 2443  // placeholder; the hotkey control is made inside it
#define IDC_OPT_HOTKEY_USED 2444

// Autostart and autoclose.
#define IDC_OPT_AST_DELAY_LABEL 2450
#define IDC_OPT_AST_DELAY 2451
#define IDC_OPT_AST_PAUSE_LABEL 2452
#define IDC_OPT_AST_PAUSE 2453
#define IDC_OPT_AST_LIMIT_LABEL 2454
#define IDC_OPT_AST_LIMIT 2455
#define IDC_OPT_AC_SKIP 2456
#define IDC_OPT_SHOW_AITEMS 2457

// Colours.
#define IDC_OPT_SEP_COLOR_LABEL 2460
#define IDC_OPT_SEP_COLOR 2461
#define IDC_OPT_LINE_COLOR_LABEL 2462
#define IDC_OPT_LINE_COLOR 2463

// The bar's distance from the right edge.
#define IDC_OPT_AUTO_BAR_RIGHT 2470
#define IDC_OPT_BAR_RIGHT_MORE 2471  // adds 1
#define IDC_OPT_BAR_RIGHT 2472
#define IDC_OPT_BAR_RIGHT_LESS 2473  // subtracts 1

// Miscellaneous.
#define IDC_OPT_HK_CLIP_LABEL 2480
#define IDC_OPT_HK_BY_TYPE 2481
#define IDC_OPT_HK_BY_HOTKEY 2482
#define IDC_OPT_CLEAN_ICONS 2483
#define IDC_OPT_TRUETYPE_FONTS 2484
#define IDC_OPT_HELP 2485
