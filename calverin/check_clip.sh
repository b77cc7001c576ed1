#!/bin/sh
# check_clip.sh AVI RAW SIZE FIRST LAST COUNT: reads an AVI file that the
# converter test wrote with the host's ffprobe and ffmpeg, as an outside
# player would. Its video must be H.264 ('H264') at SIZE and 25/1, with a
# 16-bit PCM 8,000 Hz mono sound stream as long as the video; it must
# decode without a single error; and its pictures must be pictures FIRST to
# LAST of the raw stream RAW (COUNT of them, a gap allowed), each one equal
# to the same picture decoded from RAW (framemd5) and each at the time it
# has in the recording (its slot = its number - FIRST).
# One decoding thread each: the check runs beside timing-sensitive tests.
set -eu
avi=$1 raw=$2 size=$3 first=$4 last=$5 count=$6
fail() { echo "check_clip: $avi: $*" >&2; exit 1; }

probe() {  # probe STREAM ENTRY
  ffprobe -v error -select_streams "$1" -show_entries "stream=$2" -of default=nw=1:nk=1 "$avi"
}
echo "== ffprobe $avi"
ffprobe -v error -show_entries format=duration:stream=index,codec_name,codec_tag_string,width,height,r_frame_rate,sample_rate,channels,duration,nb_frames \
  -of compact "$avi"

[ "$(probe v:0 codec_name)" = h264 ] || fail "video is not h264"
[ "$(probe v:0 codec_tag_string)" = H264 ] || fail "video tag is not H264"
[ "$(probe v:0 width)x$(probe v:0 height)" = "$size" ] || fail "video is not $size"
[ "$(probe v:0 r_frame_rate)" = 25/1 ] || fail "video rate is not 25/1"
[ "$(probe a:0 codec_name)" = pcm_s16le ] || fail "no 16-bit PCM sound"
[ "$(probe a:0 sample_rate)" = 8000 ] || fail "sound is not 8,000 Hz"
[ "$(probe a:0 channels)" = 1 ] || fail "sound is not mono"
vdur=$(probe v:0 duration)
asamples=$(probe a:0 nb_frames)
awk -v v="$vdur" -v a="$asamples" -v n=$((last - first + 1)) 'BEGIN {
  want = n / 25
  a = a / 8000
  if (v < want - 0.05 || v > want + 0.05) { print "video lasts " v " s, not " want; exit 1 }
  if (a < v - 0.15 || a > v + 0.15) { print "sound lasts " a " s, video " v; exit 1 }
}' || fail "durations"

err=$(ffmpeg -nostdin -v error -threads 1 -i "$avi" -f null - 2>&1) || fail "ffmpeg failed: $err"
[ -z "$err" ] || fail "ffmpeg reported errors: $err"

ffmpeg -nostdin -v error -threads 1 -i "$raw" -map 0:v:0 -f framemd5 - > "$avi.raw.framemd5"
ffmpeg -nostdin -v error -threads 1 -i "$avi" -map 0:v:0 -fps_mode passthrough -f framemd5 - > "$avi.framemd5"
awk -F', *' -v first="$first" -v last="$last" -v count="$count" '
  /^#/ { next }
  NR == FNR { if ($6 in number) dup = 1; number[$6] = raw++; next }
  {
    if (!($6 in number)) { print "picture " got " is none of the raw stream"; bad = 1; exit }
    n = number[$6]
    if (got == 0 && n != first) { print "first picture is " n ", not " first; bad = 1 }
    if (got > 0 && n <= prev) { print "picture " n " after " prev; bad = 1 }
    if ($3 != n - first) { print "picture " n " at slot " $3 ", not " n - first; bad = 1 }
    prev = n; got++
  }
  END {
    if (bad) exit 1
    if (dup) { print "raw stream has equal pictures: numbers are ambiguous"; exit 1 }
    if (prev != last || got != count) { print got " pictures up to " prev ", not " count " up to " last; exit 1 }
    print "pictures " first " to " last " (" got "), each as decoded from the raw stream, at its recording time"
  }' "$avi.raw.framemd5" "$avi.framemd5" || fail "pictures"
echo "check_clip: $avi reads as expected"
