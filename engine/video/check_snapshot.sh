#!/bin/sh
# Reads the snapshot that engine_video_decoder_test wrote with ImageMagick
# and compares its pixels with the ones the test expects.
set -e
bmp=snapshot_350x286.bmp
identify "$bmp" | grep -Eq "BMP3? 350x286 "
/usr/bin/convert "$bmp" -depth 8 ppm:snapshot_read.ppm
cmp snapshot_read.ppm snapshot_350x286.ppm
echo "snapshot read back: 350x286, every pixel as written"
