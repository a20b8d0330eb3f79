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
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$PWD
runs=${BENCH_RUNS:-3}
idle=${BENCH_IDLE_SECONDS:-60}
caption=${BENCH_CAPTION_SECONDS:-10}
starts=${BENCH_STARTS:-10}
out=$root/build/bench
mkdir -p "$out"

bash scripts/build.sh windows >"$out/build.log" 2>&1 &&
  cmake --build --preset windows --target DayvaneBaseline bench_probe >>"$out/build.log" 2>&1 ||
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
probe() { # probe PROGRAM CLASS IDLE CAPTION
  wine "$bin/bench_probe.exe" "$(winepath -w "$1")" "$2" "$3" "$4" "$server_pid" 2>>"$out/probe.log" | tr -d '\r'
}
dayvane=$root/build/windows/Dayvane.exe
baseline=$bin/DayvaneBaseline.exe

echo "bench: $runs runs of each, ${idle} s idle each; this takes about $((runs * (2 * idle + 50) / 60 + starts / 6 + 2)) minutes"
# The first start of a prefix loads what every later one finds in the cache.
probe "$dayvane" Dayvane.frmmain 1 0 >/dev/null
probe "$baseline" DayvaneBaseline 1 0 >/dev/null
: >"$out/dayvane.txt"
: >"$out/baseline.txt"
for ((i = 1; i <= runs; i++)); do
  echo "bench: run $i of $runs"
  probe "$dayvane" Dayvane.frmmain "$idle" "$caption" | tee -a "$out/dayvane.txt"
  probe "$baseline" DayvaneBaseline "$idle" 0 | tee -a "$out/baseline.txt"
done

echo "bench: $starts more starts of each"
: >"$out/dayvane-starts.txt"
: >"$out/baseline-starts.txt"
for ((i = 1; i <= starts; i++)); do
  probe "$dayvane" Dayvane.frmmain 0 0 >>"$out/dayvane-starts.txt"
  probe "$baseline" DayvaneBaseline 0 0 >>"$out/baseline-starts.txt"
done
cat "$out/dayvane.txt" >>"$out/dayvane-starts.txt"
cat "$out/baseline.txt" >>"$out/baseline-starts.txt"

echo "bench: leak check (500 open/close cycles of every window, 100 000 clock ticks)"
wine "$root/build/windows/tests/win32/dayvane_win32_tests.exe" --gtest_filter='LeakCheck.*' 2>&1 | tr -d '\r' >"$out/leak.log"
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
read -r d_start d_start_min d_start_max < <(stat_of start_ms "$out/dayvane-starts.txt")
read -r b_start b_start_min b_start_max < <(stat_of start_ms "$out/baseline-starts.txt")
read -r d_ws d_ws_min d_ws_max < <(stat_of ws_kib "$out/dayvane-starts.txt")
read -r b_ws b_ws_min b_ws_max < <(stat_of ws_kib "$out/baseline-starts.txt")
read -r d_cpu d_cpu_min d_cpu_max < <(stat_of cpu_pct "$out/dayvane.txt")
read -r b_cpu b_cpu_min b_cpu_max < <(stat_of cpu_pct "$out/baseline.txt")
read -r d_srv d_srv_min d_srv_max < <(stat_of server_pct "$out/dayvane.txt")
read -r b_srv b_srv_min b_srv_max < <(stat_of server_pct "$out/baseline.txt")
read -r d_wake d_wake_min d_wake_max < <(stat_of wakeups "$out/dayvane.txt")
read -r b_wake b_wake_min b_wake_max < <(stat_of wakeups "$out/baseline.txt")
read -r d_cap d_cap_min d_cap_max < <(stat_of caption_ms_max "$out/dayvane.txt")
d_size=$(stat -c %s "$dayvane")
b_size=$(stat -c %s "$baseline")

