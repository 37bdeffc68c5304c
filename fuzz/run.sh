#!/usr/bin/env bash
# Runs each fuzz target of the "fuzz" build for SECONDS seconds, then prints what it did.
#   fuzz/run.sh SECONDS TARGET...        (make fuzz SECONDS=N runs it for every target)
#   fuzz/run.sh --cpu SECONDS TARGET...  each target until it has used SECONDS of processor
#                                        time, however busy the machine is
# A target starts from build-fuzz/corpus/<target>: the committed seeds, every input that
# ever found a fault, and whatever earlier runs added; new inputs go there too, never into
# fuzz/corpus/. Findings (crash-*, oom-*, timeout-*) go to build-fuzz/findings/<target>/.
# libFuzzer runs in fork mode and carries on after a finding, so one run can report several.
set -uo pipefail
cd "$(dirname "$0")/.."
cpu=false
if [[ ${1:-} == --cpu ]]; then
  cpu=true
  shift
fi
if [[ $# -lt 2 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh [--cpu] SECONDS TARGET..." >&2
  exit 2
fi
seconds=$1
shift
build=build-fuzz

# The readers' scratch files and the shows they extract: in memory where there is one.
scratch=$(mktemp -d "$( [[ -d /dev/shm && -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/brivane-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# A smaller quarantine than ASan's 256 MB: Magick's large short-lived buffers otherwise
# cost fresh pages on every input (a third of the speed).
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}

report=()
found=0
for target in "$@"; do
  program=$build/fuzz/fuzz_$target
  if [[ ! -x $program ]]; then
    echo "fuzz/run.sh: no $program (make fuzz builds it)" >&2
    exit 2
  fi
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$build/logs"
  for seed in fuzz/corpus/"$target"/* fuzz/regressions/"$target"/*; do
    [[ -f $seed ]] && cp -n "$seed" "$corpus/"
  done
  before=$(ls "$corpus" | wc -l)
  marker=$(mktemp "$scratch/started-XXXXXX")
  echo "== $target: $seconds s (log: $log)"
  executions=0
  used=0
  : >"$log"
  # Rounds of at most the time still wanted, until the processor time is reached (or the
  # wall time, without --cpu); a busy machine gives a round less of it.
  while :; do
    left=$((seconds - used))
    round=$left
    [[ $cpu == true && $round -lt 30 ]] && round=30
    TMPDIR=$scratch /usr/bin/time -f 'cpu %U %S' -o "$scratch/cpu" "$program" "$corpus" \
      -max_total_time="$round" -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=10 \
      -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
      -artifact_prefix="$findings/" -print_final_stats=1 >"$scratch/round.log" 2>&1
    cat "$scratch/round.log" >>"$log"
    # The fork mode's last status line: "#<executions>: cov: ... time: <seconds>s job: ...".
    status=$(grep -E '^#[0-9]+: cov:' "$scratch/round.log" | tail -1)
    executions=$((executions + $(sed -nE 's/^#([0-9]+):.*/\1/p' <<<"$status" | grep . || echo 0)))
    round_cpu=$(awk '/^cpu/ { printf "%d", $2 + $3 }' "$scratch/cpu")
    if [[ $cpu == true ]]; then used=$((used + round_cpu)); else used=$seconds; fi
    total_cpu=$((${total_cpu:-0} + round_cpu))
    [[ $used -ge $seconds ]] && break
    echo "   $target: $used of $seconds processor seconds so far"
  done
  speed=?
  [[ $total_cpu -gt 0 ]] && speed=$((executions / total_cpu))
  new=()
  for kind in crash oom timeout leak; do
    count=$(find "$findings" -maxdepth 1 -name "$kind-*" -newer "$marker" | wc -l)
    new+=("$kind $count")
    found=$((found + count))
  done
  after=$(ls "$corpus" | wc -l)
  report+=("$(printf '%-14s %10s executions %5s cpu s %6s exec/cpu s  corpus %5s (+%s)  new findings: %s' \
    "$target" "$executions" "$total_cpu" "$speed" "$after" "$((after - before))" "$(IFS=,; echo "${new[*]}" | sed 's/,/, /g')")")
  total_cpu=0
done

echo
printf '%s\n' "${report[@]}"
if [[ $found -gt 0 ]]; then
  echo "Findings are in $build/findings/<target>/; replay one with: $build/fuzz/fuzz_<target> FILE"
  exit 1
fi
