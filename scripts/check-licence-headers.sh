#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the source files whose first lines lack the licence identifier, and
# fails if there is any. With --fix, adds the line where it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
line='SPDX-License-Identifier: GPL-3.0-or-later'
fix=0
[ "${1:-}" = "--fix" ] && fix=1

missing=0
while IFS= read -r f; do
    [ -f "$f" ] || continue
    if head -n 3 "$f" | grep -q "$line"; then
        continue
    fi
    if [ $fix -eq 0 ]; then
        echo "sans identifiant de licence : $f"
        missing=1
        continue
    fi
    case "$f" in
        *.cpp | *.h) comment="// $line" ;;
        *) comment="# $line" ;;
    esac
    if head -n 1 "$f" | grep -q '^#!'; then
        { head -n 1 "$f"; echo "$comment"; tail -n +2 "$f"; } > "$f.spdx"
    else
        { echo "$comment"; cat "$f"; } > "$f.spdx"
    fi
    chmod --reference="$f" "$f.spdx"
    mv "$f.spdx" "$f"
done < <(git ls-files -co --exclude-standard \
    | grep -E '\.(cpp|h)$|CMakeLists\.txt$|\.cmake$|\.sh$|\.py$|^\.ci/run$' \
    | grep -v -E '/corpus/')
exit $missing
