#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of bench/ from the build in build/ (scripts/test.sh
# builds them with the rest).
#   scripts/bench.sh           each benchmark for Google Benchmark's usual time
#   scripts/bench.sh --short   each one a few iterations only: CI uses it to
#                              know that they still build and run, not to
#                              measure anything
# Figures worth quoting come from a Release build; see CONTRIBUTING.md.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
args=()
case "${1:-}" in
"") ;;
--short) args=(--benchmark_min_time=0.001) ;;
*)
    echo "usage : scripts/bench.sh [--short]" >&2
    exit 2
    ;;
esac
dir="${IONARIA_BUILD_DIR:-$top/build}"
names=(bench_sim bench_picture bench_rtf bench_layout bench_calcul bench_courbes)
cmake --build "$dir" -j"$(nproc)" --target "${names[@]}"
export QT_QPA_PLATFORM=offscreen
for name in "${names[@]}"; do
    binary=$(find "$dir/bench" -type f -name "$name" -perm -u+x | head -n 1)
    if [ -z "$binary" ]; then
        echo "benchmark introuvable : $name" >&2
        exit 1
    fi
    echo "== $name"
    "$binary" "${args[@]}"
done
