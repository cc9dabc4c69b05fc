#!/usr/bin/env bash
# Draws the program's artwork into data/: the title logo (logo.bmp) and the About box
# animation (dict.avi). Needs ImageMagick and ffmpeg (apt-get install imagemagick ffmpeg).
#
#   tools/make-art.sh              both
#   tools/make-art.sh logo         only data/logo.bmp
#   tools/make-art.sh avi          only data/dict.avi
set -euo pipefail
cd "$(dirname "$0")/.."
data=$(pwd)/data
what=${1:-all}

fonts=/usr/share/fonts/truetype/liberation
serif_bold=$fonts/LiberationSerif-Bold.ttf
sans_bold=$fonts/LiberationSans-Bold.ttf

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# ---------------------------------------------------------------------------------
# The logo: an open book and "Dictionary" in light grey with a dark shadow, 300 x 70,
# 24-bit BMP. The program takes the top-left pixel's colour as transparent, so the
# background is pure magenta, and no pixel of the drawing is magenta or tinted by it:
# the drawing is made on a transparent canvas, its soft edges are blended onto the
# green the program paints behind it, and only (nearly) transparent pixels become magenta.
make_logo() {
    local w=300 h=70
    convert -size ${w}x${h} xc:none \
        \( -size ${w}x${h} xc:none -fill '#002400' -stroke none \
           -draw "path 'M 6,21 L 6,59 C 17,56 28,56 38,61 C 48,56 59,56 70,59 L 70,21 Z'" \
           -font "$serif_bold" -pointsize 46 -annotate +84+54 'Dictionary' \
           -channel A -evaluate multiply 0.85 +channel -blur 0x1.2 -geometry +3+3 \) \
        -composite \
        -stroke none -fill '#7a1410' \
        -draw "path 'M 4,19 L 4,58 C 15,55 26,55 36,60 C 46,55 57,55 68,58 L 68,19 Z'" \
        -fill '#e8e4d8' -stroke '#5a5a50' -strokewidth 1 \
        -draw "path 'M 36,17 C 28,11 17,11 8,14 L 8,54 C 17,51 28,51 36,57 Z'" \
        -draw "path 'M 36,17 C 44,11 55,11 64,14 L 64,54 C 55,51 44,51 36,57 Z'" \
        -stroke '#9a9a90' -strokewidth 1 -fill none \
        -draw "path 'M 13,22 C 19,20 25,20 31,23'" \
        -draw "path 'M 13,28 C 19,26 25,26 31,29'" \
        -draw "path 'M 13,34 C 19,32 25,32 31,35'" \
        -draw "path 'M 13,40 C 19,38 23,38 26,39'" \
        -draw "path 'M 41,23 C 47,20 53,20 59,22'" \
        -draw "path 'M 41,29 C 47,26 53,26 59,28'" \
        -draw "path 'M 41,35 C 47,32 53,32 59,34'" \
        -draw "path 'M 41,41 C 47,38 51,38 55,39'" \
        -stroke '#6a6a60' -draw "line 36,18 36,56" \
        -stroke none -fill '#e6e6e6' \
        -font "$serif_bold" -pointsize 46 -annotate +84+54 'Dictionary' \
        "$tmp/logo-rgba.png"
    # Fully transparent -> magenta; everything else flattened onto the green behind it.
    convert \( -size ${w}x${h} xc:'rgb(0,185,0)' "$tmp/logo-rgba.png" -composite \) \
        \( "$tmp/logo-rgba.png" -alpha extract -threshold 6% \) \
        -alpha off -compose copy_opacity -composite \
        -background '#ff00ff' -compose over -flatten -alpha off \
        -type TrueColor BMP3:"$data/logo.bmp"
    echo "data/logo.bmp: $(identify -format '%wx%h %[type]' "$data/logo.bmp")"
}

# ---------------------------------------------------------------------------------
# The About box animation: an open book whose right page turns, again and again; each
# page holds one word with its flag, so "huis" becomes "house", "Haus" and "maison" and
# then "huis" again. 140 x 100, 12 frames a second, 36 frames (3 seconds), a seamless
# loop, encoded as Microsoft Video 1 (15-bit colour), which Windows and Wine both play.
W=140; H=100
PW=58; PH=74          # a page
SX=70; PT=13          # the spine's x and the pages' top
PB=$((PT + PH))       # the pages' bottom

# flag NAME: an 18 x 12 flag on stdout as PNG
flag() {
    case $1 in
    dutch)   convert -size 18x4 xc:'#ae1c28' -size 18x4 xc:white -size 18x4 xc:'#21468b' -append png:- ;;
    german)  convert -size 18x4 xc:black -size 18x4 xc:'#dd0000' -size 18x4 xc:'#ffce00' -append png:- ;;
    french)  convert -size 6x12 xc:'#0055a4' -size 6x12 xc:white -size 6x12 xc:'#ef4135' +append png:- ;;
    english) convert -size 18x12 xc:white -fill '#ce1124' -draw 'rectangle 7,0 10,11' \
                 -draw 'rectangle 0,4 17,7' png:- ;;
    esac | convert - -bordercolor '#606060' -border 1 png:-
}

