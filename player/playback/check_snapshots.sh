#!/bin/sh
# check_snapshots.sh DIR: reads the snapshots the control bar's test kept
# (DIR/snapshot_ch1.bmp .. _ch4.bmp) with the host's ImageMagick, as an
# outside viewer would: each must be a BMP of the recording's 176 x 144
# pictures whose mean colour is its channel's (red, green, blue, yellow).
set -eu
dir=$1
fail() { echo "check_snapshots: $*" >&2; exit 1; }
n=0
for want in "255 0 0" "0 255 0" "0 0 255" "255 255 0"; do
  n=$((n + 1))
  f="$dir/snapshot_ch$n.bmp"
  [ -f "$f" ] || fail "$f is missing"
  info=$(identify -format '%m %w %h' "$f") || fail "$f: ImageMagick cannot read it"
  echo "$f: $info"
  case "$info" in
    "BMP 176 144" | "BMP3 176 144") ;;
    *) fail "$f: $info, not a 176 x 144 BMP" ;;
  esac
  mean=$(convert "$f" -scale '1x1!' -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:)
  echo "$f: mean colour $mean"
  set -- $want
  wr=$1 wg=$2 wb=$3
  set -- $mean
  for pair in "$1 $wr" "$2 $wg" "$3 $wb"; do
    set -- $pair
    d=$(( $1 > $2 ? $1 - $2 : $2 - $1 ))
    [ "$d" -le 40 ] || fail "$f: mean colour $mean, not channel $n's ($want)"
  done
done
