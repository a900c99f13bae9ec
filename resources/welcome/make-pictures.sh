#!/usr/bin/env bash
# Draws the five pictures of the welcome splash (welcome1.jpg ... welcome5.jpg)
# with ImageMagick: fictional printers in our own colours on white, 200 x 144
# pixels (twice the 100 x 72 picture boxes, so they stay sharp on high-DPI
# screens). The committed JPEG files are the output of this script; run it
# again only to change the pictures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

W=200
H=144
Q=(-strip -sampling-factor 2x2 -quality 88)

shadow="fill #d9dde3 ellipse 100,128 78,7 0,360"

# 1: office laser printer, light grey with a plum stripe, paper tray out front.
convert -size ${W}x${H} xc:white -draw "$shadow" \
  -fill '#f4f4f4' -stroke '#8a8f99' -strokewidth 2 -draw "roundrectangle 28,40 172,118 10,10" \
  -fill '#e4e6ea' -draw "roundrectangle 36,30 164,52 6,6" \
  -stroke none -fill '#7b2d8e' -draw "rectangle 30,70 170,76" \
  -fill '#c9ccd2' -draw "rectangle 52,100 148,112" \
  -fill white -stroke '#b3b7bf' -strokewidth 1 -draw "polygon 60,102 140,102 150,124 50,124" \
  -stroke none -fill '#3fa34d' -draw "circle 154,88 154,92" \
  -fill '#50565f' -draw "roundrectangle 120,84 146,92 2,2" \
  "${Q[@]}" welcome1.jpg

# 2: compact inkjet, charcoal with a sheet coming out of the top and sky-blue keys.
convert -size ${W}x${H} xc:white -draw "$shadow" \
  -fill white -stroke '#b8bcc4' -strokewidth 1 -draw "polygon 62,12 138,12 146,52 54,52" \
  -stroke '#b8bcc4' -draw "line 72,24 128,24" -draw "line 72,32 120,32" -draw "line 72,40 124,40" \
  -fill '#3b3f46' -stroke '#24272c' -strokewidth 2 -draw "roundrectangle 24,48 176,120 14,14" \
  -stroke none -fill '#2c2f35' -draw "rectangle 40,96 160,104" \
  -fill '#a6caf0' -draw "circle 150,66 150,71" -draw "circle 134,66 134,71" \
  -fill '#ffd24a' -draw "circle 118,66 118,71" \
  -fill '#5d636d' -draw "roundrectangle 40,60 96,74 3,3" \
  "${Q[@]}" welcome2.jpg

# 3: multifunction printer, white body with a teal scanner lid and a panel.
convert -size ${W}x${H} xc:white -draw "$shadow" \
  -fill '#1f8a8a' -stroke '#166767' -strokewidth 2 -draw "roundrectangle 30,18 170,42 6,6" \
  -fill '#f7f7f7' -stroke '#8a8f99' -draw "roundrectangle 26,40 174,122 8,8" \
  -stroke none -fill '#263238' -draw "roundrectangle 116,50 164,72 3,3" \
  -fill '#7fe0d0' -draw "rectangle 120,54 160,68" \
  -fill '#d0d4da' -draw "rectangle 40,88 160,94" -draw "rectangle 40,102 160,108" \
  -fill '#1f8a8a' -draw "circle 44,62 44,66" \
  "${Q[@]}" welcome3.jpg

# 4: label printer, orange shell with a roll of labels feeding out.
convert -size ${W}x${H} xc:white -draw "$shadow" \
  -fill '#f28c28' -stroke '#c46a12' -strokewidth 2 -draw "roundrectangle 50,36 150,120 18,18" \
  -fill '#fff3e0' -draw "circle 100,66 100,44" \
  -fill '#f28c28' -draw "circle 100,66 100,58" \
  -stroke '#9aa0a8' -strokewidth 1 -fill white -draw "rectangle 70,104 130,134" \
  -fill '#ffe3c2' -stroke none -draw "roundrectangle 76,110 124,128 3,3" \
  -fill '#c46a12' -draw "rectangle 82,115 118,118" -draw "rectangle 82,121 106,124" \
  "${Q[@]}" welcome4.jpg

# 5: photo printer, silver with a colour print coming out of the front.
convert -size ${W}x${H} xc:white -draw "$shadow" \
  -fill '#cfd5dc' -stroke '#8d96a0' -strokewidth 2 -draw "roundrectangle 22,34 178,104 12,12" \
  -stroke none -fill '#aab3bd' -draw "rectangle 40,84 160,92" \
  \( -size 96x44 gradient:'#2a9df4'-'#f4d03f' \) -geometry +52+90 -composite \
  -fill '#e74c3c' -draw "circle 80,112 80,104" \
  -fill '#27ae60' -draw "polygon 104,134 124,102 146,134" \
  -fill '#f4f4f4' -stroke '#8d96a0' -strokewidth 1 -draw "rectangle 48,88 152,90" \
  -stroke none -fill '#c0392b' -draw "circle 42,50 42,54" \
  -fill '#16a085' -draw "circle 56,50 56,54" -fill '#f39c12' -draw "circle 70,50 70,54" \
  "${Q[@]}" welcome5.jpg

ls -l welcome?.jpg
