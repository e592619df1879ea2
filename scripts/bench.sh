#!/usr/bin/env bash
# Runs the micro-benchmarks of the bench build and prints their figures (make bench builds it first).
# Arguments go to the benchmark program, e.g. --benchmark_filter=GravaResposta.
set -euo pipefail

raiz="$(cd "$(dirname "$0")/.." && pwd)"
programa="${ZELP_BENCH_BIN:-$raiz/build/bench/bin}/bench_zelp"
[ -x "$programa" ] || { echo "missing $programa: run 'make bench'" >&2; exit 1; }

modelo=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
echo "machine: $(nproc) cores, ${modelo:-unknown CPU}, kernel $(uname -r), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "scratch files in ${TMPDIR:-/tmp} ($(df -PT "${TMPDIR:-/tmp}" | awk 'NR==2 {print $2 " on " $1}'))"
# Several repetitions: on a shared machine one run alone can be far off; the median is the figure.
"$programa" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_counters_tabular=true "$@"
echo
echo "End-to-end figures (a few minutes each): bench/latencia --help"
