# shellcheck shell=bash
# Sourced by run.sh and test.sh. Gives a private Xvfb and throwaway Wine
# prefixes under build/, and tears down only what this shell started: other
# X servers and wineservers on the machine may belong to someone else.
#
#   we_start_xvfb [WxHxD]   start Xvfb on a free display from :90 up, export
#                           DISPLAY (size also from XVFB_SCREEN)
#   we_prefix_fresh DIR     copy the cached template prefix to DIR, export
#                           WINEPREFIX and keep its wineserver up
#   we_prefix_keep DIR      the same, but reuse DIR when it exists
#   we_prefix_copy DIR      only the copy: no server, nothing to tear down
#   we_prefix_stop          end every Windows process of $WINEPREFIX
#   we_teardown             runs on EXIT; callers must not replace that trap

WE_ROOT=${WE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
WE_TEMPLATE=${WE_TEMPLATE:-$WE_ROOT/build/wine/template}
WE_XVFB_PID=
WE_XVFB_LOG=
WE_PREFIXES=()
WE_TRAPPED=

# Never touch a prefix the caller's environment points at (e.g. ~/.wine).
unset WINEPREFIX
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET/HTML installers on first start, no menu entries or .desktop files.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'

we_log() { printf '%s\n' "$*" >&2; }

we_now() { date +%s.%N; }
we_since() { awk -v a="$1" -v b="$(we_now)" 'BEGIN { printf "%.1f", b - a }'; }

we_arm_trap() {
  [[ -n $WE_TRAPPED ]] && return
  WE_TRAPPED=1
  trap we_teardown EXIT
  # Turn signals into a normal exit so the EXIT trap still cleans up.
  trap 'exit 129' HUP
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

we_display_free() {
  [[ ! -e /tmp/.X$1-lock && ! -e /tmp/.X11-unix/X$1 ]]
}

# Prints the first display number from $1 (default 90) that looks unused.
we_pick_display() {
  local n
  for ((n = ${1:-90}; n < 400; n++)); do
    if we_display_free "$n"; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

# shellcheck disable=SC2120 # the size is optional
we_start_xvfb() {
  local screen=${1:-${XVFB_SCREEN:-1024x768x24}} n=89 i
  we_arm_trap
  mkdir -p "$WE_ROOT/build/wine"
  WE_XVFB_LOG=$WE_ROOT/build/wine/xvfb.log
  # Another run may take the same number between the check and the start:
  # then this Xvfb exits and the next number is tried.
  while n=$(we_pick_display $((n + 1))); do
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -br -noreset >"$WE_XVFB_LOG" 2>&1 &
    WE_XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
      if ! kill -0 "$WE_XVFB_PID" 2>/dev/null; then
        wait "$WE_XVFB_PID" 2>/dev/null || true
        WE_XVFB_PID=
        break
      fi
      if xwininfo -root -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=:$n
        return 0
      fi
      sleep 0.1
    done
    if [[ -n $WE_XVFB_PID ]]; then
      kill "$WE_XVFB_PID" 2>/dev/null || true
      wait "$WE_XVFB_PID" 2>/dev/null || true
      WE_XVFB_PID=
    fi
  done
  we_log "wine-env: could not start Xvfb (see $WE_XVFB_LOG)"
  return 1
}

we_stop_xvfb() {
  [[ -n $WE_XVFB_PID ]] || return 0
  kill "$WE_XVFB_PID" 2>/dev/null || true
  wait "$WE_XVFB_PID" 2>/dev/null || true
  WE_XVFB_PID=
}

# The prefix's user folder; Wine names it after the Unix account, and $USER
# is not always set (CI).
we_user_dir() {
  local p=$1 d
  d=$p/drive_c/users/$(id -un)
  if [[ ! -d $d ]]; then
    for d in "$p"/drive_c/users/*; do
      [[ ${d##*/} != Public && -d $d ]] && break
    done
  fi
  echo "$d"
}

# The stamp names what the template was made with; a different Wine, user
# or version of this file makes a new one.
we_template_stamp() {
  printf '%s\n' "$(wine --version 2>/dev/null)" "$(id -un)" \
    "$(md5sum <"${BASH_SOURCE[0]}" | cut -d' ' -f1)"
}

