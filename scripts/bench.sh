#!/usr/bin/env bash
# make bench: every performance budget measured in one run, Dayvane beside
# the baseline program (bench/baseline: a window with a menu and two month
# calendars, built the same way), both started under the same Wine on a
# private Xvfb by bench/probe/bench_probe.exe. Prints a Markdown table
# (also saved to build/bench/bench.md). Never part of make test.
#   BENCH_RUNS (default 3)            runs of each program; medians, min, max
#   BENCH_IDLE_SECONDS (default 60)   the idle CPU window of each run
#   BENCH_CAPTION_SECONDS (default 10) the caption timing window of each run
#   BENCH_STARTS (default 10)         further starts of each, for the start
#                                     time and memory, which vary the most
#   BENCH_DAYVANE, BENCH_LEAK_TESTS   another Dayvane.exe and win32 test
#                                     program to measure (an older build)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$PWD
runs=${BENCH_RUNS:-3}
idle=${BENCH_IDLE_SECONDS:-60}
caption=${BENCH_CAPTION_SECONDS:-10}
starts=${BENCH_STARTS:-10}
out=$root/build/bench
mkdir -p "$out"

own=(Dayvane dayvane_win32_tests)
[[ -n ${BENCH_DAYVANE:-} ]] && own=()
cmake --preset windows >"$out/build.log" 2>&1 &&
  cmake --build --preset windows --target "${own[@]}" DayvaneBaseline bench_probe >>"$out/build.log" 2>&1 ||
  { tail -n 30 "$out/build.log"; echo "bench: the build failed" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
we_start_xvfb || exit 1
we_prefix_fresh build/wine/bench || exit 1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# wineserver serves every call of every program in the prefix; its share of
# the idle CPU is shown beside the program's.
read -r prefix_dev prefix_inode < <(stat -c '%d %i' "$WINEPREFIX")
server_dir=$(printf 'server-%x-%x' "$prefix_dev" "$prefix_inode")
server_pid=0
for p in $(pgrep wineserver); do
  [[ $(readlink "/proc/$p/cwd") == */"$server_dir" ]] && server_pid=$p
done

bin=$root/build/windows/bench
probe() { # probe PROGRAM CLASS IDLE CAPTION CLOCK
  wine "$bin/bench_probe.exe" "$(winepath -w "$1")" "$2" "$3" "$4" "$server_pid" "$5" 2>>"$out/probe.log" |
    tr -d '\r'
}
dayvane=${BENCH_DAYVANE:-$root/build/windows/Dayvane.exe}
leak_tests=${BENCH_LEAK_TESTS:-$root/build/windows/tests/win32/dayvane_win32_tests.exe}
baseline=$bin/DayvaneBaseline.exe

echo "bench: $runs runs of each, ${idle} s idle each; this takes about $((runs * (2 * idle + 90) / 60 + starts / 6 + 4)) minutes"
# The first start of a prefix loads what every later one finds in the cache.
probe "$dayvane" Dayvane.frmmain 1 0 1 >/dev/null
probe "$baseline" DayvaneBaseline 1 0 0 >/dev/null
: >"$out/dayvane.txt"
: >"$out/baseline.txt"
for ((i = 1; i <= runs; i++)); do
  echo "bench: run $i of $runs"
  probe "$dayvane" Dayvane.frmmain "$idle" "$caption" 1 | tee -a "$out/dayvane.txt"
  probe "$baseline" DayvaneBaseline "$idle" 0 0 | tee -a "$out/baseline.txt"
done

echo "bench: $starts more starts of each"
: >"$out/dayvane-starts.txt"
: >"$out/baseline-starts.txt"
for ((i = 1; i <= starts; i++)); do
  probe "$dayvane" Dayvane.frmmain 0 0 1 >>"$out/dayvane-starts.txt"
  probe "$baseline" DayvaneBaseline 0 0 0 >>"$out/baseline-starts.txt"
done
cat "$out/dayvane.txt" >>"$out/dayvane-starts.txt"
cat "$out/baseline.txt" >>"$out/baseline-starts.txt"

echo "bench: leak check (500 open/close cycles of every window, 100 000 clock ticks)"
DAYVANE_LEAK_CYCLES=500 wine "$leak_tests" --gtest_filter='LeakCheck.*' 2>&1 | tr -d '\r' >"$out/leak.log"
leak=$(grep -m1 '^leak-check:' "$out/leak.log" || echo "")
leak_ok=no
grep -q '^\[  PASSED  \] 1 test' "$out/leak.log" && leak_ok=yes

# stat KEY FILE: "median min max" of KEY=value over the runs.
stat_of() {
  sed -n "s/.*\\b$1=\\([-0-9.]*\\).*/\\1/p" "$2" | sort -g | awk '
    { v[NR] = $1 } END {
      if (NR == 0) { print "nan nan nan"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print m, v[1], v[NR] }'
}
# Each figure of both programs as "median min max" in awk variables:
# d_start d_start_min d_start_max b_start ...
vars=()
for key in created_ms start_ms frame_ms idle_ms ws_kib; do
  read -r m lo hi < <(stat_of "$key" "$out/dayvane-starts.txt")
  vars+=(-v "d_${key%_*}=$m" -v "d_${key%_*}_min=$lo" -v "d_${key%_*}_max=$hi")
  read -r m lo hi < <(stat_of "$key" "$out/baseline-starts.txt")
  vars+=(-v "b_${key%_*}=$m" -v "b_${key%_*}_min=$lo" -v "b_${key%_*}_max=$hi")
done
for key in cpu_pct server_pct wakeups wakeups_hidden wakeups_minimised restore_stale_s caption_ms_max; do
  read -r m lo hi < <(stat_of "$key" "$out/dayvane.txt")
  vars+=(-v "d_$key=$m" -v "d_${key}_min=$lo" -v "d_${key}_max=$hi")
  read -r m lo hi < <(stat_of "$key" "$out/baseline.txt")
  vars+=(-v "b_$key=$m" -v "b_${key}_min=$lo" -v "b_${key}_max=$hi")
done
vars+=(-v "d_size=$(stat -c %s "$dayvane")" -v "b_size=$(stat -c %s "$baseline")")

table=$(awk "${vars[@]}" -v leak="$leak" -v leak_ok="$leak_ok" -v caption="$caption" -v idle="$idle" '
  function fig(m, lo, hi, fmt) { return sprintf(fmt " (" fmt "–" fmt ")", m, lo, hi) }
  function ratio(a, b) { return b > 0 ? sprintf("%.2f×", a / b) : "—" }
  function row(figure, d, b, r, budget, ok) {
    printf "| %s | %s | %s | %s | %s | %s |\n", figure, d, b, r, budget, ok < 0 ? "—" : ok ? "yes" : "**no**"
  }
  BEGIN {
    print "| figure | Dayvane | baseline | ratio | budget | within |"
    print "| --- | --- | --- | --- | --- | --- |"
    row("start to the first complete frame (photo, both views, caption clock), ms",
        fig(d_frame, d_frame_min, d_frame_max, "%.0f"), fig(b_frame, b_frame_min, b_frame_max, "%.0f"),
        ratio(d_frame, b_frame), "≤ 1.10× baseline", d_frame > 0 && d_frame <= 1.10 * b_frame)
    row("start to main window shown, ms", fig(d_start, d_start_min, d_start_max, "%.0f"),
        fig(b_start, b_start_min, b_start_max, "%.0f"), ratio(d_start, b_start), "—", -1)
    # A 10 s window catches 10 or 11 events of a once-a-second timer.
    row("clock wake-ups per s, window shown (WM_TIMER taken, 10 s)",
        fig(d_wakeups, d_wakeups_min, d_wakeups_max, "%.2f"), fig(b_wakeups, b_wakeups_min, b_wakeups_max, "%.2f"),
        "—", "1 /s", d_wakeups_max <= 1.1 && d_wakeups_min >= 0.9)
    row("clock wake-ups per s, window hidden (10 s)",
        fig(d_wakeups_hidden, d_wakeups_hidden_min, d_wakeups_hidden_max, "%.2f"),
        fig(b_wakeups_hidden, b_wakeups_hidden_min, b_wakeups_hidden_max, "%.2f"), "—", "0",
        d_wakeups_hidden_max == 0)
    row("clock wake-ups per s, window minimised (10 s)",
        fig(d_wakeups_minimised, d_wakeups_minimised_min, d_wakeups_minimised_max, "%.2f"),
        fig(b_wakeups_minimised, b_wakeups_minimised_min, b_wakeups_minimised_max, "%.2f"), "—", "0",
        d_wakeups_minimised_max == 0)
    row("caption behind the clock when shown again after 2 s hidden, s",
        fig(d_restore_stale_s, d_restore_stale_s_min, d_restore_stale_s_max, "%.0f"), "—", "—", "0",
        d_restore_stale_s_max == 0)
    row("caption change after each new second, worst ms (" caption " s)",
        fig(d_caption_ms_max, d_caption_ms_max_min, d_caption_ms_max_max, "%.0f"), "—", "—", "≤ 50 ms",
        d_caption_ms_max_max >= 0 && d_caption_ms_max_max <= 50)
    row("CPU while idle and shown, % of one core (" idle " s)", fig(d_cpu_pct, d_cpu_pct_min, d_cpu_pct_max, "%.4f"),
        fig(b_cpu_pct, b_cpu_pct_min, b_cpu_pct_max, "%.4f"), ratio(d_cpu_pct, b_cpu_pct), "≤ 0.1 %",
        d_cpu_pct_max <= 0.1)
    row("wineserver CPU meanwhile, % of one core", fig(d_server_pct, d_server_pct_min, d_server_pct_max, "%.3f"),
        fig(b_server_pct, b_server_pct_min, b_server_pct_max, "%.3f"), ratio(d_server_pct, b_server_pct), "—", -1)
    row("resident memory after start, MiB", fig(d_ws / 1024, d_ws_min / 1024, d_ws_max / 1024, "%.1f"),
        fig(b_ws / 1024, b_ws_min / 1024, b_ws_max / 1024, "%.1f"), ratio(d_ws, b_ws), "≤ 1.25× baseline",
        d_ws <= 1.25 * b_ws)
    row("executable size, KiB (assets included)", sprintf("%.0f", d_size / 1024), sprintf("%.0f", b_size / 1024),
        ratio(d_size, b_size), "≤ 384 KiB", d_size <= 384 * 1024)
    sub(/^leak-check: /, "", leak)
    handles = ""; ws = ""; priv = ""
    if (match(leak, /handles [0-9]+ -> [0-9]+/)) handles = substr(leak, RSTART + 8, RLENGTH - 8)
    if (match(leak, /working set [-+0-9]+ KiB/)) ws = substr(leak, RSTART + 12, RLENGTH - 12)
    if (match(leak, /private [-+0-9]+ KiB/)) priv = substr(leak, RSTART + 8, RLENGTH - 8)
    wsk = ws; sub(/ KiB/, "", wsk)
    row("leaks: 500 open/close of every window, 100 000 ticks", "handles " handles "; working set " ws "; private " priv,
        "—", "—", "handles back; ≤ 256 KiB", leak_ok == "yes" && wsk + 0 <= 256)
    print ""
    print "Where the start goes (medians, ms from CreateProcess):"
    print ""
    print "| step | Dayvane | baseline | ratio |"
    print "| --- | --- | --- | --- |"
    printf "| main window created, hidden | %.0f | %.0f | %s |\n", d_created, b_created, ratio(d_created, b_created)
    printf "| main window shown | %.0f | %.0f | %s |\n", d_start, b_start, ratio(d_start, b_start)
    printf "| first complete frame | %.0f | %.0f | %s |\n", d_frame, b_frame, ratio(d_frame, b_frame)
    printf "| first wait for input after it | %.0f | %.0f | %s |\n", d_idle, b_idle, ratio(d_idle, b_idle)
  }')
dlls() { # DLLs the program has mapped beyond the baseline's, from its first run
  local own base
  own=$(sed -n "s/.* $1=\\([^ ]*\\).*/\\1/p" "$out/dayvane.txt" | head -n1 | tr ',' '\n')
  base=$(sed -n "s/.* dlls=\\([^ ]*\\).*/\\1/p" "$out/baseline.txt" | head -n1 | tr ',' '\n')
  comm -23 <(sort <<<"$own") <(sort <<<"$base") | paste -sd' ' | sed 's/^$/none/'
}

{
  echo "Measured $(date -u '+%Y-%m-%d') on $(lscpu | sed -n 's/^Model name: *//p' | head -n1), $(nproc) cores,"
  echo "$(wine --version), Xvfb; median (min–max) of $runs runs of each program ($((runs + starts)) starts for"
  echo "the start figures and memory)."
  echo
  echo "$table"
  echo
  echo "DLLs Dayvane has mapped beyond the baseline's once it first waits for input: $(dlls dlls);"
  echo "in the 3 s after: $(dlls dlls_later)."
} | tee "$out/bench.md"
echo "bench: table saved to build/bench/bench.md; raw figures in build/bench/"
