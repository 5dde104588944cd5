#!/usr/bin/env bash
# End-to-end: `zorvane` on a high-resolution screen. On a display of its own (2048 x 1600, no
# window manager) the program runs as a desktop at 96 dpi leaves it, then with the X resource
# "Xft.dpi: 192" a desktop sets for a 4K screen (xrdb). Each time the user sets the period to
# March 2000 with clicks and keys and clicks "Next" at its place on the screen (at 192 dpi the
# clicks land only if the pointer is converted). At 192 dpi the input form's window is 626 x 450
# and the result form's 1298 x 978; each window's picture is the 96-dpi one doubled, within a
# tolerance; and its text is drawn at the screen's resolution: neither the 96-dpi picture doubled
# pixel by pixel (2 x 2 squares of one colour) nor enlarged smoothly (edges blurred over several
# pixels). Screenshots go to BUILD-DIR/e2e/hidpi/<variant>/. Skipped (77) without xrdb.
#   hidpi_e2e.sh ZORVANE BUILD-DIR
set -uo pipefail
zorvane="$1"
build="$2"
source "$(dirname "$0")/zorvane_lib.sh"
command -v xrdb >/dev/null || { echo "skipped: xrdb is not installed"; exit 77; }
export XVFB_SCREEN=2048x1600x24
zorvane_setup hidpi
unset ZORVANE_SCALE GDK_SCALE

# The window's picture FILE once two pictures in a row agree (its charts may still be painting).
steady_shot() { # steady_shot WINDOW FILE
  shot "$1" "$2.before.png" && sleep 0.2 && shot "$1" "$2" &&
    [ "$(compare -metric AE "$2.before.png" "$2" null: 2>&1)" = "0" ]
}
size_of() { identify -format '%wx%h' "$1" 2>/dev/null; }

# The program once: both forms' pictures as input-TAG.png and result-TAG.png; their client sizes
# in input_size and result_size.
run_once() { # run_once TAG
  input_size="" result_size=""
  start_zorvane
  input_size="${W}x${H}"
  wait_for steady_shot "$win" "$out/input-$1.png"
  click_at 68 194
  xdotool key --delay 20 $(printf 'Up %.0s' $(seq 1 11)) Down Down
  type_into 154 196 2000
  click_at "${NEXT[@]}"
  local res
  res=$(wait_window 'Zorvane: Март 2000 г.')
  if [ -n "$res" ]; then
    client_geometry "$res"
    result_size="${W}x${H}"
    wait_for steady_shot "$res" "$out/result-$1.png"
  fi
  close_box "$win"
  wait_exit
  [ "$status" = "0" ]
  check "the program at $1 dpi ends with status 0 (got ${status:-still running})" $?
}

# Thousandths of the pixels of the scale-2 picture B unlike the scale-1 picture A doubled, both
# softened by a Gaussian of 2 device pixels: text drawn afresh at the screen's resolution differs
# from doubled text only in its fine detail, which the softening takes out, while anything out of
# place by even one device pixel leaves a trail along every edge.
unlike_doubled() { # unlike_doubled A B
  convert "$1" -scale 200% -blur 0x2 "$out/doubled.png"
  convert "$2" -blur 0x2 "$out/softened.png"
  compare -metric AE -fuzz 10% "$out/doubled.png" "$out/softened.png" null: 2>&1 |
    awk -v n="$(identify -format '%[fx:w*h]' "$2")" '{print int($1 * 1000 / n)}'
}
# Thousandths of the pixels of a region of B (scale 2) unlike the same region made of 2 x 2
# squares of one colour: a picture enlarged pixel by pixel has none.
unsquare() { # unsquare B CROP
  convert "$1" -crop "$2" +repage "$out/crop.png"
  convert "$out/crop.png" -sample 50% -sample 200% "$out/squares.png"
  compare -metric AE "$out/squares.png" "$out/crop.png" null: 2>&1 |
    awk -v n="$(identify -format '%[fx:w*h]' "$out/crop.png")" '{print int($1 * 1000 / n)}'
}
# The sharpness of a region: the mean square of the grey steps between neighbouring pixels, in
# thousandths. An edge made in one step counts its whole height squared; a blurred one spreads it
# over several smaller steps, whose squares add up to much less.
sharpness() { # sharpness IMAGE CROP
  convert "$1" -crop "$2" +repage -colorspace Gray -depth 16 "$out/grey.miff"
  local h v
  h=$(convert "$out/grey.miff" \( +clone -roll +1+0 \) -compose difference -composite \
        -crop +1+0 +repage -evaluate pow 2 -format '%[fx:mean]' info:)
  v=$(convert "$out/grey.miff" \( +clone -roll +0+1 \) -compose difference -composite \
        -crop +0+1 +repage -evaluate pow 2 -format '%[fx:mean]' info:)
  awk -v h="$h" -v v="$v" 'BEGIN { printf "%d\n", (h + v) * 1000 * 1000 }'
}
# Text of the scale-2 picture B in CROP is drawn at the screen's resolution: not squares of one
# colour (the scale-1 picture doubled pixel by pixel), and at least twice as sharp as the scale-1
# picture A enlarged smoothly (bilinear).
text_sharp() { # text_sharp WHAT A B CROP
  local squares real smooth
  squares=$(unsquare "$3" "$4")
  convert "$2" -filter Triangle -resize 200% "$out/smooth.png"
  real=$(sharpness "$3" "$4")
  smooth=$(sharpness "$out/smooth.png" "$4")
  [ "${squares:-0}" -ge 40 ] && [ "${real:-0}" -ge $((2 * ${smooth:-1})) ]
  check "$1's text is drawn at 192 dpi ($squares‰ of pixels off the squares; sharpness $real against $smooth enlarged smoothly)" $?
}

form_scale=1
run_once 96
[ "$input_size" = 313x225 ] && [ "$result_size" = 649x489 ]
check "at 96 dpi the forms are 313 x 225 and 649 x 489 (got $input_size, $result_size)" $?

# As a desktop sets it (the RESOURCE_MANAGER property of the root window).
echo 'Xft.dpi: 192' | xrdb -nocpp -merge
form_scale=2
run_once 192
[ "$input_size" = 626x450 ]
check "at 192 dpi the input form is 626 x 450 (got $input_size)" $?
[ "$result_size" = 1298x978 ]
check "at 192 dpi the result form is 1298 x 978 (got $result_size)" $?

for form in input result; do
  a="$out/$form-96.png" b="$out/$form-192.png"
  if [ "$(size_of "$b")" != "$(size_of "$a" | awk -Fx '{print $1 * 2 "x" $2 * 2}')" ]; then
    check "the $form form's pictures at both scales" 1
    continue
  fi
  d=$(unlike_doubled "$a" "$b")
  [ "${d:-1000}" -le 6 ]
  check "the $form form at 192 dpi is its 96-dpi picture doubled ($d‰ of pixels unlike)" $?
done
# Text drawn at the screen's resolution: the input form's labels and the result form's day lists.
text_sharp "the input form" "$out/input-96.png" "$out/input-192.png" 120x40+16+10
text_sharp "the result form" "$out/result-96.png" "$out/result-192.png" 880x100+0+780
e2e_done "high-resolution screen e2e"
