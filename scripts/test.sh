#!/usr/bin/env bash
# make test: the unit layer natively (also under ASan and UBSan, and short
# fuzz runs), the win32, leak and e2e layers under Wine on a private Xvfb.
# Ends with one line "N passed, N failed".
#   LAYER=unit|unit-asan|fuzz|win32|leak|e2e (or several, comma- or
#   space-separated; also as arguments) runs only those. GTEST_FILTER
#   reaches every gtest layer.
#   TEST_TIMEOUT (seconds, default 600) limits each test binary;
#   FUZZ_SECONDS (default 10) is each fuzz target's run.
set -uo pipefail # no -e: a failing layer must not stop the others
cd "$(dirname "$0")/.." || exit 2
root=$PWD

all_layers=(unit unit-asan fuzz win32 leak e2e)
requested=${*:-${LAYER:-}}
requested=${requested//,/ }
layers=()
for l in ${requested:-${all_layers[*]}}; do
  case $l in
    unit | unit-asan | fuzz | win32 | leak | e2e) layers+=("$l") ;;
    *)
      echo "test: unknown layer '$l' (known: ${all_layers[*]})" >&2
      exit 2
      ;;
  esac
done
want() { [[ " ${layers[*]} " == *" $1 "* ]]; }

limit=${TEST_TIMEOUT:-600}
logs=$root/build/test-logs
shots=$root/build/screenshots
declare -A bins=(
  [unit]=build/host/tests/unit/dayvane_unit_tests
  [unit-asan]=build/host-asan/tests/unit/dayvane_unit_tests
  [win32]=build/windows/tests/win32/dayvane_win32_tests.exe
  [e2e]=build/windows/tests/e2e/dayvane_e2e_tests.exe
)
total_passed=0
total_failed=0

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
mkdir -p "$logs"

