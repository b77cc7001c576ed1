// The player program's resource ids: dialogs (IDD_), their controls and
// commands (IDC_, ID_), bitmaps and images (IDB_) and icons (IDI_). The
// string ids (IDS_) are generated from strings.txt into StringIds.h.
// Included by Player.rc and by the code.
#pragma once

// Dialogs.
#define IDD_ABOUTBOX            100
#define IDD_PROGRESS            749
#define IDD_MAIN                102
#define IDD_PLAYBACK            232
#define IDD_PLAYBACK_CONTROL    235
#define IDD_VIDEO               207
#define IDD_VIDEO_FLAG          357
#define IDD_GPS_PANEL           618
#define IDD_SCOPE               647
#define IDD_SCOPE_LEGEND        706
#define IDD_MAP                 781
#define IDD_FILE_LIST           782
#define IDD_SEARCH              783
#define IDD_AVI_CONVERT         336

// Icons.
#define IDI_APP                 128
#define IDI_HOVER               377

// Bitmaps of the main window's caption.
#define IDB_LOGO                743
#define IDB_CLOSE               636
#define IDB_CLOSE_LIT           635
#define IDB_MINIMISE            332
#define IDB_MINIMISE_LIT        639

// Images of resource type "JPG" (drawn through GDI+).
#define IDB_SPLIT1              226
#define IDB_SPLIT4              229
#define IDB_SPLIT9              227
#define IDB_SPLIT16             228
#define IDB_SNAPSHOT            232
#define IDB_CUT_AVI             617
#define IDB_PANEL_PLAY          243
#define IDB_PANEL_BACKGROUND    740

// The GPS panel: the speed gauge by bands of 20 (and its start-up look),
// the separator, the map and About buttons of each language.
#define IDB_GAUGE_140           657
#define IDB_GAUGE_0             658
#define IDB_GAUGE_20            659
#define IDB_GAUGE_40            660
#define IDB_GAUGE_60            661
#define IDB_GAUGE_80            662
#define IDB_GAUGE_100           663
#define IDB_GAUGE_120           664
#define IDB_GAUGE_START         665
#define IDB_GPS_SEPARATOR       688
#define IDB_MAP_HIDE_SC         759
#define IDB_MAP_SHOW_SC         760
#define IDB_MAP_HIDE_EN         761
#define IDB_MAP_SHOW_EN         762
#define IDB_MAP_HIDE_TC         767
#define IDB_MAP_SHOW_TC         768
#define IDB_ABOUT_SC            778
#define IDB_ABOUT_TC            779
#define IDB_ABOUT_EN            780

// The scope legend bar's buttons, lit (their chart shown) and dim, in
// Chinese and English; and the three spare buttons'.
#define IDB_SPEED_DIM_CN        696
#define IDB_ACCEL_DIM_CN        697
#define IDB_LEGEND_SPARE1       698
#define IDB_LEGEND_SPARE2       699
#define IDB_LEGEND_SPARE3       700
#define IDB_SPEED_LIT_CN        701
#define IDB_ACCEL_LIT_CN        702
#define IDB_SPEED_DIM_EN        751
#define IDB_SPEED_LIT_EN        752
#define IDB_ACCEL_DIM_EN        753
#define IDB_ACCEL_LIT_EN        754

// Controls of the main dialog.
#define IDC_SPLIT1              210
#define IDC_SPLIT4              234
#define IDC_SPLIT9              235
#define IDC_SPLIT16             236
#define IDC_SNAPSHOT            230
#define IDC_CUT_AVI             231
#define IDC_STREAM_INFO         464

// Controls of the map pane.
#define IDC_MAP_CANVAS          555

// Controls of the recording list.
#define IDC_RECORD_LIST         227
#define IDC_FIRST_PAGE          226
#define IDC_PREV_PAGE           225
#define IDC_NEXT_PAGE           231
#define IDC_LAST_PAGE           230
#define IDC_PAGE_BEFORE         484
#define IDC_PAGE_NUMBER         336
#define IDC_PAGE_BETWEEN        486
#define IDC_PAGE_COUNT          337
#define IDC_PAGE_AFTER          487
#define IDC_PAGE_BAND_LEFT      466
#define IDC_PAGE_BAND_RIGHT     386
// Created hidden: nothing shows them.
#define IDC_SD_SEARCH           228
#define IDC_LOCAL_DIR           232
#define IDC_LOCAL_SEARCH        233
#define IDC_BEGIN_TIME_LABEL    549
#define IDC_END_TIME_LABEL      550

