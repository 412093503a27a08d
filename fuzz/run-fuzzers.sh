#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a set time over its corpus and
# prints the executions and findings of each. Exits 1 when a target found
# something (a crash, a sanitizer report, a leak, a broken invariant, an
# input slower than the timeout).
#
#   fuzz/run-fuzzers.sh <fuzz build folder> <seconds per target>
#
# Each target runs alone (one process, so it shares the machine) over:
#   <build>/fuzz-runs/<target>/corpus   what earlier runs found (kept, grows)
#   <build>/fuzz/seeds/<target>         the seed corpus
#   fuzz/regressions/<target>           inputs of fixed findings (replayed first)
# A finding's input is written to <build>/fuzz-runs/<target>/findings/.
set -uo pipefail

build=$(cd "$1" && pwd)
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
programs=$build/fuzz
runs=$build/fuzz-runs

# The targets write and remove files for every input: keep that in memory
# where /dev/shm exists.
scratch_parent=/dev/shm
[ -d "$scratch_parent" ] && [ -w "$scratch_parent" ] || scratch_parent=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_parent/lmfs-fuzz-run-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

status=0
summary=()
for program in "$programs"/fuzz-*; do
  [ -x "$program" ] || continue
  name=${program##*/fuzz-}
  corpus=$runs/$name/corpus
  findings=$runs/$name/findings
  log=$runs/$name/last-run.log
  mkdir -p "$corpus" "$findings"
  dirs=("$corpus" "$programs/seeds/$name")
  [ -d "$here/regressions/$name" ] && dirs+=("$here/regressions/$name")
  options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
           -artifact_prefix="$findings/")
  [ -f "$here/dictionaries/$name.dict" ] && options+=(-dict="$here/dictionaries/$name.dict")

  before=$(find "$findings" -type f | wc -l)
  echo "== fuzz-$name: ${seconds}s over ${dirs[*]}"
  mkdir -p "$scratch/$name"
  TMPDIR=$scratch/$name ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$program" "${options[@]}" "${dirs[@]}" >"$log" 2>&1
  rc=$?
  rm -rf "${scratch:?}/$name"

  executions=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
  new_units=$(awk '/stat::new_units_added/ {print $2}' "$log" | tail -1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  if [ "$rc" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi
  line="fuzz-$name: ${executions:-?} executions, ${new_units:-?} new inputs, $found findings"
  if [ "$found" -ne 0 ]; then
    status=1
    line+=" (exit $rc)"
    grep -E 'FUZZ FINDING|ERROR: |SUMMARY: |Test unit written' "$log" | head -8
    echo "   full log: $log"
  fi
  echo "$line"
  summary+=("$line")
done

[ ${#summary[@]} -gt 0 ] || { echo "no fuzz targets in $programs"; exit 1; }
echo "== fuzz summary"
printf '%s\n' "${summary[@]}"
exit $status
