#!/usr/bin/env bash
# The benchmarks of bench/RESULTS.md, in one run:
#   (a) ExtractZip (write pause replaced by nothing) against `unzip -qo`;
#   (b) the shipping build's whole run on 20 models against the floor that
#       its 10 ms write pauses set;
#   (c) whole runs of a build with the pause off on 10, 100 and 1000 models.
# Builds build/bench (pause 0, with the benchmark programs) and
# build/bench-shipping (the default pause). The work folders lie under
# BENCH_WORK (default /tmp), on disk like a real package and store.
#
#   bench/run-benchmarks.sh            BENCH_ROUNDS=15 by default
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${BENCH_ROUNDS:-15}
jobs=${JOBS:-2}
work=$(mktemp -d "${BENCH_WORK:-/tmp}/lmfs-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLMFS_BUILD_TESTS=OFF \
  -DLMFS_BENCH=ON -DLMFS_WRITE_PAUSE_MS=0 >/dev/null
cmake --build "$root/build/bench" --target benchmarks -j "$jobs" >/dev/null
cmake -S "$root" -B "$root/build/bench-shipping" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLMFS_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/bench-shipping" --target LumoraMonitorFileSetting -j "$jobs" >/dev/null

programs=$root/build/bench/bench
echo "== machine"
echo "cores (nproc): $(nproc)"
echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "RAM: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "kernel: $(uname -r); work folder: $work on $(df -T "$work" | awk 'NR == 2 {print $2}')"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "rounds: $rounds"

echo "== (a) ExtractZip, pause replaced by nothing, against unzip -qo ($(unzip -v | head -1 | cut -d' ' -f1-2))"
"$programs/bench-extract-zip" "$work/a" "$rounds"

echo "== (b) shipping build (10 ms write pause), whole run on 20 models, against the pause floor"
"$programs/bench-whole-run" floor "$root/build/bench-shipping/app/LumoraMonitorFileSetting" "$work/b" 20 "$rounds"

echo "== (c) whole run with the pause off: growth"
"$programs/bench-whole-run" growth "$root/build/bench/app/LumoraMonitorFileSetting" "$work/c" "$rounds" 10 100 1000
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
