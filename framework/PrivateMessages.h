// Every private window message of the program, in one list, so that no two
// collide. What travels with each is noted beside it; a message that
// carries a heap block is posted with PostBlock (PostedBlock.h) and its
// receiver takes the block.
#pragma once

#include <windows.h>

// Speed sample to the scope panel (wParam: speed).
const UINT WM_SCOPE_SPEED = 0x464;
// Three acceleration samples to the scope panel (a block).
const UINT WM_SCOPE_ACCEL = 0x465;
// The scope panel to itself: the speed unit changed (wParam: 1 miles per
// hour, 0 km/h). The speed samples posted before it are in the old unit.
const UINT WM_SCOPE_UNIT = 0x466;
// A video pane was clicked / double-clicked (wParam: the pane's index).
const UINT WM_VIDEO_CLICKED = 0x1400;
const UINT WM_VIDEO_DBLCLICKED = 0x1401;
// A channel reached the end of its file (wParam: the channel).
const UINT WM_CHANNEL_END = 0x1405;
// An information frame of the playing group (a block; wParam: the length
// of the engine's block, of which the first 48 bytes at most are copied).
const UINT WM_INFO_FRAME = 0x1406;
// Show one frame at the position slider's place (posted by the slider
// while its button is held).
const UINT WM_STEP_FRAME = 0x1407;
// Search the recordings under the search root.
const UINT WM_SEARCH_DAY = 0x3403;
// The recording list's scan worker: progress (wParam: percent), and the
// end of a scan (a block: the records found).
const UINT WM_SCAN_PROGRESS = 0x3410;
const UINT WM_SCAN_DONE = 0x3411;
// The AVI converter's progress to the export dialog (wParam: current,
// lParam: total; current -1 is a failure).
const UINT WM_AVI_PROGRESS = 0x3420;
// Repaint the main window's own caption.
const UINT WM_REPAINT_CAPTION = 0x3406;
// The search panel's notice to the playback page (wParam: sub-code).
const UINT WM_PANEL_EVENT = 0x4401;
// Its one sub-code: a day search is about to start.
const WPARAM PANEL_EVENT_DAY_SEARCH = 0x804;
