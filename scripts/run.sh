#!/usr/bin/env bash
# make run: builds Dayvane.exe and starts it under Wine, on $DISPLAY when
# there is one; otherwise on a private Xvfb, leaving a screenshot.
# FRESH=1 starts from a new prefix instead of the kept build/wine/run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
exe=$root/build/windows/Dayvane.exe
title='Time now is'
shots=$root/build/screenshots

bash scripts/build.sh windows
if [[ ! -f $exe ]]; then
  echo "run: $exe was not built" >&2
  exit 1
fi

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

if [[ -n ${DISPLAY:-} ]]; then
  if [[ ${FRESH:-} == 1 || ! -f build/wine/run/system.reg ]]; then
    we_prefix_copy build/wine/run
  fi
  export WINEPREFIX=$root/build/wine/run
  # A real desktop has a window manager: let it manage Wine's windows.
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  echo "Dayvane runs on $DISPLAY; close it to end."
  # No teardown here: a second "make run" only brings the first window
  # forward, and ending its wineserver would close that one too. The server
  # ends by itself a few seconds after the last program.
  exec wine "$exe"
fi

we_start_xvfb
if [[ ${FRESH:-} == 1 ]]; then we_prefix_fresh build/wine/run; else we_prefix_keep build/wine/run; fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine "$exe" >build/wine/run.log 2>&1 &
app=$!

wid=
for ((i = 0; i < 200; i++)); do
  wid=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
  [[ -n $wid ]] && break
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if [[ -n $wid ]]; then
  # The first paint of the controls comes a little after the window.
  sleep 1.5
else
  echo "run: no window titled \"$title\" within 20 s (log: build/wine/run.log)" >&2
fi

mkdir -p "$shots"
import -window root -display "$DISPLAY" "$shots/run-screen.png"
# Keep just Dayvane's window (Wine draws its frame, so the X window is all
# of it); without one, whatever was drawn on the black root.
geometry=$({ xdotool getwindowgeometry --shell "$wid" 2>/dev/null || true; } |
  awk -F= '{ v[$1] = $2 } END { if (v["WIDTH"]) printf "%dx%d+%d+%d", v["WIDTH"], v["HEIGHT"], v["X"], v["Y"] }')
if [[ -n $wid && -n $geometry ]]; then
  /usr/bin/convert "$shots/run-screen.png" -crop "$geometry" +repage "$shots/run.png"
else
  /usr/bin/convert "$shots/run-screen.png" -bordercolor black -border 1 -trim +repage "$shots/run.png"
fi
echo "Screenshot saved to build/screenshots/run.png"
[[ -n $wid ]]
