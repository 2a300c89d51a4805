#!/usr/bin/env bash
# Regenerates the plug-in's icons in src/housebook/res (bash + ImageMagick 6 "convert").
# Not part of the build: run it by hand after changing a design here, then commit the images.
#
# The icons are deliberately plain: coloured circles and rounded squares. Listing tags and
# collaboration roles carry the Chinese character of what they mean (独 exclusive, 锁 locked,
# 录 entry ...), drawn with WenQuanYi Micro Hei (Debian fonts-wqy-microhei, installed by
# scripts/deps.sh), so an agent reads them without a tooltip; controls use the DejaVu fonts.
# Fixed fonts make every machine produce the same pixels. PNGs are written without
# timestamps or text chunks so regenerating an unchanged icon leaves git clean.
set -euo pipefail

cd "$(dirname "$0")/.."
OUT="${OUT:-src/housebook/res}"
FONT="${FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}"
FONT_REG="${FONT_REG:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}"
[[ -f "$FONT" ]] || FONT="DejaVu-Sans-Bold"
[[ -f "$FONT_REG" ]] || FONT_REG="DejaVu-Sans"
FONT_CJK="${FONT_CJK:-/usr/share/fonts/truetype/wqy/wqy-microhei.ttc}"
[[ -f "$FONT_CJK" ]] || { echo "missing CJK font $FONT_CJK (scripts/deps.sh installs fonts-wqy-microhei)" >&2; exit 1; }
mkdir -p "$OUT"

# Palette.
BLUE='#0C93EB'      # the client's accent blue
BLUE_PALE='#C4E4FA'
GREEN='#2EA65A'     # "mine": the current user holds the role
GREEN_PALE='#C8EBD3'
ORANGE='#FF9800'    # review pending
GREY='#9E9E9E'
GREY_LIGHT='#E3E3E3'
GREY_DARK='#666666'

# png NAME ARGS... : runs convert with ARGS and writes a timestamp-free RGBA PNG.
png() {
  local name=$1; shift
  convert "$@" -strip +set date:create +set date:modify \
    -define png:exclude-chunks=date,time,text,zTXt,iTXt -define png:compression-level=9 \
    "PNG32:$OUT/$name"
}

# centre SIZE : the pixel centre of an even-sized square, e.g. 20 -> 9.5
centre() { echo "$(( ($1 - 1) / 2 )).5"; }

# disc NAME SIZE FILL GLYPH INK [POINTSIZE] [EXTRA DRAW ARGS...]
# A filled circle with a centred Chinese glyph; EXTRA draws on top (e.g. status dots).
disc() {
  local name=$1 size=$2 fill=$3 glyph=$4 ink=$5 pt=${6:-13}
  shift 6 2>/dev/null || shift $#
  local c; c=$(centre "$size")
  png "$name" -size "${size}x${size}" xc:none \
    -fill "$fill" -stroke none -draw "circle $c,$c $c,0.5" \
    -font "$FONT_CJK" -pointsize "$pt" -fill "$ink" -gravity center -annotate +0+0 "$glyph" \
    -gravity northwest "$@"
}

# tag NAME WIDTH HEIGHT FILL GLYPH [POINTSIZE] [FONT]
# A rounded rectangle in the tag's colour with its white Chinese character (or word): the
# small marks shown next to a listing's name.
tag() {
  local name=$1 w=$2 h=$3 fill=$4 glyph=$5 pt=${6:-13} font=${7:-$FONT_CJK}
  png "$name" -size "${w}x${h}" xc:none \
    -fill "$fill" -stroke none -draw "roundrectangle 0.5,0.5 $(( w - 1 )).5,$(( h - 1 )).5 3,3" \
    -font "$font" -pointsize "$pt" -fill white -gravity center -annotate +0+0 "$glyph"
}

# ---------------------------------------------------------------------------
# Collaboration roles: 20x20 discs, one character per role.
#   someone else's role: blue;  the current user's role ("_my"): green;
#   review pending: the pale shade, a coloured letter and an orange dot;  nobody assigned: grey.
ROLE_SIZE=20
PENDING_DOT=(-fill "$ORANGE" -stroke white -strokewidth 1 -draw "circle 15.5,15.5 15.5,12")
CODE_DOT=(-fill '#FFC107' -stroke white -strokewidth 1 -draw "circle 16,4 16,1.2")

