#!/usr/bin/env bash
# Runs one test program under valgrind's memcheck: any memory error, or memory the program lost
# for good, fails it, as does a failing test. Children started by fork are not reported on: between
# fork and exec they hold copies of other threads' memory that only look lost.
# Usage: memcheck.sh TEST-PROGRAM
# Rows that cannot run under valgrind are listed in skip.txt with the reason.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program=$1
name=$(basename "$program")

arguments=()
if grep -q "^$name	" "$here/skip.txt"; then
    # Every row but the skipped ones, named as "function:row".
    mapfile -t skipped < <(awk -F'\t' -v n="$name" '$1 == n {print $2 ":" $3}' "$here/skip.txt")
    while IFS= read -r line; do
        read -r _ function row <<<"$line"
        entry="$function${row:+:$row}"
        for skip in "${skipped[@]}"; do
            [ "$entry" = "$skip" ] && continue 2
        done
        arguments+=("$entry")
    done < <("$program" -datatags 2>/dev/null)
fi

exec valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --child-silent-after-fork=yes --num-callers=40 \
    --suppressions="$here/qt.supp" --gen-suppressions=all "$program" "${arguments[@]}"
