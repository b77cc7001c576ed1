#!/usr/bin/env bash
# package_test.sh ZIP BIN: the package as a user gets it. Unpacks ZIP into a
# folder whose path has spaces and non-ASCII letters, checks that it holds
# one folder with the program, its DLLs, config.ini, the icon and the
# licence texts and nothing of the tests, writes a small recording folder
# (eight short recordings, made with BIN/make_demo_card.exe), starts the
# unpacked program on it and reads, with BIN/drive_player.exe, that its list
# shows the eight recordings. Runs under ctest-wine (a display and a warm
# Wine server of the build's architecture).
set -euo pipefail
zip=${1:?usage: package_test.sh ZIP BIN}
bin=${2:?usage: package_test.sh ZIP BIN}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../scripts/wine-env"
fail() { echo "package_test: $*" >&2; exit 1; }

work=$(mktemp -d)
player_pid=
cleanup() {
  if [ -n "$player_pid" ]; then kill "$player_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# 1. Unpacked where a user may put it.
dest="$work/Zarv Test Ünïcødé Папка"
mkdir -p "$dest"
[ -f "$zip" ] || fail "$zip is missing"
(cd "$dest" && cmake -E tar xf "$zip")
tops=$(ls -A "$dest")
[ "$(echo "$tops" | wc -l)" = 1 ] || fail "the ZIP holds more than one top folder: $tops"
folder="$dest/$tops"
echo "package_test: unpacked into $folder"
for f in "Zarv Player.exe" Ostrivel.dll geodraw.dll Calverin.dll config.ini exe.ico NOTICE.txt \
         "FFmpeg COPYING.LGPLv2.1.txt" "MinGW-w64 runtime copyright.txt"; do
  [ -f "$folder/$f" ] || fail "$f is missing"
done
for lib in avcodec avformat avutil; do
  ls "$folder/$lib"-*.dll >/dev/null 2>&1 || fail "FFmpeg's $lib DLL is missing"
done
# Nothing else: no test or benchmark program, no import library.
extra=$(cd "$folder" && find . -mindepth 1 | sed 's|^\./||' | grep -v -x -E \
  'Zarv Player\.exe|(Ostrivel|geodraw|Calverin)\.dll|(avcodec|avformat|avutil)-[0-9]+\.dll|config\.ini|exe\.ico|NOTICE\.txt|FFmpeg COPYING\.LGPLv2\.1\.txt|MinGW-w64 runtime copyright\.txt' || true)
[ -z "$extra" ] || fail "the package holds more than the program: $extra"
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" "$folder/FFmpeg COPYING.LGPLv2.1.txt" || fail "FFmpeg's licence text is not the LGPL"

# 2. A recording folder: four channels, two recordings each, two seconds.
streams="$work/streams"
card="$work/card"
mkdir -p "$streams"
for ch in 1 2 3 4; do
  for rec in 0 1; do
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc2=size=176x144:rate=25:duration=2" \
      -c:v libx264 -profile:v baseline -pix_fmt yuv420p -g 25 -keyint_min 25 -sc_threshold 0 -bf 0 \
      -f h264 "$streams/ch$ch-$rec.h264"
  done
done
wine "$bin/make_demo_card.exe" "$(winepath -w "$streams")" "$(winepath -w "$card")" </dev/null >/dev/null ||
  fail "make_demo_card could not write the recordings"
[ "$(find "$card" -type f | wc -l)" = 8 ] || fail "make_demo_card wrote $(find "$card" -type f | wc -l) files, not 8"

# 3. The unpacked program on it, started from its folder.
drive() { wine "$bin/drive_player.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
(cd "$folder" && exec "$ZARV_WINE" "$folder/Zarv Player.exe" "$(winepath -w "$card")" </dev/null >/dev/null 2>&1) &
player_pid=$!
rows=0
for _ in $(seq 60); do
  rows=$(drive rows || true)
  [ "${rows:-0}" -ge 8 ] && break
  kill -0 "$player_pid" 2>/dev/null || fail "the program ended before it listed the recordings"
  sleep 0.5
done
echo "package_test: the unpacked program lists ${rows:-0} recordings"
[ "${rows:-0}" = 8 ] || fail "the list shows ${rows:-0} rows, not the 8 recordings"
# The program found its own folder: the ".h264" association it wrote at
# start names the icon beside it (a folder the code page cannot spell goes
# by its short name), where config.ini is read and written too.
icon=$(wine reg query 'HKCR\h264file\DefaultIcon' /ve </dev/null 2>/dev/null | tr -d '\r' |
  sed -n 's/.*REG_SZ[[:space:]]*//p' | head -n 1)
[ -n "$icon" ] || fail "the program registered no icon for .h264 files"
[ -f "$(winepath -u "$icon" 2>/dev/null | tr -d '\r')" ] || fail "the registered icon $icon is not the one beside the program"
echo "package_test: the association names $icon"
drive close >/dev/null || true
for _ in $(seq 40); do
  kill -0 "$player_pid" 2>/dev/null || break
  sleep 0.25
done
if kill -0 "$player_pid" 2>/dev/null; then fail "the program did not end when its window closed"; fi
wait "$player_pid" || true
player_pid=
echo "package_test: passed"