// Controls of the progress box.
#define IDC_PROGRESS_BAR        387
#define IDC_PROGRESS_TEXT       388

// Controls of the search panel.
#define IDC_PATH_LABEL          487
#define IDC_PATH_EDIT           305
#define IDC_BROWSE              226
#define IDC_TYPE_LABEL          478
#define IDC_TYPE_LIST           312
#define IDC_SEARCH_DATE         525
#define IDC_LANGUAGE_LABEL      545
#define IDC_LANGUAGE_LIST       547
// The month buttons, made hidden at start-up; and the 10-second guarded
// search command, which no control sends.
#define IDC_PREV_MONTH          454
#define IDC_NEXT_MONTH          455
#define IDC_GUARDED_SEARCH      225

// Controls of the AVI export dialog.
#define IDC_AVI_SOURCE_LABEL    392
#define IDC_AVI_SOURCE_PATH     305
#define IDC_AVI_BROWSE_SOURCE   226
#define IDC_AVI_INFO_LABEL      394
#define IDC_AVI_SOURCE_INFO     306
#define IDC_AVI_RANGE_LABEL     395
#define IDC_AVI_CUT_START       287
#define IDC_AVI_CUT_END         288
#define IDC_AVI_OUT_DIR_LABEL   393
#define IDC_AVI_OUT_DIR         336
#define IDC_AVI_BROWSE_DIR      227
#define IDC_AVI_OUT_FILE_LABEL  397
#define IDC_AVI_OUT_FILE        337
#define IDC_AVI_PROGRESS        387
#define IDC_AVI_START           225

// Controls of the GPS panel.
#define IDC_GPS_GAUGE           492
#define IDC_GPS_LONGITUDE       305
#define IDC_GPS_LATITUDE        306
#define IDC_GPS_SPEED           308
#define IDC_TRACK_CAPTION       533
#define IDC_TRACK_RED_NAME      500
#define IDC_TRACK_GREEN_NAME    501
#define IDC_TRACK_BLUE_NAME     502
#define IDC_TRACK_BLACK_NAME    503
#define IDC_GPS_SEPARATOR       504
#define IDC_POSITION_CAPTION    534
#define IDC_LONGITUDE_CAPTION   535
#define IDC_LATITUDE_CAPTION    536
#define IDC_LONGITUDE_UNIT      537
#define IDC_LATITUDE_UNIT       538
#define IDC_SPEED_CAPTION       527
#define IDC_SPEED_UNIT          541
#define IDC_GPS_FIX_CAPTION     560
#define IDC_GPS_TOP_LINE        540
#define IDC_GPS_LEFT_LINE       548
#define IDC_TRACK_RED           493
#define IDC_TRACK_GREEN         494
#define IDC_TRACK_BLUE          495
#define IDC_TRACK_BLACK         496
#define IDC_GPS_FIX             559
#define IDC_MAP_PROVIDER        311
#define IDC_MAP_BUTTON          759
#define IDC_ABOUT_BUTTON        769

// Controls of the scope panel; its button shows the speed chart.
#define IDC_SPEED_CHART         465
#define IDC_ACCEL_CHART         544
#define IDC_BRAKE_LABEL         551
#define IDC_SHOW_SPEED_CHART    225

// Controls of the scope legend bar.
#define IDC_LEGEND_SPEED_BUTTON 456
#define IDC_LEGEND_ACCEL_BUTTON 457
#define IDC_LEGEND_SPARE1       458
#define IDC_LEGEND_SPARE2       459
#define IDC_LEGEND_SPARE3       460
#define IDC_LEGEND_SPEED        542
#define IDC_LEGEND_X            543
#define IDC_LEGEND_Y            544
#define IDC_LEGEND_Z            545

// Controls of a video pane: the window the engine draws into.
#define IDC_VIDEO_WINDOW        326

// Controls of the playback control panel.
#define IDC_POSITION_SLIDER     229
#define IDC_VOLUME_SLIDER       235
#define IDC_PLAY                219
#define IDC_PAUSE               232
#define IDC_STOP                220
#define IDC_FASTER              221
#define IDC_SLOWER              222
#define IDC_REWIND              218
#define IDC_PREVIOUS_FILE       223
#define IDC_NEXT_FILE           224
#define IDC_RATE_LABEL          385
#define IDC_TIME_LABEL          541

// Commands.
#define IDM_ABOUTBOX            0x0010
#define ID_CUT_TO_AVI           32775
