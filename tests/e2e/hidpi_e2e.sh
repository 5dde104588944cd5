#!/usr/bin/env bash
# End-to-end: `zorvane` on a high-resolution screen. On a display of its own (2048 x 1600, no
# window manager) the program runs as a desktop at 96 dpi leaves it, then with the X resource
# "Xft.dpi: 192" a desktop sets for a 4K screen. Each time the user sets the period to March
# 2000 with clicks and keys and clicks "Next" (at 192 dpi the clicks land only if the pointer is
# converted). At 192 dpi the input form's window is 626 x 450 and the result form's 1298 x 978;
# each window's picture is the 96-dpi one doubled, within a tolerance (text is drawn afresh at the
# screen's resolution); and its text is not an enlarged picture, whose 2 x 2 squares would all be
# of one colour. Screenshots go to BUILD-DIR/e2e/hidpi/<variant>/.
#   hidpi_e2e.sh ZORVANE BUILD-DIR
set -uo pipefail
zorvane="$1"
build="$2"
source "$(dirname "$0")/zorvane_lib.sh"
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

# Pixels of the scale-2 picture B unlike the scale-1 picture A doubled, in thousandths.
unlike_doubled() { # unlike_doubled A B
  convert "$1" -scale 200% "$out/doubled.png"
  compare -metric AE -fuzz 25% "$out/doubled.png" "$2" null: 2>&1 |
    awk -v n="$(identify -format '%[fx:w*h]' "$2")" '{print int($1 * 1000 / n)}'
}
# Pixels of a region of B (scale 2) unlike the same region made of 2 x 2 squares of one colour,
# in thousandths: an enlarged picture has none.
unsquare() { # unsquare B CROP
  convert "$1" -crop "$2" +repage "$out/crop.png"
  convert "$out/crop.png" -sample 50% -sample 200% "$out/squares.png"
  compare -metric AE "$out/squares.png" "$out/crop.png" null: 2>&1 |
    awk -v n="$(identify -format '%[fx:w*h]' "$out/crop.png")" '{print int($1 * 1000 / n)}'
}

form_scale=1
run_once 96
[ "$input_size" = 313x225 ] && [ "$result_size" = 649x489 ]
check "at 96 dpi the forms are 313 x 225 and 649 x 489 (got $input_size, $result_size)" $?

xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t192\n')"
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
  [ "${d:-1000}" -le 30 ]
  check "the $form form at 192 dpi is its 96-dpi picture doubled ($d‰ of pixels unlike)" $?
done
# Text drawn at the screen's resolution: the input form's labels and the result form's day lists.
d=$(unsquare "$out/input-192.png" 120x40+16+10)
[ "${d:-0}" -ge 40 ]
check "the input form's text is drawn at 192 dpi ($d‰ of pixels off the squares)" $?
d=$(unsquare "$out/result-192.png" 880x100+0+780)
[ "${d:-0}" -ge 40 ]
check "the result form's text is drawn at 192 dpi ($d‰ of pixels off the squares)" $?
e2e_done "high-resolution screen e2e"