# page SIDE WORD LANGUAGE OUT: one page (PW x PH) with the flag, the word and some
# lines of small print; the side (left/right) puts the shade at the spine.
page() {
    local side=$1 word=$2 lang=$3 out=$4 shade
    if [ "$side" = right ]; then shade='-rotate -90 -gravity west'; else shade='-rotate 90 -gravity east'; fi
    flag "$lang" > "$tmp/flag.png"
    convert -size ${PW}x${PH} xc:'#fbf7ea' \
        \( -size ${PH}x12 gradient:'#d2cab2-#fbf7ea' $shade \) -composite \
        "$tmp/flag.png" -gravity north -geometry +0+8 -composite \
        -fill '#1e2a5a' -font "$serif_bold" -pointsize 15 -gravity north -annotate +0+24 "$word" \
        -gravity northwest -stroke '#a49e8c' -strokewidth 1 \
        -draw 'line 11,49 47,49' -draw 'line 11,55 44,55' -draw 'line 11,61 47,61' \
        -draw 'line 11,67 34,67' \
        "$out"
}

make_avi() {
    local words=(huis house Haus maison) langs=(dutch english german french)
    local n=${#words[@]} i
    for ((i = 0; i < n; i++)); do
        page left "${words[i]}" "${langs[i]}" "$tmp/left$i.png"
        page right "${words[i]}" "${langs[i]}" "$tmp/right$i.png"
    done

    # The book without pages: background, cover and the edges of the page block.
    convert -size ${W}x${H} gradient:'rgb(0,200,0)-rgb(0,60,0)' \
        \( -size ${W}x${H} xc:none -fill '#00000060' \
           -draw "roundrectangle 9,$((PT + 2)) $((W - 5)),$((PB + 9)) 4,4" -blur 0x2 \) -composite \
        -fill '#7a1410' -stroke '#3c0806' -strokewidth 1 \
        -draw "roundrectangle 6,$((PT - 2)) $((W - 7)),$((PB + 6)) 4,4" \
        -stroke '#d8d2c0' -fill none \
        -draw "line $((SX - PW)),$((PB + 1)) $((SX - 2)),$((PB + 1))" \
        -draw "line $((SX + 2)),$((PB + 1)) $((SX + PW)),$((PB + 1))" \
        -stroke '#bcb6a4' \
        -draw "line $((SX - PW + 1)),$((PB + 2)) $((SX - 2)),$((PB + 2))" \
        -draw "line $((SX + 2)),$((PB + 2)) $((SX + PW - 1)),$((PB + 2))" \
        -draw "line $((SX - PW + 2)),$((PB + 3)) $((SX - 3)),$((PB + 3))" \
        -draw "line $((SX + 3)),$((PB + 3)) $((SX + PW - 2)),$((PB + 3))" \
        "$tmp/book.png"

    # Each word: 4 frames at rest, then 5 frames with the right page turning over.
    local angles=(0 0 0 0 24 60 96 130 160)
    local frame=0 k a prev next c s ex top bot shadow img pts
    for ((i = 0; i < n; i++)); do
        prev=$(( (i + n - 1) % n )); next=$(( (i + 1) % n ))
        for a in "${angles[@]}"; do
            local args=("$tmp/book.png"
                "$tmp/left$prev.png" -geometry +$((SX - PW))+$PT -composite)
            if [ "$a" = 0 ]; then
                args+=("$tmp/right$i.png" -geometry +$SX+$PT -composite)
            else
                args+=("$tmp/right$next.png" -geometry +$SX+$PT -composite)
                read -r c s < <(awk -v a="$a" 'BEGIN { r = a * 3.14159265 / 180; printf "%.4f %.4f\n", cos(r), sin(r) }')
                ex=$(awk -v c="$c" -v x=$SX -v w=$PW 'BEGIN { printf "%.1f", x + w * c }')
                top=$(awk -v s="$s" -v t=$PT 'BEGIN { printf "%.1f", t - 6 * s }')
                bot=$(awk -v s="$s" -v b=$PB 'BEGIN { printf "%.1f", b + 3 * s }')
                shadow=$(awk -v s="$s" 'BEGIN { printf "%d", 6 + 22 * s }')
                if awk -v a="$a" 'BEGIN { exit !(a < 90) }'; then
                    img=$tmp/right$i.png
                    pts="0,0 $SX,$PT  $PW,0 $ex,$top  $PW,$PH $ex,$bot  0,$PH $SX,$PB"
                else
                    img=$tmp/left$i.png
                    pts="$PW,0 $SX,$PT  0,0 $ex,$top  0,$PH $ex,$bot  $PW,$PH $SX,$PB"
                fi
                # A soft shadow the lifted page casts, then the page itself, shaded.
                args+=(\( -size ${W}x${H} xc:none -fill "#000000$(printf '%02x' $((shadow * 2)))"
                       -draw "polygon $SX,$PT $ex,$PT $ex,$PB $SX,$PB" -blur 0x3 \) -composite
                       \( "$img" -fill black -colorize "$shadow" -alpha set -virtual-pixel transparent -mattecolor none
                          -define distort:viewport=${W}x${H}+0+0 -distort BilinearForward "$pts" \)
                       -composite)
            fi
            convert "${args[@]}" -alpha off "$(printf '%s/frame%03d.png' "$tmp" $frame)"
            frame=$((frame + 1))
        done
    done

    rm -f "$data/dict.avi"
    ffmpeg -loglevel error -framerate 12 -i "$tmp/frame%03d.png" \
        -pix_fmt rgb555le -c:v msvideo1 "$data/dict.avi"
    if [ -n "${KEEP_FRAMES:-}" ]; then
        mkdir -p "$KEEP_FRAMES" && cp "$tmp"/frame*.png "$KEEP_FRAMES"/
    fi
    echo "data/dict.avi: $frame frames, $(stat -c %s "$data/dict.avi") bytes"
}

case $what in
    logo) make_logo ;;
    avi) make_avi ;;
    all) make_logo; make_avi ;;
    *) echo "usage: $0 [logo|avi|all]" >&2; exit 1 ;;
esac