we_template_abandon() {
  WINEPREFIX=$1 wineserver -k 2>/dev/null || true
  rm -rf "$1"
  we_log "wine-env: $2 (see $WE_TEMPLATE.log)"
  return 1
}

we_make_template() {
  local p=$WE_TEMPLATE tmp d link start
  tmp=$p.new.$$
  start=$(we_now)
  rm -rf "$tmp"
  mkdir -p "$(dirname "$p")"
  # Made without a display: nothing flashes on the user's screen, and the
  # prefix comes out the same.
  (unset DISPLAY; WINEPREFIX=$tmp wineboot -i) >"$p.log" 2>&1 ||
    { we_template_abandon "$tmp" "wineboot -i failed"; return 1; }
  # Managed=N: without a window manager Wine otherwise waits ~2 s whenever a
  # top-level window is hidden. ShowCrashDialog=0: a crash prints its
  # backtrace and ends instead of waiting on a dialog until the time limit.
  (
    unset DISPLAY
    WINEPREFIX=$tmp wine reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /t REG_SZ /d N /f &&
      WINEPREFIX=$tmp wine reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f
  ) >>"$p.log" 2>&1 ||
    { we_template_abandon "$tmp" "registry set-up failed"; return 1; }
  # The shell folders point into $HOME: a test's desktop shortcut would land
  # in the real home folder.
  d=$(we_user_dir "$tmp")
  for link in "$d"/*; do
    if [[ -L $link ]]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
  # Wine uses its own Tahoma only when it sits in the prefix's Fonts folder.
  cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf \
    "$tmp/drive_c/windows/Fonts/" >>"$p.log" 2>&1 ||
    { we_template_abandon "$tmp" "copying the fonts failed"; return 1; }
  # The registry reaches the disk when the server ends.
  WINEPREFIX=$tmp wineserver -k 2>/dev/null || true
  WINEPREFIX=$tmp wineserver -w 2>/dev/null || true
  we_template_stamp >"$tmp/.dayvane-template"
  rm -rf "$p"
  mv "$tmp" "$p"
  we_log "wine-env: template prefix made in $(we_since "$start") s"
}

we_ensure_template() {
  mkdir -p "$(dirname "$WE_TEMPLATE")"
  (
    # Two runs at once must not build the template over each other.
    flock 9
    if [[ ! -f $WE_TEMPLATE/.dayvane-template ]] ||
      [[ $(cat "$WE_TEMPLATE/.dayvane-template") != "$(we_template_stamp)" ]]; then
      we_make_template
    fi
  ) 9>"$WE_TEMPLATE.lock"
}

we_abs() { if [[ $1 == /* ]]; then echo "$1"; else echo "$PWD/$1"; fi; }

# Copies the template to $1, replacing whatever was there.
we_prefix_copy() {
  local p
  p=$(we_abs "$1")
  we_ensure_template || return 1
  WINEPREFIX=$p wineserver -k 2>/dev/null || true
  rm -rf "$p"
  cp -a "$WE_TEMPLATE" "$p" || return 1
  rm -f "$p/.dayvane-template"
}

# A fresh prefix at $1, in use until teardown.
we_prefix_fresh() {
  we_arm_trap
  we_prefix_copy "$1" || return 1
  we_prefix_use "$(we_abs "$1")"
}

# The prefix at $1 as it was left (a copy of the template if missing), in
# use until teardown.
we_prefix_keep() {
  local p
  p=$(we_abs "$1")
  we_arm_trap
  [[ -f $p/system.reg ]] || we_prefix_copy "$p" || return 1
  we_prefix_use "$p"
}

we_prefix_use() {
  export WINEPREFIX=$1
  WE_PREFIXES+=("$1")
  # Keeps the server, and so the warm start of the next program, between runs.
  wineserver -p 2>/dev/null || true
}

we_prefix_stop() {
  [[ -n ${WINEPREFIX:-} ]] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  return 0
}

we_teardown() {
  local p
  for p in "${WE_PREFIXES[@]}"; do
    WINEPREFIX=$p wineserver -k 2>/dev/null || true
  done
  for p in "${WE_PREFIXES[@]}"; do
    WINEPREFIX=$p wineserver -w 2>/dev/null || true
  done
  WE_PREFIXES=()
  we_stop_xvfb
}
