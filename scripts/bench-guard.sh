#!/usr/bin/env bash
# Fails when one of the main operations has grown slow against its floor: it times them at 30,000
# drinks and compares each ratio (our time / the floor's) with the one in tools/bench_baseline.txt.
# An operation past twice its baseline is timed once more before it counts, since a shared machine
# has slow moments; past it twice, the guard fails. A new baseline is its own commit saying why.
#
#   scripts/bench-guard.sh [BENCH_PROGRAM]          (default build/bin/zestro-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build/bin/zestro-bench}
baseline=tools/bench_baseline.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "operation ratio" for each of the operations named (comma-separated).
ratios() {
  QT_QPA_PLATFORM=offscreen "$bench" --sizes 30000 --dir "$work" --only "$1" |
    awk '$1 == "BENCH" { for (i = 4; i <= NF; ++i) if ($i ~ /^ratio=/) print $2, substr($i, 7) }'
}

# Prints the operations whose ratio is past twice the baseline, with both figures.
over() {
  awk 'NR == FNR { if ($1 !~ /^#/ && NF == 2) limit[$1] = 2 * $2; next }
       ($1 in limit) && $2 != "-" && $2 + 0 > limit[$1] { printf "%s %s %.2f\n", $1, $2, limit[$1] }' "$baseline" -
}

operations=$(awk '$1 !~ /^#/ && NF == 2 { print $1 }' "$baseline" | paste -sd, -)
ratios "$operations" | tee "$work/first" | awk '{ printf "  %-24s ratio %s\n", $1, $2 }'
missing=$(awk '$1 !~ /^#/ && NF == 2 { print $1 }' "$baseline" | while read -r op; do
  grep -q "^$op " "$work/first" || echo "$op"
done)
if [ -n "$missing" ]; then
  echo "bench-guard: no figure for: $missing" >&2
  exit 1
fi
slow=$(over < "$work/first" | awk '{ print $1 }' | paste -sd, -)
if [ -z "$slow" ]; then
  echo "bench-guard: every operation within twice its baseline"
  exit 0
fi
echo "bench-guard: timing again: $slow"
still=$(ratios "$slow" | over)
if [ -n "$still" ]; then
  echo "$still" | awk '{ printf "bench-guard: %s is %s times its floor, past %s (twice its baseline)\n", $1, $2, $3 }' >&2
  exit 1
fi
echo "bench-guard: every operation within twice its baseline on the second timing"
