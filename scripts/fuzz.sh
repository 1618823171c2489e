#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang, in build-fuzz/, and runs each in
# turn from its corpus in fuzz/ for a number of seconds:
#   scripts/fuzz.sh [SECONDS] [calc|config|exercises ...]   (60 s, all three)
# A crash, an undefined behaviour, a leak, an input slower than 30 s or one
# that takes more than 2 GB fails the run; the input that found it is kept
# in build-fuzz/findings/TARGET/. The inputs each run adds to its corpus go
# to build-fuzz/corpus/TARGET/, not into the repository.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(calc config exercises)
fi
"$top/scripts/deps.sh"

dir="$top/build-fuzz"
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIONARIA_FUZZ=ON \
    -DIONARIA_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ >/dev/null
binary() {
    case "$1" in
    calc) echo fuzz_calcul ;;
    config) echo fuzz_config ;;
    exercises) echo fuzz_exercises ;;
    *) echo "cible inconnue : $1" >&2; exit 2 ;;
    esac
}
names=()
for t in "${targets[@]}"; do
    names+=("$(binary "$t")")
done
cmake --build "$dir" -j"$(nproc)" --target "${names[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
passed=0
for t in "${targets[@]}"; do
    work="$dir/corpus/$t"
    findings="$dir/findings/$t"
    mkdir -p "$work" "$findings"
    dict=()
    for d in "$top/fuzz/$t"/*.dict; do
        [ -e "$d" ] && dict=(-dict="$d")
    done
    echo "== $t : $seconds s"
    status=0
    "$dir/fuzz/$t/$(binary "$t")" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "${dict[@]}" \
        "$work" "$top/fuzz/$t/corpus" >"$dir/fuzz-$t.log" 2>&1 || status=$?
    # The last status line (runs, coverage, corpus) and the final counts.
    grep -E '^#[0-9]+' "$dir/fuzz-$t.log" | tail -1 || true
    grep -E '^stat::(number_of_executed_units|peak_rss_mb|new_units_added)' \
        "$dir/fuzz-$t.log" || true
    if [ "$status" -ne 0 ]; then
        echo "== $t : échec (code $status), voir $dir/fuzz-$t.log" >&2
        grep -E 'ERROR|SUMMARY|Test unit written' "$dir/fuzz-$t.log" >&2 || true
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