role() { # ROLE CHARACTER
  local r=$1 l=$2
  disc "xiezuo_${r}.png"           $ROLE_SIZE "$BLUE"       "$l" white
  disc "xiezuo_${r}_review.png"    $ROLE_SIZE "$BLUE_PALE"  "$l" "$BLUE"  13 "${PENDING_DOT[@]}"
  disc "xiezuo_my_${r}.png"        $ROLE_SIZE "$GREEN"      "$l" white
  disc "xiezuo_my_${r}_review.png" $ROLE_SIZE "$GREEN_PALE" "$l" "$GREEN" 13 "${PENDING_DOT[@]}"
  disc "xiezuo_${r}_null.png"      $ROLE_SIZE "$GREY_LIGHT" "$l" "$GREY"
}
role add      录   # 录入 entry
role modify   维   # 维护 maintenance
role weituo   委   # 委托 entrustment
role shikan   勘   # 实勘 survey
role key      钥   # 钥匙 keys
role dujia    独   # 独家 exclusive agency
role complete 成   # 成交 deal

# Entrustment with a verification code: the entrustment disc plus a gold corner dot.
disc xiezuo_weituo_heyan.png           $ROLE_SIZE "$BLUE"       委 white 13 "${CODE_DOT[@]}"
disc xiezuo_weituo_heyan_my.png        $ROLE_SIZE "$GREEN"      委 white 13 "${CODE_DOT[@]}"
disc xiezuo_weituo_heyan_review.png    $ROLE_SIZE "$BLUE_PALE"  委 "$BLUE"  13 "${CODE_DOT[@]}" "${PENDING_DOT[@]}"
disc xiezuo_weituo_heyan_my_review.png $ROLE_SIZE "$GREEN_PALE" 委 "$GREEN" 13 "${CODE_DOT[@]}" "${PENDING_DOT[@]}"

# ---------------------------------------------------------------------------
# Listing tags: 16x16 rounded squares with one character (two-character words are wider).
tag zjmc.png        16 16 '#E53935' '冒'    # 中介冒充 posing agent: warning red
tag tu.png          16 16 '#1E88E5' '图'    # 有图 has photos
tag feeComplete.png 16 16 '#43A047' '齐'    # 收费收齐 fees collected / 客户成交 client deal
tag yaos.png        16 16 '#F9A825' '钥'    # 有钥匙 has keys
tag zhid.png        16 16 '#E53935' '顶'    # 置顶 pinned to top
tag suo.png         16 16 '#546E7A' '锁'    # 锁盘 locked
tag feng.png        16 16 '#8E24AA' '封'    # 封盘 sealed
tag sifang.png      16 16 '#00897B' '私'    # 私房 private listing / 私客 private client
tag house_xx.png    16 16 '#FB8C00' '新'    # 新 new
tag house_sx.png    16 16 '#039BE5' '刷'    # 刷新 refreshed
tag haveCar.png     16 16 '#3949AB' '车'    # 有车库 has a garage
tag hc_dl.png       16 16 '#5E35B1' '代'    # 代理 agency
tag hc_bx.png       16 16 '#6D4C41' '包'    # 包销 underwriting
tag hc_fz.png       16 16 '#00ACC1' '主'    # 房主 owner
tag house_sp.png    28 16 '#D81B60' '视频' 12 # 视频房源 video
tag house_du.png    16 16 '#C62828' '独'    # 独家 exclusive
tag lm_small.png    16 16 "$BLUE"   '联'    # 联卖 joint sale
tag vr.png          22 16 '#7B1FA2' 'VR' 9 "$FONT"
tag add_new.png     16 16 '#43A047' '新'    # 新上房源 newly listed

# ---------------------------------------------------------------------------
# Controls.

# Close: grey cross.
png icon_close.png -size 16x16 xc:none -fill none -stroke "$GREY_DARK" -strokewidth 1.6 \
  -draw "line 4,4 11.5,11.5" -draw "line 11.5,4 4,11.5"

# Back: left chevron.
png icon_back.png -size 16x16 xc:none -fill none -stroke "$GREY_DARK" -strokewidth 1.8 \
  -draw "polyline 10.5,3 5.5,8 10.5,13"

# Calendar: outlined page with a blue header and two rings.
png icon_calendar.png -size 16x16 xc:none \
  -fill white -stroke "$GREY_DARK" -strokewidth 1 -draw "roundrectangle 1.5,2.5 14.5,14.5 1.5,1.5" \
  -fill "$BLUE" -stroke none -draw "rectangle 2,3 14,6" \
  -fill "$GREY_DARK" -draw "rectangle 4,1 5,4" -draw "rectangle 10,1 11,4" \
  -fill "$GREY" -draw "rectangle 4,8 5,9" -draw "rectangle 7,8 8,9" -draw "rectangle 10,8 11,9" \
  -draw "rectangle 4,11 5,12" -draw "rectangle 7,11 8,12"

