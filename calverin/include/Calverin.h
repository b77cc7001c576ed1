// Calverin: cuts a time range out of one recorded channel file and writes
// it as an AVI file. The player's AVI dialog links it at load time.
//
// The three functions are cdecl and exported under their plain names. Paths
// are texts in the system's ANSI code page.
//
// Use:
//   int h = CONVERTDLL_InitDllMange(source, target);        // 0: no recording
//   CONVERTDLL_RegisterCovInfoCallBack(h, user, callback);
//   if (CONVERTDLL_ConvertH264ToAVI(h, 0, 0, start, end, recordedEnd) != 0)
//       ...                                                  // refused, no callback
//   ... callback(user, current, total) on the converter's thread ...
//   CONVERTDLL_RegisterCovInfoCallBack(h, NULL, NULL);      // before `user` goes away
//
// Handles: every successful CONVERTDLL_InitDllMange gives a new handle
// (> 0); handles are never reused. A handle converts once. When its
// conversion has ended (its last callback has returned) the converter frees
// what it held for it; later calls with that handle are safe and do nothing.
// The converter has no close function: a handle that is never converted
// keeps only its two paths.
//
// Times are times of day packed as hour << 16 | minute << 8 | second
// (CALVERIN_PACK_TIME). The converter maps them onto the recording by the
// start time of day in the recording's file header:
//  - offset = time - header start; a time before the header start counts as
//    the next day (a recording that runs past midnight). A cut start that
//    comes out after the cut end this way lies before the recording, which
//    then starts the clip at its beginning;
//  - the clip starts at the last I-frame at or before the cut start, so that
//    its first picture decodes, and ends before cut end + 1 s: cut start ==
//    cut end gives that one second;
//  - a range in which the recording has no picture is a failure;
//  - the recorded end is a hint only: the file's own data decides the end.
//
// Progress: callback(user, current, total) on the converter's thread, where
// total is the number of pictures of the clip:
//  - (0, total) first, then rising values below total, at most 10 calls a
//    second in all;
//  - (total, total) exactly once, when the AVI file is complete under its
//    final name: the conversion's last call;
//  - on failure (-1, total) exactly once as the last call (total is 0 when
//    the failure came before the clip was measured), and no file is left:
//    the converter writes "<target>.part" and renames it only at the end.
//    An existing file of the target's name is replaced on success only.
// A callback must return promptly and must not wait for a thread that may
// be inside CONVERTDLL_RegisterCovInfoCallBack for the same handle (post a
// message; do not send one): registering waits for a running call to end.
//
// The AVI file (FFmpeg's AVI muxer; OpenDML for large clips): stream 0 is
// the recording's H.264 video ('H264') at the picture size of its sequence
// parameter set, cropping applied, at the recording's frame rate (from the
// median step between its timestamps; a whole number when within 2 %), key
// frames marked in the index, the parameter sets ahead of the first picture.
// AVI time equals recording time: gaps in the recording stay gaps. When the
// clip has sound, stream 1 carries it as 16-bit mono PCM at 8,000 Hz,
// amplified as the player plays it, interleaved with the video.
#pragma once

#ifdef CALVERIN_BUILD
#define CALVERIN_API extern "C"   // exported by name through Calverin.def
#else
#define CALVERIN_API extern "C" __declspec(dllimport)
#endif

#define CALVERIN_PACK_TIME(hour, minute, second) ((hour) << 16 | (minute) << 8 | (second))

// Progress of a conversion (stdcall): see above.
typedef void(__stdcall* CovInfoCallBackProc)(void* user, int current, int total);

// Opens a conversion of `source` (a recording file) into `target` (the AVI
// file's full path). Gives a new handle > 0, or 0 when either path is
// missing or empty, `source` is no readable recording file, or `target`
// names the recording itself. It checks and stores the paths only: it
// creates no file and starts no thread.
CALVERIN_API int __cdecl CONVERTDLL_InitDllMange(const char* source, const char* target);

// Sets the progress callback and its user value of a handle; (handle, NULL,
// NULL) detaches: once the call returns, no callback of that handle runs or
// will run. A call from inside the handle's own callback takes effect at
// once. Gives 0, or 1 for a handle that was never given out.
CALVERIN_API int __cdecl CONVERTDLL_RegisterCovInfoCallBack(int handle, void* user, CovInfoCallBackProc callback);

// Starts the conversion of `handle` for the cut from `cutStart` to `cutEnd`
// (packed times); `reserved1` and `reserved2` are 0 and not used;
// `recordedEnd` is the recording's end as the caller knows it (a hint).
// Checks its arguments and gives 1 without any callback when the handle is
// unknown or already converted, a time has hour > 23, minute > 59 or
// second > 59 (or stray bits), or cutEnd < cutStart; otherwise it starts
// the work on a thread of its own and gives 0 at once. Whatever happens
// after that, the callback reports it.
CALVERIN_API int __cdecl CONVERTDLL_ConvertH264ToAVI(int handle, int reserved1, int reserved2, int cutStart,
                                                     int cutEnd, int recordedEnd);
