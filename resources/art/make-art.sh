#!/usr/bin/env bash
# Draws the launcher's artwork with ImageMagick and DejaVu/Liberation fonts, so that every picture
# the program ships can be made again from this script. Run from anywhere; writes into resources/.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)"
sans=/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
sansreg=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
navy='#1b2a6b'
teal='#1f8a8a'
amber='#f2a81d'

# The kestrel mark: a stylised bird's wing in amber over a teal disc, drawn in a 64 x 64 box and
# scaled down for each use.
mark() { # size file
    convert -size 64x64 xc:none \
        -fill "$teal" -draw "circle 32,32 32,2" \
        -fill "$amber" -draw "polygon 10,38 30,14 56,10 40,26 54,30 34,40 24,54" \
        -fill white -draw "circle 38,19 38,16" \
        -resize "$1" "$2"
}

mark 32x32 "$out/kestrelkit-32.png"
mark 16x16 "$out/kestrelkit-16.png"

# Main window banner, 475 x 49: the mark, the maker's name and the product line.
mark 40x40 /tmp/kk-mark40.png
convert -size 475x49 xc:white \
    -fill "$navy" -draw "rectangle 0,45 475,49" \
    /tmp/kk-mark40.png -geometry +6+3 -composite \
    -font "$sans" -pointsize 20 -fill "$navy" -annotate +54+24 'Vessaly Software Solutions' \
    -font "$sansreg" -pointsize 12 -fill "$teal" -annotate +55+40 'Kestrelkit utility suite' \
    -quality 92 "$out/main-banner.jpg"
rm -f /tmp/kk-mark40.png

# Demo suite pictures, 100 x 34: a coloured tab with the component's initials and its name.
demo="$out/../demo/components"
demo_picture() { # folder file colour initials label
    convert -size 100x34 xc:none \
        -fill "$3" -draw "roundrectangle 0,0 99,33 6,6" \
        -fill white -draw "roundrectangle 4,4 29,29 4,4" \
        -font "$sans" -pointsize 13 -fill "$3" -gravity northwest -annotate +6+9 "$4" \
        -font "$sans" -pointsize 11 -fill white -annotate +34+10 "$5" \
        "$demo/$1/$2"
}
demo_picture "Disk Cleaner" cleaner.png '#c0392b' DC 'Disk Cleaner'
demo_picture "File Finder" finder.png '#2e86c1' FF 'File Finder'
demo_picture "HashCheck" hashcheck.png '#7d3c98' HC 'HashCheck'
demo_picture "Log Viewer" logview.png '#d68910' LV 'Log Viewer'
demo_picture "NetProbe" netprobe.png '#17a589' NP 'NetProbe'
demo_picture "Renamer" renamer.png '#34495e' RN 'Renamer'
demo_picture "TextDiff" textdiff.png '#cb4335' TD 'TextDiff'
demo_picture "Überblick" ueberblick.png '#229954' ÜB 'Überblick'
demo_picture "Zip Packer" zippack.png '#797d7f' ZP 'Zip Packer'