# Delete (the search panel's "clear"): grey bin.
png icon_delete.png -size 16x16 xc:none -fill none -stroke "$GREY_DARK" -strokewidth 1.2 \
  -draw "line 2.5,3.5 13.5,3.5" -draw "polyline 6,3.5 6,1.5 10,1.5 10,3.5" \
  -draw "polyline 3.5,4 4.5,14.5 11.5,14.5 12.5,4" \
  -draw "line 6.5,6.5 6.5,12" -draw "line 9.5,6.5 9.5,12"

# Search on the blue button: white magnifier.
png icon_whiteSearchr.png -size 16x16 xc:none -fill none -stroke white -strokewidth 1.8 \
  -draw "circle 6.5,6.5 6.5,1.8" -draw "line 10,10 14.5,14.5"

# Unchecked check-box indicator (14 px).
png uncheck.png -size 14x14 xc:none -fill white -stroke '#B4B4B4' -strokewidth 1 \
  -draw "roundrectangle 0.5,0.5 13.5,13.5 2,2"

# Read mark: laid over a whole cell as a border image, so only a small grey corner is drawn.
png hasread.png -size 32x32 xc:none -fill '#C8C8C8' -stroke none -draw "polygon 22,0 31.9,0 31.9,9.9"

# Sort arrows for the list header: ▲ ascending and ▼ descending on the sorted column, a faint
# ▲▼ on the other sortable ones.
png icon_sort_up.png   -size 10x10 xc:none -fill "$GREY_DARK" -stroke none -draw "polygon 5,2 9,8 1,8"
png icon_sort_down.png -size 10x10 xc:none -fill "$GREY_DARK" -stroke none -draw "polygon 1,2 9,2 5,8"
png icon_sort.png      -size 10x10 xc:none -fill "$GREY" -stroke none -draw "polygon 5,0 8.5,4 1.5,4" \
  -draw "polygon 1.5,6 8.5,6 5,10"

# Collect button: outlined grey star (not collected), filled gold star (collected).
STAR="polygon 8,1 9.9,6 15,6 10.9,9.2 12.4,14.5 8,11.4 3.6,14.5 5.1,9.2 1,6 6.1,6"
png yc1.png      -size 16x16 xc:none -fill none      -stroke "$GREY" -strokewidth 1.1 -draw "$STAR"
png shoucang.png -size 16x16 xc:none -fill '#FFB300' -stroke '#F57C00' -strokewidth 1 -draw "$STAR"

# Photo edit: blue disc with a white pencil.
png icon_photo_edit.png -size 20x20 xc:none -fill "$BLUE" -stroke none -draw "circle 9.5,9.5 9.5,0.5" \
  -fill white -draw "polygon 5,15 5.6,12 12.5,5 15,7.5 8,14.4" -fill "$BLUE" -draw "line 11,6.5 13.5,9"

# A finished listing: grey rounded tag with a check mark.
png icon_tag_finished.png -size 24x24 xc:none \
  -fill '#BDBDBD' -stroke none -draw "roundrectangle 0.5,0.5 23.5,23.5 4,4" \
  -fill none -stroke white -strokewidth 2.4 -draw "polyline 6,12.5 10.5,17 18,8"

# Company logo when none is stored: blue rounded square with a "Q".
png icon_logo.png -size 32x32 xc:none \
  -fill "$BLUE" -stroke none -draw "roundrectangle 0.5,0.5 31.5,31.5 6,6" \
  -font "$FONT" -pointsize 20 -fill white -gravity center -annotate +0+0 'Q'

# Listing without a photo: light frame with a mountain and a sun.
png icon_no_photo.png -size 48x36 xc:none \
  -fill '#F2F2F2' -stroke '#D4D4D4' -strokewidth 1 -draw "rectangle 0.5,0.5 47.5,35.5" \
  -stroke none -fill '#C9C9C9' -draw "polygon 6,30 18,14 26,24 31,18 42,30" \
  -fill '#D9D9D9' -draw "circle 36,10 36,6"

# Panorama tutorial picture (JPEG): a light blue card with a 360° ring and a caption.
convert -size 240x120 gradient:'#E3F2FD'-'#BBDEFB' \
  -fill none -stroke "$BLUE" -strokewidth 3 -draw "ellipse 60,58 34,14 0,360" \
  -fill "$BLUE" -stroke none -draw "polygon 92,52 100,58 90,62" \
  -font "$FONT" -pointsize 16 -fill "$BLUE" -annotate +44+64 'VR' \
  -font "$FONT_REG" -pointsize 15 -fill '#1565C0' -annotate +112+52 '720° panorama' \
  -pointsize 12 -fill '#546E7A' -annotate +112+74 'copy the share link' \
  -strip +set date:create +set date:modify -quality 85 -sampling-factor 2x2 \
  "JPEG:$OUT/vr_tutorial.jpg"

echo "icons written to $OUT"
