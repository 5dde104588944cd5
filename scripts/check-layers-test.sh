#!/usr/bin/env bash
# check-layers-test.sh — check-layers.sh must pass a small clean tree and fail each kind of
# violation planted in a copy of it, naming the file that commits it.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# A tree with every layer, a public and a private platform header, and legal includes only.
make_clean_tree() {
  local t="$1"
  mkdir -p "$t"/src/{rtl,platform/display,frame,controls,chart,report,app}
  printf '#pragma once\n#include <cstdio>\n#include <string>\n#include <unistd.h>\n' >"$t/src/rtl/Base.h"
  printf '#pragma once\n#include "rtl/Base.h"\n' >"$t/src/platform/display/WindowApi.h"
  printf '#pragma once\n#include "platform/display/WindowApi.h"\n' \
    >"$t/src/platform/display/WindowManager.h"
  printf '#include "platform/display/WindowManager.h"\n#include <X11/Xlib.h>\n' \
    >"$t/src/platform/display/X11Backend.cpp"
  printf '#pragma once\n#include "platform/display/WindowApi.h"\n' >"$t/src/frame/Frame.h"
  printf '#include "frame/Frame.h"\n' >"$t/src/frame/Frame.cpp"
  printf '#pragma once\n#include "../frame/Frame.h"\n' >"$t/src/controls/Control.h"
  printf '#pragma once\n#include "controls/Control.h"\n' >"$t/src/chart/Chart.h"
  printf '#pragma once\n#include "chart/Chart.h"\n' >"$t/src/report/Report.h"
  printf '#include "report/Report.h"\n#include <vector>\n' >"$t/src/app/App.cpp"
}

passed=0
failed=0
expect() { # expect STATUS NAME [TEXT]: the checker's status on tree NAME, and TEXT in its output
  local want="$1" name="$2" text="${3:-}" out status
  out="$("$here/check-layers.sh" "$scratch/$name" 2>&1)"
  status=$?
  if [ "$status" -eq "$want" ] && { [ -z "$text" ] || grep -qF -- "$text" <<<"$out"; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $name: status $status (want $want), output:" >&2
    echo "$out" | sed 's/^/    /' >&2
  fi
}

# plant NAME FILE CONTENT: a copy of the clean tree with one file added or replaced.
plant() {
  cp -r "$scratch/clean" "$scratch/$1"
  mkdir -p "$(dirname "$scratch/$1/$2")"
  printf '%b' "$3" >"$scratch/$1/$2"
}

make_clean_tree "$scratch/clean"
expect 0 clean

# X11 reached through a platform header that is not on the private list, from the frame.
plant x11-through-header src/platform/display/KeyNames.h '#pragma once\n#include <X11/keysym.h>\n'
printf '#include "platform/display/KeyNames.h"\n' >"$scratch/x11-through-header/src/frame/Keys.cpp"
expect 1 x11-through-header "src/frame/Keys.cpp reaches"
# A private header of the platform reached from above.
plant private src/controls/Spin.cpp '#include "platform/display/WindowManager.h"\n'
expect 1 private "src/controls/Spin.cpp reaches platform/display/WindowManager.h, private to platform"
# ... also through a public header of the layer above it.
plant private-through src/frame/Windows.h '#pragma once\n#include "platform/display/WindowManager.h"\n'
printf '#include "frame/Windows.h"\n' >"$scratch/private-through/src/chart/Draw.cpp"
expect 1 private-through "src/chart/Draw.cpp reaches platform/display/WindowManager.h"
# A new folder below src/ has no rank.
plant new-folder src/extra/Thing.cpp '#include "rtl/Base.h"\n'
expect 1 new-folder "src/extra: a folder below src/ without a layer rank"
# A .hh header including a layer above it.
plant hh-header src/rtl/Up.hh '#pragma once\n#include "app/App.h"\n'
touch "$scratch/hh-header/src/app/App.h"
expect 1 hh-header "src/rtl/Up.hh: layer rtl reaches app/App.h of app"
# An include through a macro.
plant macro-include src/controls/Macro.cpp '#define CHART_HEADER "chart/Chart.h"\n#include CHART_HEADER\n'
expect 1 macro-include "src/controls/Macro.cpp: layer controls reaches chart/Chart.h"
# A relative path up and across.
plant relative src/frame/Relative.cpp '#include "../report/Report.h"\n'
expect 1 relative "src/frame/Relative.cpp: layer frame reaches report/Report.h"
# Host headers of libraries no list named, wherever they are (or are not) installed.
plant pixbuf src/report/Pixbuf.cpp '#include <gdk-pixbuf/gdk-pixbuf.h>\n'
expect 1 pixbuf "src/report/Pixbuf.cpp reaches"
plant pango src/chart/Text.cpp '#include <pango/pangocairo.h>\n'
expect 1 pango "src/chart/Text.cpp reaches"
# libjpeg only in the frame's JPEG decoder.
plant jpeg src/controls/Jpeg.cpp '#include <cstdio>\n#include <jpeglib.h>\n'
expect 1 jpeg "src/controls/Jpeg.cpp reaches"
plant jpeg-decoder src/frame/graphics/Decoder.cpp '#include <cstdio>\n#include <jpeglib.h>\n'
expect 0 jpeg-decoder

echo "check-layers-test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
