#!/usr/bin/env bash
# Draws the launcher's artwork with ImageMagick and DejaVu/Liberation fonts, so that every picture
# the program ships can be made again from this script. Run from anywhere; writes into resources/.
# PNG files are 8-bit RGB or RGBA, the kind the launcher decodes itself without Qt's image plugins;
# the banner, which is opaque, is RGB.
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
        -resize "$1" -define png:exclude-chunks=date,time "PNG32:$2"
}

mark 32x32 "$out/kestrelkit-32.png"
mark 16x16 "$out/kestrelkit-16.png"

# Main window banner, 475 x 49: the mark, the maker's name and the product line. A PNG, so that
# starting the launcher needs no JPEG decoder.
mark 40x40 /tmp/kk-mark40.png
convert -size 475x49 xc:white \
    -fill "$navy" -draw "rectangle 0,45 475,49" \
    /tmp/kk-mark40.png -geometry +6+3 -composite \
    -font "$sans" -pointsize 20 -fill "$navy" -annotate +54+24 'Vessaly Software Solutions' \
    -font "$sansreg" -pointsize 12 -fill "$teal" -annotate +55+40 'Kestrelkit utility suite' \
    -define png:exclude-chunks=date,time "PNG24:$out/main-banner.png"
rm -f /tmp/kk-mark40.png

# Demo suite pictures, 90 x 28: a coloured tab with the component's initials and its name, small
# enough to leave the button's highlight in sight around it.
demo="$out/../demo/components"
demo_picture() { # folder file colour initials label
    convert -size 90x28 xc:none \
        -fill "$3" -draw "roundrectangle 0,0 89,27 6,6" \
        -fill white -draw "roundrectangle 3,3 24,24 4,4" \
        -font "$sans" -pointsize 11 -fill "$3" -gravity northwest -annotate +5+7 "$4" \
        -font "$sans" -pointsize 9 -fill white -annotate +28+8 "$5" \
        -define png:exclude-chunks=date,time "PNG32:$demo/$1/$2"
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

# The information windows' pictures. PNG files leave out their time stamps, so that drawing them
# again gives the same bytes.
stable_png=(-define png:exclude-chunks=date,time)

# About window logo, 30 x 32 JPEG: the mark on the white of the window's upper panel.
mark 30x30 /tmp/kk-mark30.png
convert -size 30x32 xc:white /tmp/kk-mark30.png -gravity center -composite \
    -quality 92 "$out/about-logo.jpg"
rm -f /tmp/kk-mark30.png

# Getting-help banner, 592 x 25 JPEG: the mark, the maker's name and its web address (the host of
# AppIdentity::webAddress) above a navy rule. The window shows only its first 510 pixels until it
# is widened, so the address ends there and the last stretch is an amber and teal flourish.
mark 22x22 /tmp/kk-mark22.png
convert -size 592x25 xc:white \
    -fill "$navy" -draw "rectangle 0,23 591,24" \
    /tmp/kk-mark22.png -geometry +4+0 -composite \
    -font "$sans" -pointsize 15 -fill "$navy" -annotate +32+17 'Vessaly Software Solutions' \
    -fill "$amber" -draw "rectangle 262,6 264,17" \
    -font "$sansreg" -pointsize 12 -fill "$teal" -annotate +274+17 'www.vessaly.example' \
    -fill "$teal" -draw "polygon 520,22 540,2 552,2 532,22" \
    -fill "$amber" -draw "polygon 540,22 560,2 572,2 552,22" \
    -fill "$navy" -draw "polygon 560,22 580,2 592,2 572,22" \
    -quality 92 "$out/help-banner.jpg"
rm -f /tmp/kk-mark22.png

# Window icons, 22 x 21 PNG, drawn four times larger and scaled down: the About window's is an "i"
# on the teal disc with the amber of the wing as its dot, the getting-help window's a navy question
# mark on an amber disc ringed in teal.
convert -size 88x84 xc:none \
    -fill "$teal" -draw "circle 44,42 44,3" \
    -fill "$amber" -draw "circle 44,22 44,14" \
    -fill white -draw "roundrectangle 37,34 51,70 3,3" \
    -resize '22x21!' "${stable_png[@]}" "PNG32:$out/about-icon.png"
convert -size 88x84 xc:none \
    -fill "$teal" -draw "circle 44,42 44,2" \
    -fill "$amber" -draw "circle 44,42 44,9" \
    -font "$sans" -pointsize 58 -fill "$navy" -gravity center -annotate +0+2 '?' \
    -resize '22x21!' "${stable_png[@]}" "PNG32:$out/help-icon.png"