# Prints "passed failed summary_seen" for a gtest log. Without a summary
# (crash, timeout), the finished tests still count, plus one failure.
count_log() {
  awk '
    { sub(/\r$/, ""); gsub(/\033\[[0-9;]*m/, "") }
    /^\[  PASSED  \] [0-9]+ tests?\./ { p = $4; seen = 1 }
    /^\[  FAILED  \] [0-9]+ tests?, listed below:/ { f = $4; seen = 1 }
    /^\[       OK \] / { ok++ }
    /^\[  FAILED  \] .* \([0-9]+ ms\)$/ { bad++ }
    END {
      if (seen) print p + 0, f + 0, 1
      else print ok + 0, bad + 0, 0
    }' "$1"
}

# Adds a layer's result to the totals and prints it.
tally() {
  local name=$1 passed=$2 failed=$3 note=${4:-}
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  echo "-- $name: $passed passed, $failed failed${note:+ ($note)}"
}

layer_failed() {
  echo "== $1 =="
  tally "$1" 0 1 "$2"
}

# run_layer NAME BINARY [COMMAND...]: runs COMMAND (default BINARY) with a
# time limit, showing and logging its output, and tallies it.
run_layer() {
  local name=$1 bin=$2 log=$logs/$1.log rc start passed failed seen note
  shift 2
  (($#)) || set -- "$bin"
  echo "== $name =="
  if [[ ! -f $bin ]]; then
    tally "$name" 0 1 "not built: $bin"
    return
  fi
  start=$(we_now)
  # Wine writes CRLF; the logs and the screen get plain lines.
  # The outer 2>/dev/null only silences bash's own report of a crash.
  { timeout -k 10 "$limit" "$@" </dev/null 2>&1 | tr -d '\r' | tee "$log"; } 2>/dev/null
  rc=${PIPESTATUS[0]}
  tally_log "$name" "$log" "$rc" "$start"
}

# tally_log NAME LOG EXIT_CODE START_TIME: counts a finished gtest run.
tally_log() {
  local name=$1 log=$2 rc=$3 start=$4 passed failed seen note
  read -r passed failed seen < <(count_log "$log")
  note="exit $rc, $(we_since "$start") s"
  if ((rc == 124 || rc == 137)); then
    note="timed out after $limit s"
  elif ((rc > 128)); then
    note="killed by SIG$(kill -l $((rc - 128))), $(we_since "$start") s"
  fi
  if ((!seen)); then
    failed=$((failed + 1))
    note="no gtest summary, $note"
  elif ((rc != 0 && failed == 0)); then
    failed=1
  fi
  tally "$name" "$passed" "$failed" "$note"
}

# The tests write BMP (no encoder needed in the program); PNG is what gets
# looked at.
bmps_to_png() {
  local bmp
  for bmp in "$shots"/*.bmp; do
    [[ -f $bmp ]] || continue
    if /usr/bin/convert "$bmp" "${bmp%.bmp}.png"; then
      rm -f "$bmp"
    else
      echo "test: could not convert $bmp" >&2
    fi
  done
}

build() {
  echo "== build: $1 =="
  bash scripts/build.sh "$1"
}

# The leak check takes a while and waits on Wine more than it computes: it
# runs in its own prefix while the sanitizer and fuzz layers build and run,
# and is done before the other Wine layers use the display.
leak_pid=
start_leak() {
  local p=$root/build/wine/leak
  echo "== leak: runs in the background =="
  if ! we_prefix_copy "$p"; then
    layer_failed leak "the Wine prefix could not be made"
    return
  fi
  WE_PREFIXES+=("$p")
  rm -f "$logs/leak.rc"
  leak_start=$(we_now)
  (
    export WINEPREFIX=$p
    wineserver -p 2>/dev/null
    # To a file, not a pipe: the Wine services that this first program
    # starts keep its output open, and a pipe would never end.
    timeout -k 10 "$limit" wine "${bins[win32]}" --gtest_filter='LeakCheck.*' </dev/null >"$logs/leak.raw" 2>&1
    echo "$?" >"$logs/leak.rc"
    tr -d '\r' <"$logs/leak.raw" >"$logs/leak.log"
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  ) &
  leak_pid=$!
}

finish_leak() {
  [[ -n $leak_pid ]] || return 0
  wait "$leak_pid"
  leak_pid=
  echo "== leak =="
  cat "$logs/leak.log"
  tally_log leak "$logs/leak.log" "$(cat "$logs/leak.rc" 2>/dev/null || echo 1)" "$leak_start"
}

# The zip unpacked where a user might put it, and the installer, for the
# e2e layer's install tests.
package_for_e2e() {
  local zip=build/package/Dayvane-1.00-win64.zip folder
  folder="$(we_user_dir "$WINEPREFIX")/Downloads/Dayvane Portable Ünïcödé"
  mkdir -p "$folder"
  unzip -q -j -o "$zip" -d "$folder" || echo "test: could not unpack $zip" >&2
  DAYVANE_PORTABLE=$(winepath -w "$folder" 2>/dev/null | tr -d '\r')
  DAYVANE_SETUP=$(winepath -w "$root/build/package/Dayvane-1.00-setup.exe" 2>/dev/null | tr -d '\r')
  export DAYVANE_PORTABLE DAYVANE_SETUP
}

if want unit; then
  if build host; then
    run_layer unit "${bins[unit]}"
  else
    layer_failed unit "build of the host preset failed"
  fi
fi

wine_ready=0
if want win32 || want leak || want e2e; then
  if ! build windows; then
    for l in win32 leak e2e; do
      want "$l" && layer_failed "$l" "build of the windows preset failed"
    done
  elif ! we_start_xvfb; then
    for l in win32 leak e2e; do
      want "$l" && layer_failed "$l" "Xvfb did not start"
    done
  else
    wine_ready=1
    if want e2e; then
      echo "== package =="
      NO_BUILD=1 bash scripts/package.sh || echo "test: make package failed" >&2
    fi
    want leak && start_leak
  fi
fi

if want unit-asan; then
  if build host-asan; then
    run_layer unit-asan "${bins[unit-asan]}"
  else
    layer_failed unit-asan "build of the host-asan preset failed"
  fi
fi

if want fuzz; then
  echo "== fuzz =="
  FUZZ_SECONDS=${FUZZ_SECONDS:-10} bash scripts/fuzz.sh 2>&1 | tee "$logs/fuzz.log"
  read -r fuzz_passed fuzz_failed < <(awk '/^[0-9]+ passed, [0-9]+ failed$/ { p = $1; f = $3 }
    END { print p + 0, f + 0 }' "$logs/fuzz.log")
  ((fuzz_passed + fuzz_failed)) || fuzz_failed=1
  tally fuzz "$fuzz_passed" "$fuzz_failed"
fi

if ((wine_ready)); then
  finish_leak
  mkdir -p "$shots"
  # Pictures left by an earlier run would pass for this run's.
  find "$shots" -maxdepth 1 -type f \( -name '*.bmp' -o -name '*.png' \) \
    ! -name 'run*.png' -delete
  for l in win32 e2e; do
    want "$l" || continue
    if ! we_prefix_fresh "build/wine/$l"; then
      layer_failed "$l" "the Wine prefix could not be made"
      continue
    fi
    DAYVANE_EXE=$(winepath -w "$root/build/windows/Dayvane.exe" 2>/dev/null | tr -d '\r')
    DAYVANE_SCREENSHOTS=$(winepath -w "$shots/" 2>/dev/null | tr -d '\r')
    export DAYVANE_EXE DAYVANE_SCREENSHOTS
    filter=()
    if [[ $l == win32 ]]; then
      # The leak check is a layer of its own.
      f=${GTEST_FILTER:-*}
      [[ $f == *-* ]] || f="$f-LeakCheck.*"
      filter=("--gtest_filter=$f")
    else
      package_for_e2e
    fi
    run_layer "$l" "${bins[$l]}" wine "${bins[$l]}" "${filter[@]}"
    we_prefix_stop
    bmps_to_png
  done
fi

# Tests should stay a quarter to a third of the code they check.
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  code=$(git ls-files -- src bench fuzz scripts cmake packaging assets CMakeLists.txt CMakePresets.json Makefile .ci |
    grep -v -E '\.(ico|jpg|png)$' | xargs cat | wc -l)
  tests=$(git ls-files -- tests | xargs cat | wc -l)
  awk -v t="$tests" -v c="$code" 'BEGIN { printf "test weight: %d test lines / %d code lines = %.2f\n", t, c, t / c }'
fi
echo "$total_passed passed, $total_failed failed"
((total_failed == 0))