table=$(awk -v d_start="$d_start" -v d_start_min="$d_start_min" -v d_start_max="$d_start_max" \
  -v b_start="$b_start" -v b_start_min="$b_start_min" -v b_start_max="$b_start_max" \
  -v d_ws="$d_ws" -v d_ws_min="$d_ws_min" -v d_ws_max="$d_ws_max" \
  -v b_ws="$b_ws" -v b_ws_min="$b_ws_min" -v b_ws_max="$b_ws_max" \
  -v d_cpu="$d_cpu" -v d_cpu_min="$d_cpu_min" -v d_cpu_max="$d_cpu_max" \
  -v b_cpu="$b_cpu" -v b_cpu_min="$b_cpu_min" -v b_cpu_max="$b_cpu_max" \
  -v d_srv="$d_srv" -v d_srv_min="$d_srv_min" -v d_srv_max="$d_srv_max" \
  -v b_srv="$b_srv" -v b_srv_min="$b_srv_min" -v b_srv_max="$b_srv_max" \
  -v d_wake="$d_wake" -v d_wake_min="$d_wake_min" -v d_wake_max="$d_wake_max" \
  -v b_wake="$b_wake" -v b_wake_min="$b_wake_min" -v b_wake_max="$b_wake_max" \
  -v d_cap="$d_cap" -v d_cap_min="$d_cap_min" -v d_cap_max="$d_cap_max" \
  -v d_size="$d_size" -v b_size="$b_size" -v leak="$leak" -v leak_ok="$leak_ok" -v caption="$caption" '
  function fig(m, lo, hi, fmt) { return sprintf(fmt " (" fmt "–" fmt ")", m, lo, hi) }
  function ratio(a, b) { return b > 0 ? sprintf("%.2f×", a / b) : "—" }
  function row(figure, d, b, r, budget, ok) {
    printf "| %s | %s | %s | %s | %s | %s |\n", figure, d, b, r, budget, ok < 0 ? "—" : ok ? "yes" : "**no**"
  }
  BEGIN {
    print "| figure | Dayvane | baseline | ratio | budget | within |"
    print "| --- | --- | --- | --- | --- | --- |"
    # A 10 s window catches 10 or 11 events of a once-a-second timer.
    row("idle timer wake-ups, per s (WM_TIMER taken, 10 s)", fig(d_wake, d_wake_min, d_wake_max, "%.2f"),
        fig(b_wake, b_wake_min, b_wake_max, "%.2f"), "—", "≤ 1 /s", d_wake_max <= 1.1)
    row("caption change after each new second, worst ms (" caption " s)", fig(d_cap, d_cap_min, d_cap_max, "%.0f"),
        "—", "—", "≤ 50 ms", d_cap_max >= 0 && d_cap_max <= 50)
    row("CPU while idle, % of one core (window shown)", fig(d_cpu, d_cpu_min, d_cpu_max, "%.4f"),
        fig(b_cpu, b_cpu_min, b_cpu_max, "%.4f"), ratio(d_cpu, b_cpu), "≤ 0.1 %", d_cpu_max <= 0.1)
    row("wineserver CPU meanwhile, % of one core", fig(d_srv, d_srv_min, d_srv_max, "%.3f"),
        fig(b_srv, b_srv_min, b_srv_max, "%.3f"), ratio(d_srv, b_srv), "—", -1)
    row("start to main window shown, ms", fig(d_start, d_start_min, d_start_max, "%.0f"),
        fig(b_start, b_start_min, b_start_max, "%.0f"), ratio(d_start, b_start), "≤ 1.25× baseline",
        d_start <= 1.25 * b_start)
    row("resident memory after start, MiB", fig(d_ws / 1024, d_ws_min / 1024, d_ws_max / 1024, "%.1f"),
        fig(b_ws / 1024, b_ws_min / 1024, b_ws_max / 1024, "%.1f"), ratio(d_ws, b_ws), "≤ 1.25× baseline",
        d_ws <= 1.25 * b_ws)
    row("executable size, KiB (assets included)", sprintf("%.0f", d_size / 1024), sprintf("%.0f", b_size / 1024),
        ratio(d_size, b_size), "≤ 1024 KiB", d_size <= 1048576)
    sub(/^leak-check: /, "", leak)
    handles = ""; ws = ""; priv = ""
    if (match(leak, /handles [0-9]+ -> [0-9]+/)) handles = substr(leak, RSTART + 8, RLENGTH - 8)
    if (match(leak, /working set [-+0-9]+ KiB/)) ws = substr(leak, RSTART + 12, RLENGTH - 12)
    if (match(leak, /private [-+0-9]+ KiB/)) priv = substr(leak, RSTART + 8, RLENGTH - 8)
    wsk = ws; sub(/ KiB/, "", wsk)
    row("leaks: 500 open/close of every window, 100 000 ticks", "handles " handles "; working set " ws "; private " priv,
        "—", "—", "handles back; ≤ 1024 KiB", leak_ok == "yes" && wsk + 0 <= 1024)
  }')

{
  echo "Measured $(date -u '+%Y-%m-%d') on $(lscpu | sed -n 's/^Model name: *//p' | head -n1), $(nproc) cores,"
  echo "$(wine --version), Xvfb; median (min–max) of $runs runs of each program ($((runs + starts)) starts for"
  echo "the start time and memory)."
  echo
  echo "$table"
} | tee "$out/bench.md"
echo "bench: table saved to build/bench/bench.md; raw figures in build/bench/"
