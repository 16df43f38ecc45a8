#!/usr/bin/env bash
# Regenerates the images under resources/: ribbon and dialog icons taken from
# the Tango icon theme (CC0-1.0) where one fits, the others drawn here with
# ImageMagick, plus the about dialog's logo and the window icon. The result is
# committed; run this only to change an image (it needs the build root's
# tango-icon-theme and imagemagick packages).
set -euo pipefail
source "$(dirname "$0")/env.sh"

if [ "${1:-}" != "--inside" ]; then
    in_env bash scripts/make_resources.sh --inside
    exit
fi

tango=/usr/share/icons/Tango/32x32
out=resources/gfx/32x32
misc=resources/gfx/misc
mkdir -p "$out" "$misc"

# Tango icons, by the file name the ribbon table gives them.
take() { cp -L "$tango/$2.png" "$out/$1.png"; }
take new_project            actions/document-new
take import                 actions/document-open
take save                   actions/document-save
take save_all               actions/document-save-as
take delete_space           actions/edit-delete
take layout_play            actions/media-playback-start
take reset                  actions/view-refresh
take full                   actions/view-fullscreen
take search_location        actions/system-search
take new_building           places/user-home
take add_building           actions/go-home
take import_requirement_set mimetypes/x-office-spreadsheet
take new_proposal           mimetypes/x-office-drawing
take new_site               apps/internet-web-browser
take settings               categories/preferences-system
take about                  status/dialog-information

# Drawn icons share the Tango palette: dark outline #2e3436, blue #3465a4,
# light blue #729fcf, green #73d216, orange #f57900, grey #babdb6.
canvas() { convert -size 32x32 xc:none "$@"; }

# One cell and a two-by-two grid of cells: one floor or all floors.
canvas -fill '#729fcf' -stroke '#2e3436' -strokewidth 2 -draw 'rectangle 5,5 26,26' "$out/cell.png"
canvas -fill '#729fcf' -stroke '#2e3436' -strokewidth 2 \
    -draw 'rectangle 3,3 14,14' -draw 'rectangle 17,3 28,14' \
    -draw 'rectangle 3,17 14,28' -draw 'rectangle 17,17 28,28' "$out/colls.png"

# A magnifying glass with plus or minus.
lens=(-fill '#eeeeec' -stroke '#2e3436' -strokewidth 3 -draw 'circle 13,13 13,3'
      -stroke '#8f5902' -strokewidth 5 -draw 'line 20,20 28,28')
canvas "${lens[@]}" -stroke '#3465a4' -strokewidth 3 -draw 'line 8,13 18,13' -draw 'line 13,8 13,18' \
    "$out/zoom_in.png"
canvas "${lens[@]}" -stroke '#3465a4' -strokewidth 3 -draw 'line 8,13 18,13' "$out/zoom_out.png"

# A three-quarter arc with an arrow head: set the orientation.
canvas -fill none -stroke '#3465a4' -strokewidth 4 -draw 'arc 5,5 27,27 -60,210' \
    -fill '#3465a4' -stroke none -draw 'polygon 20,2 30,10 19,14' "$out/rotate.png"

# Four arrows from the centre: move the building (orange block) or the map
# (green ground).
arrows=(-fill '#2e3436' -stroke none
        -draw 'polygon 16,1 22,8 10,8' -draw 'polygon 16,31 22,24 10,24'
        -draw 'polygon 1,16 8,10 8,22' -draw 'polygon 31,16 24,10 24,22'
        -stroke '#2e3436' -strokewidth 2 -draw 'line 16,6 16,26' -draw 'line 6,16 26,16')
canvas -fill '#f57900' -stroke '#ce5c00' -strokewidth 1 -draw 'rectangle 10,10 22,22' "${arrows[@]}" \
    "$out/translate_building.png"
canvas -fill '#8ae234' -stroke '#4e9a06' -strokewidth 1 -draw 'roundrectangle 4,4 28,28 4,4' "${arrows[@]}" \
    "$out/translate_map.png"

# Padlocks, closed and open.
body=(-fill '#edd400' -stroke '#2e3436' -strokewidth 2 -draw 'roundrectangle 6,14 26,29 2,2'
      -fill '#2e3436' -stroke none -draw 'circle 16,20 16,22' -draw 'rectangle 15,21 17,25')
canvas -fill none -stroke '#555753' -strokewidth 3 -draw 'arc 9,3 23,23 180,360' \
    -draw 'line 9,13 9,15' -draw 'line 23,13 23,15' "${body[@]}" "$out/locked.png"
canvas -fill none -stroke '#555753' -strokewidth 3 -draw 'arc 17,1 31,21 180,360' \
    -draw 'line 31,11 31,14' "${body[@]}" "$out/unlocked.png"

# A wind rose: the north point dark, the others grey, N marked.
canvas -fill '#babdb6' -stroke '#555753' -strokewidth 1 \
    -draw 'polygon 16,30 19,16 13,16' -draw 'polygon 2,16 16,13 16,19' -draw 'polygon 30,16 16,19 16,13' \
    -fill '#cc0000' -draw 'polygon 16,2 19,16 13,16' \
    -fill '#eeeeec' -draw 'circle 16,16 16,18' "$out/wind-rose.png"

# The logo of the about dialog: a floor plan of three rooms beside the name.
convert -size 300x90 xc:white \
    -fill '#729fcf' -stroke '#2e3436' -strokewidth 3 -draw 'rectangle 10,10 80,80' \
    -fill '#8ae234' -draw 'rectangle 10,10 48,48' -fill '#fcaf3e' -draw 'rectangle 48,48 80,80' \
    -fill '#2e3436' -stroke none -font DejaVu-Sans-Bold -pointsize 30 -annotate +95+45 'Kovra' \
    -fill '#3465a4' -font DejaVu-Sans -pointsize 20 -annotate +96+74 'Floorsmith' \
    "$misc/Tolmlogo_farbe-RGB_englisch.png"

# The window icon: the plan of the logo, 16 x 16 and 32 x 32.
plan() {
    local s=$1 h=$(($1 / 2)) e=$(($1 - 1))
    convert -size "${s}x${s}" xc:none -fill '#729fcf' -stroke '#2e3436' -strokewidth 1 \
        -draw "rectangle 0,0 $e,$e" -fill '#8ae234' -draw "rectangle 0,0 $h,$h" \
        -fill '#fcaf3e' -draw "rectangle $h,$h $e,$e" "$2"
}
tmp=$(mktemp -d)
plan 16 "$tmp/16.png"
plan 32 "$tmp/32.png"
convert "$tmp/16.png" "$tmp/32.png" resources/kovra.ico
rm -rf "$tmp"
# No time stamps in the files, so that an unchanged image stays unchanged.
mogrify -strip "$out"/*.png "$misc"/*.png
echo "resources written"
